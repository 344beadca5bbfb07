// A novel read straight from its archive (ZIP, LZH, 7z and the other formats of
// archive_reader.cpp), without unpacking it anywhere the reader did not ask for: the
// members' headers are read once into a catalogue, and the members are unpacked by
// one pass in the archive's order into the cache, where every later opening of the
// same archive finds them. The novel is the archive's folder that holds the first
// script: its root, or the shallowest folder below that does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/error_or.h"
#include "platform/files/archive_cache.h"
#include "platform/files/archive_catalogue.h"
#include "platform/files/archive_spool.h"
#include "platform/files/regular_file.h"
#include "platform/files/volume.h"

class ArchiveVolume final : public Volume {
 public:
  // The archive at path, or why it is none that the reader can open; what the reader
  // should know about its members (damage, members left out) is added to notes.
  static ErrorOr<std::unique_ptr<ArchiveVolume>, std::string> Open(
      const std::string& path, std::string_view first_script_sjis, std::vector<std::string>& notes);
  ~ArchiveVolume() override;

  using Volume::Open;
  FileOr<std::unique_ptr<ByteSource>> Open(const NovelFile& file) override;
  bool OpensAtOnce(const NovelFile& file) override;
  std::vector<std::string> List(const std::string& folder) override;

 protected:
  bool HasEntry(const std::string& path) override;
  std::optional<FoundName> FindOtherwise(const std::string& folder, std::string_view part_sjis,
                                         const std::optional<std::string>& part_utf8) override;
  FileOr<NovelFile> Inspect(NovelFile file) override;

 private:
  class CatalogueReading;
  using Member = ArchiveCatalogue::Member;

  ArchiveVolume(const std::string& real_path, std::shared_ptr<RegularFile> file,
                std::shared_ptr<ArchiveCache> cache);
  // The folder that holds the first script, and a note when several equally shallow do.
  std::string NovelFolder(std::string_view first_script_sjis, std::vector<std::string>& notes);
  std::string InArchive(const std::string& path) const;  // below the top to below the root
  // The member from the cache, else from a pass of its own, else as the spool leaves it.
  FileOr<std::unique_ptr<ByteSource>> OpenMember(const Member& member);
  FileOr<std::unique_ptr<ByteSource>> ReadDirectly(const Member& member);
  void TellSpoolNotes();

  std::shared_ptr<RegularFile> file_;
  std::shared_ptr<ArchiveCache> cache_;  // none when the cache cannot be used
  ArchiveCatalogue catalogue_;
  std::string top_;  // the novel's folder below the archive's root; "" is the root
  // Why members that the catalogue's own pass unpacked could not be read.
  std::unordered_map<std::uint32_t, std::string> failures_;
  // Members of a 7z archive share their blocks: they are waited for, not read alone.
  bool solid_ = false;
  std::unique_ptr<ArchiveSpool> spool_;  // last: its pass ends before the rest goes
};
