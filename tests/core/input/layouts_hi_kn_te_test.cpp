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
                     {{"bhAI", "भाई"}, {"HuA", "हुआ"}, {"koI", "कोई"}, {"jAo", "जाओ"}}, options);
        expectTyping(shippedTables(), "HI", "InScript", {{"YeR", "भाई"}, {"ugE", "हुआ"}}, options);
    }
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

} // namespace
} // namespace tarvellite::testing
