// Properties every shipped layout must have, whatever its keys.

#include "typing_fixture.h"

#include <gtest/gtest.h>
#include <string>

namespace tarvellite {
namespace {

using testing::expectTyping;
using testing::shippedTables;

struct Script {
    const char *code;
    char16_t first, last;
};
// The Unicode block of each language's script.
constexpr Script scripts[] = {
    {"EN", 0x0000, 0x007F}, {"HI", 0x0900, 0x097F}, {"KN", 0x0C80, 0x0CFF}, {"TA", 0x0B80, 0x0BFF},
    {"TE", 0x0C00, 0x0C7F}, {"ML", 0x0D00, 0x0D7F}, {"SI", 0x0D80, 0x0DFF}};

bool allowedUnit(char16_t u, const Script &s) {
    return (u >= 0x20 && u <= 0x7E) || (u >= s.first && u <= s.last) || u == 0x200C ||
           u == 0x200D || u == 0x0964 || u == 0x0965 || u == 0x20B9;
}

TEST(ShippedLayouts, SevenLanguagesInOrder) {
    const KeyboardTables &t = shippedTables();
    ASSERT_EQ(t.languageTable.size(), 7u);
    EXPECT_EQ(t.languageTable[0].name, u"English");
    EXPECT_EQ(t.keyboardTypeTable.at(0).name, u"US English")
        << "keyboard 0 gives the Latin captions beside every layout";
}

TEST(ShippedLayouts, EveryIndicLanguageHasATypewriterAndAPhoneticKeyboard) {
    const KeyboardTables &t = shippedTables();
    for (std::size_t i = 1; i < t.languageTable.size(); ++i) {
        const LANGDETAILS &l = t.languageTable[i];
        int typewriter = 0, phonetic = 0;
        for (int j = 0; j < l.keyboardsInLanguage; ++j)
            (t.keyboardTypeTable[l.firstKeyboard + j].isPhonetic() ? phonetic : typewriter)++;
        EXPECT_GE(typewriter, 1) << t.languageCodes[i];
        EXPECT_EQ(phonetic, 1) << t.languageCodes[i];
        EXPECT_NE(l.virama, 0) << t.languageCodes[i];
        EXPECT_LT(l.consonantFirst, l.consonantLast) << t.languageCodes[i];
        EXPECT_EQ(l.vowels.size(), l.vowelSigns.size()) << t.languageCodes[i];
        EXPECT_TRUE(l.inLetterRange(l.consonantFirst) && l.inLetterRange(l.consonantLast))
            << t.languageCodes[i];
    }
}

TEST(ShippedLayouts, EveryUnitBelongsToTheScript) {
    const KeyboardTables &t = shippedTables();
    for (std::size_t i = 0; i < t.languageTable.size(); ++i) {
        const LANGDETAILS &l = t.languageTable[i];
        const Script &s = scripts[i];
        for (int j = 0; j < l.keyboardsInLanguage; ++j) {
            const KBDDATA &d = t.keyboardDataTable[l.firstKeyboard + j];
            const std::string name = std::string(s.code) + " keyboard " + std::to_string(j);
            for (int u = 200; u < 1000; ++u) {
                if (d.units[u] != emptySlot) {
                    EXPECT_TRUE(allowedUnit(d.units[u], s))
                        << name << ": U+" << std::hex << d.units[u] << " at " << std::dec << u;
                }
            }
        }
        for (char16_t u : l.vowels + l.vowelSigns + l.virama) {
            if (u != emptySlot && u != 0) {
                EXPECT_TRUE(allowedUnit(u, s)) << s.code;
            }
        }
    }
}

TEST(ShippedLayouts, ShortcutKeysHaveNoCtrlLayer) {
    const KeyboardTables &t = shippedTables();
    for (std::size_t k = 0; k < t.keyboardDataTable.size(); ++k) {
        const KBDDATA &d = t.keyboardDataTable[k];
        for (char c : std::string("cvxzyasonpbiu")) {
            const int key = charToKeyTable(c);
            EXPECT_EQ(d.unitCount(LayerCtrl, key), 0)
                << "keyboard " << k << " takes Ctrl+" << c << " from the program";
        }
        for (int key = 0; key < keyPositionCount; ++key)
            EXPECT_EQ(d.units[KBDDATA::countIndex(LayerCtrlShift, key)],
                      d.units[KBDDATA::countIndex(LayerCtrl, key)])
                << "keyboard " << k << " key " << key;
    }
}

TEST(ShippedLayouts, PhoneticKeyboardsHaveTheSlotsTheEngineReads) {
    const KeyboardTables &t = shippedTables();
    for (std::size_t i = 1; i < t.languageTable.size(); ++i) {
        const LANGDETAILS &l = t.languageTable[i];
        for (int j = 0; j < l.keyboardsInLanguage; ++j) {
            if (!t.keyboardTypeTable[l.firstKeyboard + j].isPhonetic())
                continue;
            const KBDDATA &d = t.keyboardDataTable[l.firstKeyboard + j];
            const int a = charToKeyTable('a'), y = charToKeyTable('y');
            EXPECT_TRUE(l.isVowelSign(d.slot(LayerShift, 2, a)))
                << t.languageCodes[i] << " aa sign";
            EXPECT_TRUE(l.isVowelSign(d.slot(LayerShift, 2, y)))
                << t.languageCodes[i] << " ai sign";
            EXPECT_GE(l.vowelIndex(d.slot(LayerShift, 1, y)), 0) << t.languageCodes[i] << " ai";
        }
    }
}

TEST(ShippedLayouts, EnglishTypesWhatIsOnTheKeys) {
    std::string all;
    for (char c = 0x20; c < 0x7F; ++c)
        if (c != '\\' && c != '^')
            all.push_back(c);
    EXPECT_EQ(testing::typeKeys(shippedTables(), 0, 0, all + "\\\\\\^"), all + "\\^");
    // Caps Lock shifts letters only, as the system's own keyboard does.
    EXPECT_EQ(testing::typeKeys(shippedTables(), 0, 0, "Room 101, ok!",
                                testing::TypingOptions::withCapsLock()),
              "rOOM 101, OK!");
}

// An h that no rule combines with the text before it types its consonant with the virama, as
// every other consonant key does, so that the vowel after it is that consonant's sign.
TEST(ShippedLayouts, PhoneticLoneHIsAConsonantKey) {
    expectTyping(shippedTables(), "HI", "Phonetic",
                 {{"hari", "हरि"},
                  {"he", "हे"},
                  {"hai", "है"},
                  {"h", "ह्"},
                  {"bahut ", "बहुत "},
                  {"kh", "ख्", "after its consonant h still makes the aspirate"},
                  {"tumhArA", "तुम्हारा"}});
    expectTyping(shippedTables(), "TA", "Phonetic",
                 {{"hari", "ஹரி"}, {"he", "ஹெ"}, {"h", "ஹ்"}, {"kh", "க்"}, {"thamizh", "தமிழ்"}});
    expectTyping(shippedTables(), "KN", "Phonetic", {{"hari", "ಹರಿ"}, {"hEge", "ಹೇಗೆ"}});
    expectTyping(shippedTables(), "TE", "Phonetic", {{"hari", "హరి"}, {"haidar", "హైదర్"}});
    expectTyping(shippedTables(), "ML", "Phonetic", {{"hari", "ഹരി"}});
    expectTyping(shippedTables(), "SI", "Phonetic", {{"hari", "හරි"}, {"kohoma", "කොහොම"}});
}

} // namespace
} // namespace tarvellite
