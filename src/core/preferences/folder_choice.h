#pragma once

#include <string>

namespace tarvellite {

/// What became of a folder typed in the preferences.
struct FolderChoice {
    /// The folder to store, ending with "/": the new one, or `current` when it was refused.
    std::string path;
    /// Why the typed folder was refused; empty when it was taken or nothing changed.
    std::string refusal;
};

/// Takes the folder typed as `entered` in place of `current`: an absolute path of a folder that
/// exists, or whose parent exists so that it can be created now (one level). An empty or relative
/// entry, a file, or a folder that cannot be made keeps `current` and says why.
FolderChoice chooseFolder(const std::string &entered, const std::string &current);

} // namespace tarvellite
