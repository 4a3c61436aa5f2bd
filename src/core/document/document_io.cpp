#include "core/document/document_io.h"

#include "core/app/messages.h"
#include "core/document/plain_text.h"
#include "core/document/rtf_writer.h"

#include <cstring>

namespace tarvellite {

namespace {

bool startsWithRtf(std::span<const std::uint8_t> body) {
    std::size_t i = 0;
    if (body.size() >= 3 && body[0] == 0xEF && body[1] == 0xBB && body[2] == 0xBF)
        i = 3;
    while (i < body.size() &&
           (body[i] == ' ' || body[i] == '\t' || body[i] == '\r' || body[i] == '\n'))
        ++i;
    const std::string_view rest(reinterpret_cast<const char *>(body.data() + i), body.size() - i);
    return rest.starts_with("{\\rtf") || rest.starts_with("{\\urtf");
}

// Text that a user could read: no control bytes other than tab, line feed, form feed and
// carriage return.
bool looksLikeText(std::span<const std::uint8_t> body) {
    for (std::uint8_t b : body)
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f')
            return false;
    return true;
}

} // namespace

Result<LoadedDocument> LoadDocumentBody(std::string_view fileName,
                                        std::span<const std::uint8_t> file,
                                        const RtfReadLimits &limits, const ReadProgress &progress) {
    LoadedDocument loaded;
    loaded.kind = ClassifyFileName(fileName);
    std::size_t bodyOffset = 0;
    if (mayHaveHeader(loaded.kind)) {
        loaded.header = ReadDocumentHeader(file);
        bodyOffset = loaded.header.bodyOffset;
    }
    const std::span<const std::uint8_t> body = file.subspan(bodyOffset);
    if (scansLegacyFonts(loaded.kind))
        loaded.hasLegacyFonts = ScanLegacyFonts(body, loaded.legacyFonts);

    if (isRtfKind(loaded.kind) && !body.empty()) {
        // The program's own kinds are RTF behind an optional header and nothing else.
        if (mayHaveHeader(loaded.kind) && !startsWithRtf(body))
            return Error{"the file is not a TarvelLite document"};
        if (!startsWithRtf(body) && looksLikeText(body)) {
            loaded.document = RichDocument::fromPlainText(decodePlainText(body));
            loaded.warnings.push_back(
                ReadWarning{"the file is not RTF; it was read as plain text", bodyOffset});
            return loaded;
        }
        ReadProgress bodyProgress;
        if (progress)
            bodyProgress = [&progress, bodyOffset](std::size_t done) {
                progress(bodyOffset + done);
            };
        Result<ReadOutcome> rtf = readRtf(body, limits, bodyProgress);
        if (!rtf) {
            Error e = rtf.error();
            if (e.byteOffset != Error::noOffset)
                e.byteOffset += bodyOffset;
            return e;
        }
        loaded.document = std::move(rtf->document);
        loaded.warnings = std::move(rtf->warnings);
        for (ReadWarning &w : loaded.warnings)
            w.byteOffset += bodyOffset;
        return loaded;
    }
    if (!isRtfKind(loaded.kind))
        loaded.document = RichDocument::fromPlainText(decodePlainText(body));
    return loaded;
}

std::string ReadWarningsMessage(std::string_view fileName,
                                const std::vector<ReadWarning> &warnings) {
    if (warnings.empty())
        return {};
    std::string message(fileName);
    message += " was not read exactly as written:";
    for (const ReadWarning &w : warnings) {
        message += "\n- ";
        message += w.message;
    }
    return message;
}

void ReportReadWarnings(std::string_view fileName, const std::vector<ReadWarning> &warnings) {
    if (!warnings.empty())
        showMessage(ReadWarningsMessage(fileName, warnings), MessageIcon::Warning);
}

Status StoreDocumentBody(std::string_view fileName, const RichDocument &doc,
                         const PageLayout &layout, OutputSink &out,
                         std::u16string_view recoveryPath) {
    const FileKind kind = ClassifyFileName(fileName);
    if (writesHeader(kind)) {
        const Bytes header = writeDocumentHeader(layout, recoveryPath);
        if (!out.write(header))
            return Error{"the document header could not be written"};
    }
    if (isRtfKind(kind))
        return writeRtf(doc, out);
    return writePlainText(doc, out);
}

} // namespace tarvellite
