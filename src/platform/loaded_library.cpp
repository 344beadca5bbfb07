// Libraries loaded with dlopen.
#include "platform/loaded_library.h"

#include <dlfcn.h>

ErrorOr<LoadedLibrary, std::string> LoadedLibrary::Load(const char* file_name) {
  void* handle = dlopen(file_name, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (handle == nullptr) {
    const char* why = dlerror();
    return std::string("cannot load ") + file_name + " (" + (why != nullptr ? why : "") + ")";
  }
  return LoadedLibrary(handle, file_name);
}

std::string LoadedLibrary::Lacks(const char* name) const {
  return std::string(file_name_) + " lacks " + name;
}

void* LoadedLibrary::Symbol(const char* name) const { return dlsym(handle_, name); }
