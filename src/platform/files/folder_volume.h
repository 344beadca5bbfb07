// A novel in a folder on disk. Every file is opened below the folder, so that no
// name and no symbolic link leads the reader to a file outside it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error_or.h"
#include "platform/files/folder_index.h"
#include "platform/files/regular_file.h"
#include "platform/files/volume.h"

class FolderVolume final : public Volume {
 public:
  // The folder at path, or why it cannot be read as one.
  static ErrorOr<std::unique_ptr<FolderVolume>, std::string> Open(const std::string& path);

  using Volume::Open;
  FileOr<std::unique_ptr<ByteSource>> Open(const NovelFile& file) override;
  std::optional<std::string> HostPathForWriting(std::string_view name_sjis) override;
  std::vector<std::string> List(const std::string& folder) override;
  // As Find, with every folder on the way indexed when a part is not stored as
  // written: the index knows the names that extractors mangled, and once one such
  // name is found every folder is indexed so. The novel's opening finds its first
  // script this way.
  FileOr<NovelFile> FindIndexing(std::string_view name_sjis);

 protected:
  bool HasEntry(const std::string& path) override;
  std::optional<FoundName> FindOtherwise(const std::string& folder, std::string_view part_sjis,
                                         const std::optional<std::string>& part_utf8) override;
  FileOr<NovelFile> Inspect(NovelFile file) override;

 private:
  FolderVolume(std::string real_path, FileDescriptor top);
  // The descriptor of path below the top, opened with flags; -1 and errno EXDEV when
  // the path or a link on it leads outside.
  int OpenBelow(const std::string& path, int flags);

  FileDescriptor top_;  // the novel's folder
  FolderIndexes indexes_;
  bool build_indexes_ = false;  // set while FindIndexing walks
  bool mangled_ = false;        // a name was found in an extractor's form
};
