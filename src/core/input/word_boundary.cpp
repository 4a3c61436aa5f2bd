#include "core/input/word_boundary.h"

#include <algorithm>

namespace tarvellite {

namespace {

struct Range {
    char16_t first;
    char16_t last;
};

// Punctuation and symbols inside the blocks that otherwise hold letters and marks.
constexpr Range punctuationInLetterBlocks[] = {
    {0x037E, 0x037E}, // Greek question mark
    {0x0387, 0x0387}, // Greek ano teleia
    {0x055A, 0x055F}, // Armenian punctuation
    {0x0589, 0x058A}, {0x05BE, 0x05BE}, {0x05C0, 0x05C0}, {0x05C3, 0x05C3},
    {0x05C6, 0x05C6}, {0x05F3, 0x05F4}, // Hebrew punctuation
    {0x0600, 0x060F},                   // Arabic signs and punctuation
    {0x061B, 0x061F}, {0x066A, 0x066D}, {0x06D4, 0x06D4}, {0x0964, 0x0965}, // danda, double danda
    {0x0970, 0x0970}, // Devanagari abbreviation sign
    {0x09F2, 0x09FB}, // Bengali currency and fraction signs
    {0x0AF0, 0x0AF1}, // Gujarati abbreviation, rupee
    {0x0B70, 0x0B70}, // Oriya isshar
    {0x0BF3, 0x0BFA}, // Tamil day, month, year, debit, credit, as above, rupee, number signs
    {0x0C7F, 0x0C7F}, // Telugu tuumu
    {0x0D4F, 0x0D4F}, // Malayalam para
    {0x0D79, 0x0D79}, // Malayalam date mark
    {0x0DF4, 0x0DF4}, // Sinhala kunddaliya
    {0x0E3F, 0x0E3F}, {0x0E4F, 0x0E4F}, {0x0E5A, 0x0E5B},                   // Thai
    {0x0F04, 0x0F12}, {0x0F14, 0x0F14}, {0x0F3A, 0x0F3D}, {0x0F85, 0x0F85}, // Tibetan
    {0x104A, 0x104F},                                                       // Myanmar
    {0x10FB, 0x10FB},                                                       // Georgian
    {0x1360, 0x1368},                                                       // Ethiopic
    {0x166D, 0x166E}, {0x169B, 0x169C}, {0x16EB, 0x16ED}, // Canadian, Ogham, Runic
    {0x17D4, 0x17DA},                                     // Khmer
    {0x1800, 0x180A},                                     // Mongolian
    {0x1CD3, 0x1CD3},                                     // Vedic sign nihshvasa
};

bool inRanges(char16_t unit, const Range *begin, const Range *end) {
    // The table is ascending: find the last range starting at or before `unit`.
    const Range *it =
        std::upper_bound(begin, end, unit, [](char16_t u, const Range &r) { return u < r.first; });
    return it != begin && unit <= (it - 1)->last;
}

bool isApostrophe(char16_t unit) {
    return unit == 0x0027 || unit == 0x2019;
}

// The class a position has for the boundary search; an apostrophe between word units is a
// word unit.
WordClass classAt(std::u16string_view text, std::size_t i) {
    const WordClass c = wordClassOf(text[i]);
    if (c == WordClass::Punctuation && isWordUnitAt(text, i))
        return WordClass::Word;
    return c;
}

} // namespace

WordClass wordClassOf(char16_t u) {
    if (u < 0x80) {
        if (u == ' ' || (u >= 0x09 && u <= 0x0D))
            return WordClass::Space;
        if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'))
            return WordClass::Word;
        return WordClass::Punctuation;
    }
    if (u < 0x100) {
        if (u == 0xA0 || u == 0x85)
            return WordClass::Space;
        if (u == 0xAA || u == 0xAD || u == 0xB5 || u == 0xBA ||
            (u >= 0xC0 && u != 0xD7 && u != 0xF7))
            return WordClass::Word;
        return WordClass::Punctuation;
    }
    if (u < 0x2000) {
        if (u == 0x1680)
            return WordClass::Space;
        return inRanges(u, std::begin(punctuationInLetterBlocks),
                        std::end(punctuationInLetterBlocks))
                   ? WordClass::Punctuation
                   : WordClass::Word;
    }
    if (u <= 0x200B || u == 0x2028 || u == 0x2029 || u == 0x202F || u == 0x205F || u == 0x3000)
        return WordClass::Space;
    if (u == 0x200C || u == 0x200D)
        return WordClass::Word;
    if (u >= 0x20D0 && u <= 0x20FF) // combining marks for symbols
        return WordClass::Word;
    if (u < 0x2C00) // punctuation, symbols, arrows, shapes
        return WordClass::Punctuation;
    if (u < 0x2E00) // Glagolitic, Latin Extended-C, Coptic, Georgian, Tifinagh, Ethiopic
        return WordClass::Word;
    if (u < 0x2E80 || (u >= 0x3000 && u <= 0x303F))
        return WordClass::Punctuation;
    if (u < 0xE000) // CJK, Hangul, other letters, and the surrogates of supplementary letters
        return WordClass::Word;
    if (u < 0xFE10) // private use (legacy font glyphs), compatibility letters, selectors
        return WordClass::Word;
    if (u < 0xFE70 || u == 0xFEFF)
        return WordClass::Punctuation;
    if (u < 0xFF00)
        return WordClass::Word;
    if ((u >= 0xFF10 && u <= 0xFF19) || (u >= 0xFF21 && u <= 0xFF3A) ||
        (u >= 0xFF41 && u <= 0xFF5A) || (u >= 0xFF66 && u <= 0xFFDC))
        return WordClass::Word;
    return WordClass::Punctuation;
}

bool isWordUnitAt(std::u16string_view text, std::size_t i) {
    if (i >= text.size())
        return false;
    const WordClass c = wordClassOf(text[i]);
    if (c == WordClass::Word)
        return true;
    return isApostrophe(text[i]) && i > 0 && i + 1 < text.size() &&
           wordClassOf(text[i - 1]) == WordClass::Word &&
           wordClassOf(text[i + 1]) == WordClass::Word;
}

std::size_t wordLeft(std::u16string_view text, std::size_t position) {
    std::size_t p = std::min(position, text.size());
    while (p > 0 && classAt(text, p - 1) == WordClass::Space)
        --p;
    if (p == 0)
        return 0;
    const WordClass run = classAt(text, p - 1);
    while (p > 0 && classAt(text, p - 1) == run)
        --p;
    return p;
}

std::size_t wordRight(std::u16string_view text, std::size_t position) {
    std::size_t p = std::min(position, text.size());
    if (p < text.size()) {
        const WordClass run = classAt(text, p);
        if (run != WordClass::Space)
            while (p < text.size() && classAt(text, p) == run)
                ++p;
    }
    while (p < text.size() && classAt(text, p) == WordClass::Space)
        ++p;
    return p;
}

std::size_t wordEnd(std::u16string_view text, std::size_t position) {
    std::size_t p = std::min(position, text.size());
    while (p < text.size() && classAt(text, p) == WordClass::Space)
        ++p;
    if (p == text.size())
        return p;
    const WordClass run = classAt(text, p);
    while (p < text.size() && classAt(text, p) == run)
        ++p;
    return p;
}

} // namespace tarvellite
