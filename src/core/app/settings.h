#pragma once

#include "core/app/folders.h"
#include "core/app/settings_records.h"
#include "core/app/settings_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvellite {

/// Sections of the settings store.
inline constexpr const char *rootSection = "";
inline constexpr const char *languageSection = "Language";
inline constexpr const char *preferenceSection = "Preference";
inline constexpr const char *dictionariesSection = "DefaultDictionaries";

/// The window look the program starts with (the blue 2007 look).
inline constexpr std::int32_t defaultApplicationLook = 215;

/// The languages as the settings see them: how many there are, each one's selected keyboard,
/// and the current and previous language. The keyboard tables and the input context stand
/// behind it in the program (see keyboard_language_state.h); tests use a small fake.
class LanguageState {
  public:
    virtual ~LanguageState() = default;
    virtual int languageCount() const = 0;
    virtual int keyboardsInLanguage(int language) const = 0;
    /// Relative index of the language's selected keyboard.
    virtual int selectedKeyboard(int language) const = 0;
    virtual void setSelectedKeyboard(int language, int keyboard) = 0;
    /// Makes `language` current with its selected keyboard; `previous` becomes the target of
    /// the toggle-language key.
    virtual void selectLanguage(int language, int previous) = 0;
    /// -1 before any language was selected.
    virtual int currentLanguage() const = 0;
    virtual int previousLanguage() const = 0;
};

/// Every setting in memory. Read once at start-up, written once when the main window closes;
/// the preferences edit these copies in between. Folder paths are UTF-8 and end with "/".
struct Settings {
    std::int32_t applicationLook = defaultApplicationLook;
    /// The number of languages whose `Lang%d` values are stored.
    std::int32_t definedLang = 0;

    General general;
    std::u16string helpLanguage = u"English";
    std::u16string menuLanguage = u"English";
    std::u16string messageLanguage = u"English";
    /// Face and point size (as text) of new documents.
    std::u16string defaultFont = u"Arial";
    std::u16string defaultFontSize = u"12";
    /// The per-language choice list of dictionary names.
    std::vector<std::u16string> defaultDictionaries;
    PageDimensions pageDimensions;

    std::string defaultUserPath;
    std::string picturePath;
    std::string templatePath;
    std::string backupPath;
    std::string defaultDictionaryPath;
    std::string userDictionaryPath;

    ShellSortInfo shellSortInfo;
    BackupOption backupOption;
    EditOption editOption;
    /// 1: documents as tabs; 0: overlapping windows.
    std::int32_t tabbedMode = 1;
    /// Kept and written back; nothing else uses it.
    std::int32_t keyboardVisibleStatus = 1;

    /// Where backups keep their temporary and recovery files.
    std::string temporaryFolder() const { return backupPath + "Temp/"; }

    /// Every value at its default. `legacyFontFlag` 1 makes the default font "Akshar Unicode",
    /// 0 "Arial".
    static Settings defaults(const AppFolders &folders, int legacyFontFlag);
};

/// Reads every setting from `store`, in a fixed order:
///
/// 1. A store of another build, or one with more languages than `languages` knows, is wiped
///    (`removeAll`), so every value comes back at its default.
/// 2. Missing values and binary values of the wrong size give their defaults; out-of-range
///    numbers are clamped.
/// 3. Each language's selected keyboard is set from `Lang%d` and the current and previous
///    language are selected through `languages`.
/// 4. The folders are created (one level each; existing ones are fine). A dictionary folder
///    whose parent is missing reverts to the program's "DictionaryFiles" folder. The backup
///    folder gets a "Temp" folder, hidden.
Settings LoadSettings(SettingsStore &store, const AppFolders &folders, int legacyFontFlag,
                      LanguageState &languages);

/// Writes every setting to `store` in a fixed order, the languages from `languages`, and
/// flushes. False when the store could not be written.
bool SaveSettings(SettingsStore &store, const Settings &settings, const LanguageState &languages);

/// The window look as stored (read at start-up before anything else), or its default.
std::int32_t readApplicationLook(SettingsStore &store);
/// Stores the window look at once (when the user changes it).
void writeApplicationLook(SettingsStore &store, std::int32_t look);

} // namespace tarvellite
