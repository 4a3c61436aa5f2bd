#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarvellite::cli {

/// Exit statuses of every subcommand.
inline constexpr int exitOk = 0;
inline constexpr int exitFailed = 1;
inline constexpr int exitUsage = 2;

/// A subcommand of tarvellite-cli. Each one registers itself from its own source file.
struct Command {
    const char *name;
    const char *summary;
    int (*run)(const std::vector<std::string> &args);
};

/// Registers a subcommand; used through a static `Registration` object.
void registerCommand(const Command &command);

struct Registration {
    explicit Registration(const Command &command) { registerCommand(command); }
};

/// The folder of the program's data files (beside the running executable, or the installed
/// share folder), ending with "/".
std::string programFolder();

/// A non-negative decimal number of at most six digits, or nothing.
std::optional<int> parseCount(const std::string &text);

/// Writes "tarvellite-cli COMMAND: WHY" and the command's usage to standard error and returns
/// the usage exit status.
int usageError(const char *command, const std::string &why, const char *usage);

} // namespace tarvellite::cli
