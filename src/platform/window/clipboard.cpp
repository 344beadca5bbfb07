// The system's clipboard.
#include "platform/window/clipboard.h"

#include "platform/platform.h"

bool SetClipboardText(Platform& platform, std::string_view text_utf8) {
  platform.backend.SetClipboardText(text_utf8);
  return true;
}
