#pragma once

#include <string_view>

namespace tarvellite {

/// Whether `word` is a well-formed sequence of syllables of the Indic scripts it uses
/// (Devanagari, Tamil, Telugu, Kannada, Malayalam, Sinhala): no vowel sign, virama, nukta or
/// nasal/visarga sign first or after a character that cannot carry it (a vowel sign after an
/// independent vowel, another vowel sign or a virama; a virama after a vowel sign; a sign of
/// one script on a letter of another; two nasal signs in a row). Characters outside those
/// scripts are not judged, but no Indic sign may follow them. Expects the stored form
/// (`normalizeWord`): NFC, without joiners.
bool isWellFormedWord(std::u16string_view word);

/// Whether `c` is the virama (the sign that kills a consonant's vowel) of one of those scripts.
bool isVirama(char16_t c);

/// Whether `c` is a dependent vowel sign of those scripts.
bool isVowelSign(char16_t c);

/// Whether `c` is the nukta (the dot that makes a new consonant of another) of those scripts.
bool isNukta(char16_t c);

/// Whether `c` is a candrabindu, anusvara or visarga of those scripts.
bool isNasalSign(char16_t c);

} // namespace tarvellite
