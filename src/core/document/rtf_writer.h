#pragma once

// Writes a RichDocument as RTF that this program's reader and other word processors read back
// with the same text and formats. See docs/formats/rtf-support.md.

#include "core/app/result.h"
#include "core/document/output_sink.h"
#include "core/document/rich_text.h"

namespace tarvellite {

/// Writes `doc` to `out`: a font table with character sets, a colour table, a list table for
/// bullets and numbering, one group per run, non-ASCII text as \uN with a Windows-1252
/// fallback (runs in a legacy TAM/TAB font as their bytes), pictures as \pngblip, \jpegblip,
/// \dibitmap, \emfblip or \wmetafile. Fails only when `out` fails.
Status writeRtf(const RichDocument &doc, OutputSink &out);

/// The same into a new buffer.
Bytes writeRtf(const RichDocument &doc);

} // namespace tarvellite
