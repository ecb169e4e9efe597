#pragma once
// A large test is read into some hundred thousand small allocations, and on
// the virtual machines the tool runs on, faulting in fresh heap memory 4 KB
// at a time costs as much as reading the file. Before reading a large file
// the heap is grown once by what the test will take, in pages of 2 MB where
// the system offers them. Elsewhere, and for small files, nothing happens.
#include <cstdint>

namespace mirvane {

void PrepareHeapForTest(std::uintmax_t fileBytes);

// The memory the process may still take: what the machine has free, within
// the limits set on the process (ulimit -v, ulimit -d).
std::uintmax_t MemoryAvailable();

} // namespace mirvane
