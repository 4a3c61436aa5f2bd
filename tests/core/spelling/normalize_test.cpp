#include "core/app/unicode.h"
#include "core/spelling/ascii_case.h"
#include "core/spelling/normalize.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

namespace tarvellite {
namespace {

// What the quick check must agree with: ICU's own NFC answer, plus the joiners (and with them
// the old Malayalam chillu spelling: consonant, virama, ZWJ), which are never in the stored form.
bool expectedNormalized(std::u16string_view w) {
    for (const char16_t u : w)
        if (u == 0x200D || u == 0x200C)
            return false;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *n = icu::Normalizer2::getNFCInstance(status);
    const icu::UnicodeString s(false, w.data(), static_cast<int32_t>(w.size()));
    return n->isNormalized(s, status);
}

TEST(NormalizeWord, QuickCheckAgreesWithIcuOnVowelSignsThatJoin) {
    struct Case {
        std::u16string word;
        bool normalized;
    };
    const Case cases[] = {
        {u"\u0B95\u0BBE", true},        // Tamil ka + aa sign
        {u"\u0B95\u0BC6\u0BBE", false}, // e sign + aa sign make the o sign
        {u"\u0B95\u0BCA", true},        // the o sign itself
        {u"\u0B95\u0BC6\u0BD7", false}, // e sign + au length mark make the au sign
        {u"\u0BBE\u0B95", true},        // a Maybe starter at the start joins nothing
        {u"\u0D15\u0D46\u0D3E", false}, // Malayalam e sign + aa sign
        {u"\u0D15\u0D3E", true},        //
        {u"\u0DD9\u0DCF", false},       // Sinhala: kombuva + aela-pilla
        {u"\u0D9A\u0DCA", true},        // a consonant with al-lakuna (a Maybe mark)
        {u"\u0D9A\u0DD9\u0DCA", false}, // kombuva + al-lakuna make kombuva-hal-kirima
        {u"\u0C95\u0CBF\u0CD5", false}, // Kannada i sign + length mark
        {u"\u0C46\u0C56", false},       // Telugu e sign + ai length mark
        {u"\u1100\u1161", false},       // Hangul L + V make a syllable
        {u"\uAC00\u11A8", false},       // LV + T
        {u"\uAC01\u11A8", true},        // an LVT syllable takes no further T
        {u"e\u0301", false},            // Latin e + acute
        {u"\u0B95\u0BCD\u0BBE", true},  // the virama blocks nothing: ccc 9 and no pair
        {u"\u0D28\u0D4D\u200D", false}, // old chillu spelling
        {u"\u0D7B", true},              // atomic chillu
        {u"\u0915\u093C", true},        // Devanagari nukta, excluded from composition
        {u"\u0928\u093C", false},       // but na + nukta composes to nnna
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(hexUnits(c.word));
        EXPECT_EQ(expectedNormalized(c.word), c.normalized);
        EXPECT_EQ(isNormalizedWord(c.word), c.normalized);
        EXPECT_TRUE(isNormalizedWord(normalizedWord(c.word)));
    }
}

TEST(NormalizeWord, GlancePassesEverydaySpellings) {
    // Words a checker meets all the time need no second look: a nukta after a letter it
    // never composes with, conjuncts, atomic chillus, a vowel sign after a virama.
    for (const std::u16string_view w :
         {u"\u0932\u0921\u093C\u0915\u093E", u"\u091C\u093C\u0930\u0942\u0930",
          u"\u0C35\u0C4D\u0C2F\u0C15\u0C4D\u0C24\u0C3F", u"\u0D05\u0D35\u0D7C",
          u"\u0B95\u0BCD\u0BB7\u0BC7"}) {
        SCOPED_TRACE(hexUnits(w));
        EXPECT_TRUE(isPlainWord(w));
    }
    EXPECT_FALSE(isPlainWord(u"\u0928\u093C"));       // na + nukta composes
    EXPECT_FALSE(isPlainWord(u"\u0915\u094D\u093C")); // virama before nukta: reordered
}

TEST(NormalizeWord, QuickCheckAgreesWithIcuOnRandomIndicText) {
    // Units of the scripts we ship, with the signs that join, marks of every class, joiners,
    // Hangul jamo and stray surrogates.
    std::u16string pool;
    for (char16_t base :
         {u'\u0900', u'\u0980', u'\u0B00', u'\u0B80', u'\u0C00', u'\u0C80', u'\u0D00', u'\u0D80'})
        for (char16_t c = base; c < base + 0x80; c += 3)
            pool.push_back(c);
    pool += u"\u0BBE\u0BC6\u0BC7\u0BC8\u0BD7\u0D3E\u0D46\u0D47\u0D57\u0DCA\u0DCF\u0DD9\u0DDF"
            u"\u0CBF\u0CC6\u0CC2\u0CD5\u0CD6\u0C46\u0C56\u09C7\u09BE\u09D7\u0B47\u0B3E\u0B56"
            u"\u0B57\u0928\u0930\u0933\u093C\u0D4D\u200D\u200C\u1100\u1161\u11A8\uAC00\uAC01"
            u"aeoAZ\u0301\u0308\u0327\u0323\u05B0\u05B4\U0001D400";
    std::mt19937 rng(5);
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1), length(1, 7);
    int disagreements = 0;
    for (int i = 0; i < 200000; ++i) {
        std::u16string w(length(rng), u' ');
        for (char16_t &c : w)
            c = pool[pick(rng)];
        if (isNormalizedWord(w) != expectedNormalized(w) && ++disagreements <= 5)
            ADD_FAILURE() << hexUnits(w) << " expected " << expectedNormalized(w);
        // The glance never passes a word a lookup would change (capitals included).
        const bool capital =
            std::any_of(w.begin(), w.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; });
        if (isPlainWord(w) && (capital || !expectedNormalized(w)) && ++disagreements <= 5)
            ADD_FAILURE() << hexUnits(w) << " passed as plain";
        // The quick lookup form agrees with the full one wherever it answers.
        std::u16string lowered = w;
        for (char16_t &c : lowered)
            c = lowerAscii(c);
        const std::u16string full = normalizedWord(lowered);
        std::u16string quick(w.size(), u' ');
        bool changed = false;
        const std::size_t n = lookupFormQuickly(w, quick.data(), changed);
        if (n != std::u16string::npos && (quick.substr(0, n) != full || changed != (full != w)) &&
            ++disagreements <= 5)
            ADD_FAILURE() << hexUnits(w) << " looked up as " << hexUnits(quick.substr(0, n));
        // The bounds hold every unit, read four at a time or one by one.
        char16_t floor = 0, ceiling = 0;
        unitBounds(w, floor, ceiling);
        if (std::any_of(
                w.begin(), w.end(),
                [&](char16_t c) { return (c & floor) != floor || (c | ceiling) != ceiling; }) &&
            ++disagreements <= 5)
            ADD_FAILURE() << hexUnits(w) << " bounded by " << int(floor) << ".." << int(ceiling);
        // Where it needs the full work, the word lowered is left for it.
        if (n == std::u16string::npos && quick != lowered && ++disagreements <= 5)
            ADD_FAILURE() << hexUnits(w) << " left as " << hexUnits(quick);
    }
    EXPECT_EQ(disagreements, 0);
}

} // namespace
} // namespace tarvellite
