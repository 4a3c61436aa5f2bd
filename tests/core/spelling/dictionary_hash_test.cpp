// The word hash: words of every length the length index knows, and words one unit away from
// them at every position (each list word is found, and no near miss is); a nearly full table;
// the comparison of units a block at a time that each lookup ends with.

#include "core/spelling/unit_blocks.h"
#include "spelling_fixture.h"

#include <set>

namespace tarvellite {
namespace {

using test::TempFolder;

// A Tamil word of `length` units made from `seed`: consonants, with a vowel sign after each.
std::u16string tamilWord(std::size_t length, unsigned seed) {
    static const std::u16string consonants = u"கசதநபமலளவர";
    static const std::u16string signs = u"ாிீுூெே";
    std::u16string w;
    for (std::size_t i = 0; i < length; ++i) {
        if (i % 2 == 0)
            w += consonants[(seed + i * 7) % consonants.size()];
        else
            w += signs[(seed * 3 + i) % signs.size()];
        seed = seed * 1103515245u + 12345u;
    }
    return w;
}

// A word file of `words` with the small Tamil rules; returns its path.
std::string buildTamilDictionary(const TempFolder &folder, const std::string &name,
                                 const std::vector<std::u16string> &words) {
    std::string list;
    for (const auto &w : words)
        list += utf16ToUtf8(w) + "\n";
    return test::buildDictionary(folder, name,
                                 test::readText(test::spellingDataPath("mini-ta.rules")), list);
}

TEST(DictionaryHash, WordsOfEveryLengthAndTheirNearMisses) {
    TempFolder folder;
    std::vector<std::u16string> words;
    for (std::size_t length = 3; length <= 32; ++length)
        for (unsigned seed = 1; seed <= 6; ++seed)
            words.push_back(tamilWord(length, seed * 31 + static_cast<unsigned>(length)));
    const std::string path = buildTamilDictionary(folder, "hash-ta", words);
    CDictionary d;
    ASSERT_TRUE(d.Load(path, folder.path().string(), false));
    const std::set<std::u16string> known(words.begin(), words.end());

    for (const std::u16string &w : words) {
        SCOPED_TRACE(utf16ToUtf8(w) + " (" + std::to_string(w.size()) + " units)");
        EXPECT_TRUE(d.CheckWord(w));
        // One unit replaced by another of the block, or by the block's lowest assigned unit.
        for (std::size_t i = 0; i < w.size(); ++i) {
            for (char16_t c : {u'ஔ', u'\u0B82'}) {
                std::u16string miss = w;
                miss[i] = c;
                if (!known.count(miss)) {
                    EXPECT_FALSE(d.CheckWord(miss)) << "unit " << i;
                }
            }
        }
        // Longer by one unit, and shorter by its last.
        const std::u16string longer = w + u'ஔ';
        EXPECT_FALSE(d.CheckWord(longer));
        const std::u16string shorter = w.substr(0, w.size() - 1);
        if (!known.count(shorter)) {
            EXPECT_FALSE(d.CheckWord(shorter));
        }
    }
}

// The comparison reads whole blocks of four units, the last ones again: it must see a
// difference at every place, read nothing past either word, and ignore what follows them.
TEST(UnitBlocks, EqualUnitsSeesEveryDifferenceAndReadsNoFurther) {
    for (std::size_t n = 0; n <= 70; ++n) {
        SCOPED_TRACE(std::to_string(n) + " units");
        // Each word in a buffer of its own size: a read past it is caught by the sanitizers.
        std::vector<char16_t> a(n), b(n);
        for (std::size_t i = 0; i < n; ++i)
            a[i] = b[i] = static_cast<char16_t>(0x0B95 + (i * 7) % 40);
        EXPECT_TRUE(equalUnits(a.data(), b.data(), n));
        for (std::size_t i = 0; i < n; ++i) {
            for (const char16_t other : {char16_t(b[i] ^ 1), char16_t(b[i] ^ 0x8000), u'\0'}) {
                const char16_t kept = b[i];
                b[i] = other;
                EXPECT_FALSE(equalUnits(a.data(), b.data(), n)) << "unit " << i;
                b[i] = kept;
            }
        }
        if (n > 0) {
            std::vector<char16_t> longer(a);
            longer.push_back(u'x');
            EXPECT_TRUE(equalUnits(longer.data(), b.data(), n)) << "units past the word";
        }
    }
}

// Twenty-one words in a table of 32 slots: some lie past the first two slots of their probe;
// long words (whose length the slot does not hold) among them.
TEST(DictionaryHash, ANearlyFullTableFindsEveryWordAndNoNearMiss) {
    TempFolder folder;
    std::vector<std::u16string> words;
    for (std::size_t length :
         {2, 3, 4, 5, 7, 8, 9, 12, 15, 16, 17, 23, 24, 25, 31, 40, 47, 62, 63, 64, 64})
        words.push_back(tamilWord(length, static_cast<unsigned>(words.size() * 13 + length)));
    const std::string path = buildTamilDictionary(folder, "full-ta", words);
    CDictionary d;
    ASSERT_TRUE(d.Load(path, folder.path().string(), false));
    const std::set<std::u16string> known(words.begin(), words.end());
    for (const std::u16string &w : words) {
        SCOPED_TRACE(std::to_string(w.size()) + " units");
        EXPECT_TRUE(d.CheckWord(w));
        std::u16string miss = w;
        miss.back() = u'ஔ';
        if (!known.count(miss)) {
            EXPECT_FALSE(d.CheckWord(miss));
        }
        miss = w;
        miss.front() = u'ஔ';
        if (!known.count(miss)) {
            EXPECT_FALSE(d.CheckWord(miss));
        }
    }
}

} // namespace
} // namespace tarvellite
