// Words of every length around the sizes the word hash keeps in compact form in its slots
// (nine units to a 64-bit word, at most 27), and words one unit away from them at every
// position: each list word is found, and no near miss is.

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

TEST(DictionaryHash, WordsOfEveryLengthAndTheirNearMisses) {
    TempFolder folder;
    std::vector<std::u16string> words;
    for (std::size_t length = 3; length <= 32; ++length)
        for (unsigned seed = 1; seed <= 6; ++seed)
            words.push_back(tamilWord(length, seed * 31 + static_cast<unsigned>(length)));
    std::string list;
    for (const auto &w : words)
        list += utf16ToUtf8(w) + "\n";
    const std::string path = test::buildDictionary(
        folder, "hash-ta", test::readText(test::spellingDataPath("mini-ta.rules")), list);
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

} // namespace
} // namespace tarvellite
