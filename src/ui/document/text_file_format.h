#pragma once

// How a plain-text document's file is written: its encoding and its line breaks. A document
// read from a text file keeps what the file had, so that saving it never changes the encoding
// or the line breaks behind the user's back; Save As chooses them anew.

#include <cstdint>
#include <span>

namespace tarvellite::ui {

struct TextFileFormat {
    enum class Encoding {
        /// UTF-16LE without a byte-order mark ("Text Files").
        Unicode,
        /// UTF-8, with or without a signature.
        Utf8,
        /// Windows-1252 with letters outside ASCII: read, but never written.
        Ansi
    };
    Encoding encoding = Encoding::Unicode;
    /// CR LF between lines; LF alone otherwise. UTF-16LE is always written with CR LF.
    bool crlf = true;
    /// UTF-8 that starts with the signature EF BB BF (written back when the text does not
    /// start with U+FEFF itself).
    bool signature = false;

    static TextFileFormat unicode() { return {}; }
    static TextFileFormat utf8(bool crlf, bool signature = false) {
        return {Encoding::Utf8, crlf, signature};
    }
    /// Whether the program writes this format.
    bool writable() const { return encoding != Encoding::Ansi; }
    bool operator==(const TextFileFormat &) const = default;
};

/// The format of a plain-text `body` as the reader decodes it. Text in ASCII alone reads the
/// same in every encoding the reader knows and counts as UTF-8. The line breaks of UTF-8 are
/// those of the first line end, LF when there is none. An empty body gets the default format
/// (UTF-16LE).
TextFileFormat detectTextFileFormat(std::span<const std::uint8_t> body);

} // namespace tarvellite::ui
