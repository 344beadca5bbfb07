// Another novel from the window, and the titles of the novels opened last.
#include "app/novel_opening.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/novel_chooser.h"
#include "platform/calls/window_calls.h"
#include "platform/translation.h"
#include "platform/utf8_text.h"
#include "platform/window/menu.h"
#include "platform/window/message_queue.h"
#include "reader/reader.h"
#include "reader/texts.h"

namespace {

// The page's characters for words in UTF-8; a name that is no UTF-8 is taken for the
// Shift-JIS it mostly is (a novel's folder unpacked with its names as stored).
std::string MenuLabel(Reader& r, const std::string& words) {
  if (WellFormedUtf8Length(words) != words.size()) return words;
  std::vector<std::size_t> unconverted;
  return r.platform.shift_jis.FromUtf8Replacing(words, GETA_MARK_SJIS, unconverted);
}

// The novels offered, in the order of the list's commands: those opened last by their
// labels, then the current folder's others by their names.
std::vector<std::string> OwnListInto(Reader& r, Menu& menu) {
  std::vector<std::string> paths;
  const auto offer = [&](const std::string& path, const std::string& label_utf8) {
    AppendMenuA(menu, MF_STRING, IDM_NOVEL_FIRST + static_cast<UINT>(paths.size()),
                MenuLabel(r, label_utf8).c_str());
    paths.push_back(path);
  };
  for (const RecentNovel& novel : ReadRecentNovels()) {
    offer(novel.path, RecentLabel(novel, r.platform.shift_jis));
  }
  const std::size_t recent = paths.size();
  std::error_code error;
  for (const std::string& path : NovelsInFolder(std::filesystem::current_path(error).string())) {
    if (std::find(paths.begin(), paths.end(), path) != paths.end()) continue;
    if (paths.size() == recent && recent > 0) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    offer(path, path.substr(path.rfind('/') + 1));
  }
  return paths;
}

// yomu's own list, at the pointer: a pick comes back as its command.
void ShowOwnList(Reader& r, Window& window) {
  Menu menu;
  r.aids.listed_novels = OwnListInto(r, menu);
  if (r.aids.listed_novels.empty()) {
    ShowMessage(r.platform, _("there is no novel to open: none was opened before, and the "
                              "current folder holds none"));
    return;
  }
  POINT at{};
  GetCursorPos(r.platform, &at);
  TrackPopupMenu(menu, 0, at.x, at.y, 0, window, nullptr);
}

// This run ends by the menu's exit (the marks, the place and the window are kept),
// and the program starts anew on the novel.
void OpenNext(Reader& r, Window& window, const std::string& path) {
  r.aids.next_novel = path;
  r.platform.backend.Record("open " + path);
  SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
}

}  // namespace

void OpenAnotherNovel(Reader& r, Window& window) {
  const NovelChoice choice = r.aids.desktop_chooser ? ChooseNovelOnDesktop() : NovelChoice{};
  switch (choice.kind) {
    case NovelChoice::Kind::Chosen: OpenNext(r, window, choice.path); return;
    case NovelChoice::Kind::Refused: ShowMessage(r.platform, choice.refusal_utf8); return;
    case NovelChoice::Kind::Unavailable: ShowOwnList(r, window); return;
    case NovelChoice::Kind::Cancelled: return;
  }
}

bool OnNovelListCommand(Reader& r, Window& window, UINT command) {
  const std::vector<std::string>& listed = r.aids.listed_novels;
  if (command < IDM_NOVEL_FIRST || command - IDM_NOVEL_FIRST >= listed.size()) return false;
  OpenNext(r, window, listed[command - IDM_NOVEL_FIRST]);
  return true;
}

void KeepTitleOfNovel(Reader& r, const Window& window) {
  const std::string& caption = window.caption_sjis();
  if (!r.aids.window_kept || caption == texts::CAPTION) return;
  if (const std::optional<std::string> why =
          RememberOpenedNovel(*r.platform.volume, r.platform.shift_jis.ToUtf8(caption))) {
    r.platform.Warn(*why);
  }
}
