// A novel read straight from its archive (ZIP, LZH, 7z and the other formats of
// archive_reader.cpp), without unpacking it anywhere: the members' headers are read
// once into folders of names, and a member's bytes are unpacked when it is opened.
// The novel is the archive's folder that holds the first script: its root, or the
// shallowest folder below that does.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/error_or.h"
#include "platform/files/folder_index.h"
#include "platform/files/regular_file.h"
#include "platform/files/volume.h"

class ArchiveVolume final : public Volume {
 public:
  // The archive at path, or why it is none that the reader can open; what the reader
  // should know about its members (damage, members left out) is added to notes.
  static ErrorOr<std::unique_ptr<ArchiveVolume>, std::string> Open(
      const std::string& path, std::string_view first_script_sjis,
      std::vector<std::string>& notes);

  using Volume::Open;
  FileOr<std::unique_ptr<ByteSource>> Open(const NovelFile& file) override;
  std::vector<std::string> List(const std::string& folder) override;

 protected:
  bool HasEntry(const std::string& path) override;
  std::optional<FoundName> FindOtherwise(const std::string& folder, std::string_view part_sjis,
                                         const std::optional<std::string>& part_utf8) override;
  FileOr<NovelFile> Inspect(NovelFile file) override;

 private:
  struct Member {
    std::size_t number = 0;  // in the archive's order, from 0
    std::uint64_t size = 0;
    bool encrypted = false;
    bool too_large = false;  // past the cap on what the archive unpacks to
  };
  struct Folder {
    std::set<std::string> names;
    FolderIndex index;
  };
  class Catalogue;

  ArchiveVolume(const std::string& real_path, std::shared_ptr<RegularFile> file);
  // The folder that holds the first script, and a note when several equally shallow do.
  std::string NovelFolder(std::string_view first_script_sjis, std::vector<std::string>& notes);
  std::string InArchive(const std::string& path) const;  // below the top to below the root

  std::shared_ptr<RegularFile> file_;
  std::unordered_map<std::string, Member> members_;  // by path below the archive's root
  std::map<std::string, Folder> folders_;            // the same; "" is the root
  std::string top_;                                  // the novel's folder; "" is the root
};
