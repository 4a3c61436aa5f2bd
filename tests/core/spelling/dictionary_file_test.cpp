#include "core/app/archive.h"
#include "core/spelling/dictionary_file.h"
#include "spelling_fixture.h"

namespace tarvellite {
namespace {

DictionaryFileData sample() {
    DictionaryFileData d;
    d.minChar = 0x0B80;
    d.maxChar = 0x0BFF;
    d.classes = {u"கச", u"அ", u"ண", u"அக"};
    d.extras = {u"", u"x", std::u16string(300, u'y')};
    d.words = {u"கடல்", u"கல்", u"சடை", u"தமிழ்"};
    buildDictionaryIndexes(d);
    return d;
}

TEST(DictionaryFile, IndexesFollowTheWordList) {
    const DictionaryFileData d = sample();
    ASSERT_EQ(d.initialIndex.size(), 3u);
    EXPECT_EQ(d.initialIndex.at(u'க'), (DICTINDEX{0, 0, 0, 2}));
    EXPECT_EQ(d.initialIndex.at(u'ச'), (DICTINDEX{2, 0, 2, 3}));
    EXPECT_EQ(d.initialIndex.at(u'த'), (DICTINDEX{3, 0, 3, 4}));
    EXPECT_EQ(d.secondIndex,
              (std::vector<SECONDDICTINDEX>{{0, u'ட'}, {1, u'ல'}, {2, u'ட'}, {3, u'ம'}}));
}

TEST(DictionaryFile, WritesAndReadsBack) {
    const DictionaryFileData d = sample();
    const Bytes bytes = writeDictionaryFile(d);
    // Header, then minChar and maxChar.
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 20),
              (Bytes{0x01, 0xDB, 0x01, 0x00, 0x90, 0x01, 0,    0,    0x5E, 0x01,
                     0,    0,    0x80, 0x0B, 0,    0,    0xFF, 0x0B, 0,    0}));
    DictionaryFileData back;
    DictionaryReadError error;
    ASSERT_TRUE(readDictionaryFile(bytes, back, error)) << error.error.describe();
    EXPECT_EQ(back, d);
    EXPECT_TRUE(hasDictionaryHeader(bytes));
}

TEST(DictionaryFile, BadFiles) {
    const Bytes good = writeDictionaryFile(sample());
    const auto fails = [](const Bytes &b, DictionaryReadFailure kind) {
        DictionaryFileData out;
        DictionaryReadError error;
        if (readDictionaryFile(b, out, error))
            return std::string("read");
        if (error.kind != kind)
            return std::string("wrong kind: ") + error.error.describe();
        return std::string("failed");
    };
    for (std::size_t size = 0; size < good.size(); ++size) {
        SCOPED_TRACE(size);
        EXPECT_EQ(
            fails(Bytes(good.begin(), good.begin() + static_cast<long>(size)),
                  size < 12 ? DictionaryReadFailure::BadHeader : DictionaryReadFailure::Damaged),
            "failed");
    }
    for (std::size_t at : {0u, 4u, 8u}) {
        Bytes b = good;
        b[at] ^= 0x40;
        EXPECT_EQ(fails(b, DictionaryReadFailure::BadHeader), "failed") << at;
    }

    // Counts past the end: a header with empty strings, then huge counts.
    const auto prefix = [] {
        ArchiveWriter a;
        a.bytes().i32(dictionaryMagic);
        a.bytes().i32(dictionaryVersion);
        a.bytes().i32(dictionaryRevision);
        a.bytes().i32('a');
        a.bytes().i32('z');
        for (int i = 0; i < 7; ++i)
            a.writeString(u"");
        return a;
    };
    {
        ArchiveWriter a = prefix();
        a.writeCount(0xFFFFFFFFu);
        EXPECT_EQ(fails(a.take(), DictionaryReadFailure::Damaged), "failed") << "initial index";
    }
    {
        ArchiveWriter a = prefix();
        a.writeCount(0);
        a.writeCount(200000);
        EXPECT_EQ(fails(a.take(), DictionaryReadFailure::Damaged), "failed") << "second index";
    }
    {
        ArchiveWriter a = prefix();
        a.writeCount(0);
        a.writeCount(0);
        a.writeCount(0x7FFFFFFFu);
        a.writeString(u"ab");
        EXPECT_EQ(fails(a.take(), DictionaryReadFailure::Damaged), "failed") << "word count";
    }
    {
        ArchiveWriter a = prefix();
        a.writeCount(0);
        a.writeCount(0);
        a.writeCount(1);
        // A wide string claiming 0x7FFFFFFF units.
        for (std::uint8_t b : {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})
            a.bytes().u8(b);
        EXPECT_EQ(fails(a.take(), DictionaryReadFailure::Damaged), "failed") << "string length";
    }
}

TEST(UserDictionaryFile, RoundTripAndBadFiles) {
    const std::vector<std::u16string> words = {u"புதிய", u"blorp", u""};
    const Bytes bytes = writeUserDictionaryFile(words);
    Result<std::vector<std::u16string>> back = readUserDictionaryFile(bytes);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(*back, words);

    const Bytes empty = writeUserDictionaryFile({});
    EXPECT_EQ(empty.size(), 14u) << "header and a count of 0";
    EXPECT_TRUE(readUserDictionaryFile(empty).ok());

    Bytes wrong = bytes;
    wrong[4] = 0;
    EXPECT_FALSE(readUserDictionaryFile(wrong).ok());
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(
            readUserDictionaryFile(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(size)))
                .ok())
            << size;
}

TEST(UserDictionaryFile, ABadUserFileIsAnEmptyUserDictionary) {
    test::TempFolder folder;
    const std::string path = test::buildFixture(folder, "mini-en", "en");
    test::writeBytes(folder.file("en.usr"), Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
    test::MessageLog log;
    CDictionary d;
    ASSERT_TRUE(d.Load(path, folder.path().string()));
    EXPECT_TRUE(d.userWords().empty());
    EXPECT_TRUE(log.texts.empty());
}

} // namespace
} // namespace tarvellite
