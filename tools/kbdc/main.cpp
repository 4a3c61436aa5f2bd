// kbdc: compiles the layout sources into the keyboard data file.
//   kbdc MANIFEST OUTPUT

#include "core/app/file_io.h"
#include "layout_source.h"

#include <cstdio>

int main(int argc, char **argv) {
    using namespace tarvellite;
    if (argc != 3) {
        std::fprintf(stderr, "usage: kbdc MANIFEST OUTPUT\n");
        return 2;
    }
    Result<KeyboardTables> tables = compileLayouts(argv[1]);
    if (!tables) {
        std::fprintf(stderr, "kbdc: %s\n", tables.error().describe().c_str());
        return 1;
    }
    const Bytes bytes = serializeKeyboardData(*tables);
    // The file must read back exactly as compiled.
    if (Result<KeyboardTables> check = parseKeyboardData(bytes); !check) {
        std::fprintf(stderr, "kbdc: the compiled file does not load: %s\n",
                     check.error().describe().c_str());
        return 1;
    }
    if (Status s = writeFileAtomically(argv[2], bytes); !s) {
        std::fprintf(stderr, "kbdc: %s\n", s.error().message.c_str());
        return 1;
    }
    return 0;
}
