// The calls that the reader makes of libarchive, found in the library when the first
// archive is opened: a novel read from a folder never loads it, nor what it links
// (ICU, libxml2, nettle and the compressors).
#pragma once

#include <archive.h>
#include <archive_entry.h>

#include <string>

#include "platform/error_or.h"

// Each call once: the table of pointers and its loading are made from this list.
// clang-format off
#define LIBARCHIVE_CALLS(CALL)               \
  CALL(archive_read_new)                     \
  CALL(archive_read_free)                    \
  CALL(archive_read_set_options)             \
  CALL(archive_read_set_callback_data)       \
  CALL(archive_read_set_read_callback)       \
  CALL(archive_read_set_skip_callback)       \
  CALL(archive_read_set_seek_callback)       \
  CALL(archive_read_open1)                   \
  CALL(archive_error_string)                 \
  CALL(archive_format)                       \
  CALL(archive_filter_count)                 \
  CALL(archive_filter_code)                  \
  CALL(archive_read_next_header)             \
  CALL(archive_read_data)                    \
  CALL(archive_entry_pathname_utf8)          \
  CALL(archive_entry_hardlink)               \
  CALL(archive_entry_filetype)               \
  CALL(archive_entry_size_is_set)            \
  CALL(archive_entry_size)                   \
  CALL(archive_entry_is_encrypted)           \
  CALL(archive_read_support_format_zip)      \
  CALL(archive_read_support_format_lha)      \
  CALL(archive_read_support_format_7zip)     \
  CALL(archive_read_support_format_rar)      \
  CALL(archive_read_support_format_rar5)     \
  CALL(archive_read_support_format_cab)      \
  CALL(archive_read_support_format_tar)      \
  CALL(archive_read_support_format_iso9660)  \
  CALL(archive_read_support_filter_gzip)     \
  CALL(archive_read_support_filter_bzip2)    \
  CALL(archive_read_support_filter_xz)       \
  CALL(archive_read_support_filter_lzma)     \
  CALL(archive_read_support_filter_lzip)     \
  CALL(archive_read_support_filter_zstd)     \
  CALL(archive_read_support_filter_compress)
// clang-format on

struct LibArchive {
#define LIBARCHIVE_POINTER(name) decltype(&::name) name = nullptr;
  LIBARCHIVE_CALLS(LIBARCHIVE_POINTER)
#undef LIBARCHIVE_POINTER
};

// The library's calls, loaded at the first use and kept; the reason when it does not
// load or lacks one of them.
const ErrorOr<LibArchive, std::string>& LoadLibArchive();
