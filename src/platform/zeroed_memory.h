// Large surfaces that come zeroed from the system. They take fresh pages of their own,
// untouched, so only the pages written are ever committed, where memory cleared to
// zero (or calloc, clearing heap memory that came back) writes every page at start.
#pragma once

#include <cstddef>

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
