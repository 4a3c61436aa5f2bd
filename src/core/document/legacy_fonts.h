#pragma once

// The quick scan of an RTF font table for legacy 8-bit Tamil fonts (TAM and TAB encodings),
// run on the first 4096 bytes of an RTF body before it is read.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace tarvellite {

enum class LegacyFontKind : std::int32_t { Tam = 1, Tab = 2 };

/// A font found by the scan: its face name (the bytes of the font table, at most 31), its kind
/// and its position among the names of the font table (counted from 0).
struct LegacyFont {
    std::string faceName;
    LegacyFontKind kind = LegacyFontKind::Tam;
    std::int32_t index = 0;
    bool operator==(const LegacyFont &) const = default;
};

/// Legacy fonts by their position among the font table's names.
using LegacyFontMap = std::map<int, LegacyFont>;

/// How many bytes of the body the scan looks at.
inline constexpr std::size_t legacyFontScanBytes = 4096;

/// The legacy kind of a face name: its first three characters are "TAM" or "TAB", in any case.
/// Returns 0 for other names, else the kind's value.
int legacyKindOfFace(std::u16string_view faceName);

/// Scans the font table in the first 4096 bytes of `body` (the bytes from the body start) and
/// adds every name starting with "tam" or "tab" (any case) to `fonts`. The table is found by
/// "{\fonttbl"; the scan ends at the first CR LF after it (or at the end of the 4096 bytes).
/// Returns whether `fonts` holds any entry.
bool ScanLegacyFonts(std::span<const std::uint8_t> body, LegacyFontMap &fonts);

} // namespace tarvellite
