// Screenshots in the pictures folder.
#include "app/screenshot.h"

#include <ctime>
#include <optional>
#include <string>

#include "platform/files/archive_reader.h"
#include "platform/files/user_data.h"
#include "platform/gdi/png_file.h"
#include "platform/translation.h"
#include "platform/window/virtual_keys.h"
#include "reader/reader.h"

namespace {

// The novel's folder or archive by its last name, an archive's extension taken off.
std::string NovelName(const std::string& key_path) {
  std::string name = key_path.substr(key_path.rfind('/') + 1);
  if (IsArchiveName(name)) name.erase(name.rfind('.'));
  return name.empty() ? "yomu" : name;
}

std::string LocalTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char stamp[32] = "";
  if (localtime_r(&now, &local) != nullptr) {
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  }
  return stamp;
}

}  // namespace

bool IsScreenshotKey(WPARAM key) { return key == VK_F12 || key == VK_SNAPSHOT; }

void TakeScreenshot(Reader& r, const Window& window) {
  const std::optional<std::string> pictures = UserPicturesDirectory();
  std::string refusal;
  const std::string folder = pictures.value_or("") + "/yomu";
  std::optional<std::string> written;
  if (pictures && MakeUserDirectory(folder, &refusal)) {
    const std::string stem = NovelName(r.platform.volume->key_path()) + "-" + LocalTimeStamp();
    written = WriteNewPng(window.client_pixels(), folder, stem);
  }
  if (written) {
    r.platform.backend.Record("screenshot " + *written);
  } else {
    r.platform.Warn(Formatted(_("the screenshot cannot be written in %s"), folder) +
                    (refusal.empty() ? "" : ": " + refusal));
  }
}
