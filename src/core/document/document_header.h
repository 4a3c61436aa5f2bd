#pragma once

// The headers that may precede a document body: the program's own 1624-byte header (".tvl"
// files and recovery files) and the legacy header of ".tvp" files, which is only skipped.
// See docs/formats/tvl.md.

#include "core/app/byte_reader.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tarvellite {

/// Page layout record: 14 little-endian int32, lengths in twips. A zero paper width or height
/// means "not set": the viewer completes it from the page settings.
struct PageLayout {
    std::int32_t paperWidth = 0;
    std::int32_t paperHeight = 0;
    std::int32_t marginLeft = 0;
    std::int32_t marginTop = 0;
    std::int32_t marginRight = 0;
    std::int32_t marginBottom = 0;
    /// Fields 6 to 13: written as 0, read and kept as found.
    std::array<std::int32_t, 8> reserved{};

    bool isSet() const { return paperWidth != 0 && paperHeight != 0; }
    bool operator==(const PageLayout &) const = default;
};

inline constexpr std::size_t documentHeaderSize = 1624;
inline constexpr std::size_t pageLayoutOffset = 68;
inline constexpr std::size_t recoveryPathOffset = 124;
inline constexpr std::size_t recoveryPathBytes = 1500;
/// The longest protected path a recovery header holds, in UTF-16 units (after the U+FEFF).
inline constexpr std::size_t maxRecoveryPathUnits = recoveryPathBytes / 2 - 1;
inline constexpr std::uint32_t legacyHeaderMagic = 0xFFACB0D2u;

enum class HeaderKind { None, Own, Legacy };

/// What `ReadDocumentHeader` found at the start of a file.
struct DocumentHeader {
    HeaderKind kind = HeaderKind::None;
    /// Where the body starts: 0, 1624, or the length of the legacy header.
    std::size_t bodyOffset = 0;
    /// The layout of an own header; unset otherwise.
    PageLayout pageLayout;
    /// The protected document's path of a recovery file's header (without its leading
    /// U+FEFF); empty otherwise.
    std::u16string recoveredPath;
};

/// Finds the header at the start of `file`. Never fails: a header that does not match, or a
/// legacy header whose parts run past the end of the file, means the body starts at 0.
DocumentHeader ReadDocumentHeader(std::span<const std::uint8_t> file);

/// The 1624-byte own header with `layout` at offset 68. A non-empty `recoveryPath` is stored
/// at offset 124 after U+FEFF; a path longer than `maxRecoveryPathUnits` units is cut at the
/// last whole character that fits, and `*pathCut` (when given) is set.
Bytes writeDocumentHeader(const PageLayout &layout, std::u16string_view recoveryPath = {},
                          bool *pathCut = nullptr);

} // namespace tarvellite
