#pragma once

#include "core/app/byte_reader.h"

#include <cstdint>
#include <string>

namespace tarvellite {

/// The program's version as the settings store and the About box show it.
inline constexpr std::int32_t appVersion = 4000;
inline constexpr std::int32_t buildVersion = 320;

/// The maker's name as it appears in saved documents and in the settings location.
inline constexpr const char *makerName = "Orvani Software";
inline constexpr const char *productName = "TarvelLite";

/// The version stamp written at the start of every saved document (68 bytes): four int32,
/// then the maker's name in a 32-byte field and the maker's country in a 20-byte field, both
/// UTF-16 and NUL-padded.
struct VersionRecord {
    static constexpr std::size_t size = 68;
    std::int32_t year = 2011;
    std::int32_t month = 11;
    /// Files carry 250 and 4000 at offsets 8 and 12 exactly when they start with this record.
    std::int32_t build = 250;
    std::int32_t version = 4000;
    std::u16string makerName = u"Orvani Software";
    std::u16string makerCountry = u"Australia";

    Bytes toBytes() const {
        ByteWriter w;
        w.i32(year);
        w.i32(month);
        w.i32(build);
        w.i32(version);
        w.fixedUtf16(makerName, 32);
        w.fixedUtf16(makerCountry, 20);
        return w.take();
    }
};

} // namespace tarvellite
