#pragma once

#include <cstddef>
#include <string_view>

namespace tarvellite {

/// How the word-boundary search sees one UTF-16 unit.
enum class WordClass {
    Space,       ///< white space and line or paragraph breaks
    Word,        ///< letters, digits, combining marks (vowel signs, viramas), joiners
    Punctuation, ///< everything else: punctuation, symbols, control characters
};

/// The class of `unit`.
///
/// Letters of every script, the digits, all combining marks (Indic vowel signs, viramas,
/// nuktas, candrabindu and anusvara signs), ZWNJ and ZWJ (U+200C, U+200D) and both halves of
/// a surrogate pair are word units, so an Indic syllable or a supplementary character never
/// splits. The dandas (U+0964, U+0965) and the other Indic punctuation marks are punctuation.
WordClass wordClassOf(char16_t unit);

/// Whether `text[i]` belongs to a word. Besides the word units this takes an apostrophe
/// (U+0027 or U+2019) that stands between two word units ("don't", "people's").
bool isWordUnitAt(std::u16string_view text, std::size_t i);

/// The start of the word left of `position`, the way Ctrl+Left moves: white space before
/// `position` is skipped, then the run of word units (or of punctuation) before it. A
/// `position` past the end counts as the end. Returns 0 at the start of the text.
std::size_t wordLeft(std::u16string_view text, std::size_t position);

/// The start of the next word right of `position`, the way Ctrl+Right moves: the run of word
/// units (or of punctuation) at `position` is passed, then the white space after it. Returns
/// the text's size at its end.
std::size_t wordRight(std::u16string_view text, std::size_t position);

/// The end of the word that begins at or after `position`: white space is skipped, then the run
/// of word units (or punctuation) is passed. Used to take one word at a time.
std::size_t wordEnd(std::u16string_view text, std::size_t position);

} // namespace tarvellite
