// The novels opened last in the window, newest first, at most ten: one real path a
// line in recent-novels of the reader's state folder ($XDG_STATE_HOME/yomu/).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t RECENT_NOVELS_MAX = 10;

// The paths of such a file's text: absolute ones, each once, the first ten.
std::vector<std::string> ParseRecentNovels(std::string_view text);
// The list with path first and the oldest beyond ten left out.
std::vector<std::string> WithRecentNovel(std::vector<std::string> recent, const std::string& path);

// The user's list; empty when there is none.
std::vector<std::string> ReadRecentNovels();
// Puts the novel at real_path first in the user's list as another reader may have
// left it; why not when it is not written (it cannot be, or the user made it
// read-only or a link elsewhere).
std::optional<std::string> RememberRecentNovel(const std::string& real_path);
