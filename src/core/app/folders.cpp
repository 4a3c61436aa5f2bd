#include "core/app/folders.h"

#include "core/app/file_io.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tarvellite {

namespace fs = std::filesystem;

namespace {

fs::path withoutTrailingSlash(const std::string &path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return fs::path(p);
}

} // namespace

std::string programDataFolder(const std::string &executableFolder) {
    const fs::path here = withoutTrailingSlash(executableFolder);
    std::error_code ec;
    if (fs::is_regular_file(here / "Kbdentry.dat", ec))
        return here.string();
    const fs::path shared = here.parent_path() / "share" / "tarvellite";
    if (fs::is_regular_file(shared / "Kbdentry.dat", ec))
        return shared.lexically_normal().string();
    return here.string();
}

AppFolders computeFolders(std::string programFolder, const std::string &userDocumentsFolder) {
    while (programFolder.size() > 1 && programFolder.back() == '/')
        programFolder.pop_back();
    AppFolders folders;
    folders.programFolder = std::move(programFolder);
    folders.documentsBase = withTrailingSlash(userDocumentsFolder) + "Orvani Software/";
    return folders;
}

FolderOutcome createFolder(const std::string &path) {
    if (path.empty())
        return FolderOutcome::Failed;
    const fs::path folder = withoutTrailingSlash(path);
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return FolderOutcome::AlreadyThere;
    const fs::path parent = folder.parent_path();
    if (!parent.empty() && !fs::is_directory(parent, ec))
        return FolderOutcome::ParentMissing;
    if (fs::create_directory(folder, ec))
        return FolderOutcome::Created;
    return fs::is_directory(folder, ec) ? FolderOutcome::AlreadyThere : FolderOutcome::Failed;
}

bool createFolderPath(const std::string &path) {
    if (path.empty())
        return false;
    const fs::path folder = withoutTrailingSlash(path);
    std::error_code ec;
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

bool hideInFolder(const std::string &folder, const std::string &name) {
    const fs::path list = withoutTrailingSlash(folder) / ".hidden";
    std::string content;
    {
        std::ifstream in(list, std::ios::binary);
        if (in) {
            std::ostringstream buffer;
            buffer << in.rdbuf();
            content = buffer.str();
        }
    }
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);)
        if (line == name)
            return true;
    if (!content.empty() && content.back() != '\n')
        content += '\n';
    content += name + '\n';
    const std::span<const std::uint8_t> bytes(
        reinterpret_cast<const std::uint8_t *>(content.data()), content.size());
    return writeFileAtomically(list.string(), bytes).ok();
}

} // namespace tarvellite
