// Fuzzes the legacy Tamil converter and its word walker. The first byte chooses TAM or TAB and
// a chunk size; the rest is legacy text. Checks that the conversion stays within its bounds,
// that a document's characters convert like the bytes they stand for, and that the streaming
// walker gives the same text as the walker over the whole.

#include "core/legacy/legacy_converter.h"
#include "core/legacy/legacy_words.h"

using namespace tarvellite;

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool isTab = (data[0] & 1) != 0;
    const std::size_t chunk = 1 + (data[0] >> 1);
    const std::string_view bytes(reinterpret_cast<const char *>(data + 1), size - 1);

    std::u16string whole;
    appendLegacyBytes(bytes, isTab, whole);
    if (whole.size() > 4 * bytes.size())
        std::abort();

    // The same bytes as raw-valued characters of a document.
    std::u16string units(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        units[i] = static_cast<unsigned char>(bytes[i]);
    std::u16string fromText;
    if (ConvertLegacyText(units, isTab, fromText) != static_cast<std::int32_t>(fromText.size()) ||
        fromText != whole)
        std::abort();

    const std::u16string words = convertLegacyWords(bytes, isTab);
    if (words.size() > 4 * bytes.size() ||
        convertLegacyWords(std::u16string_view(units), isTab) != words)
        std::abort();

    LegacyWordStream stream(isTab);
    std::u16string streamed;
    for (std::size_t at = 0; at < bytes.size(); at += chunk)
        stream.feed(bytes.substr(at, chunk), streamed);
    stream.finish(streamed);
    if (streamed != words)
        std::abort();
    return 0;
}
