#include "core/app/settings.h"

#include "core/app/archive.h"
#include "core/app/file_io.h"
#include "core/app/unicode.h"
#include "core/app/version.h"

#include <algorithm>
#include <string>

namespace tarvellite {

namespace {

/// `value` if it is below `limit`, else `limit` - 1; never below 0.
int clampIndex(int value, int limit) {
    if (value >= limit)
        value = limit - 1;
    return std::max(value, 0);
}

std::string folderSetting(SettingsStore &store, const char *name, const std::string &fallback) {
    auto value = store.readString(preferenceSection, name);
    if (!value || value->empty())
        return fallback;
    return withTrailingSlash(utf16ToUtf8(*value));
}

template <class Record> Record readRecord(SettingsStore &store, const char *name) {
    if (auto bytes = store.readBinary(preferenceSection, name))
        if (auto record = Record::fromBytes(*bytes))
            return *record;
    return Record{};
}

void writeFolder(SettingsStore &store, const char *name, const std::string &path) {
    store.writeString(preferenceSection, name, utf8ToUtf16(path));
}

std::string langName(int i) {
    return "Lang" + std::to_string(i);
}

} // namespace

Settings Settings::defaults(const AppFolders &folders, int legacyFontFlag) {
    Settings s;
    s.defaultFont = legacyFontFlag == 1 ? u"Akshar Unicode" : u"Arial";
    s.defaultUserPath = folders.defaultUserPath();
    s.picturePath = folders.picturePath();
    s.templatePath = folders.templatePath();
    s.backupPath = folders.backupPath();
    s.defaultDictionaryPath = folders.dictionaryPath();
    s.userDictionaryPath = folders.userDictionaryPath();
    return s;
}

Settings LoadSettings(SettingsStore &store, const AppFolders &folders, int legacyFontFlag,
                      LanguageState &languages) {
    const int languageCount = languages.languageCount();

    // 1. The reset rule.
    const std::int32_t storedBuild = store.readInt(rootSection, "BuildVersion").value_or(-1);
    const std::int32_t storedDefined = store.readInt(languageSection, "DefinedLang").value_or(0);
    if (storedBuild != buildVersion || languageCount < storedDefined)
        store.removeAll();

    Settings s = Settings::defaults(folders, legacyFontFlag);
    s.applicationLook = readApplicationLook(store);

    // 2–4. General, the texts, the dictionary list, the page.
    s.general = readRecord<General>(store, "General");
    s.defaultFont = store.readString(preferenceSection, "DefaultFont").value_or(s.defaultFont);
    s.defaultFontSize =
        store.readString(preferenceSection, "DefaultFontSize").value_or(s.defaultFontSize);
    s.helpLanguage = store.readString(preferenceSection, "HelpLanguage").value_or(s.helpLanguage);
    s.menuLanguage = store.readString(preferenceSection, "MenuLanguage").value_or(s.menuLanguage);
    s.messageLanguage =
        store.readString(preferenceSection, "MessageLanguage").value_or(s.messageLanguage);
    if (auto list = store.readBinary(dictionariesSection, "DefaultDictionary"))
        if (auto decoded = decodeStringList(*list); decoded.ok())
            s.defaultDictionaries = std::move(decoded).value();
    s.pageDimensions = readRecord<PageDimensions>(store, "PageDimensions");

    // 5. Languages.
    s.definedLang = languageCount;
    if (languageCount > 0) {
        if (!store.readInt(languageSection, "DefinedLang")) {
            languages.selectLanguage(0, clampIndex(1, languageCount));
        } else {
            for (int i = 0; i < languageCount; ++i) {
                const int stored = store.readInt(languageSection, langName(i)).value_or(0);
                languages.setSelectedKeyboard(i,
                                              clampIndex(stored, languages.keyboardsInLanguage(i)));
            }
            const int current = clampIndex(
                store.readInt(languageSection, "DefaultLang").value_or(0), languageCount);
            const int previous =
                clampIndex(store.readInt(languageSection, "PrevLang").value_or(1), languageCount);
            languages.selectLanguage(current, previous);
        }
    }

    // 6. Folders.
    s.defaultUserPath = folderSetting(store, "DefaultUserPath", s.defaultUserPath);
    s.picturePath = folderSetting(store, "PicturePath", s.picturePath);
    s.templatePath = folderSetting(store, "TemplatePath", s.templatePath);
    s.backupPath = folderSetting(store, "BackupPath", s.backupPath);
    s.defaultDictionaryPath =
        folderSetting(store, "DefaultDictionaryPath", s.defaultDictionaryPath);
    s.userDictionaryPath = folderSetting(store, "UserDictionaryPath", s.userDictionaryPath);

    // 7. The explorer and the backups.
    s.shellSortInfo = readRecord<ShellSortInfo>(store, "ShellSortInfo");
    s.backupOption = readRecord<BackupOption>(store, "BackupOption");

    // 8. Create the folders; failures are left for later file operations to report.
    createFolder(s.defaultUserPath);
    createFolder(s.picturePath);
    createFolder(s.templatePath);
    createFolder(s.backupPath);
    if (createFolder(s.defaultDictionaryPath) == FolderOutcome::ParentMissing)
        s.defaultDictionaryPath = folders.dictionaryPath();
    createFolder(s.userDictionaryPath);
    if (const FolderOutcome temp = createFolder(s.temporaryFolder());
        temp == FolderOutcome::Created || temp == FolderOutcome::AlreadyThere)
        hideInFolder(s.backupPath, "Temp");

    // 9–11.
    s.backupOption.clamp();
    s.editOption = readRecord<EditOption>(store, "EditOption");
    s.editOption.clamp();
    s.tabbedMode = store.readInt(preferenceSection, "TabbedMode").value_or(s.tabbedMode);
    s.keyboardVisibleStatus =
        store.readInt(preferenceSection, "KeyboardVisibleStatus").value_or(s.keyboardVisibleStatus);
    return s;
}

bool SaveSettings(SettingsStore &store, const Settings &s, const LanguageState &languages) {
    store.writeInt(rootSection, "AppVersion", appVersion);
    store.writeInt(rootSection, "BuildVersion", buildVersion);

    const int languageCount = languages.languageCount();
    store.writeInt(languageSection, "DefinedLang", s.definedLang);
    for (int i = 0; i < s.definedLang && i < languageCount; ++i)
        store.writeInt(languageSection, langName(i), languages.selectedKeyboard(i));
    store.writeInt(languageSection, "DefaultLang", std::max(languages.currentLanguage(), 0));
    store.writeInt(languageSection, "PrevLang", std::max(languages.previousLanguage(), 0));

    store.writeBinary(preferenceSection, "General", s.general.toBytes());
    store.writeString(preferenceSection, "HelpLanguage", s.helpLanguage);
    store.writeString(preferenceSection, "MenuLanguage", s.menuLanguage);
    store.writeString(preferenceSection, "MessageLanguage", s.messageLanguage);
    store.writeString(preferenceSection, "DefaultFont", s.defaultFont);
    store.writeString(preferenceSection, "DefaultFontSize", s.defaultFontSize);

    store.writeBinary(dictionariesSection, "DefaultDictionary",
                      encodeStringList(s.defaultDictionaries));

    store.writeBinary(preferenceSection, "PageDimensions", s.pageDimensions.toBytes());
    store.writeString(preferenceSection, "DefaultFont", s.defaultFont);
    store.writeString(preferenceSection, "DefaultFontSize", s.defaultFontSize);
    writeFolder(store, "DefaultUserPath", s.defaultUserPath);
    writeFolder(store, "PicturePath", s.picturePath);
    writeFolder(store, "TemplatePath", s.templatePath);
    writeFolder(store, "BackupPath", s.backupPath);
    writeFolder(store, "DefaultDictionaryPath", s.defaultDictionaryPath);
    writeFolder(store, "UserDictionaryPath", s.userDictionaryPath);
    store.writeBinary(preferenceSection, "ShellSortInfo", s.shellSortInfo.toBytes());
    store.writeBinary(preferenceSection, "BackupOption", s.backupOption.toBytes());
    store.writeBinary(preferenceSection, "EditOption", s.editOption.toBytes());
    store.writeInt(preferenceSection, "TabbedMode", s.tabbedMode);
    store.writeInt(preferenceSection, "KeyboardVisibleStatus", s.keyboardVisibleStatus);
    return store.flush();
}

std::int32_t readApplicationLook(SettingsStore &store) {
    return store.readInt(rootSection, "ApplicationLook").value_or(defaultApplicationLook);
}

void writeApplicationLook(SettingsStore &store, std::int32_t look) {
    store.writeInt(rootSection, "ApplicationLook", look);
}

} // namespace tarvellite
