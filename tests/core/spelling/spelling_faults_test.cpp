// Words that must never pass as correct: joiner forms, a sign typed before its letter,
// syllables no script writes, and near misses that a suffix rule would otherwise let through.
#include "core/spelling/dictionary.h"
#include "core/spelling/ignore_list.h"
#include "core/spelling/normalize.h"
#include "core/spelling/syllables.h"
#include "spelling_fixture.h"

#include <algorithm>

namespace tarvellite {
namespace {

using test::buildDictionary;
using test::buildFixture;
using test::TempFolder;

constexpr const char *hindiSource = "[Dictionary]\nScript=devanagari\n"
                                    "C4=अआइकदपमलहघ\n"
                                    "[Post Additions]\nComplex=ना:ा ना:ता\n";
constexpr const char *hindiWords = "का\nकाना\nदोहराना\nपानी\nघर\nक्षमा\nअंक\nआँख\nक़लम\n";
// The joining consonant of Tamil word pairs, written as a rule.
constexpr const char *tamilSource = "[Dictionary]\nScript=tamil\nC4=படநி\n"
                                    "[Post Additions]\nSimple=க்\n";
constexpr const char *tamilWords = "படி\nநிற்\nபா\n";
constexpr const char *malayalamSource = "[Dictionary]\nScript=malayalam\nC4=അകപമവ\n";
// A rule that drops two units it does not name: its forms cannot be listed ahead.
constexpr const char *hindiDropTwoSource = "[Dictionary]\nScript=devanagari\n"
                                           "C4=अआइकदपमलहघ\n"
                                           "[Post Additions]\nComplex=0:ें\n";
// Old chillus in the list: they are stored as the atomic letters.
constexpr const char *malayalamWords = "അവന്\u200D\nകലി\nപാലം\nകൽപന\nമലയാളം\n";

class SpellingFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        clearIgnoreList();
        ASSERT_TRUE(en_.Load(buildFixture(folder_, "mini-en", "mini-en"), folder_.path().string()));
        ASSERT_TRUE(ta_.Load(buildFixture(folder_, "mini-ta", "mini-ta"), folder_.path().string()));
        ASSERT_TRUE(hi_.Load(buildDictionary(folder_, "hi", hindiSource, hindiWords),
                             folder_.path().string()));
        ASSERT_TRUE(sandhi_.Load(buildDictionary(folder_, "tas", tamilSource, tamilWords),
                                 folder_.path().string()));
        ASSERT_TRUE(ml_.Load(buildDictionary(folder_, "ml", malayalamSource, malayalamWords),
                             folder_.path().string()));
        ASSERT_TRUE(dropTwo_.Load(buildDictionary(folder_, "hd", hindiDropTwoSource, hindiWords),
                                  folder_.path().string()));
    }
    void waitForLookupTables() {
        for (CDictionary *d : {&en_, &ta_, &hi_, &sandhi_, &ml_, &dropTwo_})
            d->waitForLookupTables();
    }
    CDictionary &dictionary(char which) {
        switch (which) {
        case 'e': return en_;
        case 't': return ta_;
        case 'h': return hi_;
        case 's': return sandhi_;
        case 'd': return dropTwo_;
        default: return ml_;
        }
    }
    TempFolder folder_;
    CDictionary en_, ta_, hi_, ml_, sandhi_, dropTwo_;
};

TEST_F(SpellingFaults, CheckWordTable) {
    const struct {
        char dictionary; // e(nglish), t(amil), h(indi), m(alayalam), s(andhi rule),
                         // d(rop-two rule)
        const char16_t *word;
        bool correct;
        const char *why;
    } cases[] = {
        // Joiners are part of the word: they neither make it foreign nor change its spelling.
        {'e', u"xyz\u200D", false, "a joiner does not make a misspelling foreign"},
        {'e', u"the\u200C", true, "a word with a stray joiner is still the word"},
        {'m', u"കലിൌ\u200D", false, "two vowel signs, with a joiner"},
        {'m', u"കലി\u200D", true, "a known word with a joiner"},
        {'m', u"പാ\u200Cലം", true, "a joiner inside a known word"},
        {'m', u"പാലമ\u200D", false, "a misspelling with a joiner"},
        {'m', u"അവൻ", true, "atomic chillu; the list spelled it the old way"},
        {'m', u"അവന്\u200D", true, "old chillu sequence is the same letter"},
        {'m', u"അവന്", false, "a virama without the joiner is another spelling"},
        {'m', u"കല്\u200Dപന", true, "old chillu inside a word"},
        {'m', u"കല്\u200Dപണ", false, "a slip in a word spelled with old chillus"},
        {'m', u"മലയാളം\u200D", true, "a joiner that spells no chillu"},
        {'h', u"क्\u200Dषमा", true, "a joiner after the virama draws the same word"},
        {'h', u"घ\u200Dर\u200C", true, "joiners between letters"},
        {'h', u"\u200D", false, "a joiner alone is no word"},
        {'h', u"\u0918\u0930\u2019", true, "a unit above U+2000 that is no joiner: foreign"},
        // The two letters in reverse order are never accepted.
        {'h', u"ाक", false, "a vowel sign typed before its letter"},
        {'e', u"ot", false, "reversal of 'to'"},
        {'h', u"का", true, "the two-unit word itself"},
        // Syllables no script writes.
        {'h', u"ा", false, "a vowel sign alone"},
        {'h', u"्", false, "a virama alone"},
        {'h', u"ंक", false, "a nasal sign first"},
        {'h', u"काि", false, "two vowel signs"},
        {'h', u"अाँख", false, "a vowel sign after an independent vowel"},
        {'h', u"क्ा", false, "a vowel sign after a virama"},
        {'h', u"का्", false, "a virama after a vowel sign"},
        {'h', u"घ़़र", false, "two nuktas"},
        {'h', u"अंक", true, "a nasal sign on an independent vowel"},
        {'h', u"आँख", true, "candrabindu on an independent vowel"},
        {'h', u"क़लम", true, "nukta on a consonant"},
        {'h', u"पकானி", false, "a Tamil sign on a Devanagari letter"},
        {'t', u"தமிைழ", false, "two vowel signs"},
        {'t', u"க்ி", false, "a vowel sign after the pulli"},
        // Suffix rules cannot carry a near miss past the syllable check.
        {'h', u"काा", false, "ना:ा on काना, but two vowel signs"},
        {'h', u"दोहराा", false, "ना:ा on दोहराना, but two vowel signs"},
        {'h', u"काता", true, "ना:ता gives काना"},
        {'s', u"படிக்", true, "the joining consonant after a vowel"},
        {'s', u"நிற்க்", false, "a dead consonant never follows a dead consonant"},
        {'s', u"பாக்", false, "a stem of one syllable takes no ending by rule"},
        {'d', u"क़लमें", true, "a rule that drops two units"},
        {'d', u"क़लमों", false, "an ending no rule names"},
        {'d', u"क़लमना", false, "the ending of another dictionary's rule"},
    };
    // Checked while the tables made in the background may not be there yet, then with them:
    // the answers are the same.
    for (const bool settled : {false, true}) {
        if (settled)
            waitForLookupTables();
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(1, c.dictionary) + " | " + utf16ToUtf8(c.word) + " | " +
                         c.why + (settled ? " | settled" : ""));
            EXPECT_EQ(dictionary(c.dictionary).CheckWord(c.word), c.correct);
        }
    }
}

TEST_F(SpellingFaults, FormsOfUserWordsAreAcceptedWheneverTheyCome) {
    // ना:ता: a stem in ना takes ता. One user word comes before the tables are made, one after.
    hi_.AddUserWord(u"कमाना");
    EXPECT_TRUE(hi_.CheckWord(u"कमाता"));
    hi_.waitForLookupTables();
    EXPECT_TRUE(hi_.CheckWord(u"कमाता"));
    EXPECT_FALSE(hi_.CheckWord(u"कराता"));
    hi_.AddUserWord(u"कराना");
    EXPECT_TRUE(hi_.CheckWord(u"कराता"));
    EXPECT_TRUE(hi_.CheckWord(u"कराना"));
    EXPECT_FALSE(hi_.CheckWord(u"कराती"));
}

TEST_F(SpellingFaults, TheUsersChoiceStands) {
    EXPECT_FALSE(hi_.CheckWord(u"काि"));
    hi_.AddUserWord(u"काि");
    EXPECT_TRUE(hi_.CheckWord(u"काि"));
}

TEST_F(SpellingFaults, IllFormedListWordsAreLeftOutAndCounted) {
    Result<DictionarySource> source = parseDictionarySource(utf8ToUtf16(hindiSource));
    ASSERT_TRUE(source.ok());
    DictionaryBuilder builder(*source);
    builder.addWordList("काना\nकाि\nअा\nक्\u200Dष\nक्ा\nपानी\n");
    const DictionaryFileData data = builder.build();
    EXPECT_EQ(builder.counts().illFormed, 3u);
    EXPECT_EQ(builder.counts().kept, 3u);
    EXPECT_EQ(data.words, (std::vector<std::u16string>{u"काना", u"क्ष", u"पानी"}));
}

TEST_F(SpellingFaults, SuggestionsKeepTheOldChillusOfTheText) {
    std::vector<std::u16string> out;
    ml_.GetSuggestions(out, u"അവന്\u200D\u0D3E");
    ml_.GetSuggestions(out, u"അവം\u200D");
    // A misspelling written with old chillus gets its corrections in that spelling.
    ml_.GetSuggestions(out, u"കല്\u200Dപണ");
    EXPECT_NE(std::find(out.begin(), out.end(), u"കല്\u200Dപന"), out.end());
    ml_.GetSuggestions(out, u"കൽപണ");
    EXPECT_NE(std::find(out.begin(), out.end(), u"കൽപന"), out.end());
}

TEST(SpellingLongWords, CompoundsPastThirtyTwoUnitsAreKeptAndFound) {
    // A Malayalam compound of 43 units as the list spells it (old chillus), and one of 64.
    const std::u16string compound = u"അന്താരാഷ്ട്രവാണിജ്യവ്യവസായവികസനകേന്ദ്രങ്ങള്\u200D";
    const std::u16string longest(64, u'\u0D15');
    TempFolder folder;
    CDictionary d;
    ASSERT_TRUE(d.Load(buildDictionary(folder, "ml", malayalamSource,
                                       utf16ToUtf8(compound) + "\n" + utf16ToUtf8(longest) + "\n" +
                                           utf16ToUtf8(longest + u"\u0D15") + "\nകലി\n"),
                       folder.path().string()));
    EXPECT_EQ(d.wordCount(), 3u) << "65 units is past the limit";
    EXPECT_TRUE(d.CheckWord(compound));
    EXPECT_TRUE(d.CheckWord(normalizedWord(compound)));
    EXPECT_TRUE(d.CheckWord(longest));
    std::int32_t position = 0;
    EXPECT_TRUE(d.CheckWord(compound, position));
    // A slip in it is reported and mended, in the spelling of the text.
    std::u16string typo = compound;
    typo.erase(5, 1);
    EXPECT_FALSE(d.CheckWord(typo));
    std::vector<std::u16string> out;
    d.GetSuggestions(out, typo);
    EXPECT_NE(std::find(out.begin(), out.end(), compound), out.end());
    std::vector<std::u16string> prefixed;
    d.LookupPrefix(compound.substr(0, 4), 10, prefixed);
    EXPECT_EQ(prefixed, (std::vector<std::u16string>{normalizedWord(compound)}));
}

// A word file written elsewhere may store words no lookup asks for; finding them as typed
// must not make them correct.
TEST(SpellingForeignFiles, StoredWordsAreJudgedLikeTypedOnes) {
    DictionaryFileData data;
    data.minChar = 0x0900;
    data.maxChar = 0x097F;
    data.words = {u"काि", u"पानी"};
    buildDictionaryIndexes(data);
    TempFolder folder;
    test::writeBytes(folder.file("hi.dic"), writeDictionaryFile(data));
    CDictionary d;
    ASSERT_TRUE(d.Load(folder.file("hi.dic"), folder.path().string()));
    EXPECT_FALSE(d.CheckWord(u"काि")) << "two vowel signs";
    EXPECT_TRUE(d.CheckWord(u"पानी"));
    EXPECT_FALSE(d.CheckWord(u"पनी"));
}

TEST(Syllables, WellFormedWordsOfEveryScript) {
    for (const char16_t *w :
         {u"தமிழ்", u"கொடி", u"ஃ", u"हिन्दी", u"क़लम", u"ಕನ್ನಡ", u"ಕೈ", u"తెలుగు", u"మాఁ", u"മലയാളം",
          u"അവൻ", u"ൾ", u"සිංහල", u"ශ්‍රී", u"abc", u"ab1", u"ॐ", u"ऋषि"}) {
        std::u16string s(w);
        std::erase_if(s, [](char16_t c) { return c == 0x200D; });
        EXPECT_TRUE(isWellFormedWord(s)) << utf16ToUtf8(w);
    }
    for (const char16_t *w : {u"ிக", u"கிி", u"அி", u"க்்", u"ಕೈೈ", u"ಅಾ", u"ംമ", u"ൻി", u"ාක",
                              u"කාා", u"aා", u"1ि", u"कंं", u"क्ं"})
        EXPECT_FALSE(isWellFormedWord(w)) << utf16ToUtf8(w);
}

} // namespace
} // namespace tarvellite
