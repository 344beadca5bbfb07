// Pixel memory: zeroed, and committed a page at a time as pixels are first written.
// calloc gives fresh pages of the system untouched (where a vector writes every
// one). Each fresh 4 KB page costs a fault when first touched; a bitmap of 2 MB or
// more (the page surface) is mapped so that its first 2 MB can be one huge page,
// where the kernel gives them on request: one fault in place of 512.
#include "platform/gdi/bitmap.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/zeroed_memory.h"

namespace {

constexpr std::size_t HUGE_PAGE = std::size_t{2} << 20;

// Under AddressSanitizer every bitmap comes from the heap, whose ends it watches.
bool Mapped(std::size_t bytes) { return !SANITIZED_HEAP && bytes >= HUGE_PAGE; }

}  // namespace

std::uint32_t* MapPixels(std::size_t bytes) {
  if (!Mapped(bytes)) {
    void* pixels = std::calloc(bytes, 1);
    if (pixels == nullptr) throw std::bad_alloc();
    return static_cast<std::uint32_t*>(pixels);
  }
  // A mapping a huge page longer than asked, its ends cut so that it starts on one.
  const std::size_t length = bytes + HUGE_PAGE;
  void* mapped = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  auto* const start = static_cast<char*>(mapped);
  const std::size_t head =
      (HUGE_PAGE - reinterpret_cast<std::uintptr_t>(start) % HUGE_PAGE) % HUGE_PAGE;
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const std::size_t kept = (bytes + page - 1) / page * page;
  if (head != 0) munmap(start, head);
  munmap(start + head + kept, length - head - kept);
  madvise(start + head, HUGE_PAGE, MADV_HUGEPAGE);
  return reinterpret_cast<std::uint32_t*>(start + head);
}

void UnmapPixels(std::uint32_t* pixels, std::size_t bytes) {
  if (!Mapped(bytes)) {
    std::free(pixels);
  } else {
    munmap(pixels, bytes);
  }
}
