#include "core/spelling/dictionary_registry.h"
#include "spelling_fixture.h"

namespace tarvellite {
namespace {

using test::TempFolder;

Bytes headerOnly() {
    ByteWriter w;
    w.i32(dictionaryMagic);
    w.i32(dictionaryVersion);
    w.i32(dictionaryRevision);
    return w.take();
}

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        const fs::path root = folder_.path();
        fs::create_directories(root / "a");
        fs::create_directories(root / "b" / "deeper");
        for (const char *f : {"a/ta-IN.dic", "b/ta-IN.dic", "b/deeper/hi-IN.dic", "en-US.DIC",
                              "Ta-LK.dic", "kn-IN.dic"})
            test::writeBytes(root / f, headerOnly());
        Bytes wrong = headerOnly();
        wrong[8] = 0;
        test::writeBytes(root / "ml-IN.dic", wrong);
        test::writeBytes(root / "si-LK.tdh", headerOnly());
        test::writeBytes(root / "te-IN.dic.bak", headerOnly());
        test::writeBytes(root / "short.dic", Bytes{1, 2});
    }
    TempFolder folder_;
};

TEST_F(RegistryTest, ScanFindsWordFilesInSubFolders) {
    DictionaryRegistry r;
    test::MessageLog log;
    EXPECT_EQ(r.ScanDictionaries(folder_.path().string()), 6);
    EXPECT_TRUE(log.texts.empty());
    EXPECT_EQ(test::utf8List(r.names()),
              (std::vector<std::string>{"en-US", "hi-IN", "kn-IN", "ta-IN", "ta-IN", "Ta-LK"}));
    const DICTIONARYPATH *ta = r.find(u"ta-IN");
    ASSERT_NE(ta, nullptr);
    EXPECT_EQ(ta->path, (folder_.path() / "b" / "ta-IN.dic").generic_string())
        << "the file found later wins";
    ASSERT_NE(r.at(1), nullptr);
    EXPECT_EQ(r.at(1)->path, (folder_.path() / "b" / "deeper" / "hi-IN.dic").generic_string());
    EXPECT_EQ(r.at(6), nullptr);
    EXPECT_EQ(r.at(-1), nullptr);
}

TEST(Registry, NothingFound) {
    TempFolder folder;
    DictionaryRegistry r;
    test::MessageLog log;
    EXPECT_EQ(r.ScanDictionaries(folder.path().string()), 0);
    EXPECT_EQ(r.ScanDictionaries(folder.file("no-such-folder")), 0);
    EXPECT_EQ(log.texts,
              (std::vector<std::string>{"No Dictionaries found", "No Dictionaries found"}));
}

TEST_F(RegistryTest, FindDictionaryIndexKeepsOneChoicePerLanguage) {
    DictionaryRegistry r;
    r.ScanDictionaries(folder_.path().string());
    // names: en-US hi-IN kn-IN ta-IN ta-IN Ta-LK
    struct Step {
        const char16_t *name;
        const char16_t *language;
        int expected;
        std::vector<std::string> choicesAfter;
        const char *why;
    } steps[] = {
        {u"", u"TA", 3, {"ta-IN"}, "first dictionary of the language is chosen and recorded"},
        {u"", u"ta", 3, {"ta-IN"}, "the recorded choice"},
        {u"Ta-LK", u"", 5, {"Ta-LK"}, "a menu choice replaces its language's entry"},
        {u"", u"TA", 5, {"Ta-LK"}, "and is used from then on"},
        {u"", u"ML", -1, {"Ta-LK"}, "no dictionary for the language"},
        {u"hi-IN", u"", 1, {"Ta-LK", "hi-IN"}, "a menu choice for a new language is appended"},
        {u"", u"HI", 1, {"Ta-LK", "hi-IN"}, ""},
        {u"kn-XX", u"", -1, {"Ta-LK", "hi-IN"}, "an unregistered name records nothing"},
    };
    std::vector<std::u16string> choices;
    for (const Step &s : steps) {
        SCOPED_TRACE(utf16ToUtf8(s.name) + " | " + utf16ToUtf8(s.language) + " | " + s.why);
        EXPECT_EQ(r.FindDictionaryIndex(s.name, s.language, choices), s.expected);
        EXPECT_EQ(test::utf8List(choices), s.choicesAfter);
    }
    // A stale choice (a dictionary that is gone) falls back to the first of the language.
    std::vector<std::u16string> stale = {u"en-GB"};
    EXPECT_EQ(r.FindDictionaryIndex(u"", u"EN", stale), 0);
    EXPECT_EQ(test::utf8List(stale), (std::vector<std::string>{"en-GB", "en-US"}));
}

} // namespace
} // namespace tarvellite
