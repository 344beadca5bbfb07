// Large tables that come zeroed from the system. They take fresh pages of their own,
// untouched, so only the pages written are ever committed, where a member initialised
// to zero (or calloc, clearing heap memory that came back) writes every page at start.
#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>

// Under AddressSanitizer large tables come from the heap, whose ends it watches.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool SANITIZED_HEAP = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool SANITIZED_HEAP = true;
#else
inline constexpr bool SANITIZED_HEAP = false;
#endif
#else
inline constexpr bool SANITIZED_HEAP = false;
#endif

// Zeroed pages of their own for bytes (rounded up to whole pages); throws bad_alloc.
void* MapZeroedPages(std::size_t bytes);
void UnmapZeroedPages(void* memory, std::size_t bytes);

template <typename T>
struct UnmapZeroed {
  void operator()(T* table) const { UnmapZeroedPages(table, sizeof(T)); }
};

template <typename T>
using Zeroed = std::unique_ptr<T, UnmapZeroed<T>>;

template <typename T>
Zeroed<T> MakeZeroed() {
  static_assert(std::is_trivial_v<T>, "a table of plain bytes or numbers");
  return Zeroed<T>(static_cast<T*>(MapZeroedPages(sizeof(T))));
}
