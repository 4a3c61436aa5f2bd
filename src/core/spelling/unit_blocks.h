#pragma once

// Reading UTF-16 words four units at a time, as the word hash and its comparisons do.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarvellite {

/// Four units from `s` (the first lowest, on a little-endian machine).
inline std::uint64_t loadBlock(const char16_t *s) {
    std::uint64_t v;
    std::memcpy(&v, s, sizeof v);
    return v;
}

/// Whether `n` units at `a` and `b` agree. Asked when a hash slot's tag matches, so nearly
/// always true: eight units at a time without a way out at the first difference, the last eight
/// (or four) read whole (units read twice agree or not as before), so that nothing depends on
/// the length's remainder, which words checked one after another vary without a pattern.
[[gnu::always_inline]] inline bool equalUnits(const char16_t *a, const char16_t *b, std::size_t n) {
    const auto differ = [a, b](std::size_t i) { return loadBlock(a + i) ^ loadBlock(b + i); };
    if (n >= 8) {
        std::uint64_t d = 0;
        for (std::size_t i = 0; i + 8 <= n; i += 8)
            d |= differ(i) | differ(i + 4);
        return (d | differ(n - 8) | differ(n - 4)) == 0;
    }
    if (n >= 4)
        return (differ(0) | differ(n - 4)) == 0;
    bool same = true;
    for (std::size_t i = 0; i < n; ++i)
        same &= a[i] == b[i];
    return same;
}

} // namespace tarvellite
