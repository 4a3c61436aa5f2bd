// Archive values: counts, strings and containers written one after another, little-endian.
//
// The reader trusts nothing: each prefix is checked against the bytes that remain before a
// container or string is allocated, so a hostile count costs no memory and fails at the offset
// of that count.

#include "core/app/archive.h"

#include "core/app/unicode.h"

namespace tarvellite {

namespace {

constexpr std::uint16_t bigCountMarker = 0xFFFF;
constexpr std::uint16_t wideMarker = 0xFFFE;
constexpr std::int64_t largestStringLength = 0x7FFFFFFF;

} // namespace

bool ArchiveReader::readCount(std::uint32_t &out, std::size_t minElementBytes) {
    const std::size_t start = reader_.offset();
    std::uint16_t word = 0;
    if (!reader_.u16(word))
        return false;
    std::uint32_t count = word;
    if (word == bigCountMarker && !reader_.u32(count))
        return false;
    const std::size_t left = reader_.remaining();
    const std::size_t perElement = minElementBytes == 0 ? 1 : minElementBytes;
    if (count > left / perElement)
        return reader_.failAt("count " + std::to_string(count) + " exceeds the " +
                                  std::to_string(left) + " bytes that remain",
                              start);
    out = count;
    return true;
}

bool ArchiveReader::readString(std::u16string &out) {
    const std::size_t start = reader_.offset();
    std::uint8_t first = 0;
    if (!reader_.u8(first))
        return false;

    bool wide = false;
    std::uint64_t length = first;
    if (first == 0xFF) {
        std::uint16_t word = 0;
        if (!reader_.u16(word))
            return false;
        bool haveLength = false;
        if (word == wideMarker) {
            wide = true;
            std::uint8_t shortLength = 0;
            if (!reader_.u8(shortLength))
                return false;
            if (shortLength < 0xFF) {
                length = shortLength;
                haveLength = true;
            } else if (!reader_.u16(word)) {
                return false;
            }
        }
        if (!haveLength) {
            if (word < 0xFFFF) {
                length = word;
            } else {
                std::uint32_t dword = 0;
                if (!reader_.u32(dword))
                    return false;
                if (dword < 0xFFFFFFFFu) {
                    length = dword;
                } else {
                    std::int64_t qword = 0;
                    if (!reader_.i64(qword))
                        return false;
                    if (qword < 0 || qword > largestStringLength)
                        return reader_.failAt(
                            "string length " + std::to_string(qword) + " is out of range", start);
                    length = static_cast<std::uint64_t>(qword);
                }
            }
        }
    }

    const std::size_t left = reader_.remaining();
    const std::size_t unitBytes = wide ? 2 : 1;
    if (length > left / unitBytes)
        return reader_.failAt("string of " + std::to_string(length) + (wide ? " wide" : " narrow") +
                                  " characters exceeds the " + std::to_string(left) +
                                  " bytes that remain",
                              start);

    std::span<const std::uint8_t> text;
    if (!reader_.bytes(static_cast<std::size_t>(length) * unitBytes, text))
        return false;
    std::u16string value;
    value.resize(static_cast<std::size_t>(length));
    if (wide) {
        for (std::size_t i = 0; i < value.size(); ++i)
            value[i] = static_cast<char16_t>(text[2 * i] | (text[2 * i + 1] << 8));
    } else {
        for (std::size_t i = 0; i < value.size(); ++i)
            value[i] = cp1252ToUnit(text[i]);
    }
    out = std::move(value);
    return true;
}

bool ArchiveReader::readStringList(std::vector<std::u16string> &out) {
    std::uint32_t count = 0;
    if (!readCount(count, 1))
        return false;
    std::vector<std::u16string> list;
    list.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::u16string s;
        if (!readString(s))
            return false;
        list.push_back(std::move(s));
    }
    out = std::move(list);
    return true;
}

void ArchiveWriter::writeCount(std::uint32_t n) {
    if (n < bigCountMarker) {
        writer_.u16(static_cast<std::uint16_t>(n));
    } else {
        writer_.u16(bigCountMarker);
        writer_.u32(n);
    }
}

void ArchiveWriter::writeString(std::u16string_view s) {
    writer_.u8(0xFF);
    writer_.u16(wideMarker);
    const std::uint64_t length = s.size();
    if (length <= 254) {
        writer_.u8(static_cast<std::uint8_t>(length));
    } else {
        writer_.u8(0xFF);
        if (length <= 0xFFFD) {
            writer_.u16(static_cast<std::uint16_t>(length));
        } else {
            writer_.u16(0xFFFF);
            if (length < 0xFFFFFFFFu) {
                writer_.u32(static_cast<std::uint32_t>(length));
            } else {
                writer_.u32(0xFFFFFFFFu);
                writer_.u64(length);
            }
        }
    }
    for (char16_t unit : s)
        writer_.u16(unit);
}

void ArchiveWriter::writeStringList(const std::vector<std::u16string> &list) {
    writeCount(static_cast<std::uint32_t>(list.size()));
    for (const std::u16string &s : list)
        writeString(s);
}

Bytes encodeStringList(const std::vector<std::u16string> &list) {
    ArchiveWriter writer;
    writer.writeStringList(list);
    return writer.take();
}

Result<std::vector<std::u16string>> decodeStringList(std::span<const std::uint8_t> bytes) {
    ArchiveReader reader(bytes);
    std::vector<std::u16string> list;
    if (!reader.readStringList(list))
        return reader.error();
    if (reader.remaining() != 0)
        return Error{std::to_string(reader.remaining()) + " bytes follow the string list",
                     reader.offset()};
    return list;
}

} // namespace tarvellite
