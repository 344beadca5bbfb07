// What an archive holds: its members by their stored names in a tree of folders,
// and what was left out. Each folder keeps only its own entries' names, so memory
// grows with the names' total length however deep a path goes. A catalogue is read
// once from the archive's headers; its text form goes to the cache, so that a later
// opening of the same archive needs no pass at all.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/files/archive_reader.h"
#include "platform/files/folder_index.h"

class ArchiveCatalogue {
 public:
  struct Member {
    std::uint32_t number = 0;  // in the archive's order, from 0
    std::uint64_t size = 0;
    // What the members before it unpack to, as their headers declare: the most that a
    // pass can have to unpack to reach it. UINT64_MAX when some size is not declared.
    std::uint64_t before = 0;
    bool encrypted = false;
    bool too_large = false;  // past the cap on what the archive unpacks to
  };
  // A folder's number; the root's is 0.
  using FolderId = std::uint32_t;
  static constexpr FolderId ROOT = 0;

  ArchiveCatalogue();

  // One header, with the stored names of its path (nothing for a path that is
  // absolute or climbs) and what the headers before it declare; the member added,
  // or null for a folder or what is left out.
  const Member* Add(std::uint32_t number, const MemberHeader& header,
                    const std::optional<std::vector<std::string>>& names, std::uint64_t before);
  void LeaveOut(std::uint32_t count) { left_out_ += count; }
  // The reading ended after count headers: in damage, at the cap on what the archive
  // unpacks to, or at the cap on members.
  void EndDamaged(std::uint32_t count, std::string reason);
  void EndAtCap(std::uint32_t count) { cut_at_cap_ = count; }
  void EndAtMemberCap() { member_cap_reached_ = true; }

  ArchiveAccess access = ArchiveAccess::Serial;

  // Lookups by a path below the root, '/' between names ("" is the root).
  std::optional<FolderId> FolderAt(std::string_view path) const;
  const Member* MemberAt(std::string_view path) const;
  const Member* MemberNumbered(std::uint32_t number) const;
  bool Holds(std::string_view path) const { return NodeAt(path) != nullptr; }
  // A folder's names in byte order, its case-folded index, its depth and its path.
  std::vector<std::string> Names(FolderId folder) const;
  const FolderIndex& Index(FolderId folder) const { return folders_[folder].index; }
  int Depth(FolderId folder) const { return folders_[folder].depth; }
  std::string PathOf(FolderId folder) const;
  std::size_t folder_count() const { return folders_.size(); }
  // Every member, in no set order.
  void ForEachMember(const std::function<void(const Member&)>& visit) const;

  // What the reader should know: members left out, past the caps, damage.
  std::vector<std::string> Notes() const;

  // The text kept in the cache, and the catalogue read back from it; nothing when the
  // text is not one that Text wrote.
  std::string Text() const;
  static std::optional<ArchiveCatalogue> Parse(std::string_view text);

 private:
  struct Node {
    bool folder = false;
    std::uint32_t id = 0;  // into folders_ or members_
  };
  struct Folder {
    FolderId parent = ROOT;
    int depth = 0;
    std::string name;
    std::map<std::string, Node, std::less<>> entries;
    FolderIndex index;
  };
  const Node* NodeAt(std::string_view path) const;
  // The folder that the first count names lead to, made where missing; nothing when a
  // member stands in a folder's place.
  std::optional<FolderId> MakeFolders(const std::vector<std::string>& names, std::size_t count);
  const Member* Put(const std::vector<std::string>& names, const Member& member);

  std::vector<Folder> folders_;
  std::vector<Member> members_;
  std::unordered_map<std::uint32_t, std::size_t> by_number_;  // into members_
  std::uint64_t kept_bytes_ = 0;  // what the members within the cap unpack to
  std::uint32_t left_out_ = 0;
  std::uint32_t beyond_cap_ = 0;
  std::optional<std::uint32_t> cut_at_cap_;  // after how many headers
  bool member_cap_reached_ = false;
  std::optional<std::pair<std::uint32_t, std::string>> damaged_;  // after how many, why
};
