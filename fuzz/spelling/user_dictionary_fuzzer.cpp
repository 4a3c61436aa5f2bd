// Reads arbitrary bytes as a user dictionary file; what reads must write back to the same bytes.

#include "core/spelling/dictionary_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tarvellite;
    auto words = readUserDictionaryFile(std::span(data, size));
    if (!words)
        return 0;
    const Bytes again = writeUserDictionaryFile(*words);
    auto back = readUserDictionaryFile(again);
    if (!back || *back != *words)
        std::abort();
    return 0;
}
