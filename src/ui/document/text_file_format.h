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
        /// UTF-8; a signature the file had stays at the start of the text and is written back.
        Utf8,
        /// Windows-1252 with letters outside ASCII: read, but never written.
        Ansi
    };
    Encoding encoding = Encoding::Unicode;
    /// CR LF between lines; LF alone otherwise.
    bool crlf = true;

    static TextFileFormat unicode() { return {}; }
    static TextFileFormat utf8(bool crlf) { return {Encoding::Utf8, crlf}; }
    /// Whether the program writes this format.
    bool writable() const { return encoding != Encoding::Ansi; }
    bool operator==(const TextFileFormat &) const = default;
};

/// The format of a plain-text `body` as the reader decodes it. Text in ASCII alone reads the
/// same in every encoding the reader knows and counts as UTF-8. The line breaks are those of
/// the first line end; a body without any gets LF in UTF-8 and CR LF otherwise. An empty body
/// gets the default format (UTF-16LE, CR LF).
TextFileFormat detectTextFileFormat(std::span<const std::uint8_t> body);

} // namespace tarvellite::ui
