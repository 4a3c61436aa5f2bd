#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvellite {

/// Whether a legacy character ends a word: every character (or byte) at or below U+0020 is a
/// word of its own and passes through the conversion unchanged; a word is a maximal run of
/// characters above U+0020.
constexpr bool isLegacyWordBreak(char16_t unit) {
    return unit <= 0x20;
}

/// Whether a character of document text ends a word and passes through the conversion: a
/// character whose legacy byte (`legacyByteOfUnit`) is at or below 0x20, or one that stands for
/// no legacy byte at all (a line separator U+2028, a picture's U+FFFC, text that is Unicode
/// already), which cannot be legacy text.
bool isLegacyTextBreak(char16_t unit);

/// The length of the first piece of a word run `word` (all of it above 0x20) to hand to the
/// converter: the whole run when it is at most `legacyWordLimit` (254) long. A longer run is cut
/// after 254 characters, moved back while a prefix vowel sign (bytes 0xAA, 0xAB, 0xAC) lies
/// among the last three characters of the piece, so that the sign and the letters it joins
/// with are converted together. When moving back would leave nothing, the cut stays at 254.
std::size_t legacyPieceLength(std::string_view word);
std::size_t legacyPieceLength(std::u16string_view word);

/// Converts a whole legacy text word by word, as a document is converted on open: each word
/// (cut into pieces by `legacyPieceLength`) goes through `ConvertLegacyText` on its own; the
/// characters at or below U+0020 pass through. Appends to `output`; returns the number of
/// words converted (pieces of one long run count as one word).
std::size_t appendLegacyWords(std::string_view bytes, bool isTab, std::u16string &output);

/// `appendLegacyWords` over the characters of a document (see `legacyByteOf`). The characters
/// of `isLegacyTextBreak` end words and pass through: as the character of their byte when they
/// have one, otherwise unchanged.
std::size_t appendLegacyWords(std::u16string_view text, bool isTab, std::u16string &output);

/// `appendLegacyWords` into a new string.
std::u16string convertLegacyWords(std::string_view bytes, bool isTab);
std::u16string convertLegacyWords(std::u16string_view text, bool isTab);

/// Converts legacy bytes that arrive in chunks (a pipe, a large file) word by word, with the
/// same result as `appendLegacyWords` over the whole text. Holds back at most the unfinished
/// word of the last chunk, and of a word longer than the limit only its last 254 bytes.
class LegacyWordStream {
  public:
    explicit LegacyWordStream(bool isTab) : isTab_(isTab) {}

    /// Appends to `output` the conversion of every word that `bytes` completes.
    void feed(std::string_view bytes, std::u16string &output);
    /// Appends the conversion of the word still held back, at the end of the text.
    void finish(std::u16string &output);

  private:
    bool isTab_;
    std::string pending_;
};

} // namespace tarvellite
