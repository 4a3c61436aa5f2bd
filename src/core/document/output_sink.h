#pragma once

#include "core/app/byte_reader.h"

#include <cstdint>
#include <span>

namespace tarvellite {

/// Where a writer puts its bytes: a buffer, a temporary file that is renamed over the
/// document when the save succeeds, a fresh recovery file, or a widget's stream.
class OutputSink {
  public:
    virtual ~OutputSink() = default;
    /// Appends `bytes`; false when the output failed (the writer then stops and fails).
    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
};

/// Appends to a byte buffer.
class BytesSink final : public OutputSink {
  public:
    explicit BytesSink(Bytes &out) : out_(out) {}
    bool write(std::span<const std::uint8_t> bytes) override {
        out_.insert(out_.end(), bytes.begin(), bytes.end());
        return true;
    }

  private:
    Bytes &out_;
};

} // namespace tarvellite
