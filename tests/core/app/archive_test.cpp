#include "core/app/archive.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace tarvellite {
namespace {

Bytes hex(std::initializer_list<int> values) {
    Bytes out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

Bytes concat(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::u16string units(std::size_t n, char16_t c = u'\x0B95') {
    return std::u16string(n, c);
}

// Counts: the value, then the exact bytes it takes.
struct CountCase {
    const char *name;
    std::uint32_t value;
    Bytes bytes;
};

void PrintTo(const CountCase &c, std::ostream *os) {
    *os << c.name;
}

class ArchiveCount : public testing::TestWithParam<CountCase> {};

TEST_P(ArchiveCount, WritesAndReadsBackByteExact) {
    const CountCase &c = GetParam();
    ArchiveWriter writer;
    writer.writeCount(c.value);
    EXPECT_EQ(writer.data(), c.bytes);

    // The reader insists on one byte per element, so give it room for them.
    Bytes input = c.bytes;
    input.resize(input.size() + c.value, 0);
    ArchiveReader reader(input);
    std::uint32_t read = 1234;
    ASSERT_TRUE(reader.readCount(read)) << reader.error().describe();
    EXPECT_EQ(read, c.value);
    EXPECT_EQ(reader.offset(), c.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ArchiveCount,
    testing::ValuesIn(std::vector<CountCase>{
        {"zero", 0, hex({0x00, 0x00})},
        {"one", 1, hex({0x01, 0x00})},
        {"FFFE_is_one_word", 0xFFFE, hex({0xFE, 0xFF})},
        {"FFFF_takes_six_bytes", 0xFFFF, hex({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {"beyond_a_word", 0x12345, hex({0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00})},
    }),
    [](const testing::TestParamInfo<CountCase> &info) { return std::string(info.param.name); });

// Strings: the text, then the exact prefix before the UTF-16LE units.
struct StringCase {
    const char *name;
    std::size_t length;
    Bytes prefix;
};

void PrintTo(const StringCase &c, std::ostream *os) {
    *os << c.name;
}

class ArchiveString : public testing::TestWithParam<StringCase> {};

TEST_P(ArchiveString, WritesShortestWideFormAndReadsItBack) {
    const StringCase &c = GetParam();
    const std::u16string text = units(c.length);
    ArchiveWriter writer;
    writer.writeString(text);
    const Bytes written = writer.take();
    ASSERT_EQ(written.size(), c.prefix.size() + 2 * c.length);
    EXPECT_EQ(Bytes(written.begin(), written.begin() + c.prefix.size()), c.prefix);
    if (c.length > 0) {
        EXPECT_EQ(written[c.prefix.size()], 0x95);
        EXPECT_EQ(written[c.prefix.size() + 1], 0x0B);
    }

    ArchiveReader reader(written);
    std::u16string read;
    ASSERT_TRUE(reader.readString(read)) << reader.error().describe();
    EXPECT_EQ(read, text);
    EXPECT_EQ(reader.remaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ArchiveString,
    testing::ValuesIn(std::vector<StringCase>{
        {"empty", 0, hex({0xFF, 0xFE, 0xFF, 0x00})},
        {"one", 1, hex({0xFF, 0xFE, 0xFF, 0x01})},
        {"u254_one_byte", 254, hex({0xFF, 0xFE, 0xFF, 0xFE})},
        {"u255_word", 255, hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
        {"uFFFD_word", 0xFFFD, hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
        {"uFFFE_dword", 0xFFFE, hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
    }),
    [](const testing::TestParamInfo<StringCase> &info) { return std::string(info.param.name); });

// Every length form the reader accepts, including those a writer of ours never produces.
struct ReadCase {
    const char *name;
    Bytes bytes;
    std::u16string expected;
};

void PrintTo(const ReadCase &c, std::ostream *os) {
    *os << c.name;
}

class ArchiveStringInput : public testing::TestWithParam<ReadCase> {};

TEST_P(ArchiveStringInput, IsAccepted) {
    const ReadCase &c = GetParam();
    ArchiveReader reader(c.bytes);
    std::u16string read;
    ASSERT_TRUE(reader.readString(read)) << reader.error().describe();
    EXPECT_EQ(read, c.expected);
    EXPECT_EQ(reader.remaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ArchiveStringInput,
    testing::ValuesIn(std::vector<ReadCase>{
        {"narrow_ascii", hex({0x02, 'T', 'A'}), u"TA"},
        {"narrow_empty", hex({0x00}), u""},
        {"narrow_is_windows_1252", hex({0x03, 0x80, 0xE9, 0x9F}), u"\u20AC\u00E9\u0178"},
        {"narrow_word_length", concat(hex({0xFF, 0x03, 0x00}), hex({'a', 'b', 'c'})), u"abc"},
        {"narrow_dword_length", concat(hex({0xFF, 0xFF, 0xFF, 0x01, 0, 0, 0}), hex({'z'})), u"z"},
        {"narrow_int64_length",
         concat(hex({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0, 0, 0, 0, 0, 0, 0}),
                hex({'q'})),
         u"q"},
        {"wide_word_length_below_255", hex({0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 0x41, 0x00}), u"A"},
        {"wide_int64_length", hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                   0x01, 0,    0,    0,    0,    0,    0,    0,    0x95, 0x0B}),
         u"\u0B95"},
        {"wide_keeps_lone_surrogate", hex({0xFF, 0xFE, 0xFF, 0x01, 0x00, 0xD8}), u"\xD800"},
    }),
    [](const testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.name); });

// Hostile or cut input: the read fails at the named offset and leaves its output alone.
struct BadCase {
    const char *name;
    Bytes bytes;
    std::size_t errorOffset;
};

void PrintTo(const BadCase &c, std::ostream *os) {
    *os << c.name;
}

class ArchiveBadString : public testing::TestWithParam<BadCase> {};

TEST_P(ArchiveBadString, FailsAtItsOffset) {
    const BadCase &c = GetParam();
    Bytes input = hex({0x00}); // an empty narrow string first, so offsets are not all zero
    input.insert(input.end(), c.bytes.begin(), c.bytes.end());
    ArchiveReader reader(input);
    std::u16string s = u"untouched";
    ASSERT_TRUE(reader.readString(s));
    s = u"untouched";
    EXPECT_FALSE(reader.readString(s));
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(s, u"untouched");
    EXPECT_EQ(reader.error().byteOffset, c.errorOffset + 1) << reader.error().describe();
    // Sticky: nothing reads after a failure.
    EXPECT_FALSE(reader.readString(s));
    EXPECT_EQ(reader.error().byteOffset, c.errorOffset + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Input, ArchiveBadString,
    testing::ValuesIn(std::vector<BadCase>{
        {"empty", {}, 0},
        {"narrow_text_cut", hex({0x05, 'a', 'b'}), 0},
        {"wide_marker_cut", hex({0xFF, 0xFE}), 1},
        {"wide_length_missing", hex({0xFF, 0xFE, 0xFF}), 3},
        {"wide_odd_bytes", hex({0xFF, 0xFE, 0xFF, 0x01, 0x41}), 0},
        {"wide_huge_dword", hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), 0},
        {"int64_above_limit",
         hex({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0, 0, 0, 0}), 0},
        {"int64_negative",
         hex({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
              0xFF}),
         0},
        {"int64_cut", hex({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00}), 7},
    }),
    [](const testing::TestParamInfo<BadCase> &info) { return std::string(info.param.name); });

TEST(ArchiveReader, HugeCountFailsAtItsOffsetWithoutAllocating) {
    // A list that claims 0xFFFFFFFF strings in eight bytes.
    const Bytes input = hex({0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    ArchiveReader reader(input);
    std::uint16_t skipped = 0;
    ASSERT_TRUE(reader.bytes().u16(skipped));
    std::vector<std::u16string> list{u"kept"};
    EXPECT_FALSE(reader.readStringList(list));
    EXPECT_EQ(reader.error().byteOffset, 2u);
    EXPECT_EQ(list, std::vector<std::u16string>{u"kept"});
}

TEST(ArchiveReader, CountOfRecordsMustFitTheBytesLeft) {
    // Three records of 4 bytes need 12; 11 are there.
    Bytes input = hex({0x03, 0x00});
    input.resize(2 + 11, 0);
    ArchiveReader reader(input);
    std::vector<std::int32_t> values;
    auto readOne = [](ByteReader &r, std::int32_t &v) { r.i32(v); };
    EXPECT_FALSE(reader.readRecordArray(values, 4, readOne));
    EXPECT_EQ(reader.error().byteOffset, 0u);
}

TEST(ArchiveReader, StringListRoundTripsAndNarrowInputComesBackWide) {
    const std::vector<std::u16string> list = {u"TA_Tamil", u"", units(300), u"HI\u0915"};
    const Bytes bytes = encodeStringList(list);
    auto read = decodeStringList(bytes);
    ASSERT_TRUE(read.ok()) << read.error().describe();
    EXPECT_EQ(*read, list);

    // count 2, a narrow string and a wide one
    const Bytes mixed = hex({0x02, 0x00, 0x02, 'E', 'N', 0xFF, 0xFE, 0xFF, 0x01, 0x15, 0x09});
    auto readMixed = decodeStringList(mixed);
    ASSERT_TRUE(readMixed.ok());
    EXPECT_EQ(*readMixed, (std::vector<std::u16string>{u"EN", u"\u0915"}));
    const Bytes rewritten = encodeStringList(*readMixed);
    EXPECT_EQ(rewritten, hex({0x02, 0x00, 0xFF, 0xFE, 0xFF, 0x02, 'E', 0, 'N', 0, 0xFF, 0xFE, 0xFF,
                              0x01, 0x15, 0x09}));

    Bytes trailing = bytes;
    trailing.push_back(0);
    EXPECT_FALSE(decodeStringList(trailing).ok());
    EXPECT_FALSE(decodeStringList(Bytes(bytes.begin(), bytes.end() - 1)).ok());
}

TEST(ArchiveReader, EmptyStringListIsTwoZeroBytes) {
    EXPECT_EQ(encodeStringList({}), hex({0x00, 0x00}));
    auto read = decodeStringList(hex({0x00, 0x00}));
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(read->empty());
}

struct Pair {
    std::int32_t a = 0;
    std::uint16_t b = 0;
    bool operator==(const Pair &) const = default;
};

// 8 bytes: a 4-byte field, a 2-byte field and two pad bytes written as zero.
void writePair(ByteWriter &w, const Pair &p) {
    w.i32(p.a);
    w.u16(p.b);
    w.zeros(2);
}
void readPair(ByteReader &r, Pair &p) {
    r.i32(p.a);
    r.u16(p.b);
    r.skip(2);
}

TEST(ArchiveReader, RecordArrayRoundTripsWithPadBytes) {
    const std::vector<Pair> pairs = {{-1, 7}, {0x01020304, 0xFFFF}};
    ArchiveWriter writer;
    writer.writeRecordArray(pairs, writePair);
    EXPECT_EQ(writer.data(), hex({0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x07, 0x00, 0x00, 0x00, 0x04,
                                  0x03, 0x02, 0x01, 0xFF, 0xFF, 0x00, 0x00}));
    ArchiveReader reader(writer.data());
    std::vector<Pair> read;
    ASSERT_TRUE(reader.readRecordArray(read, 8, readPair));
    EXPECT_EQ(read, pairs);
}

TEST(ArchiveReader, KeyedTablesRoundTripAndALaterKeyReplaces) {
    const std::map<char16_t, Pair> byUnit = {{u'\u0B95', {1, 2}}, {u'a', {3, 4}}};
    ArchiveWriter unitWriter;
    unitWriter.writeUnitKeyedTable(byUnit, writePair);
    EXPECT_EQ(unitWriter.data().size(), 2u + 2 * (2 + 8));
    {
        ArchiveReader reader(unitWriter.data());
        std::map<char16_t, Pair> read;
        ASSERT_TRUE(reader.readUnitKeyedTable(read, 8, readPair));
        EXPECT_EQ(read, byUnit);
    }

    // Two entries under the same string key: the second wins.
    ArchiveWriter dup;
    dup.writeCount(2);
    dup.writeString(u"word");
    writePair(dup.bytes(), {1, 1});
    dup.writeString(u"word");
    writePair(dup.bytes(), {2, 2});
    ArchiveReader reader(dup.data());
    std::map<std::u16string, Pair> read;
    ASSERT_TRUE(reader.readStringKeyedTable(read, 8, readPair));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[u"word"], (Pair{2, 2}));
}

TEST(ArchiveReader, RecordReaderThatOverrunsItsSizeFails) {
    ArchiveWriter writer;
    writer.writeRecordArray(std::vector<Pair>{{1, 1}, {2, 2}}, writePair);
    ArchiveReader reader(writer.data());
    std::vector<Pair> read;
    auto readTooMuch = [](ByteReader &r, Pair &p) {
        readPair(r, p);
        r.skip(1);
    };
    EXPECT_FALSE(reader.readRecordArray(read, 8, readTooMuch));
    EXPECT_EQ(reader.error().byteOffset, 2u);
}

} // namespace
} // namespace tarvellite
