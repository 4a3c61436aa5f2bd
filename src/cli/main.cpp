// tarvellite-cli: the command-line face of the core (typing, dictionaries, conversions).

#include "cli/command.h"
#include "core/app/messages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace tarvellite::cli {

namespace {

std::vector<Command> &commands() {
    static std::vector<Command> list;
    return list;
}

void usage(std::FILE *out) {
    std::fprintf(out, "usage: tarvellite-cli COMMAND [OPTIONS] ...\n\ncommands:\n");
    std::vector<Command> sorted = commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command &a, const Command &b) { return std::strcmp(a.name, b.name) < 0; });
    for (const Command &c : sorted)
        std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
    std::fprintf(out, "\n'tarvellite-cli COMMAND --help' tells more.\n");
}

} // namespace

void registerCommand(const Command &command) {
    commands().push_back(command);
}

} // namespace tarvellite::cli

int main(int argc, char **argv) {
    using namespace tarvellite::cli;
    if (argc < 2) {
        usage(stderr);
        return exitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        usage(stdout);
        return exitOk;
    }
    for (const Command &c : commands()) {
        if (name == c.name)
            return c.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "tarvellite-cli: unknown command \"%s\"\n", name.c_str());
    usage(stderr);
    return exitUsage;
}
