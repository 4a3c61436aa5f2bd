#pragma once

#include <string_view>

namespace tarvellite {

/// A to Z lowered; every other unit unchanged (dictionary names, rule file keys and Latin words
/// compare without regard to the case of A to Z only).
inline char16_t lowerAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? c + 32 : c;
}

/// Whether `a` and `b` are equal but for the case of A to Z.
inline bool equalIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

} // namespace tarvellite
