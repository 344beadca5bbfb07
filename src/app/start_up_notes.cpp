// Notes on standard error before the novel opens.
#include "app/start_up_notes.h"

#include "platform/platform.h"

std::vector<std::string> StartUpNotes(Platform& platform) {
  std::vector<std::string> notes;
  if (!platform.fonts.forgotten_face().empty()) {
    notes.push_back("yomu: the remembered Mincho font " + platform.fonts.forgotten_face() +
                    " is no usable font; fontconfig was asked again");
  }
  if (platform.fonts.face_path().empty()) {
    notes.push_back("yomu: no Mincho font found; text stays invisible");
  }
  return notes;
}
