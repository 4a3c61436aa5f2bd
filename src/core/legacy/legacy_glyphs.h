#pragma once

// The glyph tables and the two stages of the legacy Tamil converter, shared by the converter
// and the word walker inside this library. Not part of its interface.

#include "core/legacy/legacy_converter.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace tarvellite::legacy_glyphs {

// The Unicode sequence of one legacy glyph: up to four UTF-16 units.
struct Glyph {
    std::array<char16_t, maxUnitsPerByte> units{};
    std::uint8_t length = 0;
    // Whether the glyph is a prefix vowel sign, which stage 2 has to move.
    bool prefixSign = false;

    constexpr Glyph() = default;
    constexpr Glyph(std::initializer_list<char16_t> list) {
        for (char16_t u : list) {
            units[length++] = u;
            prefixSign = prefixSign || (u >= 0x0BC6 && u <= 0x0BC8);
        }
    }
};

// TAM glyphs of the bytes 0x41–0x9F. The entries of 0x56, 0x72 and 0x7A are shadowed by the
// special bytes below.
// clang-format off
inline constexpr Glyph tamLowTable[0x9F - 0x41 + 1] = {
    /* 41 */ {0x0B95, 0x0BBF}, /* 42 */ {0x0B99, 0x0BBF}, /* 43 */ {0x0B9A, 0x0BBF},
    /* 44 */ {0x0B9E, 0x0BBF}, /* 45 */ {0x0BA3, 0x0BBF}, /* 46 */ {0x0BA4, 0x0BBF},
    /* 47 */ {0x0BA8, 0x0BBF}, /* 48 */ {0x0BAA, 0x0BBF}, /* 49 */ {0x0BAE, 0x0BBF},
    /* 4A */ {0x0BAF, 0x0BBF}, /* 4B */ {0x0BB0, 0x0BBF}, /* 4C */ {0x0BB2, 0x0BBF},
    /* 4D */ {0x0BB5, 0x0BBF}, /* 4E */ {0x0BB4, 0x0BBF}, /* 4F */ {0x0BB3, 0x0BBF},
    /* 50 */ {0x0BB1, 0x0BBF}, /* 51 */ {0x0BA9, 0x0BBF}, /* 52 */ {0x0BB8, 0x0BBF},
    /* 53 */ {0x0BB7, 0x0BBF}, /* 54 */ {0x0B9C, 0x0BBF}, /* 55 */ {0x0BB9, 0x0BBF},
    /* 56 */ {0x0B95, 0x0BCD}, /* 57 */ {0x0B95, 0x0BC0}, /* 58 */ {0x0B99, 0x0BC0},
    /* 59 */ {0x0B9A, 0x0BC0}, /* 5A */ {0x0B9E, 0x0BC0}, /* 5B */ {0x005B},
    /* 5C */ {0x005C}, /* 5D */ {0x005D}, /* 5E */ {0x005E},
    /* 5F */ {0x005F}, /* 60 */ {0x0060}, /* 61 */ {0x0BA3, 0x0BC0},
    /* 62 */ {0x0BA4, 0x0BC0}, /* 63 */ {0x0BA8, 0x0BC0}, /* 64 */ {0x0BAA, 0x0BC0},
    /* 65 */ {0x0BAE, 0x0BC0}, /* 66 */ {0x0BAF, 0x0BC0}, /* 67 */ {0x0BB0, 0x0BC0},
    /* 68 */ {0x0BB2, 0x0BC0}, /* 69 */ {0x0BB5, 0x0BC0}, /* 6A */ {0x0BB4, 0x0BC0},
    /* 6B */ {0x0BB3, 0x0BC0}, /* 6C */ {0x0BB1, 0x0BC0}, /* 6D */ {0x0BA9, 0x0BC0},
    /* 6E */ {0x0BB8, 0x0BC0}, /* 6F */ {0x0BB7, 0x0BC0}, /* 70 */ {0x0B9C, 0x0BC0},
    /* 71 */ {0x0BB9, 0x0BC0}, /* 72 */ {0x0B95, 0x0BCD}, /* 73 */ {0x0BF3},
    /* 74 */ {0x0BF4}, /* 75 */ {0x0BF5}, /* 76 */ {0x0BB8, 0x0BCD},
    /* 77 */ {0x0BB7, 0x0BCD}, /* 78 */ {0x0B9C, 0x0BCD}, /* 79 */ {0x0BB9, 0x0BCD},
    /* 7A */ {0x0B95, 0x0BCD}, /* 7B */ {0x007B}, /* 7C */ {0x007C},
    /* 7D */ {0x007D}, /* 7E */ {0x007E}, /* 7F */ {},
    /* 80 */ {}, /* 81 */ {}, /* 82 */ {0x0B95, 0x0BCD},
    /* 83 */ {0x0B99, 0x0BCD}, /* 84 */ {0x0B9A, 0x0BCD}, /* 85 */ {0x0B9E, 0x0BCD},
    /* 86 */ {0x0B9F, 0x0BCD}, /* 87 */ {0x0BA3, 0x0BCD}, /* 88 */ {0x0BA4, 0x0BCD},
    /* 89 */ {0x0BA8, 0x0BCD}, /* 8A */ {0x0BAA, 0x0BCD}, /* 8B */ {0x0BAE, 0x0BCD},
    /* 8C */ {0x0BAF, 0x0BCD}, /* 8D */ {}, /* 8E */ {},
    /* 8F */ {}, /* 90 */ {}, /* 91 */ {0x2018},
    /* 92 */ {0x2019}, /* 93 */ {0x201C}, /* 94 */ {0x201D},
    /* 95 */ {0x2022}, /* 96 */ {0x0BF9}, /* 97 */ {0x0BF8},
    /* 98 */ {0x0BB0, 0x0BCD}, /* 99 */ {0x0BB2, 0x0BCD}, /* 9A */ {0x0BB5, 0x0BCD},
    /* 9B */ {0x0BB4, 0x0BCD}, /* 9C */ {0x0BB3, 0x0BCD}, /* 9D */ {},
    /* 9E */ {}, /* 9F */ {0x0BB1, 0x0BCD},
};

// Glyphs of the bytes 0xA1–0xFD, the same in TAM and TAB.
inline constexpr Glyph highTable[0xFD - 0xA1 + 1] = {
    /* A1 */ {0x0BA9, 0x0BCD}, /* A2 */ {0x0BCD}, /* A3 */ {0x0BBE},
    /* A4 */ {0x0BBF}, /* A5 */ {0x00A5}, /* A6 */ {0x0BC0},
    /* A7 */ {0x0BC1}, /* A8 */ {0x0BC2}, /* A9 */ {0x00A9},
    /* AA */ {0x0BC6}, /* AB */ {0x0BC7}, /* AC */ {0x0BC8},
    /* AD */ {0x0BFA}, /* AE */ {0x0B9F, 0x0BBF}, /* AF */ {0x0B9F, 0x0BC0},
    /* B0 */ {0x0B95, 0x0BC1}, /* B1 */ {0x0B99, 0x0BC1}, /* B2 */ {0x0B9A, 0x0BC1},
    /* B3 */ {0x0B9E, 0x0BC1}, /* B4 */ {0x0B9F, 0x0BC1}, /* B5 */ {0x0BA3, 0x0BC1},
    /* B6 */ {0x0BA4, 0x0BC1}, /* B7 */ {0x00B7}, /* B8 */ {0x0BA8, 0x0BC1},
    /* B9 */ {0x0BAA, 0x0BC1}, /* BA */ {0x0BAE, 0x0BC1}, /* BB */ {0x0BAF, 0x0BC1},
    /* BC */ {0x0BB0, 0x0BC1}, /* BD */ {0x0BB2, 0x0BC1}, /* BE */ {0x0BB5, 0x0BC1},
    /* BF */ {0x0BB4, 0x0BC1}, /* C0 */ {0x0BB3, 0x0BC1}, /* C1 */ {0x0BB1, 0x0BC1},
    /* C2 */ {0x0BA9, 0x0BC1}, /* C3 */ {0x0B95, 0x0BC2}, /* C4 */ {0x0B99, 0x0BC2},
    /* C5 */ {0x0B9A, 0x0BC2}, /* C6 */ {0x0B9E, 0x0BC2}, /* C7 */ {0x0B9F, 0x0BC2},
    /* C8 */ {0x0BA3, 0x0BC2}, /* C9 */ {0x0BA4, 0x0BC2}, /* CA */ {0x00CA},
    /* CB */ {0x0BA8, 0x0BC2}, /* CC */ {0x0BAA, 0x0BC2}, /* CD */ {0x0BAE, 0x0BC2},
    /* CE */ {0x0BAF, 0x0BC2}, /* CF */ {0x0BB0, 0x0BC2}, /* D0 */ {0x0BF6},
    /* D1 */ {0x0BF7}, /* D2 */ {0x00D2}, /* D3 */ {0x00D3},
    /* D4 */ {0x00D4}, /* D5 */ {0x00D5}, /* D6 */ {0x0BB2, 0x0BC2},
    /* D7 */ {0x0BB5, 0x0BC2}, /* D8 */ {0x0BB4, 0x0BC2}, /* D9 */ {0x0BB3, 0x0BC2},
    /* DA */ {0x0BB1, 0x0BC2}, /* DB */ {0x0BA9, 0x0BC2}, /* DC */ {0x0B85},
    /* DD */ {0x0B86}, /* DE */ {0x0B87}, /* DF */ {0x0B88},
    /* E0 */ {0x0B89}, /* E1 */ {0x0B8A}, /* E2 */ {0x0B8E},
    /* E3 */ {0x0B8F}, /* E4 */ {0x0B90}, /* E5 */ {0x0B92},
    /* E6 */ {0x0B93}, /* E7 */ {0x0B83}, /* E8 */ {0x0B95},
    /* E9 */ {0x0B99}, /* EA */ {0x0B9A}, /* EB */ {0x0B9E},
    /* EC */ {0x0B9F}, /* ED */ {0x0BA3}, /* EE */ {0x0BA4},
    /* EF */ {0x0BA8}, /* F0 */ {0x0BAA}, /* F1 */ {0x0BAE},
    /* F2 */ {0x0BAF}, /* F3 */ {0x0BB0}, /* F4 */ {0x0BB2},
    /* F5 */ {0x0BB5}, /* F6 */ {0x0BB4}, /* F7 */ {0x0BB3},
    /* F8 */ {0x0BB1}, /* F9 */ {0x0BA9}, /* FA */ {0x0BB8},
    /* FB */ {0x0BB7}, /* FC */ {0x0B9C}, /* FD */ {0x0BB9},
};
// clang-format on

// Bytes that are conjuncts of ஷ, or ஸ்ரீ, tested before both tables.
struct SpecialByte {
    unsigned char byte;
    Glyph tam;
    Glyph tab;
};
inline constexpr SpecialByte specialBytes[] = {
    {0x56, {0x0B95, 0x0BCD, 0x0BB7, 0x0BBF}, {0x0056}},                         // க்ஷி
    {0x72, {0x0B95, 0x0BCD, 0x0BB7, 0x0BC0}, {0x0072}},                         // க்ஷீ
    {0x7A, {0x0B95, 0x0BCD, 0x0BB7, 0x0BCD}, {0x007A}},                         // க்ஷ்
    {0xFE, {0x0B95, 0x0BCD, 0x0BB7}, {0x0B95, 0x0BCD, 0x0BB7}},                 // க்ஷ
    {0xFF, {0x0BB8, 0x0BCD, 0x0BB0, 0x0BC0}, {0x0BB8, 0x0BCD, 0x0BB0, 0x0BC0}}, // ஸ்ரீ
};

using GlyphTable = std::array<Glyph, 256>;

// Stage 1 as one lookup per byte, for either encoding.
constexpr GlyphTable buildGlyphTable(bool isTab) {
    GlyphTable table{};
    for (unsigned b = 0; b < 256; ++b) {
        if (b >= 0x41 && b <= 0x9F)
            table[b] = isTab ? Glyph{static_cast<char16_t>(b)} : tamLowTable[b - 0x41];
        else if (b >= 0xA1 && b <= 0xFD)
            table[b] = highTable[b - 0xA1];
        else
            table[b] = Glyph{static_cast<char16_t>(b)};
    }
    for (const SpecialByte &s : specialBytes)
        table[s.byte] = isTab ? s.tab : s.tam;
    return table;
}

inline constexpr GlyphTable tamGlyphs = buildGlyphTable(false);
inline constexpr GlyphTable tabGlyphs = buildGlyphTable(true);

// The consonants after which a ள marks the vowel ௌ, as a bit set over U+0B80–U+0BBF.
inline constexpr std::u16string_view consonantSet = u"கஙசஞடணதநபமறனயரலவழளஷஸஜஹ";

constexpr std::uint64_t buildConsonantMask() {
    std::uint64_t mask = 0;
    for (char16_t c : consonantSet)
        mask |= std::uint64_t{1} << (c - 0x0B80);
    return mask;
}
inline constexpr std::uint64_t consonantMask = buildConsonantMask();

constexpr bool isConsonant(char16_t c) {
    return c >= 0x0B80 && c <= 0x0BBF && ((consonantMask >> (c - 0x0B80)) & 1) != 0;
}

constexpr char16_t signE = 0x0BC6;     // ெ
constexpr char16_t signEE = 0x0BC7;    // ே
constexpr char16_t signAI = 0x0BC8;    // ை
constexpr char16_t signAA = 0x0BBE;    // ா
constexpr char16_t letterLLA = 0x0BB3; // ள
constexpr char16_t signO = 0x0BCA;     // ொ
constexpr char16_t signOO = 0x0BCB;    // ோ
constexpr char16_t signAU = 0x0BCC;    // ௌ

// Stage 2 in place over w[0, length): moves each prefix sign after the unit that follows it and
// joins the two-part signs. Every step writes no more units than it reads, and reads its units
// before it writes, so the output never overtakes the input. Returns the new length.
std::size_t placeVowelSigns(char16_t *w, std::size_t length);

// The legacy byte of one input character.
inline unsigned char byteOf(char c) {
    return static_cast<unsigned char>(c);
}
inline unsigned char byteOf(char16_t u) {
    return u <= 0xFF ? static_cast<unsigned char>(u) : legacyByteOf(u);
}

// Both stages for one word into `w`, which has room for four units per input character: stage 1
// writes the glyphs (always copying four units, of which the glyph's length count), stage 2
// rewrites them in place when there is a prefix sign to move. Returns the length of the result.
template <class Unit>
inline std::size_t convertInto(const Unit *input, std::size_t count, bool isTab, char16_t *w) {
    const GlyphTable &table = isTab ? tabGlyphs : tamGlyphs;
    std::size_t length = 0;
    bool prefixSigns = false;
    for (std::size_t k = 0; k < count; ++k) {
        const Glyph &g = table[byteOf(input[k])];
        std::memcpy(w + length, g.units.data(), sizeof g.units);
        length += g.length;
        prefixSigns |= g.prefixSign;
    }
    return prefixSigns ? placeVowelSigns(w, length) : length;
}

} // namespace tarvellite::legacy_glyphs
