// The archives read before, as their passes unpacked them: one folder an archive in
// the user's cache, $XDG_CACHE_HOME/yomu/archives/KEY/ (KEY as the per-user folders'),
// private to the user. It holds the archive's identity (real path, size, time, inode),
// its catalogue, and one file a member, named by the member's number. A file gets its
// name only once it is whole, so a killed run leaves only ".part" files, which the
// next writer removes. Every reader of the folder holds a shared lock on it; one of
// them at a time writes into it; a folder that no reader holds may be removed, the
// least recently read first, to keep all folders within the cache's size.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/error_or.h"
#include "platform/files/regular_file.h"

// The cache's size when settings.conf does not say, and the setting that does.
constexpr std::uint64_t ARCHIVE_CACHE_DEFAULT_MIB = 4096;
constexpr std::string_view ARCHIVE_CACHE_SETTING = "archive-cache-mib";

class ArchiveCache {
 public:
  // The folder of the archive whose real path and status are given, taken for this
  // reader: made, or emptied when it holds another version of the archive. Nothing
  // and an empty reason when the settings turn the cache off; nothing and why when
  // it cannot be used.
  static ErrorOr<std::unique_ptr<ArchiveCache>, std::string> Take(const std::string& real_path,
                                                                  const struct stat& archive);
  ~ArchiveCache();
  ArchiveCache(const ArchiveCache&) = delete;
  ArchiveCache& operator=(const ArchiveCache&) = delete;

  const std::string& path() const { return path_; }
  // Whether this reader writes into the folder; another reader of the same archive may.
  bool writer() const { return writer_.has_value(); }

  // The catalogue that a first reading kept, and keeping it.
  std::optional<std::string> Catalogue() const;
  void KeepCatalogue(std::string_view text);

  // Member number, whole at its size; nothing when it is not there (yet).
  std::optional<RegularFile> Member(std::uint32_t number, std::uint64_t size) const;
  // The numbers of the members there, in one look at the folder.
  std::unordered_set<std::uint32_t> Members() const;

  // A member being written: blocks of zeros become holes, so that an archive of
  // zeros takes no room; the file gets its name at Commit, and is removed otherwise.
  class Writer {
   public:
    Writer(Writer&& other) noexcept;
    Writer& operator=(Writer&&) = delete;
    ~Writer();
    // Why not, when the bytes cannot be written (the disk is full).
    ErrorOr<void, SystemError> Append(std::span<const std::uint8_t> bytes);
    ErrorOr<void, SystemError> Commit();

   private:
    friend class ArchiveCache;
    Writer(int folder, std::uint32_t number, FileDescriptor file);
    int folder_;
    std::string name_;
    FileDescriptor file_;
    std::uint64_t size_ = 0;
  };
  // Room for a member of size bytes, made by removing the folders of the archives
  // read least recently; why not when the cache cannot hold it.
  ErrorOr<Writer, std::string> Write(std::uint32_t number, std::uint64_t size);

 private:
  ArchiveCache(std::string root, std::string path, FileDescriptor folder, FileDescriptor lock,
               std::uint64_t limit);
  // Empties the folder of another version's files; false when another reader holds it.
  bool Renew(const std::string& identity);
  void BecomeWriter();
  // The bytes that every archive's folder holds, and the room they leave.
  std::uint64_t Used() const;

  std::string root_;  // .../yomu/archives
  std::string path_;  // root_/KEY
  FileDescriptor folder_;
  FileDescriptor lock_;                   // shared while this reader reads the folder
  std::optional<FileDescriptor> writer_;  // held alone while this reader writes into it
  std::uint64_t limit_;                   // bytes that all folders may hold
  std::optional<std::uint64_t> used_;     // counted at the first write
};
