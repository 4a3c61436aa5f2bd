// tarvellite-ispell: the ispell pipe over our dictionaries, for editors that run an ispell
// program (set it as the editor's ispell or spell-checker program).

#include "cli/ispell_pipe.h"

#include <string>
#include <vector>

int main(int argc, char **argv) {
    return tarvellite::cli::runIspell(std::vector<std::string>(argv + 1, argv + argc),
                                      "tarvellite-ispell");
}
