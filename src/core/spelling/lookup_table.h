#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tarvellite {

/// A zeroed array of 64-bit words for a large table read at random places (a hash table, a
/// filter). From a megabyte up it lies in huge pages where the system offers them: the
/// table is then filled with a handful of page faults instead of hundreds, and a lookup costs
/// its cache miss without a walk of the page tables besides.
class LookupTable {
  public:
    /// Replaces the contents with `count` zero words.
    void assign(std::size_t count);
    void clear() {
        words_.reset();
        size_ = 0;
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::uint64_t &operator[](std::size_t i) { return words_[i]; }
    std::uint64_t operator[](std::size_t i) const { return words_[i]; }

  private:
    struct Free {
        void operator()(std::uint64_t *p) const;
    };
    std::unique_ptr<std::uint64_t[], Free> words_;
    std::size_t size_ = 0;
};

} // namespace tarvellite
