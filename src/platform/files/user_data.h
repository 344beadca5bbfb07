// The per-user folders: a novel's, where its files go when the novel's own folder
// cannot be written, $XDG_DATA_HOME/yomu/NOVEL_KEY (~/.local/share/yomu/NOVEL_KEY
// when the variable is unset or not an absolute path); and the reader's cache,
// $XDG_CACHE_HOME/yomu (~/.cache/yomu).
#pragma once

#include <optional>
#include <string>

// The per-user folder of the novel at novel_real_path; nothing when the user's data
// folder cannot be told (no XDG_DATA_HOME, no home). It need not exist yet.
std::optional<std::string> NovelUserDirectory(const std::string& novel_real_path);

// The reader's cache folder; nothing when no cache or home folder can be told. It
// need not exist yet.
std::optional<std::string> UserCacheDirectory();

// A name that a reader can recognise and that stays the same for the same folder:
// the folder's last component, a dash and 8 hex digits of a hash of the whole path.
std::string NovelKey(const std::string& novel_real_path);

// Makes the folder and its missing parents, private to the user; true when the
// folder is there afterwards.
bool MakeUserDirectory(const std::string& path);
