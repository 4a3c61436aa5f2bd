#pragma once

// Reads RTF into a RichDocument. See docs/formats/rtf-support.md for what is kept, what is
// skipped and the limits.

#include "core/app/result.h"
#include "core/document/rich_text.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tarvellite {

/// Something a reader recovered from: the input was read, but not all of it as written.
struct ReadWarning {
    std::string message;
    std::size_t byteOffset = 0;
};

/// Bounds on what an input may make the reader build. Exceeding `maxParagraphs` or `maxRuns`
/// fails the read; groups nested deeper than `maxGroupDepth` are skipped and pictures past
/// `maxPictures` are dropped, each with a warning.
struct RtfReadLimits {
    std::size_t maxGroupDepth = 20000;
    std::size_t maxParagraphs = 4'000'000;
    std::size_t maxRuns = 8'000'000;
    std::size_t maxPictures = 20'000;
};

/// Told how many bytes of the input have been read, about once a megabyte and at the end.
using ReadProgress = std::function<void(std::size_t bytesRead)>;

/// A document that was read, and what the reader recovered from on the way.
struct ReadOutcome {
    RichDocument document;
    std::vector<ReadWarning> warnings;
};

/// Reads one RTF document from `rtf`.
///
/// The input must start with "{\rtf" (leading white space is allowed). Reading stops at the
/// brace that closes the outermost group; anything after it is ignored. A file that ends
/// inside open groups gives the text read so far, with a warning.
///
/// Text in a legacy 8-bit Tamil font (a face name starting with "TAM" or "TAB", any case)
/// keeps its byte values: each byte becomes the Windows-1252 character of that byte whatever
/// the font's character set, so `unitToCp1252` gives the bytes back to the legacy converter.
///
/// Fails, with the byte offset, on input that is not RTF (binary data, a ZIP archive such as a
/// .docx file, UTF-16 text) and when a limit of `limits` that fails the read is exceeded.
/// Nothing is returned from a failed read.
/// `progress`, when given, is told how far the read has come; the reader never looks at the
/// bytes before that point again.
Result<ReadOutcome> readRtf(std::span<const std::uint8_t> rtf, const RtfReadLimits &limits = {},
                            const ReadProgress &progress = {});

} // namespace tarvellite
