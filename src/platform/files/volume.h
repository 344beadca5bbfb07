// A novel's files behind one interface: a folder on disk or an archive. A name from
// a script, the contents or the bookmarks is looked up here, part by part, with the
// same rules for both: '\' and '/' separate (a 0x5C that is the second byte of a
// character does not), "." and ".." go by name and never above the novel's top, an
// absolute name leads outside, and each part matches as its bytes, then as their
// UTF-8 form, then without regard to case, then in the forms extractors give it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/byte_source.h"
#include "platform/files/folder_index.h"
#include "platform/files/novel_file.h"
#include "platform/shift_jis.h"

class Volume {
 public:
  // place: where the novel lies, as the reader names it; key_path: the real path that
  // keys its per-user folder (the folder's, or the archive's).
  Volume(std::string place, std::string key_path);
  virtual ~Volume() = default;
  Volume(const Volume&) = delete;
  Volume& operator=(const Volume&) = delete;

  const std::string& place() const { return place_; }
  const std::string& key_path() const { return key_path_; }
  // The code page of the novel's names and texts.
  ShiftJis& shift_jis() { return shift_jis_; }

  // The regular file that name_sjis names below the novel's top, or why there is none.
  FileOr<NovelFile> Find(std::string_view name_sjis);
  // The bytes of a file found, read as they are asked for.
  virtual FileOr<std::unique_ptr<ByteSource>> Open(const NovelFile& file) = 0;
  // False when opening the file now would wait for an archive's pass to reach it:
  // work done while the reader waits for a click leaves such a file to the click.
  virtual bool OpensAtOnce(const NovelFile& /*file*/) { return true; }
  // Find and Open; a file larger than max_bytes is refused as too large. Without a
  // cap the file is read only as far as its reader goes (a script, a sound).
  FileOr<std::unique_ptr<ByteSource>> Open(std::string_view name_sjis,
                                           std::uint64_t max_bytes = UINT64_MAX);
  // The whole of a file of at most max_bytes.
  FileOr<std::string> Read(std::string_view name_sjis, std::uint64_t max_bytes);

  // Where a file of the novel may be written on disk (the bookmarks): the host path
  // that name_sjis names in the novel's folder; nothing for an archive.
  virtual std::optional<std::string> HostPathForWriting(std::string_view /*name_sjis*/) {
    return std::nullopt;
  }
  // The names stored in a folder below the top ("" for the top), in byte order.
  virtual std::vector<std::string> List(const std::string& folder) = 0;
  // The part of a path in the reader's form ("<place>\name", as the MIDI open command
  // holds it) below the novel's top; a path elsewhere comes back whole.
  std::string_view BelowPlace(std::string_view path_sjis);
  // A stored name in UTF-8, for messages.
  std::string DisplayName(std::string_view stored_name);
  // Where what the reader should learn while it reads goes (an archive's cache that
  // filled up): the reader's warnings, on the thread that opens the files.
  void TellNotesTo(std::function<void(const std::string&)> sink) { notes_ = std::move(sink); }
  // What an open that waits for an archive's pass calls every few milliseconds: it
  // keeps the window answering, and false from it (the reader is to end) ends the wait.
  void TellWaitsTo(std::function<bool()> keep_waiting) { keep_waiting_ = std::move(keep_waiting); }

 protected:
  // True when path (below the top) is stored exactly so.
  virtual bool HasEntry(const std::string& path) = 0;
  // The entry of folder that a part names without being stored as written.
  virtual std::optional<FoundName> FindOtherwise(const std::string& folder,
                                                 std::string_view part_sjis,
                                                 const std::optional<std::string>& part_utf8) = 0;
  // What file.path holds: a regular file with its size, or why not.
  virtual FileOr<NovelFile> Inspect(NovelFile file) = 0;

  struct Walk {
    bool outside = false;
    bool missing = false;
    NovelFile file;  // the path as far as it was found, the rest as written
  };
  // The stored path that a name leads to.
  Walk WalkName(std::string_view name_sjis);
  // The entry of folder (below the top) that one part of a name stands for; the
  // folders that unzip made of it hold it, its name is their path.
  std::optional<FoundName> FindPart(const std::string& folder, std::string_view part_sjis);
  void Note(const std::string& text) {
    if (notes_) notes_(text);
  }
  bool KeepWaiting() { return !keep_waiting_ || keep_waiting_(); }
  // An archive knows its novel's folder only once its members are read.
  void MovePlace(std::string place) {
    place_ = std::move(place);
    place_sjis_.reset();
  }

 private:
  std::optional<FoundName> FindUnzipSplit(const std::string& folder, std::string_view part_sjis);
  // The UTF-8 form of a part, or nothing when some byte does not convert.
  std::optional<std::string> Utf8Name(std::string_view part_sjis);

  std::string place_;
  const std::string key_path_;
  ShiftJis shift_jis_;
  std::optional<std::string> place_sjis_;  // made the first time it is needed
  std::function<void(const std::string&)> notes_;
  std::function<bool()> keep_waiting_;
};

// '/' joined, the first part alone when the second is empty and the other way round.
std::string JoinPath(std::string_view folder, std::string_view name);
