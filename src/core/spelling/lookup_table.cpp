#include "core/spelling/lookup_table.h"

#include <cstdlib>
#include <cstring>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace tarvellite {

namespace {
constexpr std::size_t hugePage = std::size_t(2) << 20;
} // namespace

void LookupTable::Free::operator()(std::uint64_t *p) const {
    std::free(p);
}

void LookupTable::assign(std::size_t count) {
    clear();
    if (count == 0)
        return;
    const std::size_t bytes = count * sizeof(std::uint64_t);
    void *p = nullptr;
#ifdef MADV_HUGEPAGE
    // Whole huge pages: what is left of the last one is a small price.
    if (bytes >= hugePage / 2) {
        const std::size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
        p = std::aligned_alloc(hugePage, rounded);
        if (p)
            madvise(p, rounded, MADV_HUGEPAGE);
    }
#endif
    if (!p)
        p = std::malloc(bytes);
    if (!p)
        throw std::bad_alloc();
    std::memset(p, 0, bytes);
    words_.reset(static_cast<std::uint64_t *>(p));
    size_ = count;
}

} // namespace tarvellite
