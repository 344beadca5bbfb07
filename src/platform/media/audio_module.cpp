// Finding and loading the audio module.
#include "platform/media/audio_module.h"

#include <dlfcn.h>
#include <unistd.h>

#include "platform/media/module_file.h"
#include "platform/program_directory.h"

#ifndef YOMU_AUDIO_MODULE_DIR
#define YOMU_AUDIO_MODULE_DIR "../lib/yomu"
#endif

std::vector<std::string> AudioModulePlaces(const std::string& program_directory,
                                           const std::string& relative_module_dir) {
  if (program_directory.empty()) return {};
  const std::string installed = relative_module_dir.starts_with('/')
                                    ? relative_module_dir
                                    : program_directory + "/" + relative_module_dir;
  return {program_directory + "/" + AUDIO_MODULE_FILE, installed + "/" + AUDIO_MODULE_FILE};
}

std::vector<std::string> AudioModulePlaces() {
  return AudioModulePlaces(ProgramDirectory(), YOMU_AUDIO_MODULE_DIR);
}

ErrorOr<std::unique_ptr<AudioModule>, std::string> AudioModule::Load(
    const std::vector<std::string>& places) {
  std::string error;
  const auto add = [&error](const std::string& reason) {
    error += (error.empty() ? "" : "; ") + reason;
  };
  for (const std::string& place : places) {
    if (access(place.c_str(), F_OK) != 0) continue;
    if (const ErrorOr<void, std::string> loadable = IsLoadableModule(place); !loadable) {
      add(place + ": " + loadable.error());
      continue;
    }
    void* handle = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr) {
      const char* reason = dlerror();
      add(reason != nullptr ? reason : place);
      continue;
    }
    if (void* factory = dlsym(handle, AUDIO_MODULE_FACTORY)) {
      return std::unique_ptr<AudioModule>(
          new AudioModule(handle, reinterpret_cast<AudioPlayerFactory*>(factory)));
    }
    dlclose(handle);
    add(place + ": not a module of yomu");
  }
  if (error.empty()) error = std::string(AUDIO_MODULE_FILE) + " not found";
  return error;
}

AudioModule::~AudioModule() { dlclose(handle_); }
