// Zeroed tables on pages of their own.
#include "platform/zeroed_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <new>

void* MapZeroedPages(std::size_t bytes) {
  if constexpr (SANITIZED_HEAP) {
    void* memory = std::calloc(bytes, 1);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
  }
  void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  return mapped;
}

void UnmapZeroedPages(void* memory, std::size_t bytes) {
  if constexpr (SANITIZED_HEAP) {
    std::free(memory);
  } else {
    munmap(memory, bytes);
  }
}

void CommitPages(void* start, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto first = reinterpret_cast<std::uintptr_t>(start);
  const std::uintptr_t aligned = first / page * page;
  madvise(reinterpret_cast<void*>(aligned), first + bytes - aligned, MADV_POPULATE_WRITE);
#else
  (void)start;
  (void)bytes;
#endif
}
