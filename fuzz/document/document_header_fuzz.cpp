// Document headers and whole-file loading by kind on arbitrary bytes.

#include "core/document/document_header.h"
#include "core/document/document_io.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const tarvellite::DocumentHeader h = tarvellite::ReadDocumentHeader(bytes);
    if (h.bodyOffset > size)
        std::abort();
    for (const char *name : {"a.tvp", "a.tmp"})
        (void)tarvellite::LoadDocumentBody(name, bytes);
    return 0;
}
