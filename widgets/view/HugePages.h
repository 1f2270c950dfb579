// HugePages: advice for a large block that is about to be filled. Fresh memory costs a
// page fault per 4 KiB page, and on a virtual machine each fault is dear: a block of a
// million rows would spend most of its filling in the kernel.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace lindrel::widgets {

// Asks for huge pages under the 2 MiB-aligned part of [begin, begin + bytes). Only advice:
// nothing changes where the system declines.
inline void AdviseHugePages(void* begin, std::size_t bytes) {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  const auto start = reinterpret_cast<std::uintptr_t>(begin);
  const std::uintptr_t first = (start + kHugePage - 1) / kHugePage * kHugePage;
  const std::uintptr_t last = (start + bytes) / kHugePage * kHugePage;
  if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace lindrel::widgets
