#include "cli/LargeHeap.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#endif

namespace mirvane {

void PrepareHeapForTest(std::uintmax_t fileBytes)
{
#if defined(__linux__) && defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    constexpr std::uintmax_t kWorthIt = std::uintmax_t{16} << 20;
    constexpr std::uintmax_t kMostExpected = std::uintmax_t{4} << 30;
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    constexpr std::size_t kProbe = 256 * 1024;
    if (fileBytes < kWorthIt)
        return;
    // A test takes some two and a half times its file in memory.
    const auto expected = static_cast<std::size_t>(std::min(fileBytes * 3, kMostExpected));
    // The probe comes from the heap (not from a mapping of its own), its
    // growth reserves the whole expected size, and freeing it gives nothing
    // back: the heap's top is then all the room the test will need.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kProbe * 2));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(std::min<std::size_t>(expected * 2, 0x7fffffff)));
    mallopt(M_TOP_PAD, static_cast<int>(std::min<std::size_t>(expected, 0x7fffffff)));
    // Written to, so that the pair is not optimised away.
    auto* probe = static_cast<volatile char*>(std::malloc(kProbe));
    if (probe)
        probe[0] = 0;
    std::free(const_cast<char*>(probe));
    mallopt(M_TOP_PAD, 128 * 1024); // later growth as usual
    // The room is only reserved: a page becomes resident when first touched,
    // and with the advice a touch brings in 2 MB at once.
    const auto top = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t start = (top - expected + kHugePage - 1) & ~(kHugePage - 1);
    if (start < top)
        madvise(reinterpret_cast<void*>(start), top - start, MADV_HUGEPAGE);
#else
    (void)fileBytes;
#endif
}

} // namespace mirvane
