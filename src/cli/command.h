#pragma once

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

/// The folder the running executable lies in, ending with "/".
std::string programFolder();

} // namespace tarvellite::cli
