#pragma once

#include "core/app/byte_reader.h"
#include "core/app/result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {

/// Reader of archive values (counts, strings, string lists, record arrays and keyed tables)
/// over untrusted bytes.
///
/// Every count and length is checked against the bytes that remain before anything is
/// allocated: a container of N elements needs at least N times its smallest element, a string
/// of N units needs N (narrow) or 2N (wide) bytes. A value that cannot fit fails the read at
/// once, with the offset of its prefix. As with `ByteReader`, the first failure is sticky and
/// later reads leave their outputs untouched.
class ArchiveReader {
  public:
    explicit ArchiveReader(std::span<const std::uint8_t> data) : reader_(data) {}

    /// An archive count: a word below 0xFFFF, or 0xFFFF and a 4-byte value. Fails when the
    /// count exceeds the bytes that remain (every element takes at least one byte).
    bool readCount(std::uint32_t &out) { return readCount(out, 1); }
    /// As above, for elements of at least `minElementBytes` bytes each (0 counts as 1).
    bool readCount(std::uint32_t &out, std::size_t minElementBytes);

    /// An archive string in any of its length forms, wide (UTF-16LE) or narrow (Windows-1252,
    /// widened). A 64-bit length above 0x7FFFFFFF fails.
    bool readString(std::u16string &out);

    /// A count followed by that many strings, in order. `out` is replaced only on success.
    bool readStringList(std::vector<std::u16string> &out);

    /// A count followed by that many records of `recordBytes` each, read by
    /// `readOne(ByteReader &, T &)`. `out` is replaced only on success.
    template <class T, class ReadOne>
    bool readRecordArray(std::vector<T> &out, std::size_t recordBytes, ReadOne readOne) {
        std::uint32_t count = 0;
        if (!readCount(count, recordBytes))
            return false;
        std::vector<T> items(count);
        for (T &item : items) {
            const std::size_t start = reader_.offset();
            readOne(reader_, item);
            if (!reader_.failed() && reader_.offset() != start + recordBytes)
                reader_.failAt("record reader consumed the wrong number of bytes", start);
            if (reader_.failed())
                return false;
        }
        out = std::move(items);
        return true;
    }

    /// A count followed by entries of a one-word (UTF-16 unit) key and a value of
    /// `valueBytes` read by `readValue(ByteReader &, Value &)`. A later entry with an equal key
    /// replaces the earlier one. `out` (a map from char16_t) is replaced only on success.
    template <class Map, class ReadValue>
    bool readUnitKeyedTable(Map &out, std::size_t valueBytes, ReadValue readValue) {
        std::uint32_t count = 0;
        if (!readCount(count, 2 + valueBytes))
            return false;
        Map table;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint16_t key = 0;
            typename Map::mapped_type value{};
            if (!reader_.u16(key) || !readValueOf(value, valueBytes, readValue))
                return false;
            table.insert_or_assign(static_cast<char16_t>(key), std::move(value));
        }
        out = std::move(table);
        return true;
    }

    /// As `readUnitKeyedTable`, with archive-string keys (a map from std::u16string).
    template <class Map, class ReadValue>
    bool readStringKeyedTable(Map &out, std::size_t valueBytes, ReadValue readValue) {
        std::uint32_t count = 0;
        if (!readCount(count, 1 + valueBytes))
            return false;
        Map table;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::u16string key;
            typename Map::mapped_type value{};
            if (!readString(key) || !readValueOf(value, valueBytes, readValue))
                return false;
            table.insert_or_assign(std::move(key), std::move(value));
        }
        out = std::move(table);
        return true;
    }

    /// The underlying reader, for records and plain values.
    ByteReader &bytes() { return reader_; }

    bool failed() const { return reader_.failed(); }
    const Error &error() const { return reader_.error(); }
    std::size_t offset() const { return reader_.offset(); }
    std::size_t remaining() const { return reader_.remaining(); }

  private:
    template <class Value, class ReadValue>
    bool readValueOf(Value &value, std::size_t valueBytes, ReadValue &readValue) {
        const std::size_t start = reader_.offset();
        readValue(reader_, value);
        if (!reader_.failed() && reader_.offset() != start + valueBytes)
            reader_.failAt("record reader consumed the wrong number of bytes", start);
        return !reader_.failed();
    }

    ByteReader reader_;
};

/// Writer of archive values. Strings are always written wide, in the shortest length form.
class ArchiveWriter {
  public:
    void writeCount(std::uint32_t n);
    void writeString(std::u16string_view s);
    void writeStringList(const std::vector<std::u16string> &list);

    /// A count followed by every item, written by `writeOne(ByteWriter &, const T &)`.
    template <class T, class WriteOne>
    void writeRecordArray(const std::vector<T> &items, WriteOne writeOne) {
        writeCount(static_cast<std::uint32_t>(items.size()));
        for (const T &item : items)
            writeOne(writer_, item);
    }

    /// A count followed by each entry in the map's own order: a one-word key and its value.
    template <class Map, class WriteValue>
    void writeUnitKeyedTable(const Map &table, WriteValue writeValue) {
        writeCount(static_cast<std::uint32_t>(table.size()));
        for (const auto &[key, value] : table) {
            writer_.u16(static_cast<std::uint16_t>(key));
            writeValue(writer_, value);
        }
    }

    /// A count followed by each entry in the map's own order: a string key and its value.
    template <class Map, class WriteValue>
    void writeStringKeyedTable(const Map &table, WriteValue writeValue) {
        writeCount(static_cast<std::uint32_t>(table.size()));
        for (const auto &[key, value] : table) {
            writeString(key);
            writeValue(writer_, value);
        }
    }

    /// The underlying writer, for records and plain values.
    ByteWriter &bytes() { return writer_; }
    const Bytes &data() const { return writer_.data(); }
    Bytes take() { return writer_.take(); }

  private:
    ByteWriter writer_;
};

/// The archive form of a string list (count, then each string wide).
Bytes encodeStringList(const std::vector<std::u16string> &list);

/// Reads a string list that must fill `bytes` exactly; trailing bytes are an error.
Result<std::vector<std::u16string>> decodeStringList(std::span<const std::uint8_t> bytes);

} // namespace tarvellite
