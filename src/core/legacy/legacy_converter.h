#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvellite {

/// The longest word the program hands to the converter in one call, in legacy bytes. Longer
/// runs are cut by the word walker (legacy_words.h); the converter itself accepts any length.
inline constexpr std::size_t legacyWordLimit = 254;

/// The most UTF-16 units one legacy byte converts to.
inline constexpr std::size_t maxUnitsPerByte = 4;

/// The legacy byte that a document character stands for. Text set in a TAM or TAB font holds
/// one character per font byte: the byte's Windows-1252 character, or (from readers that hand
/// the bytes over unchanged) U+0000–U+00FF with the byte's value, or (from readers that treat
/// the font as a symbol font) U+F000–U+F0FF. Returns false for any other character.
bool legacyByteOfUnit(char16_t unit, unsigned char &byte);

/// `legacyByteOfUnit`, with '?' (the code page's default character) for a character that has
/// no byte. This is how the converter reads its input.
unsigned char legacyByteOf(char16_t unit);

/// Converts one word of legacy Tamil to Unicode Tamil (U+0B80–U+0BFF).
///
/// `input` holds one character per legacy byte (see `legacyByteOf`); `isTab` selects the TAB
/// encoding (ASCII below 0x80), false the TAM encoding. Every byte is expanded to the Unicode
/// sequence of its glyph, in the glyph's visual order; then each prefix vowel sign (ெ ே ை) is
/// moved after the one code unit that follows it, ெ/ே joined with a following ா into ொ/ோ, and
/// ெ with a ள that comes before a consonant into ௌ.
///
/// `output` is replaced by the result; the function returns its length in UTF-16 units.
/// Deterministic, no state between calls, no setup: the tables are built at compile time.
std::int32_t ConvertLegacyText(std::u16string_view input, bool isTab, std::u16string &output);

/// `ConvertLegacyText` over raw legacy bytes, appending the result to `output`. Returns the
/// number of units appended.
std::size_t appendLegacyBytes(std::string_view bytes, bool isTab, std::u16string &output);

/// `ConvertLegacyText` over the characters of `input`, appending the result to `output`.
std::size_t appendLegacyText(std::u16string_view input, bool isTab, std::u16string &output);

/// The conversion of `bytes` (or of the characters of `text`) written to `destination`, for
/// callers that convert many words into one buffer. `destination` must have room for
/// `maxUnitsPerByte` units per input character; it may be written beyond the returned length
/// within that room. Returns the number of units of the result.
std::size_t convertLegacyInto(std::string_view bytes, bool isTab, char16_t *destination);
std::size_t convertLegacyInto(std::u16string_view text, bool isTab, char16_t *destination);

} // namespace tarvellite
