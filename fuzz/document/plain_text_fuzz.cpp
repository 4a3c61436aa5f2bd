// The plain-text decoder and the legacy-font scan on arbitrary bytes; decoded text written and
// read again as UTF-16LE keeps its paragraphs, and the streamed writer writes what the
// whole-text encoder does.

#include "core/document/legacy_fonts.h"
#include "core/document/plain_text.h"
#include "core/document/rich_text.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::u16string text = tarvellite::decodePlainText(bytes);
    if (text.size() > 3 * size) // a precomposed letter splits into at most three units
        std::abort();
    tarvellite::LegacyFontMap fonts;
    tarvellite::ScanLegacyFonts(bytes, fonts);
    const auto doc = tarvellite::RichDocument::fromPlainText(text);
    const std::u16string once = doc.plainText(u"\r\n", u"\r\n", true);
    const tarvellite::Bytes saved = tarvellite::encodePlainText(once);
    // The streamed writer gives the same bytes.
    tarvellite::Bytes streamed;
    tarvellite::BytesSink sink(streamed);
    if (!tarvellite::writePlainText(doc, sink) || streamed != saved)
        std::abort();
    const auto again = tarvellite::RichDocument::fromPlainText(tarvellite::decodePlainText(saved));
    if (!once.empty() && once.find(u'\0') == std::u16string::npos &&
        again.paragraphs.size() != doc.paragraphs.size())
        std::abort();
    return 0;
}
