#include "HugePageHeap.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kelvane::ctl {

#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)

namespace {

constexpr std::uintptr_t hugePageSize = std::uintptr_t{2} << 20;

std::uintptr_t programBreak() {
    return reinterpret_cast<std::uintptr_t>(::sbrk(0));
}

} // namespace

void useHugePagesForHeap() {
    // Blocks up to glibc's largest threshold come from the one heap rather than from mappings
    // of their own; the heap grows by far more than asked each time and is never trimmed, so
    // that the advice below covers all it will use. The growth is address space only: pages
    // count once written.
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
    ::mallopt(M_TOP_PAD, 256 << 20);
    const std::uintptr_t start = programBreak();
    void* volatile growth = std::malloc(1 << 20); // volatile: kept from being optimized away
    std::free(growth);
    const std::uintptr_t end = programBreak();

    const std::uintptr_t first = (start + hugePageSize - 1) & ~(hugePageSize - 1);
    const std::uintptr_t last = end & ~(hugePageSize - 1);
    // Only advice: where the kernel declines, the heap fills page by page as before.
    if (first < last)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

#else

void useHugePagesForHeap() {}

#endif

} // namespace kelvane::ctl
