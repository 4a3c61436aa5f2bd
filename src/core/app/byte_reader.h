#pragma once

#include "core/app/result.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvellite {

using Bytes = std::vector<std::uint8_t>;

/// Bounds-checked little-endian reader over untrusted bytes.
///
/// Every read checks the bytes that remain before it touches them. The first failure is sticky:
/// later reads fail too and leave their outputs untouched, so a parser can read a whole record
/// and check `failed()` once. The error names the offset of the read that failed.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return failed_ ? 0 : data_.size() - offset_; }
    bool failed() const { return failed_; }
    const Error &error() const { return error_; }

    bool u8(std::uint8_t &out) { return readLE(out); }
    bool u16(std::uint16_t &out) { return readLE(out); }
    bool u32(std::uint32_t &out) { return readLE(out); }
    bool u64(std::uint64_t &out) { return readLE(out); }
    bool i32(std::int32_t &out) {
        std::uint32_t v;
        if (!readLE(v))
            return false;
        out = static_cast<std::int32_t>(v);
        return true;
    }
    bool i64(std::int64_t &out) {
        std::uint64_t v;
        if (!readLE(v))
            return false;
        out = static_cast<std::int64_t>(v);
        return true;
    }

    /// A view of the next `count` bytes, advancing past them.
    bool bytes(std::size_t count, std::span<const std::uint8_t> &out) {
        if (!require(count))
            return false;
        out = data_.subspan(offset_, count);
        offset_ += count;
        return true;
    }

    bool skip(std::size_t count) {
        if (!require(count))
            return false;
        offset_ += count;
        return true;
    }

    /// Marks the read as failed at the current offset with a reason of the caller's.
    bool fail(std::string reason) { return failAt(std::move(reason), offset_); }

    /// Marks the read as failed at `byteOffset` (for example where a bad length prefix began).
    bool failAt(std::string reason, std::size_t byteOffset) {
        if (!failed_) {
            failed_ = true;
            error_ = Error{std::move(reason), byteOffset};
        }
        return false;
    }

  private:
    bool require(std::size_t count) {
        if (failed_)
            return false;
        if (count > data_.size() - offset_)
            return fail("unexpected end of data: " + std::to_string(count) + " bytes needed, " +
                        std::to_string(data_.size() - offset_) + " left");
        return true;
    }

    template <class T> bool readLE(T &out) {
        if (!require(sizeof(T)))
            return false;
        T v = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            v |= static_cast<T>(static_cast<T>(data_[offset_ + i]) << (8 * i));
        offset_ += sizeof(T);
        out = v;
        return true;
    }

    std::span<const std::uint8_t> data_;
    std::size_t offset_ = 0;
    bool failed_ = false;
    Error error_;
};

/// Little-endian writer into a growing byte buffer.
class ByteWriter {
  public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) { putLE(v); }
    void u32(std::uint32_t v) { putLE(v); }
    void u64(std::uint64_t v) { putLE(v); }
    void i32(std::int32_t v) { putLE(static_cast<std::uint32_t>(v)); }
    void i64(std::int64_t v) { putLE(static_cast<std::uint64_t>(v)); }
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void bytes(std::span<const std::uint8_t> data) {
        bytes_.insert(bytes_.end(), data.begin(), data.end());
    }

    /// Writes `units` as UTF-16LE into a field of `fieldBytes`, NUL-padded; longer text is cut so
    /// that the field keeps its terminating NUL.
    void fixedUtf16(std::u16string_view units, std::size_t fieldBytes) {
        const std::size_t maxUnits = fieldBytes / 2 - 1;
        const std::size_t n = units.size() < maxUnits ? units.size() : maxUnits;
        for (std::size_t i = 0; i < n; ++i)
            u16(units[i]);
        zeros(fieldBytes - 2 * n);
    }

    std::size_t size() const { return bytes_.size(); }
    const Bytes &data() const { return bytes_; }
    Bytes take() { return std::move(bytes_); }

  private:
    template <class T> void putLE(T v) {
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }

    Bytes bytes_;
};

} // namespace tarvellite
