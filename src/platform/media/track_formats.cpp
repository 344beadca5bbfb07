// Track formats by the names of their files.
#include "platform/media/track_formats.h"

#include <strings.h>

#include <iterator>

const TrackFormat* TrackFormatOf(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return nullptr;
  const std::string extension(path.substr(dot + 1));
  for (const TrackFormat& format : TRACK_FORMATS) {
    if (strcasecmp(extension.c_str(), std::string(format.extension).c_str()) == 0) return &format;
  }
  return nullptr;
}

std::string TrackExtensionsText() {
  std::string text;
  const std::size_t count = std::size(TRACK_FORMATS);
  for (std::size_t k = 0; k < count; ++k) {
    text += (k == 0 ? "." : k + 1 == count ? " or ." : ", .");
    text += TRACK_FORMATS[k].extension;
  }
  return text;
}
