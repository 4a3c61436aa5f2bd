#include "core/spelling/rule_file.h"

#include "core/app/unicode.h"

#include <string>

namespace tarvellite {

namespace {

char16_t foldAsciiUpper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? c - 32 : c;
}

bool equalIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAsciiUpper(a[i]) != foldAsciiUpper(b[i]))
            return false;
    return true;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view trimBlanks(std::u16string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isWhite(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

} // namespace

std::u16string decodeTextFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::u16string out;
        out.reserve((bytes.size() - 2) / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            out.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        return out;
    }
    std::string_view text(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    if (isValidUtf8(text))
        return utf8ToUtf16(text);
    return cp1252ToUtf16(text);
}

ProfileText::ProfileText(std::span<const std::uint8_t> bytes) {
    parse(decodeTextFile(bytes));
}

ProfileText::ProfileText(std::u16string_view text) {
    parse(text);
}

void ProfileText::parse(std::u16string_view text) {
    std::u16string section;
    bool inSection = false;
    while (!text.empty()) {
        std::size_t end = text.find_first_of(u"\r\n");
        std::u16string_view line = text.substr(0, end);
        text.remove_prefix(end == std::u16string_view::npos ? text.size() : end + 1);
        line = trimBlanks(line);
        if (line.empty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            const std::size_t close = line.find(u']');
            section = std::u16string(trimBlanks(
                line.substr(1, close == std::u16string_view::npos ? line.size() - 1 : close - 1)));
            inSection = true;
            continue;
        }
        const std::size_t eq = line.find(u'=');
        if (!inSection || eq == std::u16string_view::npos)
            continue;
        std::u16string_view key = trimBlanks(line.substr(0, eq));
        std::u16string_view value = trimBlanks(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        entries_.push_back({section, std::u16string(key), std::u16string(value)});
    }
}

std::u16string ProfileText::value(std::u16string_view section, std::u16string_view key) const {
    for (const Entry &e : entries_)
        if (equalIgnoringAsciiCase(e.section, section) && equalIgnoringAsciiCase(e.key, key))
            return e.value.substr(0, maxValueUnits);
    return {};
}

std::vector<std::u16string> parseRuleEntries(std::u16string_view value) {
    std::vector<std::u16string> entries;
    while (true) {
        const std::size_t space = value.find(u' ');
        std::u16string_view piece = value.substr(0, space);
        while (!piece.empty() && isWhite(piece.front()))
            piece.remove_prefix(1);
        while (!piece.empty() && isWhite(piece.back()))
            piece.remove_suffix(1);
        if (!piece.empty())
            entries.emplace_back(piece);
        if (space == std::u16string_view::npos)
            break;
        value.remove_prefix(space + 1);
    }
    for (std::size_t c = 0; c < entries.size(); ++c)
        for (std::size_t i = c + 1; i < entries.size(); ++i)
            if (entries[c].size() < entries[i].size())
                std::swap(entries[c], entries[i]);
    return entries;
}

} // namespace tarvellite
