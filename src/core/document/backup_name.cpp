#include "core/document/backup_name.h"

#include <cstdio>

namespace tarvellite {

std::string backupFileName(const std::string &documentPath, const BackupNaming &naming,
                           const LocalTime &now, unsigned uniqueNumber,
                           const std::function<bool(const std::string &)> &exists) {
    const std::size_t slash = documentPath.find_last_of('/');
    const std::string name =
        slash == std::string::npos ? documentPath : documentPath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot > 0;
    const std::string stem = hasExtension ? name.substr(0, dot) : name;
    const std::string extension = hasExtension ? name.substr(dot) : std::string();
    char suffix[64];
    if (!naming.uniqueFileName)
        std::snprintf(suffix, sizeof suffix, "(copy)");
    else if (naming.nameFormat == 1)
        std::snprintf(suffix, sizeof suffix, "%d%d%d%d%d%d", now.year, now.month, now.day, now.hour,
                      now.minute, now.second);
    else
        std::snprintf(suffix, sizeof suffix, "%X", uniqueNumber);
    std::string candidate = stem + suffix + extension;
    for (int n = 2; exists && exists(candidate) && n < 10000; ++n)
        candidate = stem + suffix + "-" + std::to_string(n) + extension;
    return candidate;
}

} // namespace tarvellite
