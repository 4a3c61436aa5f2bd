#pragma once

#include "core/app/byte_reader.h"
#include "core/app/result.h"

#include <cstddef>
#include <string>

namespace tarvellite {

/// Reads a whole file. Fails with the system's reason when it cannot be opened or read, and
/// without reading when the file is larger than `maxBytes`.
Result<Bytes> readWholeFile(const std::string &path, std::size_t maxBytes);

/// Whether `path` names an existing regular file (or a link to one).
bool fileExists(const std::string &path);

/// Writes `data` to `path` through a temporary file in the same folder and a rename, so that a
/// failure leaves any earlier file whole.
Status writeFileAtomically(const std::string &path, std::span<const std::uint8_t> data);

/// Appends "/" unless `folder` is empty or already ends with one.
std::string withTrailingSlash(std::string folder);

} // namespace tarvellite
