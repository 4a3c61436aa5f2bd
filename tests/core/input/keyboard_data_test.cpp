#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/input/input_context.h"
#include "core/input/keyboard_data.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvellite {
namespace {

TEST(CharToKeyTable, BothCharactersOfAKeyShareItsPosition) {
    const std::vector<std::pair<char, int>> rows = {
        {'`', 0},  {'~', 0},   {'1', 1},  {')', 10}, {'_', 11}, {'+', 12}, {'q', 13}, {'Q', 13},
        {'}', 24}, {'\\', 25}, {'|', 25}, {'a', 26}, {':', 35}, {'"', 36}, {'z', 37}, {'?', 46}};
    for (auto [ch, key] : rows)
        EXPECT_EQ(charToKeyTable(ch), key) << ch;
    for (char32_t ch : {U' ', U'\x7F', U'\x1F', U'\u0B95'})
        EXPECT_EQ(charToKeyTable(ch), -1);
}

// Tables with two languages: one with a typewriter keyboard, one with a phonetic keyboard
// followed by a typewriter keyboard, and a third language without keyboards.
KeyboardTables sampleTables() {
    KeyboardTables t;
    LANGDETAILS a;
    a.name = u"First";
    a.keyboardsInLanguage = 1;
    a.firstKeyboard = 0;
    LANGDETAILS b;
    b.name = u"Second";
    b.keyboardsInLanguage = 2;
    b.firstKeyboard = 1;
    b.selectedKeyboard = 1;
    b.phoneticIndex = 0;
    b.virama = 0x0BCD;
    b.vowels = u"அஆ";
    b.vowelSigns = u"\uFFFFா";
    LANGDETAILS c;
    c.name = u"Third";
    c.firstKeyboard = 3;
    t.languageTable = {a, b, c};
    t.keyboardTypeTable = {{u"Type A", 1}, {u"Phon B", phoneticLayoutKind}, {u"Type B", 0}};
    t.keyboardDataTable.resize(3);
    for (std::size_t k = 0; k < 3; ++k) {
        KBDDATA &d = t.keyboardDataTable[k];
        d.units.fill(emptySlot);
        std::fill(d.units.begin(), d.units.begin() + 200, 0);
        d.units[KBDDATA::countIndex(0, 13)] = 1;
        d.units[KBDDATA::slotIndex(0, 1, 13)] = static_cast<char16_t>(u'A' + k);
    }
    // The caption builder skips empty slots wherever they are.
    t.keyboardDataTable[0].units[KBDDATA::slotIndex(1, 2, 13)] = 0x0B95;
    t.keyboardDataTable[0].units[KBDDATA::slotIndex(1, 4, 13)] = 0x0BCD;
    PHONETICDATA p;
    p.sections[PHONETICDATA::SectionU][0] = {0x0B85, 0, {0x0B94, 0, 0}, 1};
    t.phoneticTable = {p};
    return t;
}

Bytes sampleBytes() {
    return serializeKeyboardData(sampleTables());
}

void put32(Bytes &b, std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

constexpr std::size_t firstLanguageAt = 8 + 228;
constexpr std::size_t secondLanguageAt = firstLanguageAt + 144 + 40 + 2000;

TEST(KeyboardData, ReadsWhatWasWritten) {
    const Bytes bytes = sampleBytes();
    ASSERT_EQ(bytes.size(), 8u + 228 + 3 * 144 + 3 * (40 + 2000) + 1264);
    Result<KeyboardTables> t = parseKeyboardData(bytes);
    ASSERT_TRUE(t.ok()) << t.error().describe();
    ASSERT_EQ(t->languageTable.size(), 3u);
    EXPECT_EQ(t->languageTable[1].name, u"Second");
    EXPECT_EQ(t->languageTable[1].vowelSigns, u"\uFFFFா");
    EXPECT_EQ(t->languageTable[2].keyboardsInLanguage, 0) << "a language without keyboards loads";
    EXPECT_EQ(t->keyboardTypeTable[2].name, u"Type B")
        << "a typewriter keyboard follows a phonetic keyboard's rules directly";
    EXPECT_EQ(t->phoneticTable[0].sections[PHONETICDATA::SectionU][0].out[0], 0x0B94);
    EXPECT_EQ(t->phoneticTable[0].sections[PHONETICDATA::SectionU][0].eraseCount, 1);
    EXPECT_EQ(serializeKeyboardData(*t), bytes);
    EXPECT_EQ(captionText(t->baseCaptionTable, 13, 0), u"A");
    EXPECT_EQ(captionText(t->baseCaptionTable, 13, 1), u"க்") << "empty slots are skipped";
    EXPECT_EQ(t->languageCodes,
              (std::vector<std::string>{"EN", "HI", "KN", "TA", "TE", "ML", "SI"}));
}

TEST(KeyboardData, RefusesDamagedFiles) {
    struct Case {
        const char *name;
        std::size_t at;
        std::int32_t value;
    };
    const std::vector<Case> cases = {
        {"second magic 1001", 4, 1001},
        {"more languages than records", 8 + 4, 4},
        {"huge language count", 8 + 4, 0x7FFFFFFF},
        {"negative keyboard count", 8 + 8, -1},
        {"more keyboards than the languages hold", 8 + 8, 3 + 1},
        {"fewer phonetic records than phonetic keyboards", 8 + 12, 0},
        {"more phonetic records than phonetic keyboards", 8 + 12, 2},
        {"keyboards past the table", secondLanguageAt + 40, 5},
        {"negative first keyboard", secondLanguageAt + 48, -1},
        {"a keyboard claimed twice", secondLanguageAt + 48, 0},
        {"selected keyboard out of range", secondLanguageAt + 44, 2},
        {"phonetic index out of range", secondLanguageAt + 52, 1},
        {"a key with five units", firstLanguageAt + 144 + 40 + 2 * 13, 5},
    };
    for (const Case &c : cases) {
        Bytes b = sampleBytes();
        put32(b, c.at, c.value);
        bool wrongMagic = false;
        Result<KeyboardTables> t = parseKeyboardData(b, &wrongMagic);
        EXPECT_FALSE(t.ok()) << c.name;
        if (!t.ok()) {
            EXPECT_NE(t.error().byteOffset, Error::noOffset) << c.name;
        }
    }
}

TEST(KeyboardData, RefusesEveryTruncation) {
    const Bytes bytes = sampleBytes();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        Result<KeyboardTables> t =
            parseKeyboardData(std::span<const std::uint8_t>(bytes.data(), n));
        ASSERT_FALSE(t.ok()) << "accepted a file cut at " << n;
    }
}

class LoadKeyboardDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("kbd-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void write(const Bytes &bytes) {
        ASSERT_TRUE(writeFileAtomically((folder_ / keyboardDataFileName).string(), bytes).ok());
    }
    bool load(KeyboardTables &t) {
        messages_.clear();
        ScopedMessagePresenter presenter([this](const Message &m) {
            messages_.push_back(m.text);
            return MessageAnswer::Ok;
        });
        return LoadKeyboardData(folder_.string(), t);
    }

    std::filesystem::path folder_;
    std::vector<std::string> messages_;
};

TEST_F(LoadKeyboardDataTest, MissingFileIsReported) {
    KeyboardTables t;
    EXPECT_FALSE(load(t));
    EXPECT_EQ(messages_,
              std::vector<std::string>{"Keyboard Data file not found. Unable to Proceed"});
}

TEST_F(LoadKeyboardDataTest, WrongMagicIsRefusedSilently) {
    Bytes b = sampleBytes();
    put32(b, 4, 1001);
    write(b);
    KeyboardTables t;
    EXPECT_FALSE(load(t));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(LoadKeyboardDataTest, DamagedFileSaysWhatIsWrongAndKeepsTheTables) {
    KeyboardTables t = sampleTables();
    Bytes b = sampleBytes();
    b.resize(b.size() - 1);
    write(b);
    EXPECT_FALSE(load(t));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("damaged"), std::string::npos) << messages_[0];
    EXPECT_EQ(t.languageTable.size(), 3u) << "a refused file leaves the tables as they were";
}

TEST_F(LoadKeyboardDataTest, GoodFileLoads) {
    write(sampleBytes());
    KeyboardTables t;
    EXPECT_TRUE(load(t));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(t.keyboardTypeTable.size(), 3u);
}

class Recorder : public InputListener {
  public:
    void inputSelectionChanged() override { ++changes; }
    int changes = 0;
};

TEST(InputContext, SelectsLanguagesAndRemembersKeyboards) {
    KeyboardTables t = sampleTables();
    InputContext context(t);
    Recorder recorder;
    context.addListener(&recorder);
    context.setPreviousLanguageIndex(2);
    context.SelectLanguage(1);
    EXPECT_EQ(context.previousLanguageIndex(), 2) << "the first selection keeps the stored one";
    EXPECT_EQ(context.currentKeyboardIndex(), 2) << "the file's selected keyboard";
    EXPECT_EQ(captionText(context.keyCaptionTable(), 13, 0), u"C");
    context.SelectKeyboard(0);
    EXPECT_EQ(context.currentKeyboardIndex(), 1);
    EXPECT_TRUE(context.currentKeyboardType()->isPhonetic());
    EXPECT_EQ(t.languageTable[1].selectedKeyboard, 0) << "the choice is kept per language";
    context.SelectLanguage(0);
    EXPECT_EQ(context.previousLanguageIndex(), 1);
    context.togglePreviousLanguage();
    EXPECT_EQ(context.currentLanguageIndex(), 1);
    EXPECT_EQ(context.currentKeyboardIndex(), 1) << "switching back restores the keyboard";
    context.cycleKeyboard();
    EXPECT_EQ(context.currentKeyboardIndex(), 2);
    context.cycleKeyboard();
    EXPECT_EQ(context.currentKeyboardIndex(), 1) << "F3 wraps";
    context.cycleLanguage();
    context.cycleLanguage();
    EXPECT_EQ(context.currentLanguageIndex(), 0) << "F2 wraps";
    context.SelectLanguage(2);
    EXPECT_EQ(context.currentKeyboardIndex(), -1) << "a language without keyboards";
    context.cycleKeyboard();
    context.SelectLanguage(7);
    context.SelectKeyboard(5);
    EXPECT_EQ(context.currentLanguageIndex(), 2) << "out-of-range choices are ignored";
    EXPECT_EQ(recorder.changes, 9);
}

} // namespace
} // namespace tarvellite
