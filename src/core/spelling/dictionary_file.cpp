// Word files and user dictionary files.
//
// Both are archives read through ArchiveReader, which checks every count and string length
// against the bytes that remain before it allocates, so a truncated or hostile file fails with
// the offset of the value that did not fit. The index records are read as they stand: their
// positions are not trusted by the dictionary, which clamps them where it uses them.

#include "core/spelling/dictionary_file.h"

#include "core/app/archive.h"

#include <algorithm>

namespace tarvellite {

namespace {

bool readHeader(ByteReader &r) {
    std::int32_t magic = 0, version = 0, revision = 0;
    r.i32(magic);
    r.i32(version);
    r.i32(revision);
    return !r.failed() && magic == dictionaryMagic && version == dictionaryVersion &&
           revision == dictionaryRevision;
}

void writeHeader(ByteWriter &w) {
    w.i32(dictionaryMagic);
    w.i32(dictionaryVersion);
    w.i32(dictionaryRevision);
}

void readDictIndex(ByteReader &r, DICTINDEX &v) {
    r.i32(v.firstWord);
    r.i32(v.reserved);
    r.i32(v.secondFirst);
    r.i32(v.secondEnd);
}

void readSecondIndex(ByteReader &r, SECONDDICTINDEX &v) {
    std::uint16_t c = 0;
    r.i32(v.firstWord);
    r.u16(c);
    r.skip(2);
    v.secondChar = c;
}

class VectorSink : public DictionaryWordSink {
  public:
    explicit VectorSink(std::vector<std::u16string> &words) : words_(words) {}
    void reserve(std::size_t count, std::size_t) override { words_.reserve(count); }
    void add(std::u16string_view word) override { words_.emplace_back(word); }

  private:
    std::vector<std::u16string> &words_;
};

} // namespace

bool hasDictionaryHeader(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes);
    return readHeader(r);
}

bool readDictionaryFile(std::span<const std::uint8_t> bytes, DictionaryFileData &out,
                        DictionaryReadError &error, DictionaryWordSink *sink) {
    ArchiveReader a(bytes);
    if (!readHeader(a.bytes())) {
        error.kind = DictionaryReadFailure::BadHeader;
        error.error = Error{"not a dictionary word file of version 400.350", 0};
        return false;
    }
    const auto damaged = [&] {
        error.kind = DictionaryReadFailure::Damaged;
        error.error = a.error();
        return false;
    };
    a.bytes().i32(out.minChar);
    a.bytes().i32(out.maxChar);
    for (std::u16string &c : out.classes)
        a.readString(c);
    for (std::u16string &e : out.extras)
        a.readString(e);
    if (a.failed())
        return damaged();
    if (!a.readUnitKeyedTable(out.initialIndex, dictIndexBytes, readDictIndex) ||
        !a.readRecordArray(out.secondIndex, secondDictIndexBytes, readSecondIndex))
        return damaged();

    VectorSink own(out.words);
    DictionaryWordSink &target = sink ? *sink : own;
    out.words.clear();
    std::uint32_t count = 0;
    // Every string takes at least its one-byte length.
    if (!a.readCount(count, 1))
        return damaged();
    target.reserve(count, a.bytes().remaining() / 2);
    // Word files write every word as a wide string with a one-byte length: those are taken
    // straight from the bytes; any other form goes through the general string reader.
    std::u16string word;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = a.bytes().offset();
        const std::size_t left = a.bytes().remaining();
        if (left >= 4 && bytes[at] == 0xFF && bytes[at + 1] == 0xFE && bytes[at + 2] == 0xFF &&
            bytes[at + 3] != 0xFF && std::size_t(bytes[at + 3]) * 2 <= left - 4) {
            const std::size_t units = bytes[at + 3];
            target.addLittleEndian(bytes.data() + at + 4, units);
            a.bytes().skip(4 + 2 * units);
            continue;
        }
        if (!a.readString(word))
            return damaged();
        target.add(word);
    }
    return true;
}

void DictionaryWordSink::addLittleEndian(const std::uint8_t *bytes, std::size_t units) {
    std::u16string word(units, u'\0');
    for (std::size_t i = 0; i < units; ++i)
        word[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    add(word);
}

Bytes writeDictionaryFile(const DictionaryFileData &data) {
    ArchiveWriter a;
    writeHeader(a.bytes());
    a.bytes().i32(data.minChar);
    a.bytes().i32(data.maxChar);
    for (const std::u16string &c : data.classes)
        a.writeString(c);
    for (const std::u16string &e : data.extras)
        a.writeString(e);
    a.writeUnitKeyedTable(data.initialIndex, [](ByteWriter &w, const DICTINDEX &v) {
        w.i32(v.firstWord);
        w.i32(v.reserved);
        w.i32(v.secondFirst);
        w.i32(v.secondEnd);
    });
    a.writeRecordArray(data.secondIndex, [](ByteWriter &w, const SECONDDICTINDEX &v) {
        w.i32(v.firstWord);
        w.u16(static_cast<std::uint16_t>(v.secondChar));
        w.u16(0);
    });
    a.writeStringList(data.words);
    return a.take();
}

void buildDictionaryIndexes(DictionaryFileData &data) {
    data.initialIndex.clear();
    data.secondIndex.clear();
    for (std::size_t p = 0; p < data.words.size(); ++p) {
        const std::u16string &w = data.words[p];
        if (w.empty())
            continue;
        const auto pos = static_cast<std::int32_t>(p);
        auto [it, fresh] = data.initialIndex.try_emplace(w[0]);
        if (fresh) {
            it->second.firstWord = pos;
            it->second.secondFirst = static_cast<std::int32_t>(data.secondIndex.size());
            it->second.secondEnd = it->second.secondFirst;
        }
        // One second-index entry per distinct second character; a word of one unit has none.
        if (w.size() < 2)
            continue;
        DICTINDEX &entry = it->second;
        const bool sameInitialAsLast =
            entry.secondEnd > entry.secondFirst &&
            entry.secondEnd == static_cast<std::int32_t>(data.secondIndex.size());
        if (!sameInitialAsLast || data.secondIndex.back().secondChar != w[1]) {
            data.secondIndex.push_back({pos, w[1]});
            entry.secondEnd = static_cast<std::int32_t>(data.secondIndex.size());
        }
    }
}

Result<std::vector<std::u16string>> readUserDictionaryFile(std::span<const std::uint8_t> bytes) {
    ArchiveReader a(bytes);
    if (!readHeader(a.bytes()))
        return Error{"not a user dictionary file of version 400.350", 0};
    std::vector<std::u16string> words;
    if (!a.readStringList(words))
        return a.error();
    return words;
}

Bytes writeUserDictionaryFile(const std::vector<std::u16string> &words) {
    ArchiveWriter a;
    writeHeader(a.bytes());
    a.writeStringList(words);
    return a.take();
}

} // namespace tarvellite
