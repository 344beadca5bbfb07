// libarchive, loaded at the first archive.
#include "platform/files/libarchive_calls.h"

#include "platform/loaded_library.h"

namespace {

constexpr char LIBRARY_FILE[] = "libarchive.so.13";

ErrorOr<LibArchive, std::string> FindCalls() {
  ErrorOr<LoadedLibrary, std::string> library = LoadedLibrary::Load(LIBRARY_FILE);
  if (!library) return library.error();
  LibArchive calls;
#define LIBARCHIVE_FIND(name) \
  if (!library->Find(#name, calls.name)) return library->Lacks(#name);
  LIBARCHIVE_CALLS(LIBARCHIVE_FIND)
#undef LIBARCHIVE_FIND
  return calls;
}

}  // namespace

const ErrorOr<LibArchive, std::string>& LoadLibArchive() {
  // Found once for the process, as the library is mapped once; never changed after.
  static const ErrorOr<LibArchive, std::string> calls = FindCalls();
  return calls;
}
