// The desktop's own file chooser, asked for a novel: the file chooser portal over
// the session bus, else zenity, else kdialog. Each is optional: without any of them
// the answer is that none is there.
#pragma once

#include <string>
#include <vector>

// A novel offered in the list: the words shown for it (its title), and its path.
struct ChooserEntry {
  std::string label_utf8;
  std::string path;
};

struct ChooserRequest {
  std::string title_utf8;
  std::string filter_name_utf8;       // the name of the file types offered
  std::vector<std::string> patterns;  // their globs, "*.zip"
  // The novels opened last, newest first, offered before the files where the
  // chooser can; the first one's folder is where the files are shown.
  std::vector<ChooserEntry> recent;
  std::string other_label_utf8;  // the entry after the recent ones that asks for a file
};

struct ChooserAnswer {
  enum class Kind { Chosen, Cancelled, Unavailable } kind = Kind::Unavailable;
  std::string path;  // when chosen: every byte the chooser gave, its line end taken off
};

// The portal's answer.
ChooserAnswer ChooseWithPortal(const ChooserRequest& request);
// zenity's or kdialog's answer, as program names it.
ChooserAnswer ChooseWithDialogProgram(const std::string& program, const ChooserRequest& request);

// The first chooser that is there; Unavailable when none is.
ChooserAnswer ChooseFile(const ChooserRequest& request);
