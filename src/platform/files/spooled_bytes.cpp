// Spooled bytes: a vector up to a mebibyte, then an unnamed file in the user's
// cache folder (or the temporary folder).
#include "platform/files/spooled_bytes.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/files/user_data.h"

namespace {

constexpr std::uint64_t IN_MEMORY_MAX_BYTES = 1024 * 1024;

int OpenUnnamedFile(const std::string& folder) {
  return open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
}

// An unnamed file in the user's cache folder, else in the temporary folder; -1 when
// neither allows one.
int UnnamedFile() {
  if (const std::optional<std::string> cache = UserCacheDirectory();
      cache && MakeUserDirectory(*cache).has_value()) {
    const int descriptor = OpenUnnamedFile(*cache);
    if (descriptor >= 0) return descriptor;
  }
  const char* temporary = std::getenv("TMPDIR");
  return OpenUnnamedFile(temporary != nullptr ? temporary : "/tmp");
}

bool WriteAt(int descriptor, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t count =
        pwrite(descriptor, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(count));
    offset += static_cast<std::uint64_t>(count);
  }
  return true;
}

}  // namespace

bool SpooledBytes::MoveToFile() {
  const int descriptor = UnnamedFile();
  if (descriptor < 0) return false;
  file_.emplace(descriptor);
  if (!WriteAt(file_->get(), 0, memory_)) {
    file_.reset();
    return false;
  }
  std::vector<std::uint8_t>().swap(memory_);
  return true;
}

bool SpooledBytes::Append(std::span<const std::uint8_t> bytes) {
  // Kept in memory when no file can be had: the callers' caps bound it.
  if (!file_ && size_ + bytes.size() > IN_MEMORY_MAX_BYTES) MoveToFile();
  if (file_) {
    if (!WriteAt(file_->get(), size_, bytes)) return false;
  } else {
    memory_.insert(memory_.end(), bytes.begin(), bytes.end());
  }
  size_ += bytes.size();
  return true;
}

std::size_t SpooledBytes::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (offset >= size_) return 0;
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), size_ - offset));
  if (!file_) {
    std::memcpy(out.data(), memory_.data() + offset, count);
    return count;
  }
  std::size_t done = 0;
  while (done < count) {
    const ssize_t read_count =
        pread(file_->get(), out.data() + done, count - done, static_cast<off_t>(offset + done));
    if (read_count < 0 && errno == EINTR) continue;
    if (read_count <= 0) break;
    done += static_cast<std::size_t>(read_count);
  }
  return done;
}
