// Composition rules of the translation engine, on small layouts written for the tests.

#include "core/input/translation_engine.h"
#include "layout_source.h"
#include "typing_fixture.h"

#include <gtest/gtest.h>

namespace tarvellite {
namespace {

using testing::TypingCase;
using testing::TypingOptions;

// A Latin layout first, since language 0 never gets the composition rules.
constexpr std::string_view latinSource = R"(
language "Latin"
code EN
keyboard "Plain" typewriter
k k K
)";

// Tamil letters with the word-end virama rule (mode 1), a typewriter and a phonetic keyboard.
constexpr std::string_view testSource = R"(
language "Test"
code HI
virama-mode 1
virama ்
consonants க ஹ
vowels அ ஆ இ ஈ உ ஊ எ ஏ ஐ ஒ ஓ ஔ
signs - ா ி ீ ு ூ ெ ே ை ொ ோ ௌ

keyboard "Type" typewriter
# consonants, vowels and signs on single keys; q types a conjunct; 1 has a Shift layer
k க      ங
t ட      ட்
q க்ஷ
j இ      ஈ
e ா      எ
r ி      ீ
d ்      -
g அ      -
1 ௧      !        \u200C
2 ௨      @
f -      -        \u200D   \u200D

keyboard "Phon" phonetic
k க்     க
y ய்     ஐ|ை
a அ      ஆ|ா
i இ|ி    ஈ|ீ
u உ|ு    ஊ|ூ
e எ|ெ    ஏ|ே
o ஒ|ொ    ஓ|ோ
h ஹ      ஃ
m ம்     ம|்
r ர்     ற|்
s ஸ்     ஷ
rule h க் => ஹ் 2
rule h ஸ => ஷ@ர 1
rule u அ => ஔ 1
)";

// The test language twice: as Hindi (index 1) and as Tamil (index 3), whose own rules differ.
KeyboardTables testTables() {
    std::vector<LanguageSource> languages;
    for (std::string_view src : {latinSource, testSource, latinSource, testSource}) {
        Result<LanguageSource> lang = parseLayoutSource(src, "test");
        EXPECT_TRUE(lang.ok()) << lang.error().describe();
        languages.push_back(*lang);
    }
    return assembleTables(languages);
}

const KeyboardTables &tables() {
    static const KeyboardTables t = testTables();
    return t;
}

void expectRows(std::string_view keyboard, std::initializer_list<TypingCase> rows,
                const TypingOptions &options = {}) {
    testing::expectTyping(tables(), "TA", keyboard, rows, options);
}

TEST(Typewriter, KeysAndVowelSigns) {
    expectRows("Type", {
                           {"k", "க"},
                           {"K", "ங"},
                           {"j", "இ", "a vowel at the start stays a vowel"},
                           {"kj", "கி", "a vowel after a consonant becomes its sign"},
                           {"k j", "க இ", "after a space it stays a vowel"},
                           {"kg", "க", "a vowel without a sign leaves nothing after a consonant"},
                           {"q", "க்ஷ", "a key may type several units"},
                       });
}

TEST(Typewriter, DoubledConsonantGetsItsVirama) {
    expectRows("Type",
               {
                   {"jkk", "இக்க", "inside a word: C virama C"},
                   {"kk", "கக்", "at the start of the text: C C virama"},
                   {"j kk", "இ கக்", "after a space the pair is read as at a start"},
                   {"kdk", "க்க", "a typed virama is not doubled again"},
                   {"kq", "கக்ஷ", "a key typing several units is delivered as its table gives it"},
                   {"tt", "டட்", "a key whose table gives C+virama"},
               });
    expectRows("Type", {{"jkk", "இகக", "no auto virama without Auto Pulli"}},
               TypingOptions::withEngine(true, false));
    testing::expectTyping(tables(), "HI", "Type", {{"jkk", "இகக", "the auto virama is Tamil's"}});
}

TEST(Typewriter, SignReplacement) {
    expectRows(
        "Type",
        {
            {"ker", "கி", "a second sign replaces the first"},
            {"kdj", "கி", "a vowel after consonant+virama replaces the virama with its sign"},
            {"ked", "க்", "a virama replaces a sign"},
            {"keg", "க", "a vowel without a sign removes the sign"},
            {"kej", "காஇ", "a vowel letter after a sign that has its own key starts a syllable"},
        });
    expectRows("Type", {{"ker", "காி", "standard editing leaves signs alone"}},
               TypingOptions::withEngine(false, true));
}

TEST(Typewriter, WordEndVirama) {
    expectRows("Type", {
                           {"kd ", "க ", "a virama at the end of a word goes"},
                           {"kd\\n", "க\n", "also before a line break"},
                           {"kd\\b", "", "Backspace after consonant+virama removes both"},
                           {"ke ", "கா ", "other signs stay"},
                       });
}

TEST(Typewriter, ComboBoxAndLatinGetNoComposition) {
    expectRows("Type", {{"kk", "கக"}, {"ker", "காி"}},
               TypingOptions::into(TargetKind::TargetCombo));
    EXPECT_EQ(testing::typeKeys(tables(), 0, 0, "kkK"), "kkK");
}

TEST(Phonetic, ShortVowelPaths) {
    expectRows("Phon", {
                           {"k", "க்"},
                           {"ka", "க", "a removes the virama"},
                           {"kaa", "கா", "a after the inherent vowel lengthens it"},
                           {"ki", "கி"},
                           {"kai", "கை"},
                           {"ke", "கெ", "e replaces the virama with its sign"},
                           {"kae", "கஎ", "after the bare consonant e is the vowel"},
                           {"kE", "கே"},
                           {"ku", "கு", "u with no rule replaces the virama with its sign"},
                           {"a", "அ"},
                           {"i", "இ", "i at the start is the vowel i"},
                           {"ai", "ஐ", "a then i is the vowel ai"},
                           {"au", "ஔ", "a u rule"},
                           {"kk", "க்க்", "no auto virama on phonetic layouts"},
                       });
}

TEST(Phonetic, RuleKeys) {
    expectRows("Phon",
               {
                   {"kh", "ஹ்", "two-character rule: erase 2, deliver two units"},
                   {"sh", "ஸ்ஹ", "rules match the text before the caret exactly"},
                   {"sah", "ஷஸர", "one-character rule with the context placeholder"},
                   {"h", "ஹ", "h with no context is its key"},
                   {"M", "ம்", "M gives consonant+virama when its Shift slot 2 is the virama"},
                   {"R", "ற்"},
                   {"kakh", "கஹ்", "only an exact pair fires a two-character rule"},
                   {"kah", "கஹ", "the bare consonant before h is not taken away"},
               });
}

TEST(Engine, CapsLockAndLatches) {
    expectRows("Type", {{"k", "ங"}, {"1", "!", "digits use the Shift layer too"}},
               TypingOptions::withCapsLock());
    expectRows("Type", {{"K", "க", "Shift with Caps Lock gives the normal layer"}},
               TypingOptions::withCapsLock());

    KeyboardTables t = tables();
    InputContext context(t);
    context.SelectLanguage(3);
    TranslationEngine engine(context);
    MemoryTarget target;
    engine.setTarget(TargetKind::TargetDocument, &target);
    // An on-screen Shift latch applies to the next clicked character only.
    context.modifiers().shiftLatch = 1;
    EXPECT_TRUE(engine.TranslateKeyMessage(KeyMessage::character('2'), TargetKind::TargetDocument));
    EXPECT_TRUE(engine.TranslateKeyMessage(KeyMessage::character('2'), TargetKind::TargetDocument));
    EXPECT_EQ(target.text(), u"@௨");
    // A physical key down clears an on-screen latch before its character arrives.
    context.modifiers().shiftLatch = 1;
    engine.TranslateKeyMessage(KeyMessage::keyDown('2'), TargetKind::TargetDocument);
    engine.TranslateKeyMessage(KeyMessage::character('2'), TargetKind::TargetDocument);
    EXPECT_EQ(target.text(), u"@௨௨");
    // A held physical Shift keeps the Shift layer until it is released.
    engine.TranslateKeyMessage(KeyMessage::keyDown(vk::Shift), TargetKind::TargetDocument);
    engine.TranslateKeyMessage(KeyMessage::character('2'), TargetKind::TargetDocument);
    engine.TranslateKeyMessage(KeyMessage::character('2'), TargetKind::TargetDocument);
    engine.TranslateKeyMessage(KeyMessage::keyUp(vk::Shift), TargetKind::TargetDocument);
    engine.TranslateKeyMessage(KeyMessage::character('2'), TargetKind::TargetDocument);
    EXPECT_EQ(target.text(), u"@௨௨@@௨");
}

TEST(Engine, CtrlLayerAndShortcuts) {
    KeyboardTables t = tables();
    InputContext context(t);
    context.SelectLanguage(3);
    for (int keyboard : {0, 1}) {
        SCOPED_TRACE(keyboard);
        context.SelectKeyboard(keyboard);
        TranslationEngine engine(context);
        MemoryTarget target;
        auto strokes = parseKeyScript("^s^a^e^1^f");
        ASSERT_TRUE(strokes.ok());
        const TypingReport report =
            typeKeyStrokes(engine, target, TargetKind::TargetDocument, *strokes);
        if (keyboard == 0) {
            EXPECT_EQ(report.passedShortcuts, "sae") << "keys without Ctrl units stay shortcuts";
            EXPECT_EQ(target.text(), u"\u200C\u200D");
        } else {
            EXPECT_EQ(report.passedShortcuts, "sae1f")
                << "phonetic vowel keys do not swallow Ctrl shortcuts";
            EXPECT_EQ(target.text(), u"");
        }
    }
}

TEST(Engine, PassesOnWhatItDoesNotTranslate) {
    KeyboardTables t = tables();
    InputContext context(t);
    context.SelectLanguage(3);
    TranslationEngine engine(context);
    MemoryTarget target;
    engine.setTarget(TargetKind::TargetDocument, &target);
    constexpr auto doc = TargetKind::TargetDocument;
    EXPECT_FALSE(engine.TranslateKeyMessage(KeyMessage::character(0x0B95), doc))
        << "units the engine delivered come back untouched";
    EXPECT_FALSE(engine.TranslateKeyMessage(KeyMessage::character(0xE9), doc))
        << "characters without a key position pass on";
    EXPECT_FALSE(engine.TranslateKeyMessage(KeyMessage::keyDown(vk::F2, true), doc))
        << "function keys have no Ctrl-layer character";
    EXPECT_TRUE(engine.TranslateKeyMessage(KeyMessage::character('z'), doc))
        << "a key with count 0 is consumed and types nothing";
    EXPECT_EQ(target.text(), u"");
    EXPECT_FALSE(engine.TranslateKeyMessage(KeyMessage::character('k'), TargetKind::TargetEdit))
        << "no edit field is current";
}

TEST(Engine, SelectionIsReplacedAndBackspaceStopsAtIt) {
    KeyboardTables t = tables();
    InputContext context(t);
    context.SelectLanguage(3);
    TranslationEngine engine(context);
    auto run = [&](std::u16string initial, int anchor, int caret, std::string_view keys) {
        MemoryTarget target(std::move(initial));
        target.setSelection(anchor, caret);
        typeKeyStrokes(engine, target, TargetKind::TargetDocument, *parseKeyScript(keys));
        return target.text();
    };
    EXPECT_EQ(run(u"அகி", 1, 3, "j"), u"அஇ") << "typing replaces the selection";
    EXPECT_EQ(run(u"அக்ட", 3, 4, "\\b"), u"அக்") << "Backspace removes the selection only";
    EXPECT_EQ(run(u"அக்", 3, 3, "\\b"), u"அ");
}

TEST(Engine, NoLanguageOrKeyboardIsHarmless) {
    KeyboardTables empty;
    InputContext context(empty);
    context.cycleLanguage();
    context.cycleKeyboard();
    context.togglePreviousLanguage();
    TranslationEngine engine(context);
    MemoryTarget target;
    typeKeyStrokes(engine, target, TargetKind::TargetDocument, *parseKeyScript("abc \\b^s"));
    EXPECT_EQ(target.text(), u"abc");
}

// A layout's delinker and automatic-pulli pairs are written in its source and travel through
// the keyboard data file in the slots no character reaches.
TEST(LayoutSource, CompositionDataSurvivesTheDataFile) {
    const std::string source = std::string(testSource) + R"(
keyboard "Paired" typewriter
delinker அ
pulli-pairs நத மப
pulli-pairs ஙக
k க
)";
    Result<LanguageSource> lang = parseLayoutSource(source, "test");
    ASSERT_TRUE(lang.ok()) << lang.error().describe();
    Result<KeyboardTables> read = parseKeyboardData(serializeKeyboardData(assembleTables({*lang})));
    ASSERT_TRUE(read.ok()) << read.error().describe();
    const KBDDATA &paired = read->keyboardDataTable.back();
    EXPECT_EQ(paired.delinker(), u'அ');
    EXPECT_TRUE(paired.pulliPair(u'ந', u'த'));
    EXPECT_TRUE(paired.pulliPair(u'ம', u'ப'));
    EXPECT_TRUE(paired.pulliPair(u'ங', u'க'));
    EXPECT_FALSE(paired.pulliPair(u'த', u'ந'));
    EXPECT_FALSE(paired.pulliPair(u'ந', u'ப'));
    for (std::size_t k = 0; k + 1 < read->keyboardDataTable.size(); ++k)
        EXPECT_FALSE(read->keyboardDataTable[k].hasComposition()) << "keyboard " << k;
    // A file whose unused slots hold zeros composes nothing.
    KBDDATA zeros;
    EXPECT_FALSE(zeros.hasComposition());
    EXPECT_FALSE(zeros.pulliPair(0, 0));

    std::string tooMany = "pulli-pairs";
    for (int i = 0; i < 24; ++i)
        tooMany += " நத";
    for (const std::string &bad : {std::string("pulli-pairs ந"), std::string("pulli-pairs நதம"),
                                   std::string("delinker"), std::string("delinker அஆ"), tooMany}) {
        Result<LanguageSource> r = parseLayoutSource(source + bad + "\n", "test");
        EXPECT_FALSE(r.ok()) << bad;
    }
    EXPECT_FALSE(parseLayoutSource("language \"X\"\ncode TA\ndelinker அ\n", "test").ok())
        << "a delinker belongs to a keyboard";
}

} // namespace
} // namespace tarvellite
