#pragma once

#include "core/app/byte_reader.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {

/// INI text as the rule file reader sees it: "[Section]" lines and "Key=Value" lines.
///
/// Accepts UTF-16LE with a byte-order mark, and UTF-8 with or without one; bytes that are not
/// UTF-8 are read as Windows-1252. Section and key names compare without regard to the case of
/// A to Z. Names and values are trimmed of spaces and tabs, and a value enclosed in a pair of
/// matching quotes loses them. Lines starting with ";" are comments. When a key appears twice
/// in a section (or in two sections of the same name), the first one counts.
class ProfileText {
  public:
    /// The longest value, in UTF-16 units, that a read returns; longer values are cut.
    static constexpr std::size_t maxValueUnits = 1023;

    ProfileText() = default;
    explicit ProfileText(std::span<const std::uint8_t> bytes);
    explicit ProfileText(std::u16string_view text);

    /// The value of `key` in `section`, cut to `maxValueUnits`; empty when either is missing.
    std::u16string value(std::u16string_view section, std::u16string_view key) const;

  private:
    struct Entry {
        std::u16string section;
        std::u16string key;
        std::u16string value;
    };
    void parse(std::u16string_view text);

    std::vector<Entry> entries_;
};

/// Decodes the bytes of a text file: UTF-16LE after its byte-order mark, UTF-8 (a mark is
/// dropped), or Windows-1252 when the bytes are not valid UTF-8.
std::u16string decodeTextFile(std::span<const std::uint8_t> bytes);

/// Splits a rule value into entries: pieces between spaces, trimmed of white space, empty
/// pieces dropped, then ordered longest first by the exchange procedure the checker relies on
/// (for each position, every later entry that is longer is swapped into it).
std::vector<std::u16string> parseRuleEntries(std::u16string_view value);

/// The six sections of a rule file, in their fixed order.
inline constexpr std::u16string_view ruleSectionNames[6] = {
    u"Word Joiners",      u"Pre Additions",      u"Post Additions",
    u"Pre Substitutions", u"Post Substitutions", u"Vocal Characters"};

} // namespace tarvellite
