// The novels opened last in the window, newest first, at most ten: a line each in
// recent-novels of the reader's state folder ($XDG_STATE_HOME/yomu/), the real path,
// then a tab and the title that the novel's window last showed (UTF-8; none yet when
// the novel never showed one). A line without a tab is a path alone.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t RECENT_NOVELS_MAX = 10;

struct RecentNovel {
  std::string path;
  std::string title_utf8;  // "" until the novel showed one
  bool operator==(const RecentNovel&) const = default;
};

// The novels of such a file's text: absolute paths, each once, the first ten.
std::vector<RecentNovel> ParseRecentNovels(std::string_view text);
// The list with the novel first (its title kept when the new one is empty) and the
// oldest beyond ten left out.
std::vector<RecentNovel> WithRecentNovel(std::vector<RecentNovel> recent, RecentNovel novel);

// The user's list; empty when there is none.
std::vector<RecentNovel> ReadRecentNovels();
// Puts the novel at real_path first in the user's list as another reader may have
// left it, with its title when one is given; why not when it is not written (it
// cannot be, or the user made it read-only or a link elsewhere).
std::optional<std::string> RememberRecentNovel(const std::string& real_path,
                                               const std::string& title_utf8 = "");
