// The per-user folders: a novel's, where its files go when the novel's own folder
// cannot be written and where its read marks are kept, $XDG_DATA_HOME/yomu/NOVEL_KEY
// (~/.local/share/yomu/NOVEL_KEY when the variable is unset or not an absolute path);
// the reader's cache, $XDG_CACHE_HOME/yomu (~/.cache/yomu); its settings,
// $XDG_CONFIG_HOME/yomu (~/.config/yomu); its state, $XDG_STATE_HOME/yomu
// (~/.local/state/yomu); and the user's pictures folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/error_or.h"

// The per-user folder of the novel at novel_real_path; nothing when the user's data
// folder cannot be told (no XDG_DATA_HOME, no home). It need not exist yet.
std::optional<std::string> NovelUserDirectory(const std::string& novel_real_path);

// The reader's cache folder; nothing when no cache or home folder can be told. It
// need not exist yet.
std::optional<std::string> UserCacheDirectory();
// The reader's settings folder, likewise.
std::optional<std::string> UserConfigDirectory();
// The reader's state folder (the novels opened last), likewise.
std::optional<std::string> UserStateDirectory();
// The user's pictures folder, as user-dirs.dirs in the user's settings folder names
// it, else ~/Pictures; nothing when there is no home. It need not exist yet.
std::optional<std::string> UserPicturesDirectory();
// The folder that the text of a user-dirs.dirs file names for XDG_PICTURES_DIR
// ("$HOME/..." or an absolute path, in double quotes); nothing when it names none.
std::optional<std::string> PicturesInUserDirs(std::string_view text, const std::string& home);

// A name that a reader can recognise and that stays the same for the same folder:
// the folder's last component, a dash and 8 hex digits of a hash of the whole path.
std::string NovelKey(const std::string& novel_real_path);

// Makes the folder and its missing parents, private to the user (0700). True when the
// folder is there afterwards and the reader's own folders on its path (its "yomu"
// folder and what lies below) are real folders of the user's, opened without following
// a link: a link planted under the predictable name of a novel's key would otherwise
// take the reader's files wherever it points. Else why not, for the reader's message.
ErrorOr<void, std::string> MakeUserDirectory(const std::string& path);
// The same without making anything: the folder is there and is the user's own.
bool IsOwnUserDirectory(const std::string& path);

// Where a file of the user's (settings.conf, recent-novels) is written, as the user
// left it: the file itself, new or writable; through a link, the link's target when
// that is a writable regular file of the user's in a folder of the user's. Why not
// when the user's wish is that it stays as it is: it is read-only, a link to another's
// file, or no regular file.
struct LeftAsItIs {
  std::string why;
};
ErrorOr<std::string, LeftAsItIs> UserFileToWrite(const std::string& path);
