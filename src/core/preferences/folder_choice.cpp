#include "core/preferences/folder_choice.h"

#include "core/app/folders.h"

#include <filesystem>

namespace tarvellite {

namespace {

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

} // namespace

FolderChoice chooseFolder(const std::string &entered, const std::string &current) {
    std::string path = entered;
    while (!path.empty() && (path.back() == ' ' || path.back() == '\t'))
        path.pop_back();
    if (!path.empty() && withSlash(path) == current)
        return {current, {}};
    if (path.empty())
        return {current, "A folder must be given."};
    if (path.front() != '/')
        return {current, "\"" + path + "\" is not a full path: it must start with \"/\"."};
    path = withSlash(std::filesystem::path(path).lexically_normal().string());
    if (path == current)
        return {current, {}};
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (std::filesystem::exists(folder, ec) && !std::filesystem::is_directory(folder, ec))
        return {current, "\"" + path + "\" is a file, not a folder."};
    switch (createFolder(path)) {
    case FolderOutcome::Created:
    case FolderOutcome::AlreadyThere: return {path, {}};
    case FolderOutcome::ParentMissing:
        return {current, "The folder \"" + folder.parent_path().string() + "\" does not exist."};
    case FolderOutcome::Failed: break;
    }
    return {current, "The folder \"" + path + "\" cannot be created."};
}

} // namespace tarvellite
