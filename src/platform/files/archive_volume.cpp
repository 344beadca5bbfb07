// An archive's members catalogued into folders, the novel's folder among them, and
// members opened by their number.
#include "platform/files/archive_volume.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/files/archive_member.h"
#include "platform/files/archive_reader.h"
#include "platform/files/read_limits.h"

namespace {

int Depth(const std::string& folder) {
  return folder.empty() ? 0 : 1 + static_cast<int>(std::count(folder.begin(), folder.end(), '/'));
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

// The members of an archive read once, header by header, into its folders; what is
// left out is counted for one note.
class ArchiveVolume::Catalogue {
 public:
  Catalogue(ArchiveVolume& volume, std::vector<std::string>& notes)
      : volume_(volume), notes_(notes) {}

  // Names that are no CP932 (UTF-8 written by a tool that did not say so) are read
  // again byte for byte in a second pass.
  void Read(ArchivePass& pass) {
    volume_.folders_[""];
    std::vector<std::size_t> unread_names;
    ForEachMember(pass, [&](std::size_t number, const MemberHeader& header) {
      if (header.path.empty()) {
        unread_names.push_back(number);
      } else {
        Add(number, header, StoredNames(header.path, true));
      }
    });
    if (!unread_names.empty()) ReadBytewise(unread_names);
    Note();
  }

 private:
  template <typename Visit>
  void ForEachMember(ArchivePass& pass, Visit&& visit) {
    for (std::size_t number = 0;; ++number) {
      auto header = pass.Next();
      if (!header) {
        notes_.push_back("the archive is damaged after " + std::to_string(number) +
                         " members (" + header.error() + "): the reader reads those");
        return;
      }
      if (!*header) return;
      if (number == ARCHIVE_MAX_MEMBERS) {
        notes_.push_back("the archive holds more than " + std::to_string(ARCHIVE_MAX_MEMBERS) +
                         " members: the reader reads the first " +
                         std::to_string(ARCHIVE_MAX_MEMBERS));
        return;
      }
      visit(number, **header);
    }
  }

  void ReadBytewise(const std::vector<std::size_t>& numbers) {
    auto pass = ArchivePass::Begin(volume_.file_, HeaderNames::Latin1);
    std::vector<std::string> ignored_notes;
    std::size_t next = 0;
    if (pass) {
      std::swap(ignored_notes, notes_);  // the first pass told of damage already
      ForEachMember(**pass, [&](std::size_t number, const MemberHeader& header) {
        if (next == numbers.size() || numbers[next] != number) return;
        ++next;
        Add(number, header, StoredNames(Latin1Bytes(header.path), false));
      });
      std::swap(ignored_notes, notes_);
    }
    left_out_ += numbers.size() - next;
  }

  // The bytes of a name read as Latin-1: each character one byte.
  static std::string Latin1Bytes(const std::string& name_utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < name_utf8.size(); ++i) {
      const auto lead = static_cast<unsigned char>(name_utf8[i]);
      if (lead < 0x80 || i + 1 == name_utf8.size()) {
        bytes += static_cast<char>(lead);
      } else {
        const auto trail = static_cast<unsigned char>(name_utf8[++i]);
        bytes += static_cast<char>((lead & 0x03) << 6 | (trail & 0x3F));
      }
    }
    return bytes;
  }

  // The stored names of a member's path ("./" has none), or nothing when it is
  // absolute or climbs. A
  // backslash in a UTF-8 name is a Windows separator; in raw bytes it may be the
  // second byte of a character.
  std::optional<std::vector<std::string>> StoredNames(const std::string& path, bool utf8) {
    const auto separator = [utf8](char c) { return c == '/' || (utf8 && c == '\\'); };
    if (path.empty() || separator(path[0])) return std::nullopt;
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
      if (i < path.size() && !separator(path[i])) continue;
      std::string part = path.substr(start, i - start);
      start = i + 1;
      if (part.empty() || part == ".") continue;
      if (part == "..") return std::nullopt;
      // Stored as the scripts write names, in CP932, where the characters allow it.
      if (utf8) part = volume_.shift_jis().FromUtf8(part).value_or(part);
      names.push_back(std::move(part));
    }
    return names;
  }

  // The folders of the first count names of a path, each entered in its parent.
  std::string AddFolders(const std::vector<std::string>& names, std::size_t count) {
    std::string folder;
    for (std::size_t k = 0; k < count; ++k) {
      Enter(folder, names[k]);
      folder = JoinPath(folder, names[k]);
      volume_.folders_[folder];
    }
    return folder;
  }

  void Enter(const std::string& folder, const std::string& name) {
    Folder& parent = volume_.folders_[folder];
    if (parent.names.insert(name).second) parent.index.Add(name);
  }

  void Add(std::size_t number, const MemberHeader& header,
           const std::optional<std::vector<std::string>>& names) {
    const bool folder = header.kind == MemberHeader::Kind::Folder;
    const bool unusable = !names || header.kind == MemberHeader::Kind::Other ||
                          (!folder && (names->empty() || !header.size));
    if (unusable) {
      ++left_out_;
      return;
    }
    if (folder) {
      AddFolders(*names, names->size());
      return;
    }
    // A member past the cap is known, so that it is told of as too large, not missing.
    const bool too_large = *header.size > ARCHIVE_MAX_UNPACKED_BYTES - unpacked_bytes_;
    if (too_large) {
      ++beyond_cap_;
    } else {
      unpacked_bytes_ += *header.size;
    }
    const std::string parent = AddFolders(*names, names->size() - 1);
    Enter(parent, names->back());
    volume_.members_[JoinPath(parent, names->back())] =
        Member{number, *header.size, header.encrypted, too_large};
  }

  void Note() {
    if (left_out_ > 0) {
      notes_.push_back(std::to_string(left_out_) +
                       " members of the archive are left out: links, devices, members of no "
                       "stated size, or names that lead outside the archive");
    }
    if (beyond_cap_ > 0) {
      notes_.push_back("the archive unpacks to more than " +
                       std::to_string(ARCHIVE_MAX_UNPACKED_BYTES >> 20) + " MiB: " +
                       std::to_string(beyond_cap_) + " members past that are not read");
    }
  }

  ArchiveVolume& volume_;
  std::vector<std::string>& notes_;
  std::uint64_t unpacked_bytes_ = 0;
  std::size_t left_out_ = 0;
  std::size_t beyond_cap_ = 0;
};

ArchiveVolume::ArchiveVolume(const std::string& real_path, std::shared_ptr<RegularFile> file)
    : Volume(real_path, real_path), file_(std::move(file)) {}

ErrorOr<std::unique_ptr<ArchiveVolume>, std::string> ArchiveVolume::Open(
    const std::string& path, std::string_view first_script_sjis,
    std::vector<std::string>& notes) {
  char real[PATH_MAX];
  if (realpath(path.c_str(), real) == nullptr) {
    return "cannot open " + path + ": " + std::strerror(errno);
  }
  std::optional<RegularFile> file = RegularFile::Open(real);
  if (!file) return "cannot read " + path + ": " + std::strerror(errno);
  auto shared = std::make_shared<RegularFile>(std::move(*file));
  if (IsPartOfSplitZip(*shared)) {
    return path + " is one part of a ZIP archive split into several files (.z01, .z02 ... " +
           ".zip): yomu reads only whole archives; zip -s 0 NAME.zip --out whole.zip joins them";
  }
  auto pass = ArchivePass::Begin(shared);
  if (!pass) {
    return path + " is neither a novel folder nor an archive that yomu reads (" + pass.error() +
           ")";
  }
  std::unique_ptr<ArchiveVolume> volume(new ArchiveVolume(real, shared));
  Catalogue(*volume, notes).Read(**pass);
  volume->top_ = volume->NovelFolder(first_script_sjis, notes);
  if (!volume->top_.empty()) {
    volume->MovePlace(std::string(real) + "/" + volume->DisplayName(volume->top_));
  }
  return volume;
}

std::string ArchiveVolume::NovelFolder(std::string_view first_script_sjis,
                                       std::vector<std::string>& notes) {
  std::vector<std::string> holding;  // the shallowest folders that hold the first script
  for (const auto& [folder, contents] : folders_) {
    if (!holding.empty() && Depth(folder) > Depth(holding.front())) continue;
    const std::optional<FoundName> found = FindPart(folder, first_script_sjis);
    if (!found || !members_.contains(JoinPath(folder, found->name))) continue;
    if (!holding.empty() && Depth(folder) < Depth(holding.front())) holding.clear();
    holding.push_back(folder);
  }
  if (holding.empty()) return {};
  if (holding.size() > 1) {
    std::string list;
    for (const std::string& folder : holding) {
      list += (list.empty() ? "" : ", ") + Quoted(DisplayName(folder));
    }
    notes.push_back("the archive holds " + DisplayName(std::string(first_script_sjis)) +
                    " in several folders (" + list + "): the reader reads the one in " +
                    Quoted(DisplayName(holding.front())));
  }
  return holding.front();
}

std::string ArchiveVolume::InArchive(const std::string& path) const {
  return JoinPath(top_, path);
}

bool ArchiveVolume::HasEntry(const std::string& path) {
  const std::string in_archive = InArchive(path);
  return members_.contains(in_archive) || folders_.contains(in_archive);
}

std::optional<FoundName> ArchiveVolume::FindOtherwise(
    const std::string& folder, std::string_view part_sjis,
    const std::optional<std::string>& part_utf8) {
  const auto found = folders_.find(InArchive(folder));
  if (found == folders_.end()) return std::nullopt;
  return found->second.index.Find(NameProbes(part_sjis, part_utf8));
}

FileOr<NovelFile> ArchiveVolume::Inspect(NovelFile file) {
  const std::string in_archive = InArchive(file.path);
  const auto member = members_.find(in_archive);
  if (member == members_.end()) {
    return FileError{folders_.contains(in_archive) ? FileProblem::NotRegularFile
                                                   : FileProblem::NotFound,
                     {}};
  }
  if (member->second.encrypted) return FileError{FileProblem::Encrypted, {}};
  if (member->second.too_large) return FileError{FileProblem::TooLarge, {}};
  file.size = member->second.size;
  return file;
}

FileOr<std::unique_ptr<ByteSource>> ArchiveVolume::Open(const NovelFile& file) {
  const auto member = members_.find(InArchive(file.path));
  if (member == members_.end()) return FileError{FileProblem::NotFound, {}};
  auto opened = ArchiveMember::Open(file_, member->second.number, member->second.size);
  if (!opened) return FileError{FileProblem::Unreadable, opened.error()};
  return std::unique_ptr<ByteSource>(std::move(*opened));
}

std::vector<std::string> ArchiveVolume::List(const std::string& folder) {
  const auto found = folders_.find(InArchive(folder));
  if (found == folders_.end()) return {};
  return {found->second.names.begin(), found->second.names.end()};
}
