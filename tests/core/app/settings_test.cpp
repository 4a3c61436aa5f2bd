#include "core/app/archive.h"
#include "core/app/settings.h"
#include "core/app/unicode.h"
#include "core/app/version.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace tarvellite {
namespace {

namespace fs = std::filesystem;

/// Languages with a given number of keyboards each.
class FakeLanguages : public LanguageState {
  public:
    explicit FakeLanguages(std::vector<int> keyboards)
        : keyboards_(std::move(keyboards)), selected_(keyboards_.size(), 0) {}

    int languageCount() const override { return static_cast<int>(keyboards_.size()); }
    int keyboardsInLanguage(int language) const override { return keyboards_.at(language); }
    int selectedKeyboard(int language) const override { return selected_.at(language); }
    void setSelectedKeyboard(int language, int keyboard) override {
        selected_.at(language) = keyboard;
    }
    void selectLanguage(int language, int previous) override {
        current_ = language;
        previous_ = previous;
        ++selections_;
    }
    int currentLanguage() const override { return current_; }
    int previousLanguage() const override { return previous_; }

    int selections_ = 0;

  private:
    std::vector<int> keyboards_;
    std::vector<int> selected_;
    int current_ = -1;
    int previous_ = 0;
};

/// The seven languages of the shipped data, with 1 to 3 keyboards.
FakeLanguages sevenLanguages() {
    return FakeLanguages({1, 2, 3, 2, 2, 1, 1});
}

class TempFolder {
  public:
    TempFolder() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("tarvellite-settings-" + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string str() const { return path_.string(); }

  private:
    fs::path path_;
};

class SettingsTest : public testing::Test {
  protected:
    SettingsTest() : folders(computeFolders(temp.str() + "/prog/", temp.str() + "/Documents")) {
        // Start-up has created the update folder, and with it the documents base.
        createFolderPath(folders.updateFolder());
        createFolderPath(folders.programFolder);
    }

    /// A store as a previous run of this build leaves it.
    MemorySettingsStore savedStore(FakeLanguages &languages) {
        MemorySettingsStore store;
        Settings s = LoadSettings(store, folders, 0, languages);
        SaveSettings(store, s, languages);
        store.clearWriteLog();
        return store;
    }

    TempFolder temp;
    AppFolders folders;
};

TEST_F(SettingsTest, FoldersOfAProgramAndAUser) {
    EXPECT_EQ(folders.programFolder, temp.str() + "/prog");
    EXPECT_EQ(folders.documentsBase, temp.str() + "/Documents/Orvani Software/");
    EXPECT_EQ(folders.updateFolder(), folders.documentsBase + "Upgrade/");
    EXPECT_EQ(folders.dictionaryPath(), temp.str() + "/prog/DictionaryFiles/");
}

TEST_F(SettingsTest, FirstRunGivesDefaultsSelectsFirstLanguageAndCreatesFolders) {
    MemorySettingsStore store;
    FakeLanguages languages = sevenLanguages();
    const Settings s = LoadSettings(store, folders, 0, languages);

    EXPECT_EQ(store.removeAllCount(), 1); // no BuildVersion: another build's store
    EXPECT_EQ(s.defaultFont, u"Arial");
    EXPECT_EQ(s.definedLang, 7);
    EXPECT_EQ(s.applicationLook, 215);
    EXPECT_EQ(s.general, General{});
    EXPECT_EQ(s.editOption, EditOption{});
    EXPECT_EQ(languages.currentLanguage(), 0);
    EXPECT_EQ(languages.previousLanguage(), 1);
    EXPECT_TRUE(s.defaultDictionaries.empty());

    for (const std::string &folder :
         {s.defaultUserPath, s.picturePath, s.templatePath, s.backupPath, s.userDictionaryPath,
          s.temporaryFolder(), s.defaultDictionaryPath}) {
        SCOPED_TRACE(folder);
        EXPECT_EQ(folder.back(), '/');
        EXPECT_TRUE(fs::is_directory(folder));
    }
    EXPECT_EQ(s.defaultUserPath, folders.documentsBase + "TarvelLite Docs/");
    std::ifstream hidden(s.backupPath + ".hidden");
    std::stringstream content;
    content << hidden.rdbuf();
    EXPECT_EQ(content.str(), "Temp\n");

    // A second load does not list Temp twice.
    LoadSettings(store, folders, 0, languages);
    std::ifstream again(s.backupPath + ".hidden");
    std::stringstream content2;
    content2 << again.rdbuf();
    EXPECT_EQ(content2.str(), "Temp\n");
}

TEST_F(SettingsTest, LegacyFontFlagChoosesTheDefaultFont) {
    MemorySettingsStore store;
    FakeLanguages languages = sevenLanguages();
    EXPECT_EQ(LoadSettings(store, folders, 1, languages).defaultFont, u"Akshar Unicode");
    EXPECT_EQ(LoadSettings(store, folders, 0, languages).defaultFont, u"Arial");
}

TEST_F(SettingsTest, SaveWritesEveryValueInOrder) {
    MemorySettingsStore store;
    FakeLanguages languages = sevenLanguages();
    const Settings s = LoadSettings(store, folders, 0, languages);
    store.clearWriteLog();
    ASSERT_TRUE(SaveSettings(store, s, languages));

    std::vector<std::string> expected = {"Workspace/AppVersion", "Workspace/BuildVersion",
                                         "Workspace/Language/DefinedLang"};
    for (int i = 0; i < 7; ++i)
        expected.push_back("Workspace/Language/Lang" + std::to_string(i));
    for (const char *name : {"Language/DefaultLang",
                             "Language/PrevLang",
                             "Preference/General",
                             "Preference/HelpLanguage",
                             "Preference/MenuLanguage",
                             "Preference/MessageLanguage",
                             "Preference/DefaultFont",
                             "Preference/DefaultFontSize",
                             "DefaultDictionaries/DefaultDictionary",
                             "Preference/PageDimensions",
                             "Preference/DefaultFont",
                             "Preference/DefaultFontSize",
                             "Preference/DefaultUserPath",
                             "Preference/PicturePath",
                             "Preference/TemplatePath",
                             "Preference/BackupPath",
                             "Preference/DefaultDictionaryPath",
                             "Preference/UserDictionaryPath",
                             "Preference/ShellSortInfo",
                             "Preference/BackupOption",
                             "Preference/EditOption",
                             "Preference/TabbedMode",
                             "Preference/KeyboardVisibleStatus"})
        expected.push_back(std::string("Workspace/") + name);
    EXPECT_EQ(store.writeLog(), expected);

    const auto &values = store.values();
    EXPECT_EQ(std::get<std::int32_t>(values.at("Workspace/BuildVersion")), 320);
    EXPECT_EQ(std::get<std::int32_t>(values.at("Workspace/AppVersion")), 4000);
    EXPECT_EQ(std::get<Bytes>(values.at("Workspace/DefaultDictionaries/DefaultDictionary")),
              (Bytes{0, 0}));
    for (const auto &[name, size] :
         std::vector<std::pair<std::string, std::size_t>>{{"General", 20},
                                                          {"PageDimensions", 52},
                                                          {"ShellSortInfo", 20},
                                                          {"BackupOption", 16},
                                                          {"EditOption", 88}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(std::get<Bytes>(values.at("Workspace/Preference/" + name)).size(), size);
    }
}

TEST_F(SettingsTest, ChangedValuesSurviveSaveAndLoad) {
    MemorySettingsStore store;
    FakeLanguages languages = sevenLanguages();
    Settings s = LoadSettings(store, folders, 0, languages);
    s.general.measureUnit = 2;
    s.general.textColour = 0x00123456;
    s.defaultFont = u"Noto Sans Devanagari";
    s.defaultFontSize = u"14";
    s.defaultDictionaries = {u"TA_Tamil", u"HI_Hindi"};
    s.pageDimensions.pageSizeIndex = -1;
    s.pageDimensions.portrait = 0;
    s.shellSortInfo.listHeight = 321;
    s.backupOption.autoSaveMinutes = 99;
    s.backupOption.alwaysBackup = 1;
    s.editOption.undoLevels = 80;
    s.editOption.defaultUnicodeFont = u"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD";
    s.tabbedMode = 0;
    s.keyboardVisibleStatus = 0;
    s.picturePath = temp.str() + "/pics/";
    languages.setSelectedKeyboard(2, 2);
    languages.selectLanguage(3, 2);
    ASSERT_TRUE(SaveSettings(store, s, languages));

    FakeLanguages reloaded = sevenLanguages();
    const Settings back = LoadSettings(store, folders, 0, reloaded);
    EXPECT_EQ(store.removeAllCount(), 1); // only the first run's
    EXPECT_EQ(back.general, s.general);
    EXPECT_EQ(back.defaultFont, s.defaultFont);
    EXPECT_EQ(back.defaultFontSize, s.defaultFontSize);
    EXPECT_EQ(back.defaultDictionaries, s.defaultDictionaries);
    EXPECT_EQ(back.pageDimensions, s.pageDimensions);
    EXPECT_EQ(back.shellSortInfo, s.shellSortInfo);
    EXPECT_EQ(back.backupOption, s.backupOption);
    EXPECT_EQ(back.editOption, s.editOption);
    EXPECT_EQ(back.tabbedMode, 0);
    EXPECT_EQ(back.keyboardVisibleStatus, 0);
    EXPECT_EQ(back.picturePath, s.picturePath);
    EXPECT_TRUE(fs::is_directory(s.picturePath));
    EXPECT_EQ(reloaded.selectedKeyboard(2), 2);
    EXPECT_EQ(reloaded.currentLanguage(), 3);
    EXPECT_EQ(reloaded.previousLanguage(), 2);
}

// One stored value changed from what this build saves, and what the load makes of it.
struct LoadCase {
    const char *name;
    std::vector<int> keyboards; // of the languages the data file offers
    std::function<void(MemorySettingsStore &, const std::string &tempRoot)> change;
    /// `resets`: how often the load wiped the store.
    std::function<void(const Settings &, const FakeLanguages &, int resets, const AppFolders &)>
        check;
};

void PrintTo(const LoadCase &c, std::ostream *os) {
    *os << c.name;
}

void putInt(MemorySettingsStore &store, const char *section, const char *name, int v) {
    store.writeInt(section, name, v);
}

Bytes withInt(Bytes record, std::size_t offset, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
        record.at(offset + i) = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
    return record;
}

const std::vector<LoadCase> loadCases = {
    {"build_319_store_is_wiped",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         putInt(st, rootSection, "BuildVersion", 319);
         General g;
         g.measureUnit = 2;
         st.writeBinary(preferenceSection, "General", g.toBytes());
         putInt(st, languageSection, "DefaultLang", 4);
     },
     [](const Settings &s, const FakeLanguages &l, int resets, const AppFolders &) {
         EXPECT_EQ(resets, 1);
         EXPECT_EQ(s.general.measureUnit, 1);
         EXPECT_EQ(l.currentLanguage(), 0);
         EXPECT_EQ(l.previousLanguage(), 1);
     }},
    {"defined_9_with_7_languages_is_wiped",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         putInt(st, languageSection, "DefinedLang", 9);
         putInt(st, preferenceSection, "TabbedMode", 0);
     },
     [](const Settings &s, const FakeLanguages &, int resets, const AppFolders &) {
         EXPECT_EQ(resets, 1);
         EXPECT_EQ(s.tabbedMode, 1);
         EXPECT_EQ(s.definedLang, 7);
     }},
    {"defined_5_with_7_languages_is_kept",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         putInt(st, languageSection, "DefinedLang", 5);
         putInt(st, languageSection, "Lang1", 1);
     },
     [](const Settings &s, const FakeLanguages &l, int resets, const AppFolders &) {
         EXPECT_EQ(resets, 0);
         EXPECT_EQ(s.definedLang, 7);
         EXPECT_EQ(l.selectedKeyboard(1), 1);
     }},
    {"lang2_5_with_3_keyboards_loads_as_2",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) { putInt(st, languageSection, "Lang2", 5); },
     [](const Settings &, const FakeLanguages &l, int, const AppFolders &) {
         EXPECT_EQ(l.selectedKeyboard(2), 2);
     }},
    {"negative_lang_loads_as_0",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) { putInt(st, languageSection, "Lang1", -3); },
     [](const Settings &, const FakeLanguages &l, int, const AppFolders &) {
         EXPECT_EQ(l.selectedKeyboard(1), 0);
     }},
    {"default_lang_12_with_7_languages_loads_as_6",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         putInt(st, languageSection, "DefaultLang", 12);
         putInt(st, languageSection, "PrevLang", -2);
     },
     [](const Settings &, const FakeLanguages &l, int, const AppFolders &) {
         EXPECT_EQ(l.currentLanguage(), 6);
         EXPECT_EQ(l.previousLanguage(), 0);
     }},
    {"single_language_first_run_has_previous_0",
     {2},
     [](MemorySettingsStore &st, const std::string &) { st.removeAll(); },
     [](const Settings &s, const FakeLanguages &l, int, const AppFolders &) {
         EXPECT_EQ(s.definedLang, 1);
         EXPECT_EQ(l.currentLanguage(), 0);
         EXPECT_EQ(l.previousLanguage(), 0);
     }},
    {"edit_option_of_87_bytes_is_ignored",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         EditOption e;
         e.undoLevels = 60;
         Bytes b = e.toBytes();
         b.pop_back();
         st.writeBinary(preferenceSection, "EditOption", b);
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &) {
         EXPECT_EQ(s.editOption, EditOption{});
     }},
    {"dictionary_accuracy_12_loads_as_4",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         EditOption e;
         e.undoLevels = 60;
         e.dictionaryAccuracy = 12;
         st.writeBinary(preferenceSection, "EditOption", e.toBytes());
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &) {
         EXPECT_EQ(s.editOption.dictionaryAccuracy, 4);
         EXPECT_EQ(s.editOption.undoLevels, 60);
     }},
    {"auto_save_0_loads_as_5_and_name_format_2_as_0",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         BackupOption b;
         b.autoSaveMinutes = 0;
         b.backupNameFormat = 2;
         b.uniqueFileName = 1;
         st.writeBinary(preferenceSection, "BackupOption", b.toBytes());
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &) {
         EXPECT_EQ(s.backupOption.autoSaveMinutes, 5);
         EXPECT_EQ(s.backupOption.backupNameFormat, 0);
         EXPECT_EQ(s.backupOption.uniqueFileName, 1);
     }},
    {"auto_save_99_stays_and_100_loads_as_5",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         BackupOption b;
         b.autoSaveMinutes = 99;
         b.backupNameFormat = 1;
         st.writeBinary(preferenceSection, "BackupOption", b.toBytes());
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &) {
         EXPECT_EQ(s.backupOption.autoSaveMinutes, 99);
         EXPECT_EQ(s.backupOption.backupNameFormat, 1);
         BackupOption b;
         b.autoSaveMinutes = 100;
         b.clamp();
         EXPECT_EQ(b.autoSaveMinutes, 5);
     }},
    {"dictionary_folder_on_missing_parent_reverts",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &root) {
         st.writeString(preferenceSection, "DefaultDictionaryPath",
                        utf8ToUtf16(root + "/no-such-drive/Dictionaries/"));
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &f) {
         EXPECT_EQ(s.defaultDictionaryPath, f.dictionaryPath());
         EXPECT_TRUE(fs::is_directory(f.dictionaryPath()));
     }},
    {"dictionary_folder_on_existing_parent_is_created",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &root) {
         st.writeString(preferenceSection, "DefaultDictionaryPath",
                        utf8ToUtf16(root + "/MyDictionaries"));
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &f) {
         const std::string expected =
             f.programFolder.substr(0, f.programFolder.size() - 5) + "/MyDictionaries/";
         EXPECT_EQ(s.defaultDictionaryPath, expected);
         EXPECT_TRUE(fs::is_directory(expected));
     }},
    {"other_folder_on_missing_parent_is_kept_as_configured",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &root) {
         st.writeString(preferenceSection, "TemplatePath", utf8ToUtf16(root + "/gone/Templates/"));
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &f) {
         EXPECT_NE(s.templatePath, f.templatePath());
         EXPECT_FALSE(fs::exists(s.templatePath));
     }},
    {"records_of_the_wrong_size_or_type_give_defaults",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         General g;
         g.measureUnit = 0;
         Bytes b = g.toBytes();
         b.push_back(0);
         st.writeBinary(preferenceSection, "General", b);
         st.writeBinary(preferenceSection, "PageDimensions", Bytes(51, 0));
         st.writeBinary(preferenceSection, "ShellSortInfo", Bytes{});
         st.writeString(preferenceSection, "BackupOption", u"not binary");
         st.writeString(preferenceSection, "TabbedMode", u"0");
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &) {
         EXPECT_EQ(s.general, General{});
         EXPECT_EQ(s.pageDimensions, PageDimensions{});
         EXPECT_EQ(s.shellSortInfo, ShellSortInfo{});
         EXPECT_EQ(s.backupOption, BackupOption{});
         EXPECT_EQ(s.tabbedMode, 1);
     }},
    {"damaged_dictionary_list_gives_an_empty_list",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         st.writeBinary(dictionariesSection, "DefaultDictionary",
                        Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &) {
         EXPECT_TRUE(s.defaultDictionaries.empty());
     }},
    {"narrow_dictionary_names_are_read",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &) {
         st.writeBinary(dictionariesSection, "DefaultDictionary",
                        Bytes{0x01, 0x00, 0x05, 'T', 'A', '_', 'T', 'a'});
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &) {
         EXPECT_EQ(s.defaultDictionaries, std::vector<std::u16string>{u"TA_Ta"});
     }},
    {"folder_without_trailing_slash_gets_one_and_empty_gives_default",
     {1, 2, 3, 2, 2, 1, 1},
     [](MemorySettingsStore &st, const std::string &root) {
         st.writeString(preferenceSection, "BackupPath", utf8ToUtf16(root + "/Backups"));
         st.writeString(preferenceSection, "DefaultUserPath", u"");
     },
     [](const Settings &s, const FakeLanguages &, int, const AppFolders &f) {
         EXPECT_EQ(s.backupPath.back(), '/');
         EXPECT_TRUE(fs::is_directory(s.backupPath + "Temp"));
         EXPECT_EQ(s.defaultUserPath, f.defaultUserPath());
     }},
};

class SettingsLoad : public SettingsTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(SettingsLoad, FromAStoreWithOneChange) {
    const LoadCase &c = GetParam();
    FakeLanguages writer(c.keyboards);
    MemorySettingsStore store = savedStore(writer);
    const int resetsBefore = store.removeAllCount();
    c.change(store, temp.str());
    FakeLanguages languages(c.keyboards);
    const Settings s = LoadSettings(store, folders, 0, languages);
    c.check(s, languages, store.removeAllCount() - resetsBefore, folders);
    EXPECT_EQ(languages.selections_, 1);
}

INSTANTIATE_TEST_SUITE_P(Edge, SettingsLoad, testing::ValuesIn(loadCases),
                         [](const testing::TestParamInfo<LoadCase> &info) {
                             return std::string(info.param.name);
                         });

// The records' bytes at their defaults, field by field.
TEST(SettingsRecords, DefaultsAreByteExact) {
    EXPECT_EQ(General{}.toBytes(),
              (Bytes{1, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(ShellSortInfo{}.toBytes(),
              (Bytes{0, 0, 0, 0, 1, 0, 0, 0, 200, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(BackupOption{}.toBytes(), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0}));
    EXPECT_EQ(PageDimensions{}.toBytes(),
              (Bytes{1,    0, 0,    0,    0x82, 0x2E, 0,    0,    0xC6, 0x41, 0, 0,    0xA0,
                     0x05, 0, 0,    0xA0, 0x05, 0,    0,    0xA0, 0x05, 0,    0, 0xA0, 0x05,
                     0,    0, 0xA0, 0x05, 0,    0,    0xA0, 0x05, 0,    0,    1, 0,    0,
                     0,    1, 0,    0,    0,    1,    0,    0,    0,    0,    0, 0,    0}));
    const Bytes edit = EditOption{}.toBytes();
    ASSERT_EQ(edit.size(), 88u);
    EXPECT_EQ(Bytes(edit.begin(), edit.begin() + 24),
              (Bytes{1, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0}));
    EXPECT_EQ(edit[24], 'N');
    EXPECT_EQ(edit[25], 0);
    EXPECT_EQ(edit[87], 0);
}

TEST(SettingsRecords, FieldsNotReadAreWrittenWithTheirDefaults) {
    Bytes page(52, 0xAB);
    auto p = PageDimensions::fromBytes(page);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->pageSizeIndex, static_cast<std::int32_t>(0xABABABAB));
    const Bytes back = p->toBytes();
    EXPECT_EQ(withInt(withInt(withInt(withInt(page, 28, 1440), 32, 1440), 40, 1), 48, 0), back);

    Bytes backup(16, 0xAB);
    auto b = BackupOption::fromBytes(backup);
    ASSERT_TRUE(b);
    const Bytes backupBack = b->toBytes();
    for (std::size_t i : {2u, 3u, 9u, 10u, 11u})
        EXPECT_EQ(backupBack[i], 0) << i;
    EXPECT_EQ(backupBack[8], 0xAB);
}

TEST(SettingsRecords, UnicodeFontFieldKeepsItsNulAndCutsAt31Units) {
    EditOption e;
    e.defaultUnicodeFont = std::u16string(40, u'x');
    const Bytes b = e.toBytes();
    ASSERT_EQ(b.size(), 88u);
    auto back = EditOption::fromBytes(b);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->defaultUnicodeFont, std::u16string(31, u'x'));

    Bytes noNul = b;
    for (std::size_t i = 24; i < 88; i += 2) {
        noNul[i] = 'y';
        noNul[i + 1] = 0;
    }
    auto cut = EditOption::fromBytes(noNul);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->defaultUnicodeFont, std::u16string(31, u'y'));
    EXPECT_FALSE(EditOption::fromBytes(Bytes(89, 0)));
}

TEST(SettingsRecords, AutoPulliLooksAtTheLowByteOnly) {
    EditOption e;
    e.autoPulli = 0x100;
    EXPECT_FALSE(e.autoPulliOn());
    e.autoPulli = 0x101;
    EXPECT_TRUE(e.autoPulliOn());
}

} // namespace
} // namespace tarvellite
