#include "ui/document/text_file_format.h"

#include "core/document/plain_text.h"

#include <algorithm>
#include <cstring>

namespace tarvellite::ui {

namespace {

/// Whether the first line feed (or, without one, the first carriage return) of 8-bit text
/// follows a carriage return; nothing found: `otherwise`.
bool firstBreakIsCrLf(std::span<const std::uint8_t> body, bool otherwise) {
    const auto feed = std::find(body.begin(), body.end(), std::uint8_t('\n'));
    if (feed != body.end())
        return feed != body.begin() && *(feed - 1) == '\r';
    return std::find(body.begin(), body.end(), std::uint8_t('\r')) != body.end() ? true : otherwise;
}

} // namespace

TextFileFormat detectTextFileFormat(std::span<const std::uint8_t> body) {
    // An empty file has no encoding of its own: it is written as text files are by default.
    if (body.empty())
        return TextFileFormat::unicode();
    switch (detectPlainTextEncoding(body)) {
    case PlainTextEncoding::Utf16Le: return TextFileFormat::unicode();
    case PlainTextEncoding::Utf8: {
        const bool signature =
            body.size() >= 3 && body[0] == 0xEF && body[1] == 0xBB && body[2] == 0xBF;
        return TextFileFormat::utf8(firstBreakIsCrLf(body, false), signature);
    }
    case PlainTextEncoding::Ansi: break;
    }
    const bool ascii =
        std::all_of(body.begin(), body.end(), [](std::uint8_t b) { return b < 0x80; });
    return {ascii ? TextFileFormat::Encoding::Utf8 : TextFileFormat::Encoding::Ansi,
            firstBreakIsCrLf(body, !ascii), false};
}

} // namespace tarvellite::ui
