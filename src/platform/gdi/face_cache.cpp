// The remembered Mincho face: four lines of text, the face file's path, the face's
// index in it, the file's size and its modification time in nanoseconds.
#include "platform/gdi/face_cache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <string_view>

#include "platform/files/text_file.h"
#include "platform/files/user_data.h"

namespace {

constexpr char FACE_CACHE_NAME[] = "/mincho-face";
constexpr std::size_t LINE_BYTES = 4096;  // a path and its line feed

// The file's size and time as the cache writes them: "SIZE\nTIME\n".
std::optional<std::string> FileStamp(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  const std::int64_t time_ns =
      std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
  return std::to_string(info.st_size) + "\n" + std::to_string(time_ns) + "\n";
}

std::optional<std::string> ReadLine(TextFileReader& reader) {
  char line[LINE_BYTES];
  if (!reader.ReadLine(line, sizeof line)) return std::nullopt;
  const std::string_view text(line);
  if (!text.ends_with('\n')) return std::nullopt;
  return std::string(text.substr(0, text.size() - 1));
}

std::string FolderOf(const std::string& file) { return file.substr(0, file.rfind('/')); }

}  // namespace

std::optional<std::string> FaceCacheFile() {
  const std::optional<std::string> folder = UserCacheDirectory();
  if (!folder) return std::nullopt;
  return *folder + FACE_CACHE_NAME;
}

std::optional<FaceLocation> RememberedFace(const std::string& cache_file) {
  // An answer in a folder that is no folder of the reader's own (a planted link) is
  // not taken.
  if (!IsOwnUserDirectory(FolderOf(cache_file))) return std::nullopt;
  FileOr<TextFileReader> reader = TextFileReader::Open(cache_file);
  if (!reader) return std::nullopt;
  const std::optional<std::string> path = ReadLine(*reader), index = ReadLine(*reader);
  const std::optional<std::string> size = ReadLine(*reader), time = ReadLine(*reader);
  if (!path || !index || !size || !time) return std::nullopt;
  FaceLocation face{*path, 0};
  const char* end = index->data() + index->size();
  if (std::from_chars(index->data(), end, face.index).ptr != end || face.index < 0) {
    return std::nullopt;
  }
  if (FileStamp(face.path) != *size + "\n" + *time + "\n") return std::nullopt;
  return face;
}

// The writer puts the answer beside the cache and renames it over, so that a start
// never reads half an answer.
void RememberFace(const std::string& cache_file, const FaceLocation& face) {
  const std::optional<std::string> stamp = FileStamp(face.path);
  if (!stamp || face.path.find('\n') != std::string::npos) return;
  if (!MakeUserDirectory(FolderOf(cache_file)).has_value()) return;
  // The cache only saves a search; a failed write costs the next start that search.
  (void)TextFileWriter::WriteWhole(cache_file,
                                   face.path + "\n" + std::to_string(face.index) + "\n" + *stamp);
}

void ForgetFace(const std::string& cache_file) { unlink(cache_file.c_str()); }
