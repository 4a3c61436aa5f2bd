#include "core/spelling/rule_file.h"
#include "spelling_fixture.h"

namespace tarvellite {
namespace {

TEST(ParseRuleEntries, SplitsTrimsAndOrdersLongestFirst) {
    const struct {
        const char16_t *value;
        std::vector<std::string> entries;
    } cases[] = {
        {u"ab  cd ", {"ab", "cd"}},
        {u"", {}},
        {u"   ", {}},
        {u"a\tb", {"a\tb"}},
        {u" \tx\t ", {"x"}},
        // The exchange procedure: [a bb c dd] -> [bb a c dd] -> [bb dd c a].
        {u"a bb c dd", {"bb", "dd", "c", "a"}},
        {u"ம்:த்தில் ்:ை கள்", {"ம்:த்தில்", "்:ை", "கள்"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(test::utf8List(parseRuleEntries(c.value)), c.entries) << utf16ToUtf8(c.value);
}

TEST(ProfileText, ReadsAsThePrivateProfileReaderDoes) {
    const std::u16string text = u"; comment\r\n"
                                u"[Post Additions]\r\n"
                                u"  simple =  s ing  \r\n"
                                u"Complex=\"e:ed\"\r\n"
                                u"Simple=ignored, the first key counts\n"
                                u"[vocal characters]\n"
                                u"Simple=ிீ ுூ\n"
                                u"NoEquals\n";
    const ProfileText p(text);
    EXPECT_EQ(p.value(u"POST ADDITIONS", u"Simple"), u"s ing");
    EXPECT_EQ(p.value(u"Post Additions", u"COMPLEX"), u"e:ed") << "quotes are removed";
    EXPECT_EQ(p.value(u"Vocal Characters", u"simple"), u"ிீ ுூ");
    EXPECT_EQ(p.value(u"Vocal Characters", u"Complex"), u"") << "missing key";
    EXPECT_EQ(p.value(u"Word Joiners", u"Simple"), u"") << "missing section";
}

TEST(ProfileText, CutsValuesAt1023Units) {
    const std::u16string text = u"[S]\nK=" + std::u16string(1500, u'x');
    EXPECT_EQ(ProfileText(text).value(u"S", u"K").size(), 1023u);
}

TEST(ProfileText, DecodesUtf16AndUtf8) {
    const std::u16string text = u"[Post Additions]\r\nSimple=கள்\r\n";
    Bytes utf16{0xFF, 0xFE};
    for (char16_t c : text) {
        utf16.push_back(static_cast<std::uint8_t>(c & 0xFF));
        utf16.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    const std::string u8 = utf16ToUtf8(text);
    Bytes utf8(u8.begin(), u8.end());
    Bytes utf8Bom{0xEF, 0xBB, 0xBF};
    utf8Bom.insert(utf8Bom.end(), u8.begin(), u8.end());
    for (const Bytes &b : {utf16, utf8, utf8Bom})
        EXPECT_EQ(ProfileText(b).value(u"Post Additions", u"Simple"), u"கள்");
    // Not UTF-8: read as Windows-1252.
    const Bytes ansi{'[', 'S', ']', '\n', 'K', '=', 0xE9};
    EXPECT_EQ(ProfileText(ansi).value(u"S", u"K"), u"\u00E9");
    // An odd trailing byte of UTF-16 is dropped.
    utf16.push_back('x');
    EXPECT_EQ(ProfileText(utf16).value(u"Post Additions", u"Simple"), u"கள்");
}

} // namespace
} // namespace tarvellite
