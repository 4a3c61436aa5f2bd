// Typing tests of the shipped Tamil, Malayalam and Sinhala layouts: common words on each
// keyboard, the composition rules each language relies on, the Ctrl layer, and the standard
// tables against the system's keyboard descriptions (xkb-data, m17n-db) where they are installed.

#include "core/app/file_io.h"
#include "typing_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <string>

namespace tarvellite::testing {
namespace {

TypingOptions withAutoPulli(bool on) {
    TypingOptions o;
    o.engine.autoPulli = on;
    return o;
}

// ---------------------------------------------------------------------------------------------
// Tamil

TEST(TamilTamil99, TypesCommonWords) {
    expectTyping(shippedTables(), "TA", "Tamil99",
                 {{"lks/f", "தமிழ்"},
                  {"akkq", "அம்மா", "a repeated consonant gets its pulli"},
                  {"akfkq", "அம்மா", "a typed pulli is not doubled"},
                  {"vphhkf", "வணக்கம்"},
                  {"avif", "அவன்"},
                  {"jokf", "படம்"},
                  {"jyys", "பள்ளி"},
                  {";ifus", "நன்றி", "ன்ற needs its pulli typed"},
                  {"[giir", "சென்னை"},
                  {"dnhkf", "உலகம்"},
                  {"q[sms'mf", "ஆசிரியர்"},
                  {"s;fls'q", "இந்தியா"},
                  {"gFhd", "எஃகு", "Shift+F is the aytham"},
                  {"hr", "கை"},
                  {"hc", "கொ"},
                  {"hx", "கோ"},
                  {"hz", "கௌ"},
                  {"Qfmw", "ஸ்ரீ"},
                  {"Y", "ஶ்ரீ"},
                  {"Tq", "க்ஷா"},
                  {"avif ", "அவன் ", "the pulli stays at the end of a word"}});
}

TEST(TamilTamil99, ComposesVowelsAndPulli) {
    expectTyping(shippedTables(), "TA", "Tamil99",
                 {{"q", "ஆ", "a vowel on its own"},
                  {"hq", "கா", "a vowel after a consonant becomes its sign"},
                  {"ha", "க", "அ after a consonant leaves nothing behind"},
                  {"hak", "கம"},
                  {"hf", "க்"},
                  {"hfq", "கா", "a vowel after the pulli replaces it with its sign"},
                  {"hf\\b", "க", "Backspace takes the pulli only"},
                  {"jhh", "பக்க"},
                  {"jhhq", "பக்கா"},
                  {"hh", "க்க", "at the start of a word the first consonant takes the pulli"},
                  {"jh hh", "பக க்க"}});
    // Without Auto Pulli a repeated consonant stays as typed.
    expectTyping(shippedTables(), "TA", "Tamil99", {{"jhh", "பகக"}, {"akkq", "அமமா"}},
                 withAutoPulli(false));
}

// The automatic pulli of the Tamil99 standard, with its own examples: soft-hard pairs, the
// delinker அ, and no automatic pulli right after an automatic one.
TEST(TamilTamil99, StandardAutoPulliExamples) {
    expectTyping(shippedTables(), "TA", "Tamil99",
                 {{"bh", "ங்க"},
                  {"][", "ஞ்ச"},
                  {"po", "ண்ட"},
                  {";l", "ந்த"},
                  {"kj", "ம்ப"},
                  {"iu", "ன்ற"},
                  {"hh", "க்க"},
                  {"hhh", "க்கக", "no automatic pulli right after an automatic pulli"},
                  {"hhhh", "க்கக்க"},
                  {";ll", "ந்தத"},
                  {";al", "நத", "அ confirms the consonant: no pulli on the next"},
                  {"hah", "கக"},
                  {"jhah", "பகக"},
                  {"has", "கஇ", "after the delinker a vowel stays a letter"},
                  {"haq", "கஆ"},
                  {"l;", "தந", "a hard-soft order is no pair"},
                  {"lp", "தண", "nor is a soft consonant after another hard one"},
                  {";sl", "நித", "a vowel sign between them breaks the pair"},
                  {";fl", "ந்த", "a typed pulli is not doubled"},
                  {"j;ld", "பந்து"},
                  {"lbhkf", "தங்கம்"},
                  {"k][yf", "மஞ்சள்"},
                  {";ius", "நன்றி"},
                  {"hpod", "கண்டு"},
                  {"ajjq", "அப்பா"},
                  {"khhyf", "மக்கள்"},
                  {"jqood", "பாட்டு"},
                  {"'f;l", "ய்ந்த", "a pulli pair after a typed pulli"},
                  {"jqmfhh", "பார்க்க"}});
    // The pairs belong to Auto Pulli, the delinker to the layout.
    expectTyping(shippedTables(), "TA", "Tamil99", {{";l", "நத"}, {"hh", "கக"}, {"has", "கஇ"}},
                 withAutoPulli(false));
    // The typewriter layout keeps its own rule: at the start of a word the second consonant
    // takes the pulli, and it knows no pairs.
    expectTyping(shippedTables(), "TA", "Typewriter",
                 {{"ff", "கக்"}, {"ej", "நத"}, {"gff", "பக்க"}, {"gfff", "பக்க்க"}});
}

// The delinker and the automatic pulli hold only while the typist goes on typing where the last
// keystroke left the caret.
TEST(TamilTamil99, ComposingStopsWhenTheCaretMoves) {
    KeyboardTables tables = shippedTables();
    const int language = testing::languageIndexOf(tables, "TA");
    InputContext context(tables);
    context.SelectLanguage(language);
    context.SelectKeyboard(testing::keyboardIndexOf(tables, language, "Tamil99"));
    TranslationEngine engine(context);
    MemoryTarget target;
    engine.setTarget(TargetKind::TargetDocument, &target);
    auto type = [&](char ch) {
        engine.TranslateKeyMessage(KeyMessage::character(static_cast<unsigned char>(ch)),
                                   TargetKind::TargetDocument);
    };
    type('h');
    type('h');
    EXPECT_EQ(target.text(), u"க்க");
    target.setSelection(0, 0);
    type('l'); // typed elsewhere: the automatic pulli no longer counts
    target.setSelection(4, 4);
    type('h');
    EXPECT_EQ(target.text(), u"தக்க்க");
    type('a');
    MemoryTarget other(u"க");
    engine.setTarget(TargetKind::TargetDocument, &other);
    type('h'); // another field: the delinker was typed in the first one
    EXPECT_EQ(other.text(), u"க்க");
}

TEST(TamilTypewriter, TypesCommonWords) {
    expectTyping(shippedTables(), "TA", "Typewriter",
                 {{"jkpH;", "தமிழ்"},
                  {"mk;kh", "அம்மா"},
                  {"mkkh", "அம்மா", "a repeated consonant gets its pulli"},
                  {"tzffk;", "வணக்கம்"},
                  {"ehd;", "நான்"},
                  {"gbz;", "பெண்", "the sign is typed after its consonant"},
                  {"g{", "பூ"},
                  {",j[", "இது"},
                  {"Mw[", "ஆறு"},
                  {"fi", "கை"},
                  {"fo", "கொ"},
                  {"fO", "கோ"},
                  {"fN", "கௌ"},
                  {"fm", "க", "அ after a consonant leaves nothing behind"},
                  {"f;h", "கா", "a sign after the pulli replaces it"},
                  {"fM", "கா"},
                  {"'q", "ஙஞ"},
                  {"jkpH;.", "தமிழ்,", "the . key is the comma"},
                  {"$", "௹"}});
}

TEST(TamilInScript, TypesCommonWords) {
    expectTyping(shippedTables(), "TA", "InScript",
                 {{"lcfBd", "தமிழ்"},
                  {"bCkdkcd", "வணக்கம்"},
                  {"bCkkcd", "வணக்கம்", "a repeated consonant gets its pulli"},
                  {"Dcdce", "அம்மா"},
                  {"Fvdlf/e", "இந்தியா"},
                  {"Wvdlg", "ஐந்து"},
                  {"mdjr", "ஸ்ரீ"},
                  {"kw", "கை"},
                  {"k`", "கொ"},
                  {"ka", "கோ"},
                  {"kq", "கௌ"},
                  {"kD", "க", "அ after a consonant leaves nothing behind"},
                  {"ke", "கா"},
                  {"kdE", "கா"},
                  {"&e", "க்ஷா"},
                  {"_", "ஃ"},
                  {"ve>", "நா।"},
                  {"1947", "௧௯௪௭"},
                  {"-=", "-="}});
}

TEST(TamilPhonetic, TypesCommonWords) {
    expectTyping(shippedTables(), "TA", "Phonetic",
                 {{"thamizh", "தமிழ்"},
                  {"vaNakkam", "வணக்கம்"},
                  {"ammaa", "அம்மா"},
                  {"avan ", "அவன் ", "the pulli stays at the end of a word"},
                  {"wanRi", "நன்றி"},
                  {"enRu", "என்று"},
                  {"pazham", "பழம்"},
                  {"paLLi", "பள்ளி"},
                  {"chennai", "சென்னை"},
                  {"paththu", "பத்து"},
                  {"shaNmukam", "ஷண்முகம்"},
                  {"thaGkam", "தங்கம்"},
                  {"Jaanam", "ஞானம்"},
                  {"waaL", "நாள்"},
                  {"Hari", "ஹரி"},
                  {"fan", "ஃபன்"},
                  {"Adu", "ஆடு"},
                  {"auvai", "ஔவை"},
                  {"aiyar", "ஐயர்"},
                  {"uur", "ஊர்"},
                  {"xaththiriyan", "க்ஷத்திரியன்"},
                  {"kadal", "கடல்"},
                  {"idhu", "இது"},
                  {"eqku", "எஃகு"}});
}

TEST(TamilPhonetic, VowelsAndRules) {
    expectTyping(shippedTables(), "TA", "Phonetic",
                 {{"k", "க்"},
                  {"ka", "க", "a removes the pulli"},
                  {"kaa", "கா"},
                  {"kA", "கா"},
                  {"ki", "கி"},
                  {"kI", "கீ"},
                  {"kai", "கை", "i after the inherent a is the ai sign"},
                  {"kY", "கை"},
                  {"ai", "ஐ"},
                  {"ku", "கு"},
                  {"kuu", "கூ", "u then u lengthens the sign"},
                  {"kU", "கூ"},
                  {"ke", "கெ"},
                  {"kE", "கே"},
                  {"ko", "கொ"},
                  {"kO", "கோ"},
                  {"kou", "கௌ"},
                  {"au", "ஔ"},
                  {"ou", "ஔ"},
                  {"uu", "ஊ"},
                  {"kh", "க்", "kh gh ch ph bh zh jh are the letter itself"},
                  {"ch", "ச்"},
                  {"th", "த்"},
                  {"dh", "த்"},
                  {"thh", "த்"},
                  {"sh", "ஷ்"},
                  {"zh", "ழ்"},
                  {"nh", "ன்ஹ்", "after any other consonant h adds ஹ்"},
                  {"ha", "ஹ", "a lone h is a consonant key"},
                  {"H", "ஹ்"},
                  {"R", "ற்"},
                  {"M", "ம்"},
                  {"kk", "க்க்", "no automatic pulli on the phonetic keyboard"},
                  {"kam\\b", "கம", "Backspace takes the pulli only"}});
}

// Known gap, kept so that it shows when the engine changes: "aa" at the start of a word is two
// அ (type A), since "a" only looks back for a consonant.
TEST(TamilPhonetic, DISABLED_WordInitialAa) {
    expectTyping(shippedTables(), "TA", "Phonetic", {{"aadu", "ஆடு"}});
}

// ---------------------------------------------------------------------------------------------
// Malayalam

TEST(MalayalamInScript, TypesCommonWords) {
    expectTyping(shippedTables(), "ML", "InScript",
                 {{"cn/eNx", "മലയാളം"},
                  {"ksjNx", "കേരളം"},
                  {"Dcdc", "അമ്മ"},
                  {"Dcc", "അമമ", "no virama rules: a repeated consonant stays"},
                  {"DbV", "അവൻ", "Shift+V is the chillu n"},
                  {"he>", "പാൽ"},
                  {"htkdk*", "പൂക്കൾ"},
                  {"}eV", "ഞാൻ"},
                  {"ZvdJz", "എന്റെ"},
                  {"vvdof", "നന്ദി"},
                  {"kg'd'f", "കുട്ടി"},
                  {"br'd", "വീട്", "the virama stays at the end of a word"},
                  {"k=", "കൃ"},
                  {"k`", "കൊ"},
                  {"kq", "കൌ"},
                  {"kD", "ക", "അ after a consonant leaves nothing behind"},
                  {"kes", "കേ", "a second sign replaces the first"},
                  {"k&", "കക്ഷ"},
                  {"2024", "൨൦൨൪"}});
}

TEST(MalayalamPhonetic, TypesCommonWords) {
    expectTyping(shippedTables(), "ML", "Phonetic",
                 {{"malayaaLaM", "മലയാളം"}, {"kEraLaM", "കേരളം"},
                  {"amma", "അമ്മ"},          {"avanM", "അവൻ", "M after n makes the chillu"},
                  {"paalM", "പാൽ"},         {"avaLM", "അവൾ"},
                  {"avarM", "അവർ"},         {"kaNM", "കൺ"},
                  {"JaanM", "ഞാൻ"},         {"enRe", "എന്റെ", "nR is ന്റ"},
                  {"kRshNanM", "കൃഷ്ണൻ"},     {"nandi", "നന്ദി"},
                  {"kuTTi", "കുട്ടി"},        {"patti", "പട്ടി"},
                  {"vIT", "വീട്"},           {"pUkkaLM", "പൂക്കൾ"},
                  {"kathha", "കഥ"},         {"snEHaM", "സ്നേഹം"},
                  {"maraM", "മരം"},         {"GGaLM", "ങ്ങൾ"},
                  {"kaappi", "കാപ്പി"},      {"Hari", "ഹരി"},
                  {"kaaRR", "കാറ്റ്"},        {"bhaarathaM", "ഭാരതം"},
                  {"vaLLaM", "വള്ളം"}});
}

TEST(MalayalamPhonetic, VowelsAndRules) {
    expectTyping(shippedTables(), "ML", "Phonetic",
                 {{"k", "ക്"},
                  {"ka", "ക"},
                  {"kaa", "കാ"},
                  {"ki", "കി"},
                  {"kI", "കീ"},
                  {"kai", "കൈ"},
                  {"ku", "കു"},
                  {"kuu", "കൂ"},
                  {"kE", "കേ"},
                  {"ko", "കൊ"},
                  {"kou", "കൌ"},
                  {"au", "ഔ"},
                  {"kR", "കൃ", "R after a consonant is the vocalic r sign"},
                  {"R", "റ്"},
                  {"RR", "റ്റ്"},
                  {"kh", "ഖ്"},
                  {"gh", "ഘ്"},
                  {"ch", "ച്"},
                  {"Ch", "ഛ്"},
                  {"jh", "ഝ്"},
                  {"th", "ത്"},
                  {"thh", "ഥ്"},
                  {"Dh", "ഢ്"},
                  {"dh", "ധ്"},
                  {"ph", "ഫ്"},
                  {"bh", "ഭ്"},
                  {"sh", "ഷ്"},
                  {"zh", "ഴ്"},
                  {"nh", "ന്ഹ്"},
                  {"kM", "ൿ"},
                  {"mM", "ം"},
                  {"kaM", "കം"},
                  {"M", "ം"},
                  {"K", "ക്ക്"},
                  {"x", "ക്ഷ്"}});
}

// ---------------------------------------------------------------------------------------------
// Sinhala

TEST(SinhalaWijesekara, TypesCommonWords) {
    expectTyping(shippedTables(), "SI", "Wijesekara",
                 {{",xld", "ලංකා"},
                  {"wuaud", "අම්මා"},
                  {"Y`S ,xld", "ශ්‍රී ලංකා", "` is the rakaransaya"},
                  {"isxy,", "සිංහල"},
                  {"lT<U", "කොළඹ", "Shift+T after a consonant is the sign ො"},
                  {"mT;", "පොත"},
                  {".for", "ගෙදර", "the kombuva is typed after its consonant"},
                  {"lEu", "කෑම"},
                  {"jsoHd,h", "විද්‍යාලය", "Shift+H is the yansaya"},
                  {"m`Yakh", "ප්‍රශ්නය"},
                  {"l~uh", "කර්‍මය", "the repaya goes before its consonant"},
                  {"u^g", "මේ"},
                  {"^dhqn^Gjka", "ආයුබෝවන්"},
                  {"^eh", "ඇය"},
                  {"i^k", "සඳ"},
                  {".^.", "ගඟ"},
                  {"l^f", "කෛ"},
                  {"lfa", "ක්", "the al-lakuna after the kombuva replaces it"},
                  {"l\\\\j", "ක්‍ව", "the joiner"},
                  {"]}'\"zZ", ";:.,'\""}});
}

TEST(SinhalaPhonetic, TypesCommonWords) {
    expectTyping(
        shippedTables(), "SI", "Phonetic",
        {{"ammA", "අම්මා"},
         {"laMkA", "ලංකා"},
         {"siMHala", "සිංහල"},
         {"koHoma", "කොහොම"},
         {"gedhara", "ගෙදර"},
         {"mE", "මේ"},
         {"potha", "පොත"},
         {"AyubOvan", "ආයුබෝවන්"},
         {"shrRI laMkA", "ශ්‍රී ලංකා", "R after r joins it (rakaransaya)"},
         {"prRashnaya", "ප්‍රශ්නය"},
         {"vidhyRAlaya", "විද්‍යාලය", "R after y joins it (yansaya)"},
         {"kRSi", "කෘෂි", "R after another consonant is the vocalic r sign"},
         {"ka^fma", "කර්‍ම", "Ctrl+F is the repaya"},
         {"sadhha", "සඳ"},
         {"gaGa", "ගඟ"},
         {"xya", "ඇය"},
         {"kxmathi", "කැමති"},
         {"maHaththayA", "මහත්තයා"},
         {"bas ", "බස් ", "the al-lakuna stays at the end of a word"}});
}

TEST(SinhalaPhonetic, VowelsAndRules) {
    expectTyping(shippedTables(), "SI", "Phonetic",
                 {{"k", "ක්"},
                  {"ka", "ක"},
                  {"kaa", "කා"},
                  {"kx", "කැ", "x after a consonant is the sign ැ"},
                  {"kax", "කැ"},
                  {"kX", "කෑ"},
                  {"x", "ඇ"},
                  {"ki", "කි"},
                  {"kai", "කෛ"},
                  {"ku", "කු"},
                  {"kuu", "කූ"},
                  {"ke", "කෙ"},
                  {"kE", "කේ"},
                  {"ko", "කො"},
                  {"kO", "කෝ"},
                  {"kou", "කෞ"},
                  {"au", "ඖ"},
                  {"R", "ඍ"},
                  {"kRR", "කෲ"},
                  {"kh", "ඛ්"},
                  {"gh", "ඝ්"},
                  {"Gh", "ඞ්"},
                  {"Jh", "ඥ්"},
                  {"th", "ත්"},
                  {"Th", "ථ්"},
                  {"dh", "ද්"},
                  {"Dh", "ධ්"},
                  {"Dhh", "ඬ්"},
                  {"sh", "ශ්"},
                  {"Sh", "ෂ්"},
                  {"nh", "න්හ්"},
                  {"kaM", "කං"},
                  {"kaQ", "කඃ"},
                  {"krR", "ක්‍ර්"},
                  {"kyR", "ක්‍ය්"}});
}

// ---------------------------------------------------------------------------------------------
// The Ctrl layer: joiners and a few rare signs, and the editor's shortcuts pass.

TEST(TamilMalayalamSinhalaCtrlLayer, TypesJoinersAndSignsAndLeavesShortcuts) {
    const struct {
        const char *code, *keyboard, *kaKeys, *halant, *ctrlF, *ctrlH;
        bool rupee;
    } keyboards[] = {
        {"TA", "Tamil99", "hf", "க்", "ஃ", "ஸ்ரீ", true},
        {"TA", "Typewriter", "f;", "க்", "ஃ", "ஸ்ரீ", true},
        {"TA", "InScript", "kd", "க்", "ஃ", "ஸ்ரீ", true},
        {"TA", "Phonetic", "k", "க்", "ஃ", "ஸ்ரீ", true},
        {"ML", "InScript", "kd", "ക്", "ൗ", "ഃ", true},
        {"ML", "Phonetic", "k", "ക്", "ൗ", "ഃ", true},
        {"SI", "Wijesekara", "la", "ක්", "ඓ", "ඃ", false},
        {"SI", "Phonetic", "k", "ක්", "ර්\u200D", "ඃ", false},
    };
    const KeyboardTables &tables = shippedTables();
    for (const auto &kb : keyboards) {
        SCOPED_TRACE(std::string(kb.code) + " " + kb.keyboard);
        const std::string halant = kb.halant;
        expectTyping(tables, kb.code, kb.keyboard,
                     {{(std::string(kb.kaKeys) + "^1").c_str(), (halant + "\u200D").c_str()},
                      {(std::string(kb.kaKeys) + "^2").c_str(), (halant + "\u200C").c_str()},
                      {"^!^@", "\u200D\u200C", "Ctrl+Shift types as Ctrl"},
                      {"^4", kb.rupee ? "₹" : ""},
                      {"^f", kb.ctrlF},
                      {"^h", kb.ctrlH},
                      {"^s^a^c^v^x^z^y^o^n^p^b^i^u", ""}});

        // The shortcuts reach the program.
        const int language = languageIndexOf(tables, kb.code);
        KeyboardTables copy = tables;
        InputContext context(copy);
        context.SelectLanguage(language);
        context.SelectKeyboard(keyboardIndexOf(tables, language, kb.keyboard));
        TranslationEngine engine(context);
        MemoryTarget target;
        const TypingReport report = typeKeyStrokes(engine, target, TargetKind::TargetDocument,
                                                   *parseKeyScript("^s^a^c^v^x^z^y^o^n^p^b^i^u"));
        EXPECT_EQ(report.passedShortcuts, "sacvxzyonpbiu");
    }
}

// ---------------------------------------------------------------------------------------------
// The standard tables against the system's keyboard descriptions, where installed.

// The single-key entries of the m17n input methods ("q" ?ஆ, "l" "ක") whose text is in the
// script's block; their sequences and conditional keys are the engine's composition rules.
TEST(TamilSinhalaTypewriters, AgreeWithM17nDb) {
    const struct {
        const char *file, *code, *keyboard;
        char16_t first, last;
        int minimum;
    } methods[] = {{"/usr/share/m17n/ta-tamil99.mim", "TA", "Tamil99", 0x0B80, 0x0BFF, 40},
                   {"/usr/share/m17n/si-wijesekera.mim", "SI", "Wijesekara", 0x0D80, 0x0DFF, 45}};
    const KeyboardTables &tables = shippedTables();
    for (const auto &m : methods) {
        Result<Bytes> file = readWholeFile(m.file, 1 << 22);
        if (!file)
            GTEST_SKIP() << "m17n-db is not installed";
        const std::string text(file->begin(), file->end());
        const KBDDATA &keys = keyboardData(tables, m.code, m.keyboard);
        const std::regex entry(R"re(\(\s*"(\\?[!-~])"\s+(?:\?([^\s)]+)|"([^"]+)")\s*\))re");
        int compared = 0;
        std::set<char> seen;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), entry);
             it != std::sregex_iterator(); ++it) {
            std::string key = (*it)[1];
            const char ch = key.back();
            const std::u16string theirs =
                utf8ToUtf16((*it)[2].matched ? (*it)[2].str() : (*it)[3].str());
            bool inScript = !theirs.empty();
            for (char16_t u : theirs)
                inScript = inScript && ((u >= m.first && u <= m.last) || u == 0x200D);
            if (!inScript || !seen.insert(ch).second)
                continue;
            const int k = charToKeyTable(static_cast<unsigned char>(ch));
            const int layer = keyUnshiftedChar(k) == ch ? LayerNormal : LayerShift;
            EXPECT_EQ(utf16ToUtf8(unitsOf(keys, layer, k)), utf16ToUtf8(theirs))
                << m.code << " " << m.keyboard << " key " << ch;
            ++compared;
        }
        EXPECT_GE(compared, m.minimum) << m.file;
    }
}

} // namespace
} // namespace tarvellite::testing
