#pragma once

#include <string>

namespace tarvellite {

/// The program's folders. Folder paths end with "/" except `programFolder`.
struct AppFolders {
    /// Folder of the executable, without a trailing "/".
    std::string programFolder;
    /// The user's documents folder + "Orvani Software/".
    std::string documentsBase;

    /// Belongs to the program update function.
    std::string updateFolder() const { return documentsBase + "Upgrade/"; }

    // Defaults of the folder settings.
    std::string defaultUserPath() const { return documentsBase + "TarvelLite Docs/"; }
    std::string picturePath() const { return documentsBase + "Pictures/"; }
    std::string templatePath() const { return documentsBase + "Templates/"; }
    std::string backupPath() const { return documentsBase + "Backup/"; }
    std::string userDictionaryPath() const { return documentsBase + "UserDictionary/"; }
    std::string dictionaryPath() const { return programFolder + "/DictionaryFiles/"; }
};

/// Where the program's data files (the keyboard data, "DictionaryFiles") are for an executable
/// in `executableFolder`: beside it when the keyboard data is there (a build tree, a folder
/// copied as a whole), else in "../share/tarvellite" when it is there (an installation), else
/// beside it. No trailing "/".
std::string programDataFolder(const std::string &executableFolder);

/// The folders for an executable in `programFolder` and a user whose documents folder is
/// `userDocumentsFolder` (with or without a trailing "/").
AppFolders computeFolders(std::string programFolder, const std::string &userDocumentsFolder);

/// What creating one folder came to.
enum class FolderOutcome { Created, AlreadyThere, ParentMissing, Failed };

/// Creates the last level of `path` only (its parent must exist), as the settings' folders are
/// created. A trailing "/" is allowed.
FolderOutcome createFolder(const std::string &path);

/// Creates `path` with every missing parent. True when it exists afterwards.
bool createFolderPath(const std::string &path);

/// Hides `name` in `folder` the way file managers on Linux understand: its name is listed in the
/// folder's ".hidden" file (added once). True when the name is listed afterwards.
bool hideInFolder(const std::string &folder, const std::string &name);

} // namespace tarvellite
