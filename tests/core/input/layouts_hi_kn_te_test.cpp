// Typing tests of the shipped Hindi, Kannada and Telugu layouts: common words on each keyboard,
// the composition rules each language relies on, the Ctrl layer, and the InScript tables
// against the system's keyboard descriptions where they are installed.

#include "core/app/file_io.h"
#include "typing_fixture.h"

#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <string>

namespace tarvellite::testing {
namespace {

TypingOptions withAutoPulli(bool on) {
    TypingOptions o;
    o.engine.autoPulli = on;
    return o;
}

TypingOptions standardEditing() {
    TypingOptions o;
    o.engine.enhancedEditing = false;
    return o;
}

// ---------------------------------------------------------------------------------------------
// Hindi

TEST(HindiInScript, TypesCommonWords) {
    expectTyping(shippedTables(), "HI", "InScript",
                 {{"vcmdls", "नमस्ते"},
                  {"ufxor", "हिंदी"},
                  {"Yejl", "भारत"},
                  {"kfley", "किताब"},
                  {"hgmdlk", "पुस्तक"},
                  {"kd/e", "क्या"},
                  {"hdjsc", "प्रेम"},
                  {"h#sc", "प्रेम", "Shift+3 types the r conjunct"},
                  {"%ev", "ज्ञान"},
                  {"&ce", "क्षमा"},
                  {"*r", "श्री"},
                  {"Ye<e", "भाषा"},
                  {"k=<dC", "कृष्ण"},
                  {"ogvf/e", "दुनिया"},
                  {"Ovd/beo", "धन्यवाद"},
                  {"ieXb", "गाँव"},
                  {"Dxidjsp]r", "अंग्रेज़ी", "nukta after its consonant"},
                  {"|H]fm", "ऑफ़िस"},
                  {"$ce", "र्मा", "Shift+4 types the reph"},
                  {"vcmdls> ", "नमस्ते। ", "Shift+. is the danda"},
                  {"?", "\u092F\u093C", "य and nukta"},
                  {"1947", "१९४७"}});
}

TEST(HindiInScript, ComposesVowelsAndHalant) {
    expectTyping(shippedTables(), "HI", "InScript",
                 {{"E", "आ", "a vowel on its own"},
                  {"kE", "का", "a vowel after a consonant becomes its sign"},
                  {"kD", "क", "अ after a consonant leaves the consonant alone"},
                  {"kes", "के", "a second sign replaces the first"},
                  {"kdF", "कि", "a vowel after the halant replaces it with its sign"},
                  {"kd ", "क ", "a halant at the end of a word goes"},
                  {"kd\\b", "", "Backspace after a halant takes the consonant too"},
                  {"kdk", "क्क"},
                  {"hkdke", "पक्का", "a typed halant is not doubled"}});
    // The automatic virama is Tamil's: a repeated consonant stays as typed, as ममता needs.
    for (bool autoPulli : {true, false})
        expectTyping(shippedTables(), "HI", "InScript",
                     {{"cclE", "ममता"}, {"hhrle", "पपीता"}, {"hkke", "पकका"}},
                     withAutoPulli(autoPulli));
}

TEST(HindiPhonetic, TypesCommonWords) {
    expectTyping(shippedTables(), "HI", "Phonetic",
                 {{"namaste", "नमस्ते"},
                  {"Ham ", "हम ", "H types ह"},
                  {"Hai", "है"},
                  {"HiMdI", "हिंदी"},
                  {"bhArat ", "भारत ", "the final halant goes with the space"},
                  {"kamal ", "कमल "},
                  {"kRpayA", "कृपया"},
                  {"tumhArA", "तुम्हारा", "h after another halant joins ह"},
                  {"aur ", "और "},
                  {"koun ", "कौन "},
                  {"laDRakI", "लड़की"},
                  {"paDhRanA", "पढ़ना"},
                  {"kShatriya", "क्षत्रिय"},
                  {"xamA", "क्षमा"},
                  {"shAMti", "शांति"},
                  {"saMskRt ", "संस्कृत "},
                  {"zarA", "ज़रा"},
                  {"ZAn ", "ज्ञान "},
                  {"DOkTar ", "डॉक्टर "},
                  {"bhAShA", "भाषा"},
                  {"kyA", "क्या"},
                  {"prem ", "प्रेम "},
                  {"pyAr ", "प्यार "},
                  {"duniyA", "दुनिया"},
                  {"kitAb ", "किताब "},
                  {"ek ", "एक "},
                  {"dhanyavAd ", "धन्यवाद "},
                  {"chalo", "चलो"},
                  {"CoTA", "छोटा"},
                  {"gaI", "गई"},
                  {"shrI", "श्री"},
                  {"fUl ", "फ़ूल "}});
}

TEST(HindiPhonetic, VowelsAndRules) {
    expectTyping(shippedTables(), "HI", "Phonetic",
                 {{"k", "क्"},
                  {"ka", "क", "a removes the halant"},
                  {"kaa", "का"},
                  {"kA", "का"},
                  {"ki", "कि"},
                  {"kI", "की"},
                  {"kai", "कै", "i after the inherent a is the ai sign"},
                  {"kY", "कै"},
                  {"ai", "ऐ"},
                  {"kae", "कए", "e after the inherent a is the vowel itself"},
                  {"ku", "कु"},
                  {"kuu", "कू", "u then u lengthens the sign"},
                  {"uu", "ऊ"},
                  {"kE", "कॅ"},
                  {"kO", "कॉ"},
                  {"kou", "कौ"},
                  {"au", "औ"},
                  {"ou", "औ"},
                  {"kR", "कृ"},
                  {"R", "ऋ"},
                  {"DR", "ड़्"},
                  {"DhR", "ढ़्"},
                  {"kM", "कं", "M after a halant replaces it"},
                  {"kaM", "कं"},
                  {"mAMM", "माँ", "M twice is the candrabindu"},
                  {"kh", "ख्"},
                  {"ch", "च्", "ch is च"},
                  {"Ch", "छ्"},
                  {"sh", "श्"},
                  {"shh", "ष्"},
                  {"Sh", "ष्"},
                  {"nh", "न्ह्"},
                  {"kam\\b", "क", "Backspace after a halant takes the consonant too"},
                  {"Z", "ज्ञ्"},
                  {"x", "क्ष्"},
                  {"|", "।"}});
}

// A vowel letter after a vowel sign starts a new syllable (भाई, हुआ), with either editing mode.
TEST(HindiPhonetic, VowelAfterASign) {
    for (const TypingOptions &options : {TypingOptions{}, standardEditing()}) {
        expectTyping(shippedTables(), "HI", "Phonetic",
                     {{"bhAI", "भाई"}, {"HuA", "हुआ"}, {"koI", "कोई"}, {"jAo", "जाओ"}},
                     options);
        expectTyping(shippedTables(), "HI", "InScript", {{"YeR", "भाई"}, {"ugE", "हुआ"}},
                     options);
    }
}

// Known gap, kept so that it shows if the h key changes: a lone "h" with no rule to fire types
// one unit, ह without its halant, so "hai" cannot start a word; H is the way to type ह.
TEST(HindiPhonetic, DISABLED_LoneH) {
    expectTyping(shippedTables(), "HI", "Phonetic", {{"hai", "है"}, {"bahut ", "बहुत "}});
}

// ---------------------------------------------------------------------------------------------
// Kannada

TEST(KannadaInScript, TypesCommonWords) {
    expectTyping(shippedTables(), "KN", "InScript",
                 {{"kvdv[", "ಕನ್ನಡ"},
                  {"vcmdkej", "ನಮಸ್ಕಾರ"},
                  {"yzxiNtjg", "ಬೆಂಗಳೂರು"},
                  {"kjdve'k", "ಕರ್ನಾಟಕ"},
                  {"cvz", "ಮನೆ"},
                  {"uqog", "ಹೌದು"},
                  {"Mdjr", "ಶ್ರೀ"},
                  {"*r", "ಶ್ರೀ"},
                  {"%ev", "ಜ್ಞಾನ"},
                  {"&cz", "ಕ್ಷಮೆ"},
                  {"Dcdc", "ಅಮ್ಮ"},
                  {"Fog", "ಇದು"},
                  {"hgmdlk", "ಪುಸ್ತಕ"},
                  {"yd/exkd", "ಬ್ಯಾಂಕ್"},
                  {"vviz", "ನನಗೆ", "no virama rules: a repeated consonant stays"},
                  {"2024", "೨೦೨೪"}});
}

TEST(KannadaInScript, ComposesVowelsAndHalant) {
    expectTyping(shippedTables(), "KN", "InScript",
                 {{"kE", "ಕಾ"},
                  {"kD", "ಕ"},
                  {"kes", "ಕೇ"},
                  {"kdF", "ಕಿ"},
                  {"kd ", "ಕ್ ", "a final halant stays"},
                  {"kd\\b", "ಕ"}});
}

TEST(KannadaPhonetic, TypesCommonWords) {
    expectTyping(shippedTables(), "KN", "Phonetic",
                 {{"kannaDa", "ಕನ್ನಡ"},
                  {"namaskAra", "ನಮಸ್ಕಾರ"},
                  {"beMgaLUru", "ಬೆಂಗಳೂರು"},
                  {"HEgiddIri", "ಹೇಗಿದ್ದೀರಿ"},
                  {"Houdu", "ಹೌದು"},
                  {"kRuShNa", "ಕೃಷ್ಣ"},
                  {"ZAna", "ಜ್ಞಾನ"},
                  {"jQAna", "ಜ್ಞಾನ"},
                  {"xame", "ಕ್ಷಮೆ"},
                  {"amma", "ಅಮ್ಮ"},
                  {"shAle", "ಶಾಲೆ"},
                  {"SAle", "ಶಾಲೆ"},
                  {"bas", "ಬಸ್", "a final halant stays"},
                  {"aidu", "ಐದು"},
                  {"auShadha", "ಔಷಧ"},
                  {"saMskRuta", "ಸಂಸ್ಕೃತ"},
                  {"uuTa", "ಊಟ"},
                  {"UTa", "ಊಟ"},
                  {"Iga", "ಈಗ"},
                  {"Enu", "ಏನು"},
                  {"Odu", "ಓದು"},
                  {"oLLeya", "ಒಳ್ಳೆಯ"},
                  {"kai", "ಕೈ"},
                  {"khuShi", "ಖುಷಿ"},
                  {"maatu", "ಮಾತು"},
                  {"HaNa", "ಹಣ"},
                  {"SrI", "ಶ್ರೀ"},
                  {"nanage", "ನನಗೆ"},
                  {"braHma", "ಬ್ರಹ್ಮ"},
                  {"doDDa", "ದೊಡ್ಡ"},
                  {"Ru", "ಋ"}});
}

TEST(KannadaPhonetic, VowelsAndRules) {
    expectTyping(shippedTables(), "KN", "Phonetic",
                 {{"k", "ಕ್"},
                  {"ka", "ಕ"},
                  {"kaa", "ಕಾ"},
                  {"ki", "ಕಿ"},
                  {"kai", "ಕೈ"},
                  {"ke", "ಕೆ"},
                  {"kE", "ಕೇ"},
                  {"ko", "ಕೊ"},
                  {"kO", "ಕೋ"},
                  {"kou", "ಕೌ"},
                  {"kuu", "ಕೂ"},
                  {"kR", "ಕೃ"},
                  {"kRu", "ಕೃ", "Ru is the vocalic r"},
                  {"kM", "ಕಂ"},
                  {"kh", "ಖ್"},
                  {"Sh", "ಷ್"},
                  {"mh", "ಮ್ಹ್"},
                  {"kam\\b", "ಕಮ", "Backspace takes back the halant alone"}});
}

// ---------------------------------------------------------------------------------------------
// Telugu

TEST(TeluguInScript, TypesCommonWords) {
    expectTyping(shippedTables(), "TE", "InScript",
                 {{"lzngig", "తెలుగు"},
                  {"vcmdkejx", "నమస్కారం"},
                  {"uwojeyeod", "హైదరాబాద్"},
                  {"ExOdj", "ఆంధ్ర"},
                  {"YejlosMx", "భారతదేశం"},
                  {"hgmdlkx", "పుస్తకం"},
                  {"Dcdc", "అమ్మ"},
                  {"*r", "శ్రీ"},
                  {"&cfx;x[f", "క్షమించండి"},
                  {"Ovd/beoeng", "ధన్యవాదాలు"},
                  {"crjg", "మీరు"},
                  {"vgbdbg", "నువ్వు"},
                  {"ccl", "మమత", "no virama rules: a repeated consonant stays"},
                  {"2024", "౨౦౨౪"}});
}

TEST(TeluguInScript, ComposesVowelsAndHalant) {
    expectTyping(shippedTables(), "TE", "InScript",
                 {{"kE", "కా"},
                  {"kD", "క"},
                  {"kes", "కే"},
                  {"kdF", "కి"},
                  {"kd ", "క్ ", "a final halant stays"},
                  {"kX", "కఁ"}});
}

TEST(TeluguPhonetic, TypesCommonWords) {
    expectTyping(shippedTables(), "TE", "Phonetic",
                 {{"telugu", "తెలుగు"},
                  {"namaskAraM", "నమస్కారం"},
                  {"HaidarAbAd", "హైదరాబాద్"},
                  {"AMdhrapradES", "ఆంధ్రప్రదేశ్"},
                  {"elA unnAru", "ఎలా ఉన్నారు"},
                  {"dhanyavAdAlu", "ధన్యవాదాలు"},
                  {"SrI", "శ్రీ"},
                  {"kRshNa", "కృష్ణ"},
                  {"ZAnaM", "జ్ఞానం"},
                  {"xamiMcaMDi", "క్షమించండి"},
                  {"mIru", "మీరు"},
                  {"nuvvu", "నువ్వు"},
                  {"aunu", "ఔను"},
                  {"koulu", "కౌలు"},
                  {"Rshi", "ఋషి"},
                  {"guNamu", "గుణము"},
                  {"gunhamu", "గుణము", "nh is ణ"},
                  {"kaLa", "కళ"},
                  {"kalha", "కళ", "lh is ళ"},
                  {"oka", "ఒక"},
                  {"ODa", "ఓడ"},
                  {"aidu", "ఐదు"},
                  {"uuru", "ఊరు"},
                  {"EmiTi", "ఏమిటి"},
                  {"illu", "ఇల్లు"},
                  {"pustakaM", "పుస్తకం"},
                  {"braHma", "బ్రహ్మ"}});
}

TEST(TeluguPhonetic, VowelsAndRules) {
    expectTyping(shippedTables(), "TE", "Phonetic",
                 {{"k", "క్"},
                  {"ka", "క"},
                  {"kaa", "కా"},
                  {"ki", "కి"},
                  {"kai", "కై"},
                  {"ke", "కె"},
                  {"kE", "కే"},
                  {"kou", "కౌ"},
                  {"kuu", "కూ"},
                  {"kR", "కృ"},
                  {"kRu", "కౄ", "Ru is the long vocalic r"},
                  {"Ru", "ౠ"},
                  {"kM", "కం"},
                  {"kaMM", "కఁ", "M twice is the arasunna"},
                  {"sh", "ష్"},
                  {"S", "శ్"},
                  {"Sh", "ష్"},
                  {"mh", "మ్హ్"},
                  {"kam\\b", "కమ"}});
}

// ---------------------------------------------------------------------------------------------
// The Ctrl layer is the same on both keyboards of each language, and the editor's shortcuts pass.

TEST(HindiKannadaTeluguCtrlLayer, TypesJoinersAndRareSignsAndLeavesShortcuts) {
    struct Script {
        const char *code, *ka, *virama, *visarga, *avagraha, *vocalicL;
    };
    const Script scripts[] = {{"HI", "क", "्", "ः", "ऽ", "ऌ"},
                              {"KN", "ಕ", "್", "ಃ", "ಽ", "ಌ"},
                              {"TE", "క", "్", "ః", "ఽ", "ఌ"}};
    // How each keyboard types ka with a halant, and ka itself.
    const struct {
        const char *name, *halantKeys, *kaKeys;
    } keyboards[] = {{"InScript", "kd", "k"}, {"Phonetic", "k", "ka"}};
    for (const Script &s : scripts) {
        const std::string halant = std::string(s.ka) + s.virama;
        const std::string withZwj = halant + "\u200D" + s.ka;
        const std::string withZwnj = halant + "\u200C" + s.ka;
        for (const auto &kb : keyboards) {
            const std::string zwjKeys = std::string(kb.halantKeys) + "^1" + kb.kaKeys;
            const std::string zwnjKeys = std::string(kb.halantKeys) + "^2" + kb.kaKeys;
            const std::string noVowelKeys = std::string(kb.halantKeys) + "^a^e^y";
            expectTyping(
                shippedTables(), s.code, kb.name,
                {{zwjKeys.c_str(), withZwj.c_str(), "Ctrl+1 is ZWJ"},
                 {zwnjKeys.c_str(), withZwnj.c_str(), "Ctrl+2 is ZWNJ"},
                 {"^4", "₹"},
                 {"^h", s.visarga},
                 {"^H", s.avagraha},
                 {"^F", s.vocalicL},
                 {"^.", "॥"},
                 {"^s^a^c^v^x^z^y^o^n^p^b^i^u", "", "the editor's shortcuts pass"},
                 {noVowelKeys.c_str(), halant.c_str(), "Ctrl with a vowel key types nothing"}});
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The InScript tables against the system's keyboard descriptions (xkb-data), where installed.

struct XkbSection {
    const char *code;
    const char *section;
};

// The xkb key names of the main block, in our key order.
const char *const xkbKeyNames[47] = {
    "TLDE", "AE01", "AE02", "AE03", "AE04", "AE05", "AE06", "AE07", "AE08", "AE09", "AE10", "AE11",
    "AE12", "AD01", "AD02", "AD03", "AD04", "AD05", "AD06", "AD07", "AD08", "AD09", "AD10", "AD11",
    "AD12", "BKSL", "AC01", "AC02", "AC03", "AC04", "AC05", "AC06", "AC07", "AC08", "AC09", "AC10",
    "AC11", "AB01", "AB02", "AB03", "AB04", "AB05", "AB06", "AB07", "AB08", "AB09", "AB10"};

// Devanagari's precomposed nukta letters, which we type as consonant and nukta.
std::u16string decomposed(char16_t c) {
    static const std::u16string bases = u"\u0915\u0916\u0917\u091C\u0921\u0922\u092B\u092F";
    if (c >= 0x0958 && c <= 0x095F)
        return {bases[c - 0x0958], u'\u093C'};
    return {c};
}

TEST(HindiKannadaTeluguInScript, AgreesWithXkbData) {
    Result<Bytes> file = readWholeFile("/usr/share/X11/xkb/symbols/in", 1 << 22);
    if (!file)
        GTEST_SKIP() << "xkb-data is not installed";
    const std::string text(file->begin(), file->end());
    // Where we follow the InScript standard rather than xkb: minus keeps "-" with the visarga on
    // Shift, Telugu has ఞ on Shift+] as in the enhanced InScript, and xkb's Shift+B in Kannada
    // is an unassigned code point.
    const std::map<std::string, std::string> exceptions = {
        {"KN AE11 0", ""}, {"TE AE11 0", ""}, {"TE AD12 0", ""}, {"KN AB05 1", ""}};
    const XkbSection sections[] = {{"HI", "deva"}, {"KN", "kan"}, {"TE", "tel"}};
    const KeyboardTables &tables = shippedTables();
    for (const XkbSection &s : sections) {
        const std::size_t begin = text.find("xkb_symbols \"" + std::string(s.section) + "\"");
        ASSERT_NE(begin, std::string::npos) << s.section;
        const std::size_t end = text.find("\n};", begin);
        const std::string body = text.substr(begin, end - begin);
        const int language = languageIndexOf(tables, s.code);
        const int keyboard = keyboardIndexOf(tables, language, "InScript");
        ASSERT_GE(keyboard, 0);
        const KBDDATA &keys =
            tables.keyboardDataTable[tables.languageTable[language].firstKeyboard + keyboard];
        int compared = 0;
        for (int k = 0; k < 47; ++k) {
            const std::regex line("key <" + std::string(xkbKeyNames[k]) +
                                  R"(>\s*\{\s*\[([^\]]*)\])");
            std::smatch m;
            if (!std::regex_search(body, m, line))
                continue;
            const std::string levels = m[1];
            const std::regex symbol(R"([^,\s]+)");
            std::sregex_iterator it(levels.begin(), levels.end(), symbol);
            for (int layer = 0; layer < 2 && it != std::sregex_iterator(); ++layer, ++it) {
                const std::string sym = it->str();
                if (sym.size() != 5 || sym[0] != 'U')
                    continue;
                const auto unit = static_cast<char16_t>(std::stoul(sym.substr(1), nullptr, 16));
                if (unit < 0x0900 || unit > 0x0DFF)
                    continue;
                const std::string where =
                    std::string(s.code) + " " + xkbKeyNames[k] + " " + std::to_string(layer);
                if (exceptions.count(where))
                    continue;
                std::u16string ours;
                for (int p = 1; p <= keys.unitCount(layer, k); ++p)
                    ours.push_back(keys.slot(layer, p, k));
                EXPECT_EQ(utf16ToUtf8(ours), utf16ToUtf8(decomposed(unit))) << where;
                ++compared;
            }
        }
        EXPECT_GT(compared, 70) << s.code;
    }
}

} // namespace
} // namespace tarvellite::testing
