// Choosing a novel: at start without one, in a folder that holds no first script (as
// from the desktop's menu), and with O while reading. The desktop's own chooser is
// asked first; the novels opened last are offered there by their titles. Without a
// desktop chooser the reader offers its own list (app/novel_list.h). The novels
// opened are remembered for both.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/files/recent_novels.h"

class ShiftJis;
class Volume;

// True when the novel's first script is there.
bool HoldsFirstScript(Volume& volume);

// The desktop chooser's answer as a novel: a folder or an archive yomu reads. A script
// chosen in a novel's folder (a file chooser offers files, not folders) stands for
// that folder; any other file is refused, with why.
struct NovelChoice {
  enum class Kind { Chosen, Cancelled, Unavailable, Refused } kind = Kind::Unavailable;
  std::string path;           // when chosen
  std::string refusal_utf8;   // when refused
};
NovelChoice ChooseNovelOnDesktop();

// The words shown for a novel opened before: its title; without one, its path, read
// as Shift-JIS where it is no UTF-8 (the names of novels unpacked as they were stored).
std::string RecentLabel(const RecentNovel& novel, ShiftJis& shift_jis);
// The novels in a folder: the folders in it that hold a first script and the
// archives that yomu reads, by name, at most a menu's worth.
std::vector<std::string> NovelsInFolder(const std::string& folder);

// Puts an opened novel first among those opened last, with the title it showed when
// one is given; the warning to give when it cannot.
std::optional<std::string> RememberOpenedNovel(const Volume& volume,
                                               const std::string& title_utf8 = "");
