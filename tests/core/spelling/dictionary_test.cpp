#include "core/spelling/ignore_list.h"
#include "spelling_fixture.h"

#include <algorithm>

namespace tarvellite {
namespace {

using test::buildFixture;
using test::MessageLog;
using test::TempFolder;
using test::utf8List;

bool contains(const std::vector<std::u16string> &list, std::u16string_view w) {
    return std::find(list.begin(), list.end(), w) != list.end();
}

class DictionaryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        clearIgnoreList();
        enPath_ = buildFixture(folder_, "mini-en", "mini-en");
        taPath_ = buildFixture(folder_, "mini-ta", "mini-ta");
        ASSERT_TRUE(en_.Load(enPath_, folder_.path().string()));
        ASSERT_TRUE(ta_.Load(taPath_, folder_.path().string()));
    }
    void TearDown() override { clearIgnoreList(); }

    std::vector<std::u16string> suggest(CDictionary &d, std::u16string_view w, int accuracy = 4) {
        std::vector<std::u16string> out;
        const int n = d.GetSuggestions(out, w, accuracy);
        EXPECT_EQ(n, static_cast<int>(out.size()));
        return out;
    }

    TempFolder folder_;
    std::string enPath_, taPath_;
    CDictionary en_, ta_;
};

struct CheckCase {
    const char *dictionary;
    const char16_t *word;
    bool correct;
    const char *why;
};

TEST_F(DictionaryTest, CheckWord) {
    const CheckCase cases[] = {
        {"en", u"the", true, "in the list"},
        {"en", u"The", true, "capitalised: looked up in lower case"},
        {"en", u"THEN", true, "all capitals"},
        {"en", u"thw", false, "not in the list"},
        {"en", u"zzz", false, "no second-index entry at or above the second letter"},
        {"en", u"zebra{", true, "a character above maxChar"},
        {"en", u"na\u00EFve", true, "a character outside the script"},
        {"en", u"abc1", false, "a digit lies inside the Latin range"},
        {"en", u"at", true, "two letters, in the list"},
        {"en", u"ta", false, "two letters; t begins words so no reversal"},
        {"en", u"ot", false, "o begins no word: the reversal 'to' is only a suggestion"},
        {"en", u"xa", false, "reversed 'ax' is not a word"},
        {"en", u"t", true, "single character that begins a word"},
        {"en", u"x", false, "single character that begins no word"},
        {"en", u"", false, "the empty word"},
        {"en", u"fox's", true, "Simple suffix 's"},
        {"en", u"dogs'", false, "Simple suffix ' but no stem"},
        {"en", u"singing", true, "Simple suffix ing"},
        {"en", u"baked", true, "Complex e:ed gives bake"},
        {"en", u"foxyz", true, "Complex 0:xyz drops the last two units: fox"},
        {"en", u"fastxyz", false, "0:xyz gives fastx"},
        {"ta", u"தமிழ்", true, "in the list"},
        {"ta", u"தமிழ", false, "not in the list"},
        {"ta", u"தமிழ்abc", true, "Latin letters lie outside the Tamil range"},
        {"ta", u"2024", true, "digits lie outside the Tamil range"},
        {"ta", u"மரத்தில்", true, "Complex ம்:த்தில் gives மரம்"},
        {"ta", u"அவனுக்கு", true, "Complex ்:ுக்கு gives அவன்"},
        {"ta", u"கல்கள்", true, "Simple கள் gives கல்"},
        {"ta", u"க\u0BC6\u0BBEடி", true, "decomposed vowel sign, NFC equals கொடி"},
        {"ta", u"க", true, "a single letter that begins a word"},
        {"ta", u"ஙு", false, "two letters, neither begins a word"},
    };
    for (const CheckCase &c : cases) {
        SCOPED_TRACE(std::string(c.dictionary) + " | " + utf16ToUtf8(c.word) + " | " + c.why);
        CDictionary &d = std::string(c.dictionary) == "en" ? en_ : ta_;
        EXPECT_EQ(d.CheckWord(c.word), c.correct);
    }
}

TEST_F(DictionaryTest, CheckWordReportsTheSearchStart) {
    // Sorted: an at bake bike brown dohappy fast fist fox happy hope hoping jump jumps no qa...
    std::int32_t position = 99;
    EXPECT_TRUE(en_.CheckWord(u"then", position));
    EXPECT_EQ(utf16ToUtf8(en_.word(static_cast<std::size_t>(position))), "the");
    EXPECT_FALSE(en_.CheckWord(u"thx", position));
    EXPECT_EQ(utf16ToUtf8(en_.word(static_cast<std::size_t>(position))), "the");
    EXPECT_FALSE(en_.CheckWord(u"zzz", position));
    EXPECT_EQ(position, -1);
    EXPECT_TRUE(en_.CheckWord(u"at", position));
    EXPECT_EQ(position, -1);
}

TEST_F(DictionaryTest, IgnoreListServesEveryDictionaryUntilEmptied) {
    EXPECT_FALSE(en_.CheckWord(u"blorp"));
    EXPECT_FALSE(ta_.CheckWord(u"தமழ"));
    addIgnoredWord(u"blorp");
    addIgnoredWord(u"தமழ");
    addIgnoredWord(u"blorp");
    EXPECT_EQ(ignoredWords().size(), 2u);
    EXPECT_TRUE(en_.CheckWord(u"blorp"));
    EXPECT_TRUE(ta_.CheckWord(u"தமழ"));
    clearIgnoreList();
    EXPECT_FALSE(en_.CheckWord(u"blorp"));
    EXPECT_FALSE(ta_.CheckWord(u"தமழ"));
}

TEST_F(DictionaryTest, UserWordsAreCorrectAndSurviveSaving) {
    EXPECT_FALSE(en_.CheckWord(u"blorp"));
    EXPECT_EQ(en_.AddUserWord(u"blorp"), 1);
    EXPECT_EQ(en_.AddUserWord(u"blorp"), 1);
    EXPECT_EQ(en_.AddUserWord(u"glorp"), 2);
    EXPECT_TRUE(en_.CheckWord(u"blorp"));
    EXPECT_TRUE(en_.CheckWord(u"blorping")) << "a suffix rule reaches user words";
    ASSERT_TRUE(en_.SaveUserDictionary());

    CDictionary again;
    ASSERT_TRUE(again.Load(enPath_, folder_.path().string()));
    EXPECT_EQ(utf8List(again.userWords()), (std::vector<std::string>{"blorp", "glorp"}));
    CDictionary withoutUser;
    ASSERT_TRUE(withoutUser.Load(enPath_, folder_.path().string(), false));
    EXPECT_TRUE(withoutUser.userWords().empty());
}

TEST_F(DictionaryTest, SuggestionsFollowTheGeneratorOrder) {
    en_.setSingleEdits(false);
    ta_.setSingleEdits(false);
    struct Case {
        CDictionary *d;
        const char16_t *word;
        std::vector<std::string> expected;
        const char *why;
    } cases[] = {
        {&en_, u"brwon", {"brown"}, "G5 transposition"},
        {&en_, u"Brwon", {"Brown"}, "one capital: capitalised suggestions"},
        {&en_, u"BRWON", {"BROWN"}, "all capitals"},
        {&en_, u"ta", {"at", "to"}, "short word: swapped first, then two-letter words of t"},
        {&en_, u"ot", {}, "reversed word is a dictionary word: nothing"},
        {&en_, u"x", {}, "one character: nothing"},
        {&en_,
         u"happy",
         {"unhappy", "dohappy", "happy"},
         "G3 in C1 order; G4 keeps a correct word"},
        {&en_, u"yes", {"qyes"}, "Pre Additions q:xyz puts q in front"},
        {&en_, u"fthe", {"the"}, "G1 drops the first character in a Latin dictionary"},
        {&en_, u"xthe", {}, "G1 needs an initial-index entry for the first character"},
        {&ta_, u"ணமிழ்", {"தமிழ்"}, "Pre Substitutions *:~: C3[2] becomes C1[2]"},
        {&ta_, u"கீளி", {"கிளி"}, "G4 vowel variants"},
        {&ta_, u"பாடமம", {"பாடம்"}, "G6 relaxed match"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(utf16ToUtf8(c.word) + std::string(" | ") + c.why);
        EXPECT_EQ(utf8List(suggest(*c.d, c.word)), c.expected);
    }
}

TEST_F(DictionaryTest, AccuracyBoundsTheVowelVariants) {
    ta_.setSingleEdits(false);
    // கீளி has three positions in vocal groups: ீ, ள, ி.
    EXPECT_TRUE(contains(suggest(ta_, u"கீளி", 3), u"கிளி"));
    EXPECT_EQ(ta_.vocalPositions().size(), 3u);
    EXPECT_FALSE(contains(suggest(ta_, u"கீளி", 2), u"கிளி"));
    EXPECT_EQ(ta_.vocalPositions().size(), 3u) << "recording stops at the first one too many";
    // The other generators still run: the transposition is found with accuracy 0.
    EXPECT_TRUE(contains(suggest(en_, u"quikc", 0), u"quick"));
}

TEST_F(DictionaryTest, SingleEditsFindWhatTheGeneratorsMiss) {
    en_.setSingleEdits(false);
    EXPECT_FALSE(contains(suggest(en_, u"jmp"), u"jump"));
    en_.setSingleEdits(true);
    EXPECT_TRUE(contains(suggest(en_, u"jmp"), u"jump"));
    EXPECT_TRUE(contains(suggest(ta_, u"தமிழ"), u"தமிழ்"));
    EXPECT_TRUE(contains(suggest(en_, u"fsat"), u"fast"));
    EXPECT_TRUE(contains(suggest(en_, u"bikr"), u"bike"));
}

TEST_F(DictionaryTest, LookupPrefix) {
    std::vector<std::u16string> out;
    EXPECT_EQ(en_.LookupPrefix(u"th", 28, out), 5);
    EXPECT_EQ(utf8List(out), (std::vector<std::string>{"the", "then", "there", "these", "they"}));
    EXPECT_EQ(en_.LookupPrefix(u"the", 28, out), 4) << "the prefix itself is not offered";
    EXPECT_EQ(en_.LookupPrefix(u"tH", 28, out), 5) << "letters compare without case";
    EXPECT_EQ(en_.LookupPrefix(u"the", 2, out), 2);
    EXPECT_EQ(en_.LookupPrefix(u"t", 28, out), 0) << "one character";
    EXPECT_EQ(en_.LookupPrefix(u"x1", 28, out), 0);
    EXPECT_EQ(en_.LookupPrefix(u"th\u00E9", 28, out), 0) << "outside the script";
    EXPECT_EQ(en_.LookupPrefix(u"the", 0, out), 0);
    EXPECT_EQ(ta_.LookupPrefix(u"பா", 28, out), 1);
}

TEST(LookupPrefix, TwentyEightWithUserWordsKeepsTheLastUserWord) {
    TempFolder folder;
    std::string list;
    for (char a = 'a'; a <= 'z'; ++a)
        for (char b = 'a'; b <= 'b'; ++b)
            list += std::string("ab") + a + b + "\n";
    const std::string path =
        test::buildDictionary(folder, "many", "[Dictionary]\nScript=latin\n", list);
    CDictionary d;
    ASSERT_TRUE(d.Load(path, folder.path().string()));
    d.AddUserWord(u"abuser");
    d.AddUserWord(u"xyz");
    d.AddUserWord(u"abzlast");
    std::vector<std::u16string> out;
    ASSERT_EQ(d.LookupPrefix(u"ab", 28, out), 28);
    EXPECT_EQ(utf16ToUtf8(out[0]), "abaa");
    EXPECT_EQ(utf16ToUtf8(out[26]), "abna");
    EXPECT_EQ(utf16ToUtf8(out[27]), "abzlast");
    ASSERT_EQ(d.LookupPrefix(u"abu", 28, out), 3);
    EXPECT_EQ(utf8List(out), (std::vector<std::string>{"abua", "abub", "abuser"}));
}

TEST(DictionaryLoad, UserDictionaryNameTakesFiveCharacters) {
    const struct {
        const char *word, *folder, *expected;
    } cases[] = {
        {"/d/ta.dic", "/u", "/u/ta.di.usr"},         {"/d/ta-IN-a.dic", "/u/", "/u/ta-IN.usr"},
        {"/d/ta-IN-b.dic", "/u/", "/u/ta-IN.usr"},   {"C:\\d\\hi.dic", "/u", "/u/hi.di.usr"},
        {"/d/தமிழ்-அகராதி.dic", "/u", "/u/தமிழ்.usr"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CDictionary::userDictionaryPathFor(c.word, c.folder), c.expected) << c.word;
}

TEST(DictionaryLoad, TwoDictionariesShareTheirUserDictionary) {
    TempFolder folder;
    const std::string a = buildFixture(folder, "mini-ta", "ta-IN-a");
    const std::string b = buildFixture(folder, "mini-ta", "ta-IN-b");
    CDictionary first, second;
    ASSERT_TRUE(first.Load(a, folder.path().string()));
    first.AddUserWord(u"புதிய");
    ASSERT_TRUE(first.SaveUserDictionary());
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "ta-IN.usr"));
    ASSERT_TRUE(second.Load(b, folder.path().string()));
    EXPECT_TRUE(second.CheckWord(u"புதிய"));
}

TEST(DictionaryLoad, SecondLoadLeavesNothingOfTheFirst) {
    TempFolder folder;
    const std::string en = buildFixture(folder, "mini-en", "en");
    const std::string bare = folder.file("bare.dic");
    DictionaryFileData data;
    data.minChar = 0x0B80;
    data.maxChar = 0x0BFF;
    data.words = {u"கல்"};
    buildDictionaryIndexes(data);
    test::writeBytes(bare, writeDictionaryFile(data));

    CDictionary d;
    ASSERT_TRUE(d.Load(en, folder.path().string()));
    d.AddUserWord(u"blorp");
    ASSERT_TRUE(d.SaveUserDictionary());
    std::vector<std::u16string> out;
    d.GetSuggestions(out, u"brwon");
    ASSERT_TRUE(d.Load(en, folder.path().string()));
    ASSERT_EQ(d.userWords().size(), 1u);

    ASSERT_TRUE(d.Load(bare, folder.path().string()));
    EXPECT_EQ(d.wordCount(), 1u);
    EXPECT_TRUE(d.userWords().empty());
    EXPECT_TRUE(d.suggestions().empty());
    EXPECT_FALSE(d.latin());
    for (int s = 0; s < 6; ++s) {
        EXPECT_TRUE(d.rules(static_cast<RuleSectionIndex>(s)).simpleEntries.empty());
        EXPECT_TRUE(d.rules(static_cast<RuleSectionIndex>(s)).complexText.empty());
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(d.charClass(i).empty());
    for (std::size_t len = 2; len <= 32; ++len) {
        EXPECT_EQ(d.byLength(len).size(), len == 3 ? 1u : 0u);
        EXPECT_EQ(d.byLengthInitial(len, u't'), -1);
    }
    EXPECT_FALSE(d.CheckWord(u"கடல்"));
    EXPECT_TRUE(d.CheckWord(u"கல்"));
    EXPECT_EQ(d.LookupPrefix(u"கட", 28, out), 0);
}

TEST(DictionaryLoad, FailuresAndTheirMessages) {
    TempFolder folder;
    const std::string good = buildFixture(folder, "mini-en", "good");
    Result<Bytes> bytes = readWholeFile(good, 1 << 20);
    ASSERT_TRUE(bytes.ok());

    Bytes wrongMagic = *bytes;
    wrongMagic[0] ^= 1;
    test::writeBytes(folder.file("magic.dic"), wrongMagic);
    Bytes wrongRevision = *bytes;
    wrongRevision[8] ^= 1;
    test::writeBytes(folder.file("revision.dic"), wrongRevision);
    std::filesystem::create_directories(folder.path() / "adir.dic");

    const struct {
        std::string path;
        std::vector<std::string> messages;
    } cases[] = {
        {folder.file("noextension"), {}},
        {folder.file("missing.dic"), {}},
        {folder.file("magic.dic"), {"Unable to read Dictionary File or not the right Version"}},
        {folder.file("revision.dic"), {"Unable to read Dictionary File or not the right Version"}},
        {folder.file("adir.dic"), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        MessageLog log;
        CDictionary d;
        EXPECT_FALSE(d.Load(c.path, folder.path().string()));
        EXPECT_FALSE(d.loaded());
        EXPECT_EQ(log.texts, c.messages);
    }
}

TEST(DictionaryLoad, TruncationAtEveryByteFailsCleanly) {
    TempFolder folder;
    const std::string good = buildFixture(folder, "mini-en", "good");
    Result<Bytes> bytes = readWholeFile(good, 1 << 20);
    ASSERT_TRUE(bytes.ok());
    const std::string cut = folder.file("cut.dic");
    for (std::size_t size = 0; size < bytes->size(); ++size) {
        SCOPED_TRACE(size);
        test::writeBytes(cut, Bytes(bytes->begin(), bytes->begin() + static_cast<long>(size)));
        MessageLog log;
        CDictionary d;
        ASSERT_FALSE(d.Load(cut, folder.path().string()));
        ASSERT_EQ(log.texts.size(), 1u);
        if (size < 12)
            EXPECT_EQ(log.texts[0], "Unable to read Dictionary File or not the right Version");
        else
            EXPECT_NE(log.texts[0].find("is damaged"), std::string::npos) << log.texts[0];
        EXPECT_EQ(d.wordCount(), 0u);
    }
    CDictionary whole;
    EXPECT_TRUE(whole.Load(good, folder.path().string()));
}

// Index values that point anywhere must not lead outside the tables.
TEST(DictionaryLoad, HostileIndexesAreClamped) {
    TempFolder folder;
    DictionaryFileData data;
    data.minChar = 'a';
    data.maxChar = 'z';
    data.classes = {u"ab", u"", u"cd", u"ae"};
    data.words = {u"ab", u"abc", u"abd", u"bcd", u"zz"};
    data.initialIndex[u'a'] = {1000000, 0, -5, 1000000};
    data.initialIndex[u'b'] = {-7, 0, 3, 2};
    data.initialIndex[u'z'] = {4, 0, 0, 1};
    data.secondIndex = {{-100, u'b'}, {99999, u'c'}, {3, u'z'}};
    const std::string path = folder.file("hostile.dic");
    test::writeBytes(path, writeDictionaryFile(data));
    test::writeBytes(folder.file("hostile.tdh"),
                     Bytes{'[', 'P', 'r', 'e', ' ', 'S',  'u', 'b', 's', 't', 'i', 't', 'u', 't',
                           'i', 'o', 'n', 's', ']', '\n', 'C', 'o', 'm', 'p', 'l', 'e', 'x', '=',
                           '*', ':', '~', ' ', '$', 'q',  ':', '$', 'a', 'b', 'c', 'd', 'e', 'f'});
    CDictionary d;
    ASSERT_TRUE(d.Load(path, folder.path().string()));
    std::vector<std::u16string> out;
    for (const char16_t *w : {u"ab", u"abc", u"abz", u"ba", u"bcd", u"zz", u"zzz", u"a", u"cab",
                              u"abcdefghijklmnopqrstuvwxyzabcdefghij", u"fab"}) {
        d.CheckWord(w);
        d.GetSuggestions(out, w, 10);
        d.LookupPrefix(w, 28, out);
    }
    SUCCEED();
}

} // namespace
} // namespace tarvellite
