// The two places of the bookmark file.
#include "data/bookmark_places.h"

#include <sys/stat.h>

#include "reader/texts.h"
#include "platform/files/text_file.h"
#include "platform/files/user_data.h"
#include "platform/platform.h"

// A copy in a folder that is no folder of the reader's own (a planted link) is never read.
bool BookmarkPlaces::UserCopyExists() const {
  struct stat info {};
  return user_file && lstat(user_file->c_str(), &info) == 0 &&
         IsOwnUserDirectory(user_file->substr(0, user_file->rfind('/')));
}

BookmarkPlaces FindBookmarkPlaces(Platform& platform) {
  BookmarkPlaces places{platform.volume->HostPathForWriting(texts::BOOKMARK_FILE), std::nullopt};
  if (platform.user_directory) {
    places.user_file =
        *platform.user_directory + "/" + platform.shift_jis.ToUtf8(texts::BOOKMARK_FILE);
  }
  return places;
}

void RemoveInterruptedSaves(const BookmarkPlaces& places) {
  if (places.folder_file) TextFileWriter::RemoveInterruptedWrites(*places.folder_file);
  if (places.user_file) TextFileWriter::RemoveInterruptedWrites(*places.user_file);
}
