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

bool firstBreakIsCrLf16(std::span<const std::uint8_t> body) {
    char16_t previous = 0;
    for (std::size_t i = 0; i + 1 < body.size(); i += 2) {
        const auto unit = static_cast<char16_t>(body[i] | (body[i + 1] << 8));
        if (unit == u'\n')
            return previous == u'\r';
        if (unit == 0)
            break;
        previous = unit;
    }
    return true;
}

} // namespace

TextFileFormat detectTextFileFormat(std::span<const std::uint8_t> body) {
    // An empty file has no encoding of its own: it is written as text files are by default.
    if (body.empty())
        return TextFileFormat::unicode();
    switch (detectPlainTextEncoding(body)) {
    case PlainTextEncoding::Utf16Le:
        return {TextFileFormat::Encoding::Unicode, firstBreakIsCrLf16(body)};
    case PlainTextEncoding::Utf8: return TextFileFormat::utf8(firstBreakIsCrLf(body, false));
    case PlainTextEncoding::Ansi: break;
    }
    const bool ascii =
        std::all_of(body.begin(), body.end(), [](std::uint8_t b) { return b < 0x80; });
    return {ascii ? TextFileFormat::Encoding::Utf8 : TextFileFormat::Encoding::Ansi,
            firstBreakIsCrLf(body, !ascii)};
}

} // namespace tarvellite::ui
