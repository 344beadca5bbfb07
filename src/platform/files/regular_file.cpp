// Regular files opened without blocking and read by position.
#include "platform/files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

FileDescriptor::~FileDescriptor() {
  if (descriptor_ >= 0) close(descriptor_);
}

FileOr<RegularFile> RegularFile::Open(const std::string& host_path) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  return FromDescriptor(
      FileDescriptor(open(host_path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)));
}

FileOr<RegularFile> RegularFile::FromDescriptor(FileDescriptor file) {
  if (file.get() < 0) return FileErrorOf(SystemError::FromErrno("open"));
  struct stat status {};
  if (fstat(file.get(), &status) != 0) return FileErrorOf(SystemError::FromErrno("fstat"));
  if (!S_ISREG(status.st_mode) || status.st_size < 0) {
    return FileError{FileProblem::NotRegularFile, {}};
  }
  return RegularFile(std::move(file), static_cast<std::uint64_t>(status.st_size));
}

std::size_t RegularFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size() && offset + done < size_) {
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(out.size() - done, size_ - offset - done));
    const ssize_t count =
        pread(file_.get(), out.data() + done, wanted, static_cast<off_t>(offset + done));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    done += static_cast<std::size_t>(count);
  }
  return done;
}

FileOr<std::string> ReadRegularFile(const std::string& host_path, std::uint64_t max_bytes) {
  RegularFile file = TRY(RegularFile::Open(host_path));
  if (file.size() > max_bytes) return FileError{FileProblem::TooLarge, {}};
  std::string contents(static_cast<std::size_t>(file.size()), '\0');
  const std::size_t count =
      file.ReadAt(0, {reinterpret_cast<std::uint8_t*>(contents.data()), contents.size()});
  contents.resize(count);
  return contents;
}
