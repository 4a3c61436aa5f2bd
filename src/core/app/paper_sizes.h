#pragma once

#include "core/app/byte_reader.h"

#include <array>
#include <cstdint>
#include <string>

namespace tarvellite {

/// One named paper size (40 bytes as a record: a 32-byte UTF-16 name, width and height).
/// Lengths in twips, portrait.
struct PAGESIZE {
    static constexpr std::size_t size = 40;
    std::u16string name;
    std::int32_t width = 0;
    std::int32_t height = 0;

    Bytes toBytes() const;
};

inline constexpr std::size_t paperSizeCount = 20;
using PaperSizeTable = std::array<PAGESIZE, paperSizeCount>;

/// The fixed table of named paper sizes, in the order the page setup lists them.
const PaperSizeTable &paperSizeTable();

/// Index of the first size within 6 twips of `width` × `height` either way round, or -1.
int FindPageSize(std::int32_t width, std::int32_t height);

} // namespace tarvellite
