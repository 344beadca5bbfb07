// Where the bookmark file lies: "しおり.sio" in the novel folder, or the reader's
// per-user copy once the folder could not be written or the novel is an archive.
#pragma once

#include <optional>
#include <string>

class Platform;

struct BookmarkPlaces {
  std::optional<std::string> folder_file;  // in the novel folder; none in an archive
  std::optional<std::string> user_file;    // in the novel's per-user folder, when one is known

  // The per-user copy exists: it is read at start-up and every save goes to it.
  bool UserCopyExists() const;
};

BookmarkPlaces FindBookmarkPlaces(Platform& platform);

// Temporary files of saves that a kill interrupted, in both places, are removed.
void RemoveInterruptedSaves(const BookmarkPlaces& places);
