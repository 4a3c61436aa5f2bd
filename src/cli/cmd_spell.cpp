// tarvellite-cli spell -a: checks text against a dictionary, speaking the ispell pipe protocol
// (tarvellite-ispell runs the same pipe under the name editors expect).

#include "cli/command.h"
#include "cli/ispell_pipe.h"

namespace tarvellite::cli {

namespace {

int runSpell(const std::vector<std::string> &args) {
    return runIspell(args, "tarvellite-cli spell");
}

const Registration registration{
    {"spell", "check text against a dictionary (ispell pipe mode, -a)", runSpell}};

} // namespace

} // namespace tarvellite::cli
