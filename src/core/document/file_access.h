#pragma once

// Document files on disk without holding them in memory twice: the input mapped and released
// as a reader passes over it, the output streamed into a temporary file that is renamed over
// the target when it is complete.

#include "core/app/file_io.h"
#include "core/app/result.h"
#include "core/document/output_sink.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

namespace tarvellite {

/// A whole file mapped read-only into memory.
class MappedFile {
  public:
    /// Maps `path`. Fails with the system's reason when it cannot be opened or read, and
    /// without mapping when it is larger than `maxBytes`. An empty file gives empty bytes.
    static Result<MappedFile> open(const std::string &path, std::size_t maxBytes);

    MappedFile() = default;
    MappedFile(MappedFile &&other) noexcept;
    MappedFile &operator=(MappedFile &&other) noexcept;
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;
    ~MappedFile();

    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

    /// Gives the memory of the first `offset` bytes back to the system (whole pages only). The
    /// bytes stay readable: touching them again reads them from the file once more.
    void release(std::size_t offset);

  private:
    const std::uint8_t *data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t released_ = 0;
};

/// A document writer's output into an `AtomicFile` (core/app/file_io.h): a new temporary file
/// beside `path` that `commit()` makes `path`, keeping the replaced file's permissions and
/// symbolic link. A sink destroyed without a successful commit removes its temporary file and
/// leaves `path` as it was.
class AtomicFileSink final : public OutputSink {
  public:
    explicit AtomicFileSink(std::string path) : file_(std::move(path)) {}

    /// Creates the temporary file; writes fail until this has succeeded.
    Status open() { return file_.open(); }
    bool write(std::span<const std::uint8_t> bytes) override { return file_.write(bytes); }
    /// Completes the file. Fails, removing the temporary file, when a write failed before.
    Status commit() { return file_.commit(); }

    AtomicFile &file() { return file_; }

  private:
    AtomicFile file_;
};

/// Writes to an open file descriptor (standard output).
class DescriptorSink final : public OutputSink {
  public:
    explicit DescriptorSink(int fd) : fd_(fd) {}
    bool write(std::span<const std::uint8_t> bytes) override;

  private:
    int fd_;
};

} // namespace tarvellite
