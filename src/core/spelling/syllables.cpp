#include "core/spelling/syllables.h"

#include <array>
#include <cstdint>

namespace tarvellite {

namespace {

enum class Kind : std::uint8_t {
    Other,     ///< outside the Indic blocks, digits, punctuation: carries no sign
    Consonant, ///< carries a vowel sign, a virama, a nukta or a nasal sign
    Letter,    ///< independent vowel, chillu, avagraha, om: carries only a nasal sign
    VowelSign,
    Virama,
    Nukta,
    Nasal, ///< candrabindu, anusvara, visarga
};

// The blocks from Devanagari (U+0900) to Malayalam (U+0D7F) share the old national layout;
// the differences that matter for words are listed by their code point.
constexpr Kind parallelKind(char16_t c) {
    const unsigned o = c & 0x7F;
    switch (c) {
    case 0x0B83: return Kind::Letter; // Tamil aytham
    case 0x0C80: return Kind::Letter; // Kannada spacing candrabindu
    case 0x0C04: return Kind::Nasal;  // Telugu anusvara above
    case 0x0D3B:
    case 0x0D3C: return Kind::Virama; // Malayalam vertical and circular virama
    case 0x0D4E: return Kind::Letter; // Malayalam dot reph
    case 0x0D4F: return Kind::Other;  // Malayalam para sign
    case 0x0951:
    case 0x0952:
    case 0x0953:
    case 0x0954: return Kind::Nasal; // Devanagari stress marks
    case 0x0971: return Kind::Nasal; // Devanagari high spacing dot
    default: break;
    }
    if (o <= 0x03)
        return Kind::Nasal;
    if (o <= 0x14)
        return Kind::Letter;
    if (o <= 0x39)
        return Kind::Consonant;
    if (o <= 0x3B)
        return Kind::VowelSign;
    if (o == 0x3C)
        return Kind::Nukta;
    if (o == 0x3D)
        return Kind::Letter;
    if (o <= 0x4C)
        return Kind::VowelSign;
    if (o == 0x4D)
        return Kind::Virama;
    if (o <= 0x4F)
        return Kind::VowelSign;
    if (o == 0x50)
        return Kind::Letter;
    if (o <= 0x53)
        return c >= 0x0D00 ? Kind::Letter : Kind::Nasal;
    if (o <= 0x57) {
        if (c >= 0x0D54 && c <= 0x0D56)
            return Kind::Letter; // Malayalam chillus
        return Kind::VowelSign;
    }
    if (o <= 0x5F)
        return c >= 0x0D00 ? Kind::Other : Kind::Consonant;
    if (o <= 0x61)
        return Kind::Letter;
    if (o <= 0x63)
        return Kind::VowelSign;
    if (o <= 0x6F)
        return Kind::Other;
    if (c >= 0x0978 && c <= 0x097F)
        return Kind::Consonant;
    if (c >= 0x0972 && c <= 0x0977)
        return Kind::Letter;
    if ((c >= 0x0D7A && c <= 0x0D7F) || c == 0x0CF1 || c == 0x0CF2)
        return Kind::Letter;
    return Kind::Other;
}

constexpr Kind sinhalaKind(char16_t c) {
    if (c >= 0x0D81 && c <= 0x0D83)
        return Kind::Nasal;
    if (c >= 0x0D85 && c <= 0x0D96)
        return Kind::Letter;
    if (c >= 0x0D9A && c <= 0x0DC6)
        return Kind::Consonant;
    if (c == 0x0DCA)
        return Kind::Virama;
    if ((c >= 0x0DCF && c <= 0x0DDF) || c == 0x0DF2 || c == 0x0DF3)
        return Kind::VowelSign;
    return Kind::Other;
}

constexpr char16_t firstIndic = 0x0900;
constexpr char16_t lastIndic = 0x0DFF;

// The kinds of the Indic blocks, worked out once: words are judged unit by unit on every check.
constexpr std::array<Kind, lastIndic - firstIndic + 1> indicKinds = [] {
    std::array<Kind, lastIndic - firstIndic + 1> kinds{};
    for (char16_t c = firstIndic; c <= lastIndic; ++c)
        kinds[c - firstIndic] = c >= 0x0D80 ? sinhalaKind(c) : parallelKind(c);
    return kinds;
}();

inline Kind kindOf(char16_t c) {
    const unsigned i = static_cast<unsigned>(c) - firstIndic;
    return i < indicKinds.size() ? indicKinds[i] : Kind::Other;
}

constexpr unsigned bit(Kind k) {
    return 1u << static_cast<unsigned>(k);
}

constexpr bool isSign(Kind k) {
    return k == Kind::VowelSign || k == Kind::Virama || k == Kind::Nukta || k == Kind::Nasal;
}

// Whether a character of kind `k` may not follow one of kind `before`: entry 8 * k + before.
// Only signs are bound; a vowel sign or a virama sits on a consonant (with its nukta), a nukta
// on a bare consonant, a nasal sign on any letter or vowel sign.
constexpr std::array<std::uint8_t, 64> cannotFollow = [] {
    std::array<std::uint8_t, 64> table{};
    const auto set = [&](Kind sign, unsigned allowed) {
        for (unsigned before = 0; before < 8; ++before)
            table[8 * static_cast<unsigned>(sign) + before] = ((allowed >> before) & 1u) ? 0 : 1;
    };
    set(Kind::VowelSign, bit(Kind::Consonant) | bit(Kind::Nukta));
    set(Kind::Virama, bit(Kind::Consonant) | bit(Kind::Nukta));
    set(Kind::Nukta, bit(Kind::Consonant));
    set(Kind::Nasal,
        bit(Kind::Consonant) | bit(Kind::Nukta) | bit(Kind::VowelSign) | bit(Kind::Letter));
    return table;
}();

} // namespace

bool isVirama(char16_t c) {
    return kindOf(c) == Kind::Virama;
}

bool isVowelSign(char16_t c) {
    return kindOf(c) == Kind::VowelSign;
}

bool isNukta(char16_t c) {
    return kindOf(c) == Kind::Nukta;
}

bool isNasalSign(char16_t c) {
    return kindOf(c) == Kind::Nasal;
}

bool isWellFormedWord(std::u16string_view word) {
    // Nothing comes before the first character: a sign there has no letter to carry it. The
    // units are judged without branching (signs and letters alternate unpredictably).
    unsigned before = static_cast<unsigned>(Kind::Other);
    unsigned previous = 0;
    unsigned bad = 0;
    for (const char16_t c : word) {
        const auto k = static_cast<unsigned>(kindOf(c));
        bad |= cannotFollow[8 * k + before];
        // A sign belongs to the letter before it, in its own script block.
        bad |= static_cast<unsigned>(isSign(static_cast<Kind>(k))) &
               static_cast<unsigned>(((previous ^ c) >> 7) != 0);
        before = k;
        previous = c;
    }
    return bad == 0;
}

} // namespace tarvellite
