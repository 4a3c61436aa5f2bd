// The RTF reader on arbitrary bytes. Whatever it reads must write and read back: the second
// read succeeds and gives the same document.

#include "core/document/rtf_reader.h"
#include "core/document/rtf_writer.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    tarvellite::RtfReadLimits limits;
    limits.maxParagraphs = 100000;
    limits.maxRuns = 200000;
    const auto first = tarvellite::readRtf(std::span(data, size), limits);
    if (!first)
        return 0;
    const tarvellite::Bytes rtf = tarvellite::writeRtf(first->document);
    const auto second = tarvellite::readRtf(rtf);
    if (!second || !(second->document == first->document))
        std::abort();
    return 0;
}
