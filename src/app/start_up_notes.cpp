// Notes on standard error before the novel opens.
#include "app/start_up_notes.h"

#include <sys/stat.h>

#include "app/texts.h"
#include "platform/platform.h"

std::vector<std::string> StartUpNotes(Platform& platform) {
  std::vector<std::string> notes;
  if (platform.fonts.face_path().empty()) {
    notes.push_back("yomu: no Mincho font found; text stays invisible");
  }
  struct stat info {};
  const std::string first_script = platform.HostPath(texts::kFirstScript);
  if (stat(first_script.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    notes.push_back("yomu: \"" + platform.shift_jis.ToUtf8(texts::kFirstScript) +
                    "\" was not found in " + platform.working_directory);
  }
  return notes;
}
