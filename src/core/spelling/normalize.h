#pragma once

#include <string>
#include <string_view>

namespace tarvellite {

/// Brings a word into the one form dictionaries store and lookups compare: Unicode NFC, with
/// the old Malayalam chillu spelling (consonant, virama, ZWJ) replaced by the atomic chillu
/// letters U+0D7A to U+0D7F that current keyboards type, and without the joiners U+200C and
/// U+200D (they choose how a word is drawn, not how it is spelled). Text already in that form (the
/// usual case) is recognised quickly and left alone. A lone surrogate is kept as it is.
void normalizeWord(std::u16string &word);

/// `normalizeWord` on a copy.
std::u16string normalizedWord(std::u16string_view word);

/// Whether `normalizeWord` would leave `word` unchanged; cheap for most text.
bool isNormalizedWord(std::u16string_view word);

/// The lookup form of `word`, A to Z lowered and then `normalizeWord`, written to `out` (room
/// for `word.size()` units, apart from `word`) when it needs no more than its joiners dropped
/// (the usual case, and no allocation): returns its length, and whether it differs from `word`
/// in `changed`. Returns npos, with `out` holding `word` lowered, when the word needs the full
/// work of `normalizeWord`.
std::size_t lookupFormQuickly(std::u16string_view word, char16_t *out, bool &changed);

/// Whether `word` is, at a glance, its own lookup form: no capital A to Z, no joiner, and
/// nothing NFC could change. False for some words that are (two marks in a row, say).
bool isPlainWord(std::u16string_view word);

/// `isPlainWord`, and the bounds of the word's units (`unitBounds`).
bool isPlainWord(std::u16string_view word, char16_t &floor, char16_t &ceiling);

/// Bounds of the units of `word`, found a few units at a time: every unit lies between `floor`
/// (the bits all units share) and `ceiling` (the bits any unit has).
void unitBounds(std::u16string_view word, char16_t &floor, char16_t &ceiling);

/// Whether `c` is one of the joiners U+200C and U+200D.
inline bool isJoiner(char16_t c) {
    return c == 0x200C || c == 0x200D;
}

/// Whether `word` spells a Malayalam chillu the old way (consonant, virama, ZWJ).
bool usesOldChillus(std::u16string_view word);

/// Writes every atomic chillu of `word` the old way, for text that uses that spelling.
void toOldChillus(std::u16string &word);

} // namespace tarvellite
