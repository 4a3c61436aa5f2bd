#include "core/document/file_kind.h"

#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace tarvellite {

FileKind ClassifyFileName(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    const std::size_t dot = base.rfind('.');
    if (dot == std::string_view::npos)
        return FileKind::Txt;
    std::string ext(base.substr(dot));
    if (ext.size() > 8)
        return FileKind::Txt;
    for (char &c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static constexpr std::array<std::pair<std::string_view, FileKind>, 11> table{{
        {".tvp", FileKind::Tvp},
        {".tvl", FileKind::Tvl},
        {".tvx", FileKind::Tvx},
        {".tmp", FileKind::Tmp},
        {".rtf", FileKind::Rtf},
        {".doc", FileKind::Doc},
        {".docx", FileKind::Doc},
        {".htm", FileKind::Htm},
        {".txt", FileKind::Txt},
        {".ued", FileKind::Ued},
        {".def", FileKind::Def},
    }};
    for (const auto &[e, kind] : table)
        if (ext == e)
            return kind;
    return FileKind::Txt;
}

} // namespace tarvellite
