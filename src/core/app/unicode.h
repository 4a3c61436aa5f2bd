#pragma once

#include <string>
#include <string_view>

namespace tarvellite {

/// UTF-8 to UTF-16. Malformed sequences become U+FFFD, one per bad byte.
std::u16string utf8ToUtf16(std::string_view utf8);

/// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

/// Whether `bytes` is well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

/// Windows-1252 byte to UTF-16 unit. The five unassigned bytes map to themselves (as C1
/// controls), as Windows does.
char16_t cp1252ToUnit(unsigned char byte);

/// UTF-16 unit to a Windows-1252 byte; false when the unit has none.
bool unitToCp1252(char16_t unit, unsigned char &byte);

/// Windows-1252 text to UTF-16.
std::u16string cp1252ToUtf16(std::string_view bytes);

/// Upper-case hex of each unit, 4 digits, separated by single spaces ("0B95 0BCD").
std::string hexUnits(std::u16string_view units);

} // namespace tarvellite
