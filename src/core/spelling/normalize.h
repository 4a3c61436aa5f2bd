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

/// `normalizeWord` in place on the `length` units at `word` when it needs no more than its
/// joiners dropped (the usual case, and no allocation): returns the new length. Returns npos,
/// leaving the units alone, when the word needs the full work of `normalizeWord`.
std::size_t normalizeWordQuickly(char16_t *word, std::size_t length);

/// Whether `word` is, at a glance, its own lookup form: no capital A to Z, no joiner, and
/// nothing NFC could change. False for some words that are (two marks in a row, say).
bool isPlainWord(std::u16string_view word);

/// Whether `c` is one of the joiners U+200C and U+200D.
inline bool isJoiner(char16_t c) {
    return c == 0x200C || c == 0x200D;
}

/// Whether `word` spells a Malayalam chillu the old way (consonant, virama, ZWJ).
bool usesOldChillus(std::u16string_view word);

/// Writes every atomic chillu of `word` the old way, for text that uses that spelling.
void toOldChillus(std::u16string &word);

} // namespace tarvellite
