// One pass over an archive through libarchive: its members' headers in order, and
// the bytes of the member at hand. The archive file is opened once and read by
// position, so that any number of passes share it without sharing a file offset.
// The formats and filters are those listed in archive_reader.cpp; none of them
// runs an outside program or reads a file other than the archive.
#pragma once

#include <locale.h>
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error_or.h"
#include "platform/files/byte_source.h"
#include "platform/files/regular_file.h"

struct archive;
struct LibArchive;

// The extensions of the archives that yomu reads, in lower case.
inline constexpr std::string_view ARCHIVE_EXTENSIONS[] = {".zip", ".lzh", ".lha", ".7z",
                                                          ".rar", ".cab", ".tar", ".tgz"};

// True for a file name with the extension of an archive that yomu reads.
bool IsArchiveName(std::string_view name);
// True for a part of a ZIP archive split into several files (zip -s): the first part
// starts with the split marker, the last part's end record names a later disk.
bool IsPartOfSplitZip(ByteSource& file);

// How names that an archive stores without saying their code page are read.
enum class HeaderNames {
  Cp932,   // as Japanese Windows wrote them
  Latin1,  // byte for byte, each byte a character, for names that are no CP932
};

// How the members of an archive can be reached.
enum class ArchiveAccess {
  Direct,    // by a pass that skips what lies before a member cheaply (ZIP, tar, ISO, LHA)
  Budgeted,  // the same, unless members share a compressed block (7z, solid or not)
  Serial,    // only by unpacking what lies before it (compressed tar, RAR, CAB)
};

struct MemberHeader {
  // The member's path in UTF-8: names stored in Unicode (7z, ZIP with the UTF-8 flag)
  // as they are, the others read as the pass's HeaderNames say; empty when the name
  // does not read so.
  std::string path;
  enum class Kind { RegularFile, Folder, Other } kind = Kind::Other;  // Other: links, devices
  std::optional<std::uint64_t> size;                                  // as the header declares it
  bool encrypted = false;
};

class ArchivePass {
 public:
  // A pass from the archive's start; the reason when libarchive reads no archive there.
  static ErrorOr<std::unique_ptr<ArchivePass>, std::string> Begin(
      std::shared_ptr<RegularFile> file, HeaderNames names = HeaderNames::Cp932);
  ~ArchivePass();
  ArchivePass(const ArchivePass&) = delete;
  ArchivePass& operator=(const ArchivePass&) = delete;

  // The next member's header; nothing at the end of the archive; the reason when the
  // archive is damaged there.
  ErrorOr<std::optional<MemberHeader>, std::string> Next();
  // Bytes of the member at hand from where the last read ended: the count, 0 at its
  // end; the reason when its data are damaged.
  ErrorOr<std::size_t, std::string> ReadData(std::span<std::uint8_t> out);

  // How the archive's members can be reached; known once the first header is read.
  ArchiveAccess Access() const;
  // From now on libarchive may read at most bytes more of the archive file: a read
  // past that fails, and LimitReached tells that it was the limit.
  void LimitReading(std::uint64_t bytes) { read_limit_ = offset_read_ + bytes; }
  void LiftReadingLimit() { read_limit_ = UINT64_MAX; }
  bool LimitReached() const { return limit_reached_; }

 private:
  ArchivePass(const LibArchive& lib, std::shared_ptr<RegularFile> file);
  std::string Reason() const;
  static ssize_t Read(archive*, void* self, const void** block);
  static std::int64_t Skip(archive*, void* self, std::int64_t request);
  static std::int64_t Seek(archive*, void* self, std::int64_t offset, int whence);

  const LibArchive& lib_;  // loaded once for the process
  std::shared_ptr<RegularFile> file_;
  archive* archive_ = nullptr;
  locale_t utf8_;  // made once: making a locale reads the system's locale files
  std::uint64_t offset_ = 0;
  std::uint64_t offset_read_ = 0;  // bytes of the file read so far, wherever they lay
  std::uint64_t read_limit_ = UINT64_MAX;
  bool limit_reached_ = false;
  std::vector<std::uint8_t> block_;
  std::size_t block_size_;  // grows while reads run on, from a small one after a seek
};
