#pragma once

// Plain-text bodies: reading in the three encodings the program accepts, writing UTF-16LE.
// See docs/formats/plain-text.md.

#include "core/app/byte_reader.h"
#include "core/app/result.h"
#include "core/document/output_sink.h"
#include "core/document/rich_text.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace tarvellite {

enum class PlainTextEncoding { Utf8, Utf16Le, Ansi };

/// The encoding of a plain-text body, decided by content:
/// - UTF-8 when it starts with EF BB BF;
/// - UTF-16LE when a zero byte occurs before its last byte;
/// - UTF-16LE also when the body has an even length, is not valid UTF-8, and every unit read
///   as UTF-16LE is an Indic letter (U+0900-U+0DFF), ZWJ, ZWNJ or U+FEFF: Indic text saved
///   without spaces or line breaks has no zero byte;
/// - otherwise the ANSI code page (Windows-1252).
PlainTextEncoding detectPlainTextEncoding(std::span<const std::uint8_t> body);

/// Decodes a plain-text body. UTF-8 keeps its signature as a leading U+FEFF; UTF-16LE takes
/// size / 2 units and ends early at a zero unit; ANSI text has its precomposed letters split
/// into base letters and combining marks. Never fails.
std::u16string decodePlainText(std::span<const std::uint8_t> body);

/// Hands the text of `doc` to `put` piece by piece, as a plain-text file holds it: paragraphs
/// joined by `paragraphBreak` (none after the last), line breaks as `lineBreak`, pictures left
/// out, and every bulleted or numbered paragraph starting with the label the document shows
/// ("1.", "iv)", "\u2022") and a tab. Stops and returns false as soon as `put` does.
bool forEachTextPiece(const RichDocument &doc, std::u16string_view paragraphBreak,
                      std::u16string_view lineBreak,
                      const std::function<bool(std::u16string_view)> &put);

/// The pieces of `forEachTextPiece` joined.
std::u16string documentText(const RichDocument &doc, std::u16string_view paragraphBreak,
                            std::u16string_view lineBreak);

/// Writes the text of `doc` (as `forEachTextPiece` gives it) to `out` as UTF-16LE without a
/// byte-order mark, CR LF between paragraphs and for line breaks, in blocks of a bounded size.
/// Fails only when `out` fails.
Status writePlainText(const RichDocument &doc, OutputSink &out);

/// The same text as UTF-8 with `lineEnd` between paragraphs and for line breaks.
Status writeUtf8Text(const RichDocument &doc, OutputSink &out, std::string_view lineEnd);

/// `text` as UTF-16LE without a byte-order mark, with every paragraph break ("\n", "\r\n",
/// "\r" or U+2029) written as CR LF and line breaks (U+2028) as CR LF too; the object
/// replacement characters that stand for pictures are dropped.
Bytes encodePlainText(std::u16string_view text);

} // namespace tarvellite
