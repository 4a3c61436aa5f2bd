#pragma once

// Reading and writing whole document files by their kind: the header, the body in RTF or
// plain text, and the legacy-font scan.

#include "core/app/result.h"
#include "core/document/document_header.h"
#include "core/document/file_kind.h"
#include "core/document/legacy_fonts.h"
#include "core/document/output_sink.h"
#include "core/document/rich_text.h"
#include "core/document/rtf_reader.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {

/// A document file as read.
struct LoadedDocument {
    FileKind kind = FileKind::Txt;
    RichDocument document;
    /// The header found (kinds 1 to 4); for other kinds `bodyOffset` is 0 and nothing is set.
    DocumentHeader header;
    /// Legacy TAM/TAB fonts found by the font-table scan (kinds 5 to 7).
    LegacyFontMap legacyFonts;
    bool hasLegacyFonts = false;
    std::vector<ReadWarning> warnings;
};

/// Reads a whole document file whose name is `fileName` and whose bytes are `file`:
/// kinds 1 to 4 skip a header when there is one; kinds 5 to 7 have their font table scanned
/// for legacy fonts; RTF kinds read the body as RTF, the others as plain text. An empty body
/// gives an empty document. An RTF kind whose body is not RTF but plain text (a ".htm" page,
/// a text file named ".rtf") is read as plain text with a warning; binary data, archives and
/// UTF-16 text in an RTF kind fail with the reason and byte offset. A ".tvl", ".tvx" or ".tmp"
/// file whose body is not RTF fails as "not a TarvelLite document".
/// `progress`, when given, is called with the number of bytes of `file` read so far, about
/// once a megabyte, in ascending order: a caller may release the pages behind it.
Result<LoadedDocument> LoadDocumentBody(std::string_view fileName,
                                        std::span<const std::uint8_t> file,
                                        const RtfReadLimits &limits = {},
                                        const ReadProgress &progress = {});

/// One message for the user that names what a read of `fileName` left out or changed, one
/// warning a line; empty when there were no warnings.
std::string ReadWarningsMessage(std::string_view fileName,
                                const std::vector<ReadWarning> &warnings);

/// Tells the user, through `showMessage` with a warning icon, what a read of `fileName` left
/// out or changed; says nothing when there were no warnings.
void ReportReadWarnings(std::string_view fileName, const std::vector<ReadWarning> &warnings);

/// Writes `doc` as a file of the kind of `fileName`: kinds 2 and 4 get the own header with
/// `layout` (and, when given, `recoveryPath`) and then RTF; the other RTF kinds RTF alone;
/// plain-text kinds (including ".tvp") UTF-16LE text without a byte-order mark, CR LF between
/// paragraphs and without pictures. Fails only when `out` fails.
Status StoreDocumentBody(std::string_view fileName, const RichDocument &doc,
                         const PageLayout &layout, OutputSink &out,
                         std::u16string_view recoveryPath = {});

} // namespace tarvellite
