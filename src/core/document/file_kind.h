#pragma once

#include <string_view>

namespace tarvellite {

/// Document kind, chosen from a file name's extension alone, never from the content.
enum class FileKind : int {
    Tvp = 1, ///< ".tvp": optional header, plain-text body
    Tvl = 2, ///< ".tvl": own header, RTF body
    Tvx = 3, ///< ".tvx": optional header, RTF body written without a header
    Tmp = 4, ///< ".tmp": recovery file, own header with the protected path, RTF body
    Rtf = 5, ///< ".rtf"
    Doc = 6, ///< ".doc", ".docx", handed to the RTF reader
    Htm = 7, ///< ".htm", handed to the RTF reader
    Txt = 8, ///< ".txt" and every extension not listed
    Ued = 9, ///< ".ued", plain text
    Def = 10 ///< ".def", plain text
};

/// The kind of `name` by the extension of its file-name part: the text from the last full stop
/// after the last "/" or "\\", compared without regard to case. Names without an extension are
/// kind 8.
FileKind ClassifyFileName(std::string_view name);

/// Kinds 2 to 7: the body is RTF.
inline bool isRtfKind(FileKind k) {
    return k >= FileKind::Tvl && k <= FileKind::Htm;
}
/// Kinds 1 to 4: the body may follow a header.
inline bool mayHaveHeader(FileKind k) {
    return k >= FileKind::Tvp && k <= FileKind::Tmp;
}
/// Kinds 5 to 7: the font table is scanned for legacy TAM/TAB fonts.
inline bool scansLegacyFonts(FileKind k) {
    return k >= FileKind::Rtf && k <= FileKind::Htm;
}
/// Kinds 2 and 4: written with the own header in front of the RTF body.
inline bool writesHeader(FileKind k) {
    return k == FileKind::Tvl || k == FileKind::Tmp;
}

} // namespace tarvellite
