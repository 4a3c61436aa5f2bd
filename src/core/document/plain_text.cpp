#include "core/document/plain_text.h"

#include "core/app/unicode.h"
#include "core/document/code_page.h"
#include "core/document/rich_text.h"

#include <cstring>
#include <string_view>

namespace tarvellite {

namespace {

bool isIndicTextUnit(char16_t u) {
    return (u >= 0x0900 && u <= 0x0DFF) || u == 0x200C || u == 0x200D || u == 0xFEFF;
}

bool looksLikeZerolessUtf16(std::span<const std::uint8_t> body) {
    if (body.size() < 2 || body.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < body.size(); i += 2)
        if (!isIndicTextUnit(static_cast<char16_t>(body[i] | (body[i + 1] << 8))))
            return false;
    const std::string_view asChars(reinterpret_cast<const char *>(body.data()), body.size());
    return !isValidUtf8(asChars);
}

} // namespace

PlainTextEncoding detectPlainTextEncoding(std::span<const std::uint8_t> body) {
    if (body.size() >= 3 && body[0] == 0xEF && body[1] == 0xBB && body[2] == 0xBF)
        return PlainTextEncoding::Utf8;
    if (body.size() > 1 && std::memchr(body.data(), 0, body.size() - 1) != nullptr)
        return PlainTextEncoding::Utf16Le;
    if (looksLikeZerolessUtf16(body))
        return PlainTextEncoding::Utf16Le;
    return PlainTextEncoding::Ansi;
}

std::u16string decodePlainText(std::span<const std::uint8_t> body) {
    switch (detectPlainTextEncoding(body)) {
    case PlainTextEncoding::Utf8:
        return utf8ToUtf16(
            std::string_view(reinterpret_cast<const char *>(body.data()), body.size()));
    case PlainTextEncoding::Utf16Le: {
        std::u16string out;
        out.reserve(body.size() / 2);
        for (std::size_t i = 0; i + 1 < body.size(); i += 2) {
            const auto u = static_cast<char16_t>(body[i] | (body[i + 1] << 8));
            if (u == 0)
                break;
            out.push_back(u);
        }
        return out;
    }
    case PlainTextEncoding::Ansi: break;
    }
    return decomposeComposites(CodePage::get(ansiCodePage)->decode(body));
}

Bytes encodePlainText(std::u16string_view text) {
    Bytes out;
    out.reserve(text.size() * 2 + 16);
    auto put = [&out](char16_t u) {
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n' || c == u'\u2029' || c == lineSeparator) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            put(u'\r');
            put(u'\n');
        } else if (c != objectReplacementCharacter) {
            put(c);
        }
    }
    return out;
}

} // namespace tarvellite
