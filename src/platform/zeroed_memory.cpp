// Zeroed tables on pages of their own.
#include "platform/zeroed_memory.h"

#include <sys/mman.h>

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
