#include "core/spelling/normalize.h"
#include "spelling_fixture.h"

namespace tarvellite {
namespace {

TEST(DictionaryBuilder, CleansSortsAndCounts) {
    Result<DictionarySource> source = parseDictionarySource(u"[Dictionary]\nScript=latin\n");
    ASSERT_TRUE(source.ok());
    DictionaryBuilder b(*source);
    // Words past the length index's 32 units are kept, up to 64.
    b.addWordList("\xEF\xBB\xBFZebra\r\napple\nApple\n\n  banana  \nx\n" + std::string(65, 'a') +
                  "\n" + std::string(64, 'b') + "\nna\xC3\xAFve\nice cream\nit's\n");
    const DictionaryFileData d = b.build();
    EXPECT_EQ(test::utf8List(d.words),
              (std::vector<std::string>{"apple", "banana", std::string(64, 'b'), "it's", "zebra"}));
    const BuildCounts &c = b.counts();
    EXPECT_EQ(c.read, 10u);
    EXPECT_EQ(c.outsideScript, 2u) << "naïve and a word with a space";
    EXPECT_EQ(c.wrongLength, 2u);
    EXPECT_EQ(c.duplicates, 1u);
    EXPECT_EQ(c.kept, 5u);
    EXPECT_EQ(d.minChar, 0x27);
    EXPECT_EQ(d.maxChar, 0x7A);
}

TEST(DictionaryBuilder, SortsByUtf16UnitsAndNormalises) {
    Result<DictionarySource> source =
        parseDictionarySource(u"[Dictionary]\nScript=malayalam\nC1=\\u0D15x\n");
    ASSERT_TRUE(source.ok());
    EXPECT_EQ(source->classes[0], u"\u0D15x");
    DictionaryBuilder b(*source);
    // Old chillu spelling (NA + virama + ZWJ), a decomposed vowel sign, a stray mark first.
    b.addWordList("\xE0\xB4\x85\xE0\xB4\xB5\xE0\xB4\xA8\xE0\xB5\x8D\xE2\x80\x8D\n"
                  "\xE0\xB4\x95\xE0\xB5\x86\xE0\xB4\xBE\xE0\xB4\x9F\n"
                  "\xE0\xB5\x8D\xE0\xB4\x95\n");
    const DictionaryFileData d = b.build();
    EXPECT_EQ(d.words, (std::vector<std::u16string>{u"\u0D05\u0D35\u0D7B", u"\u0D15\u0D4A\u0D1F"}));
    EXPECT_EQ(b.counts().badStart, 1u);
}

TEST(DictionaryBuilder, StripsJoinersWhenAsked) {
    Result<DictionarySource> source =
        parseDictionarySource(u"[Dictionary]\nScript=kannada\nStripJoiners=yes\n");
    ASSERT_TRUE(source.ok());
    DictionaryBuilder b(*source);
    b.addWordList(utf16ToUtf8(u"\u0C95\u200C\u0CA8\n\u200D\u0C95\u0CA8\n"));
    EXPECT_EQ(b.build().words, (std::vector<std::u16string>{u"\u0C95\u0CA8"}));
}

TEST(DictionarySource, Errors) {
    const struct {
        const char16_t *text;
        int line;
        const char *why;
    } cases[] = {
        {u"[Dictionary]\nScript=klingon\n", 2, "unknown script"},
        {u"[Dictionary]\nC1=\\u12\n", 2, "short escape"},
        {u"[Dictionary]\nC1=\\x\n", 2, "unknown escape"},
        {u"[Dictionary]\nMinChar=0x10000\n", 2, "range"},
        {u"[Dictionary]\nC5=x\n", 2, "unknown key"},
        {u"[Nonsense]\nSimple=x\n", 2, "unknown section"},
        {u"[Post Additions]\nOther=x\n", 2, "unknown rule key"},
        {u"[Dictionary\n", 1, "unclosed section"},
        {u"[Dictionary]\njunk\n", 2, "no ="},
        {u"[Dictionary]\nC1=x\n", 0, "no script"},
        {u"[Dictionary]\nMinChar=0x100\nMaxChar=0x50\n", 0, "min above max"},
        {u"[Generated Forms]\nEvidence=:s\n", 2, "evidence before its group"},
        {u"[Generated Forms]\nComplex=s\n", 2, "an entry without a colon"},
        {u"[Generated Forms]\nSimple=s\n", 2, "unknown key"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        Result<DictionarySource> r = parseDictionarySource(c.text);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.error().line, c.line) << r.error().describe();
    }
    const std::u16string tooLong =
        u"[Dictionary]\nScript=tamil\n[Vocal Characters]\nSimple=" + std::u16string(1024, u'x');
    EXPECT_FALSE(parseDictionarySource(tooLong).ok());
}

TEST(DictionaryBuilder, RuleFileReadsBack) {
    Result<DictionarySource> source = parseDictionarySource(
        u"[Dictionary]\nScript=tamil\n[Post Additions]\nSimple=கள் க்\nComplex=ம்:த்தில்\n"
        u"[Vocal Characters]\nSimple=ிீ ுூ\n");
    ASSERT_TRUE(source.ok());
    const Bytes bytes = ruleFileBytes(*source);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    const ProfileText p(bytes);
    EXPECT_EQ(p.value(u"Post Additions", u"Simple"), u"கள் க்");
    EXPECT_EQ(p.value(u"Post Additions", u"Complex"), u"ம்:த்தில்");
    EXPECT_EQ(p.value(u"Vocal Characters", u"Simple"), u"ிீ ுூ");
    EXPECT_EQ(p.value(u"Pre Additions", u"Complex"), u"");
}

// Forms are made only for words the list shows taking a form of the same group, each group
// judged by its own evidence, and never the same word twice.
TEST(DictionaryBuilder, GeneratesFormsOfAttestedWordsOnly) {
    Result<DictionarySource> source =
        parseDictionarySource(u"[Dictionary]\nScript=latin\n[Generated Forms]\nComplex=:s y:ies\n"
                              u"Evidence=:ed y:ied\nComplex=:ing\nEvidence=:er\n");
    ASSERT_TRUE(source.ok()) << source.error().describe();
    DictionaryBuilder b(*source);
    b.addWordList("walk\nwalked\ncarry\ncarried\ncarries\nsing\nsinger\nthe\n");
    EXPECT_EQ(test::utf8List(b.build().words),
              (std::vector<std::string>{"carried", "carries", "carry", "carrys", "sing", "singer",
                                        "singing", "the", "walk", "walked", "walks"}))
        << "no sings: singer is evidence for the second group only";
    EXPECT_EQ(b.counts().generated, 3u) << "carries was listed already";
    EXPECT_EQ(b.counts().kept, 11u);
}

TEST(NormalizeWord, Table) {
    const struct {
        const char16_t *in, *out;
    } cases[] = {
        {u"abc", u"abc"},
        {u"\u0B95\u0BC6\u0BBE", u"\u0B95\u0BCA"},                         // Tamil o sign
        {u"\u0915\u093C", u"\u0915\u093C"},                               // QA stays decomposed
        {u"\u0958", u"\u0915\u093C"},                                     // composition exclusion
        {u"\u0D28\u0D4D\u200D", u"\u0D7B"},                               // old chillu
        {u"\u0D28\u0D4D", u"\u0D28\u0D4D"},                               // virama alone stays
        {u"\u0DC1\u0DCA\u200D\u0DBB\u0DD3", u"\u0DC1\u0DCA\u0DBB\u0DD3"}, // joiners go
        {u"\u0D28\u0D4D\u200C\u0D2E", u"\u0D28\u0D4D\u0D2E"},
        {u"\u0D17\u0D4D\u200D\u0D37", u"\u0D17\u0D4D\u0D37"}, // not a chillu: ZWJ goes
        {u"a\u0301", u"\u00E1"},
        // Two chillus, one at the end; a joiner between consonant and virama blocks one; a
        // second virama and ZWJ after a chillu make none.
        {u"\u0D05\u0D35\u0D7E\u0D30\u0D4D\u200D\u0D15\u0D33\u0D4D\u200D",
         u"\u0D05\u0D35\u0D7E\u0D7C\u0D15\u0D7E"},
        {u"\u0D28\u200C\u0D4D\u200D", u"\u0D28\u0D4D"},
        {u"\u0D30\u0D4D\u200D\u0D4D\u200D", u"\u0D7C\u0D4D"},
        {u"\u200D\u0D4D\u200D", u"\u0D4D"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(normalizedWord(c.in), c.out) << hexUnits(c.in);
        EXPECT_TRUE(isNormalizedWord(c.out)) << hexUnits(c.out);
        // The quick form, as the checker makes it, where it answers.
        std::u16string quick(std::u16string_view(c.in).size(), u' ');
        bool changed = false;
        const std::size_t n = lookupFormQuickly(c.in, quick.data(), changed);
        if (n != std::u16string::npos) {
            EXPECT_EQ(quick.substr(0, n), c.out) << hexUnits(c.in);
            EXPECT_EQ(changed, std::u16string_view(c.in) != c.out) << hexUnits(c.in);
        }
    }
}

} // namespace
} // namespace tarvellite
