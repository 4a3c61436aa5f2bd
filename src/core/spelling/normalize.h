#pragma once

#include <string>
#include <string_view>

namespace tarvellite {

/// Brings a word into the one form dictionaries store and lookups compare: Unicode NFC, with
/// the old Malayalam chillu spelling (consonant, virama, ZWJ) replaced by the atomic chillu
/// letters U+0D7A to U+0D7F that current keyboards type. Text already in that form (the usual
/// case) is recognised quickly and left alone. A lone surrogate is kept as it is.
void normalizeWord(std::u16string &word);

/// `normalizeWord` on a copy.
std::u16string normalizedWord(std::u16string_view word);

/// Whether `normalizeWord` would leave `word` unchanged; cheap for most text.
bool isNormalizedWord(std::u16string_view word);

} // namespace tarvellite
