// Notes on the fonts before the novel opens, told as warnings.
#include "app/start_up_notes.h"

#include "platform/platform.h"
#include "platform/translation.h"

std::vector<std::string> StartUpNotes(Platform& platform) {
  std::vector<std::string> notes;
  if (!platform.fonts.forgotten_face().empty()) {
    notes.push_back(Formatted(_("the remembered Mincho font %s is no usable font; "
                                "fontconfig was asked again"),
                              platform.fonts.forgotten_face()));
  }
  if (platform.fonts.face_path().empty()) {
    notes.push_back(_("no Mincho font found; text stays invisible"));
  }
  return notes;
}
