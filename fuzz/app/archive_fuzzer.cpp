// Reads arbitrary bytes as each kind of archive value; none may crash, hang or allocate more
// than the input could hold. A string list that reads is written back and must read the same.

#include "core/app/archive.h"

#include <cstdint>
#include <cstdlib>
#include <map>

namespace {

void readRecord(tarvellite::ByteReader &r, std::int32_t &v) {
    r.i32(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tarvellite;
    const std::span<const std::uint8_t> bytes(data, size);

    auto list = decodeStringList(bytes);
    if (list.ok()) {
        const Bytes again = encodeStringList(*list);
        auto reread = decodeStringList(again);
        if (!reread.ok() || *reread != *list)
            std::abort();
    }

    {
        ArchiveReader reader(bytes);
        std::u16string s;
        while (reader.readString(s)) {
        }
    }
    {
        ArchiveReader reader(bytes);
        std::vector<std::int32_t> records;
        reader.readRecordArray(records, 4, readRecord);
    }
    {
        ArchiveReader reader(bytes);
        std::map<char16_t, std::int32_t> byUnit;
        reader.readUnitKeyedTable(byUnit, 4, readRecord);
    }
    {
        ArchiveReader reader(bytes);
        std::map<std::u16string, std::int32_t> byString;
        reader.readStringKeyedTable(byString, 4, readRecord);
    }
    return 0;
}
