#include "cli/LargeHeap.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>

#include <cstdlib>
#endif

namespace mirvane {

namespace {

#if defined(__linux__)
// A field of /proc/meminfo in bytes, or nothing.
bool MemInfo(const char* field, std::uintmax_t& bytes)
{
    std::FILE* f = std::fopen("/proc/meminfo", "r");
    if (!f)
        return false;
    char line[256];
    bool found = false;
    const std::size_t length = std::strlen(field);
    while (!found && std::fgets(line, sizeof line, f)) {
        unsigned long long kb = 0;
        if (std::strncmp(line, field, length) == 0 && line[length] == ':' &&
            std::sscanf(line + length + 1, "%llu", &kb) == 1) {
            bytes = static_cast<std::uintmax_t>(kb) * 1024;
            found = true;
        }
    }
    std::fclose(f);
    return found;
}

// Room left under a limit on the process, given what it uses now.
std::uintmax_t RoomUnder(int resource, std::uintmax_t used)
{
    struct rlimit limit {};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return UINTMAX_MAX;
    const auto most = static_cast<std::uintmax_t>(limit.rlim_cur);
    return most > used ? most - used : 0;
}
#endif

} // namespace

std::uintmax_t MemoryAvailable()
{
#if defined(__linux__)
    std::uintmax_t room = UINTMAX_MAX;
    std::uintmax_t available = 0, swap = 0;
    if (MemInfo("MemAvailable", available)) {
        MemInfo("SwapFree", swap);
        room = available + swap;
    }
    unsigned long long sizePages = 0, residentPages = 0, sharedPages = 0, textPages = 0, libPages = 0,
                       dataPages = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%llu %llu %llu %llu %llu %llu", &sizePages, &residentPages, &sharedPages, &textPages,
                        &libPages, &dataPages) != 6)
            sizePages = dataPages = 0;
        std::fclose(f);
    }
    const auto page = static_cast<std::uintmax_t>(sysconf(_SC_PAGESIZE));
    room = std::min(room, RoomUnder(RLIMIT_AS, sizePages * page));
    room = std::min(room, RoomUnder(RLIMIT_DATA, dataPages * page));
    return room;
#else
    return UINTMAX_MAX;
#endif
}

void PrepareHeapForTest(std::uintmax_t fileBytes)
{
#if defined(__linux__) && defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    constexpr std::uintmax_t kWorthIt = std::uintmax_t{16} << 20;
    constexpr std::uintmax_t kMostExpected = std::uintmax_t{4} << 30;
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    constexpr std::size_t kProbe = 256 * 1024;
    if (fileBytes < kWorthIt)
        return;
    // A test takes some two and a half times its file in memory; the heap
    // never asks for more than the process may still take.
    const auto expected =
        static_cast<std::size_t>(std::min({fileBytes * 3, kMostExpected, MemoryAvailable() / 2}));
    if (expected < kWorthIt)
        return;
    // The probe comes from the heap (not from a mapping of its own), its
    // growth reserves the whole expected size, and freeing it gives nothing
    // back: the heap's top is then all the room the test will need.
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
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
    // and with the advice a touch brings in 2 MB at once. Only what the heap
    // really grew by is advised; a refused advice costs nothing but speed.
    const auto top = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t start = (before + kHugePage - 1) & ~(kHugePage - 1);
    if (top > before && start < top)
        (void)madvise(reinterpret_cast<void*>(start), top - start, MADV_HUGEPAGE);
#else
    (void)fileBytes;
#endif
}

} // namespace mirvane
