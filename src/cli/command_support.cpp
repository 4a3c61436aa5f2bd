// Helpers shared by the command-line programs.

#include "cli/command.h"
#include "core/app/folders.h"

#include <cstdio>
#include <unistd.h>

namespace tarvellite::cli {

std::string programFolder() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "./";
    std::string path(buf, static_cast<std::size_t>(n));
    return programDataFolder(path.substr(0, path.rfind('/') + 1)) + "/";
}

std::optional<int> parseCount(const std::string &text) {
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

int usageError(const char *command, const std::string &why, const char *usage) {
    std::fprintf(stderr, "tarvellite-cli %s: %s\n%s", command, why.c_str(), usage);
    return exitUsage;
}

} // namespace tarvellite::cli
