// The platform of one running reader, and its clock and directory calls.
#include "platform/platform.h"

#include <cstring>

Platform::Platform(Backend& backend_in, std::string working_directory_in,
                   std::optional<std::string> font_file)
    : backend(backend_in),
      fonts(shift_jis, std::move(font_file)),
      working_directory(std::move(working_directory_in)) {}

Platform::~Platform() = default;

std::string Platform::HostPath(const char* name_sjis) {
  return host_names.Resolve(working_directory, name_sjis);
}

void Sleep(Platform& platform, std::uint32_t milliseconds) { platform.backend.Sleep(milliseconds); }

bool CloseRequested(Platform& platform) { return platform.backend.CloseRequested(); }

DWORD GetCurrentDirectoryA(Platform& platform, DWORD buffer_length, char* buffer) {
  // The old programs saw the directory in their own code page; a name that does not
  // convert is handed over as it is.
  std::string directory = platform.shift_jis.FromUtf8(platform.working_directory)
                              .value_or(platform.working_directory);
  if (buffer == nullptr || directory.size() + 1 > buffer_length) {
    return static_cast<DWORD>(directory.size() + 1);
  }
  std::memcpy(buffer, directory.c_str(), directory.size() + 1);
  return static_cast<DWORD>(directory.size());
}
