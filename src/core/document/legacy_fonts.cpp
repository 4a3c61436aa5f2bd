// The legacy-font scan works on raw bytes, not on a parsed font table: it takes names from
// the text between a space and the next ";" and restarts a name after a control word or a
// closing brace. Every index it uses stays inside a 4096-byte buffer whose last byte is zero.

#include "core/document/legacy_fonts.h"

#include "core/document/rich_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace tarvellite {

namespace {

int kindOfName(std::string_view name) {
    if (name.size() < 3)
        return 0;
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    if (lower(name[0]) != 't' || lower(name[1]) != 'a')
        return 0;
    if (lower(name[2]) == 'm')
        return static_cast<int>(LegacyFontKind::Tam);
    if (lower(name[2]) == 'b')
        return static_cast<int>(LegacyFontKind::Tab);
    return 0;
}

} // namespace

int legacyKindOfFace(std::u16string_view faceName) {
    if (faceName.size() < 3)
        return 0;
    char ascii[3];
    for (int i = 0; i < 3; ++i) {
        if (faceName[i] > 0x7F)
            return 0;
        ascii[i] = static_cast<char>(faceName[i]);
    }
    return kindOfName(std::string_view(ascii, 3));
}

bool ScanLegacyFonts(std::span<const std::uint8_t> body, LegacyFontMap &fonts) {
    std::array<char, legacyFontScanBytes> buf{};
    const std::size_t n = std::min(body.size(), legacyFontScanBytes);
    if (n > 0)
        std::memcpy(buf.data(), body.data(), n);
    buf[legacyFontScanBytes - 1] = 0;
    const std::size_t end = std::strlen(buf.data());
    const std::string_view text(buf.data(), end);

    const std::size_t table = text.find("{\\fonttbl");
    if (table == std::string_view::npos)
        return !fonts.empty();
    std::size_t limit = text.find("\r\n", table);
    if (limit == std::string_view::npos)
        limit = end;

    int index = 0;
    std::size_t pos = table;
    while (pos < limit) {
        std::size_t space = text.find(' ', pos);
        if (space == std::string_view::npos || space >= limit)
            break;
        std::size_t start = space + 1;
        std::size_t semicolon = std::string_view::npos;
        for (;;) {
            semicolon = text.find(';', start);
            if (semicolon == std::string_view::npos)
                break;
            const std::size_t backslash = text.find('\\', start);
            const std::size_t brace = text.find('}', start);
            if (backslash < semicolon && backslash <= brace) {
                const std::size_t next = text.find(' ', backslash);
                if (next == std::string_view::npos || next >= semicolon) {
                    start = semicolon; // nothing after the control word: an empty name
                    break;
                }
                start = next + 1;
            } else if (brace < semicolon) {
                start = brace + 1;
            } else {
                break;
            }
        }
        if (semicolon == std::string_view::npos)
            break;
        std::string name(text.substr(start, semicolon - start));
        if (name.size() > faceNameLimit)
            name.resize(faceNameLimit);
        if (!name.empty()) {
            if (const int kind = kindOfName(name))
                fonts[index] = LegacyFont{name, static_cast<LegacyFontKind>(kind), index};
            ++index;
        }
        pos = semicolon + 1;
    }
    return !fonts.empty();
}

} // namespace tarvellite
