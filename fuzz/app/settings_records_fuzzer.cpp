// Reads arbitrary bytes as each settings record. A record that reads must write back to its
// exact size and read back equal; the list-valued setting must survive the same.

#include "core/app/archive.h"
#include "core/app/settings_records.h"

#include <cstdint>
#include <cstdlib>

namespace {

template <class Record> void check(std::span<const std::uint8_t> bytes) {
    const auto record = Record::fromBytes(bytes);
    if (!record) {
        if (bytes.size() == Record::size)
            std::abort();
        return;
    }
    const tarvellite::Bytes written = record->toBytes();
    if (written.size() != Record::size)
        std::abort();
    const auto again = Record::fromBytes(written);
    if (!again || !(*again == *record))
        std::abort();
}

template <class Record> void checkPrefix(std::span<const std::uint8_t> bytes) {
    check<Record>(bytes);
    if (bytes.size() >= Record::size)
        check<Record>(bytes.first(Record::size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tarvellite;
    const std::span<const std::uint8_t> bytes(data, size);
    checkPrefix<General>(bytes);
    checkPrefix<PageDimensions>(bytes);
    checkPrefix<ShellSortInfo>(bytes);
    checkPrefix<BackupOption>(bytes);
    checkPrefix<EditOption>(bytes);

    auto list = decodeStringList(bytes);
    if (list.ok()) {
        auto again = decodeStringList(encodeStringList(*list));
        if (!again.ok() || *again != *list)
            std::abort();
    }
    return 0;
}
