#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <variant>

namespace tarvellite {

/// Why a read or an operation failed. `byteOffset` is where a binary reader stopped, or
/// `noOffset`; `line` is the 1-based line of a text reader, or 0.
struct Error {
    static constexpr std::size_t noOffset = std::numeric_limits<std::size_t>::max();

    std::string message;
    std::size_t byteOffset = noOffset;
    int line = 0;

    /// "message (at byte 12)" / "message (line 3)" / "message".
    std::string describe() const {
        if (byteOffset != noOffset)
            return message + " (at byte " + std::to_string(byteOffset) + ")";
        if (line > 0)
            return message + " (line " + std::to_string(line) + ")";
        return message;
    }
};

/// A value or the error that prevented it. Readers return this; nothing throws across it.
template <class T> class Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T &value() & { return std::get<0>(state_); }
    const T &value() const & { return std::get<0>(state_); }
    T &&value() && { return std::get<0>(std::move(state_)); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }
    T &operator*() { return value(); }
    const T &operator*() const { return value(); }

    const Error &error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

/// Success or an error, for operations without a value.
class Status {
  public:
    Status() = default;
    Status(Error error) : error_(std::move(error)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error &error() const { return error_; }

  private:
    Error error_;
    bool failed_ = false;
};

} // namespace tarvellite
