// The tree of an archive's names, its caps and notes, and its text form in the cache.
#include "platform/files/archive_catalogue.h"

#include <algorithm>
#include <charconv>

#include "platform/files/read_limits.h"
#include "platform/files/volume.h"

namespace {

constexpr std::string_view TEXT_HEADER = "yomu archive catalogue 1";
constexpr std::string_view ACCESS_WORDS[] = {"direct", "budgeted", "serial"};

// Bytes that would break a line or a field, and '%' itself, as %XX.
std::string Escaped(std::string_view text) {
  static constexpr char HEX[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F || byte == '%') {
      escaped += '%';
      escaped += HEX[byte >> 4];
      escaped += HEX[byte & 0xF];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      bytes += text[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= text.size()) return std::nullopt;
    const auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
    if (error != std::errc() || end != text.data() + i + 3) return std::nullopt;
    bytes += static_cast<char>(value);
    i += 2;
  }
  return bytes;
}

// The fields of a line, split at single blanks.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  while (true) {
    const std::size_t blank = line.find(' ');
    fields.push_back(line.substr(0, blank));
    if (blank == std::string_view::npos) return fields;
    line.remove_prefix(blank + 1);
  }
}

template <typename Number>
std::optional<Number> NumberOf(std::string_view field) {
  Number value{};
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

// A stored path's names; nothing when one is empty, "." or "..", which no catalogue holds.
std::optional<std::vector<std::string>> PathNames(std::string_view escaped) {
  std::optional<std::string> path = Unescaped(escaped);
  if (!path || path->empty()) return std::nullopt;
  std::vector<std::string> names;
  for (std::string_view rest = *path;;) {
    const std::size_t slash = rest.find('/');
    const std::string_view name = rest.substr(0, slash);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    names.emplace_back(name);
    if (slash == std::string_view::npos) return names;
    rest.remove_prefix(slash + 1);
  }
}

}  // namespace

ArchiveCatalogue::ArchiveCatalogue() { folders_.emplace_back(); }

const ArchiveCatalogue::Member* ArchiveCatalogue::Add(
    std::uint32_t number, const MemberHeader& header,
    const std::optional<std::vector<std::string>>& names, std::uint64_t before) {
  const std::optional<std::uint64_t>& size = header.size;
  const bool folder = header.kind == MemberHeader::Kind::Folder;
  const bool unusable = !names || header.kind == MemberHeader::Kind::Other ||
                        names->size() > ARCHIVE_MAX_NAME_DEPTH ||
                        (!folder && (names->empty() || !size));
  if (unusable) {
    ++left_out_;
    return nullptr;
  }
  if (folder) {
    if (!MakeFolders(*names, names->size())) ++left_out_;
    return nullptr;
  }
  // A member past the cap is known, so that it is told of as too large, not missing.
  const bool too_large = *size > ARCHIVE_MAX_UNPACKED_BYTES - kept_bytes_;
  if (too_large) {
    ++beyond_cap_;
  } else {
    kept_bytes_ += *size;
  }
  return Put(*names, Member{number, *size, before, header.encrypted, too_large});
}

void ArchiveCatalogue::EndDamaged(std::uint32_t count, std::string reason) {
  damaged_.emplace(count, std::move(reason));
}

std::optional<ArchiveCatalogue::FolderId> ArchiveCatalogue::MakeFolders(
    const std::vector<std::string>& names, std::size_t count) {
  FolderId folder = ROOT;
  for (std::size_t k = 0; k < count; ++k) {
    const auto found = folders_[folder].entries.find(names[k]);
    if (found != folders_[folder].entries.end()) {
      if (!found->second.folder) return std::nullopt;
      folder = found->second.id;
      continue;
    }
    const auto id = static_cast<FolderId>(folders_.size());
    folders_.push_back(Folder{folder, folders_[folder].depth + 1, names[k], {}, {}});
    folders_[folder].entries.emplace(names[k], Node{true, id});
    folders_[folder].index.Add(names[k]);
    folder = id;
  }
  return folder;
}

const ArchiveCatalogue::Member* ArchiveCatalogue::Put(const std::vector<std::string>& names,
                                                      const Member& member) {
  const std::optional<FolderId> parent = MakeFolders(names, names.size() - 1);
  if (!parent) {
    ++left_out_;
    return nullptr;
  }
  Folder& folder = folders_[*parent];
  const auto found = folder.entries.find(names.back());
  if (found == folder.entries.end()) {
    folder.entries.emplace(names.back(), Node{false, static_cast<std::uint32_t>(members_.size())});
    folder.index.Add(names.back());
    members_.push_back(member);
    by_number_.emplace(member.number, members_.size() - 1);
    return &members_.back();
  }
  if (found->second.folder) {
    ++left_out_;
    return nullptr;
  }
  // A later member of the same name replaces it, as tar does.
  by_number_.erase(members_[found->second.id].number);
  by_number_.emplace(member.number, found->second.id);
  members_[found->second.id] = member;
  return &members_[found->second.id];
}

const ArchiveCatalogue::Node* ArchiveCatalogue::NodeAt(std::string_view path) const {
  static constexpr Node ROOT_NODE{true, ROOT};
  const Node* node = &ROOT_NODE;
  while (!path.empty()) {
    if (!node->folder) return nullptr;
    const std::size_t slash = path.find('/');
    const auto& entries = folders_[node->id].entries;
    const auto found = entries.find(path.substr(0, slash));
    if (found == entries.end()) return nullptr;
    node = &found->second;
    path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
  }
  return node;
}

std::optional<ArchiveCatalogue::FolderId> ArchiveCatalogue::FolderAt(std::string_view path) const {
  const Node* node = NodeAt(path);
  if (node == nullptr || !node->folder) return std::nullopt;
  return node->id;
}

const ArchiveCatalogue::Member* ArchiveCatalogue::MemberNumbered(std::uint32_t number) const {
  const auto found = by_number_.find(number);
  return found == by_number_.end() ? nullptr : &members_[found->second];
}

const ArchiveCatalogue::Member* ArchiveCatalogue::MemberAt(std::string_view path) const {
  const Node* node = path.empty() ? nullptr : NodeAt(path);
  if (node == nullptr || node->folder) return nullptr;
  return &members_[node->id];
}

std::vector<std::string> ArchiveCatalogue::Names(FolderId folder) const {
  std::vector<std::string> names;
  for (const auto& entry : folders_[folder].entries) names.push_back(entry.first);
  return names;
}

std::string ArchiveCatalogue::PathOf(FolderId folder) const {
  std::vector<const std::string*> names;
  for (; folder != ROOT; folder = folders_[folder].parent) names.push_back(&folders_[folder].name);
  std::string path;
  for (auto name = names.rbegin(); name != names.rend(); ++name) path = JoinPath(path, **name);
  return path;
}

void ArchiveCatalogue::ForEachMember(const std::function<void(const Member&)>& visit) const {
  for (const Member& member : members_) visit(member);
}

std::vector<std::string> ArchiveCatalogue::Notes() const {
  std::vector<std::string> notes;
  if (damaged_) {
    notes.push_back("the archive is damaged after " + std::to_string(damaged_->first) +
                    " members (" + damaged_->second + "): the reader reads those");
  }
  if (cut_at_cap_) {
    notes.push_back("the archive unpacks to more than " +
                    std::to_string(ARCHIVE_MAX_UNPACKED_BYTES >> 20) + " MiB after " +
                    std::to_string(*cut_at_cap_) + " members: the reader reads those");
  }
  if (member_cap_reached_) {
    notes.push_back("the archive holds more than " + std::to_string(ARCHIVE_MAX_MEMBERS) +
                    " members: the reader reads the first " + std::to_string(ARCHIVE_MAX_MEMBERS));
  }
  if (left_out_ > 0) {
    notes.push_back(std::to_string(left_out_) +
                    " members of the archive are left out: links, devices, members of no "
                    "stated size, or names that lead outside the archive or lie more than " +
                    std::to_string(ARCHIVE_MAX_NAME_DEPTH) + " folders deep");
  }
  if (beyond_cap_ > 0 && !cut_at_cap_) {
    notes.push_back("the archive unpacks to more than " +
                    std::to_string(ARCHIVE_MAX_UNPACKED_BYTES >> 20) +
                    " MiB: " + std::to_string(beyond_cap_) + " members past that are not read");
  }
  return notes;
}

std::string ArchiveCatalogue::Text() const {
  std::string text = std::string(TEXT_HEADER) + "\n";
  text += "access " + std::string(ACCESS_WORDS[static_cast<int>(access)]) + "\n";
  text += "counts " + std::to_string(left_out_) + " " + std::to_string(beyond_cap_) + " " +
          std::to_string(member_cap_reached_ ? 1 : 0) + "\n";
  if (cut_at_cap_) text += "cut " + std::to_string(*cut_at_cap_) + "\n";
  if (damaged_) {
    text += "damaged " + std::to_string(damaged_->first) + " " + Escaped(damaged_->second) + "\n";
  }
  // Parents come before their folders: a folder's number is larger than its parent's.
  for (FolderId id = 1; id < folders_.size(); ++id) text += "f " + Escaped(PathOf(id)) + "\n";
  for (FolderId id = 0; id < folders_.size(); ++id) {
    const std::string folder = PathOf(id);
    for (const auto& [name, node] : folders_[id].entries) {
      if (node.folder) continue;
      const Member& m = members_[node.id];
      text += "m " + std::to_string(m.number) + " " + std::to_string(m.size) + " " +
              std::to_string(m.before) + " " + (m.encrypted ? "e" : "-") +
              (m.too_large ? "t" : "-") + " " + Escaped(JoinPath(folder, name)) + "\n";
    }
  }
  return text + "end\n";
}

std::optional<ArchiveCatalogue> ArchiveCatalogue::Parse(std::string_view text) {
  ArchiveCatalogue catalogue;
  if (!text.starts_with(std::string(TEXT_HEADER) + "\n")) return std::nullopt;
  text.remove_prefix(TEXT_HEADER.size() + 1);
  bool ended = false;
  while (!text.empty() && !ended) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::vector<std::string_view> fields = Fields(text.substr(0, end));
    text.remove_prefix(end + 1);
    const std::string_view word = fields[0];
    if (word == "end" && fields.size() == 1) {
      ended = true;
    } else if (word == "access" && fields.size() == 2) {
      const auto* found = std::find(std::begin(ACCESS_WORDS), std::end(ACCESS_WORDS), fields[1]);
      if (found == std::end(ACCESS_WORDS)) return std::nullopt;
      catalogue.access = static_cast<ArchiveAccess>(found - std::begin(ACCESS_WORDS));
    } else if (word == "counts" && fields.size() == 4) {
      const auto left_out = NumberOf<std::uint32_t>(fields[1]);
      const auto beyond_cap = NumberOf<std::uint32_t>(fields[2]);
      if (!left_out || !beyond_cap || (fields[3] != "0" && fields[3] != "1")) return std::nullopt;
      catalogue.left_out_ = *left_out;
      catalogue.beyond_cap_ = *beyond_cap;
      catalogue.member_cap_reached_ = fields[3] == "1";
    } else if (word == "cut" && fields.size() == 2) {
      catalogue.cut_at_cap_ = NumberOf<std::uint32_t>(fields[1]);
      if (!catalogue.cut_at_cap_) return std::nullopt;
    } else if (word == "damaged" && fields.size() == 3) {
      const auto count = NumberOf<std::uint32_t>(fields[1]);
      std::optional<std::string> reason = Unescaped(fields[2]);
      if (!count || !reason) return std::nullopt;
      catalogue.EndDamaged(*count, std::move(*reason));
    } else if (word == "f" && fields.size() == 2) {
      const auto names = PathNames(fields[1]);
      if (!names || names->size() > ARCHIVE_MAX_NAME_DEPTH ||
          !catalogue.MakeFolders(*names, names->size())) {
        return std::nullopt;
      }
    } else if (word == "m" && fields.size() == 6) {
      Member m;
      const auto number = NumberOf<std::uint32_t>(fields[1]);
      const auto size = NumberOf<std::uint64_t>(fields[2]);
      const auto before = NumberOf<std::uint64_t>(fields[3]);
      const auto names = PathNames(fields[5]);
      const std::string_view flags = fields[4];
      if (!number || !size || !before || !names || names->size() > ARCHIVE_MAX_NAME_DEPTH ||
          flags.size() != 2 || catalogue.members_.size() >= ARCHIVE_MAX_MEMBERS) {
        return std::nullopt;
      }
      m = Member{*number, *size, *before, flags[0] == 'e', flags[1] == 't'};
      const std::size_t count = catalogue.members_.size();
      if (catalogue.MemberNumbered(m.number) != nullptr || !catalogue.Put(*names, m) ||
          catalogue.members_.size() != count + 1) {
        return std::nullopt;
      }
    } else {
      return std::nullopt;
    }
  }
  if (!ended || !text.empty()) return std::nullopt;
  return catalogue;
}
