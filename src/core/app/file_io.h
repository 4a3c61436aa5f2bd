#pragma once

#include "core/app/byte_reader.h"
#include "core/app/result.h"

#include <cstddef>
#include <span>
#include <string>

namespace tarvellite {

/// Reads a whole file. Fails with the system's reason when it cannot be opened or read, and
/// without reading when the file is larger than `maxBytes`.
Result<Bytes> readWholeFile(const std::string &path, std::size_t maxBytes);

/// Whether `path` names an existing regular file (or a link to one).
bool fileExists(const std::string &path);

/// A file written whole or not at all.
///
/// `open` creates a temporary file in the target's folder; `write` appends to it; `commit`
/// flushes it to the disk, renames it over the target and flushes the folder, so that after a
/// crash at any moment the target is either the earlier file or the new one, complete. A file
/// destroyed (or a `commit` that fails) removes the temporary file and leaves the target as it
/// was, byte for byte.
///
/// The new file keeps the permissions (and, where allowed, the owner) of the file it replaces;
/// a new file gets the usual permissions less the umask. When the target is a symbolic link,
/// the file it points to is replaced and the link stays.
class AtomicFile {
  public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    /// Creates the temporary file. Writes fail until this has succeeded.
    Status open();
    /// Appends `bytes`; false once any write has failed (the reason comes from `commit`).
    bool write(std::span<const std::uint8_t> bytes);
    /// Completes the file. Fails, removing the temporary file, when a write failed before or
    /// the flush or the rename fails.
    Status commit();
    /// Whether a write has failed (`commit` then gives the reason).
    bool writeFailed() const { return error_ != 0; }

    /// The file being replaced (the link's target when the path named a symbolic link).
    const std::string &target() const { return target_; }
    /// The temporary file, while it exists.
    const std::string &temporary() const { return temporary_; }

  private:
    void discard();

    std::string path_;
    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    int error_ = 0;
    std::size_t written_ = 0;
    std::size_t flushedUpTo_ = 0;
};

/// Writes `data` to `path` through an `AtomicFile`.
Status writeFileAtomically(const std::string &path, std::span<const std::uint8_t> data);

/// The user's words for a failed write of `path` whose system error is `err`: a full disk and
/// an exceeded quota or size limit are named as such.
std::string writeFailureReason(int err);

/// Appends "/" unless `folder` is empty or already ends with one.
std::string withTrailingSlash(std::string folder);

} // namespace tarvellite
