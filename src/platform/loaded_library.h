// A shared library loaded when the reader first needs it rather than at its start, so
// that a reader who never needs it neither waits for it nor holds it in memory.
#pragma once

#include <string>

#include "platform/error_or.h"

class LoadedLibrary {
 public:
  // The library under its file name (for example "libarchive.so.13"), or why it does
  // not load. It stays mapped for good: libraries that link GLib cannot be unloaded.
  static ErrorOr<LoadedLibrary, std::string> Load(const char* file_name);

  // Points function at the library's call of that name; false when it lacks it.
  template <typename Function>
  bool Find(const char* name, Function& function) const {
    function = reinterpret_cast<Function>(Symbol(name));
    return function != nullptr;
  }
  // Why the library is of no use: it lacks one of the calls the reader makes.
  std::string Lacks(const char* name) const;

 private:
  LoadedLibrary(void* handle, const char* file_name) : handle_(handle), file_name_(file_name) {}
  void* Symbol(const char* name) const;

  void* handle_;
  const char* file_name_;
};
