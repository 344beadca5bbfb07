// Text-mode files of the old platform: block-by-block reading with CR LF and Ctrl-Z
// translation and fgets-style lines; writing with CR LF through a temporary file
// that replaces the old one only when complete, and is locked while it is written.
#include "platform/files/text_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/files/read_limits.h"
#include "platform/files/regular_file.h"
#include "platform/translation.h"

namespace {

constexpr char CTRL_Z = 0x1A;
constexpr std::size_t TEMPORARY_BASE_MAX = 200;  // leaves room for the affixes within NAME_MAX
constexpr mode_t NEW_FILE_MODE = 0644;
constexpr std::size_t TEMPORARY_SUFFIX_LENGTH = 6;  // mkstemp's XXXXXX
constexpr int TEMPORARY_ATTEMPTS = 8;

std::string WithCrLf(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  for (char c : text) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

ErrorOr<void, SystemError> WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = write(descriptor, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return SystemError::FromErrno("write");
    if (count == 0) return SystemError{"write", EIO};
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return {};
}

ErrorOr<void, SystemError> SyncFile(int descriptor) {
  while (fsync(descriptor) != 0) {
    if (errno != EINTR) return SystemError::FromErrno("fsync");
  }
  return {};
}

std::string DirectoryPart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash + 1);
}

// Makes the rename itself durable; a failure here does not undo a finished file.
void SyncDirectory(const std::string& path) {
  const std::string directory = DirectoryPart(path);
  FileDescriptor handle(
      open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.get() >= 0) (void)SyncFile(handle.get());
}

// ".NAME.XXXXXX" beside the file, the X replaced by mkstemp.
std::string TemporaryPrefix(const std::string& base) {
  return "." + base.substr(0, TEMPORARY_BASE_MAX) + ".";
}

// A new temporary from path_template (".NAME.XXXXXX"), locked for as long as it is
// open, so that another reader clearing away the temporaries of killed writes leaves
// it alone. One that such a clearing took in the moment before the lock is replaced
// by a new one; a file system without locks takes the write unguarded.
ErrorOr<FileDescriptor, SystemError> MakeLockedTemporary(const std::string& path_template,
                                                        std::string& path) {
  for (int attempt = 0; attempt < TEMPORARY_ATTEMPTS; ++attempt) {
    path = path_template;
    FileDescriptor file(mkostemp(path.data(), O_CLOEXEC));
    if (file.get() < 0) return SystemError::FromErrno("mkostemp");
    if (flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno == EWOULDBLOCK) continue;  // being cleared away now
      return file;
    }
    struct stat status {};
    if (fstat(file.get(), &status) != 0 || status.st_nlink > 0) return file;
  }
  return SystemError{"mkostemp", EAGAIN};
}

// A temporary that no running write holds: its writer was killed.
bool IsAbandoned(int directory, const char* name) {
  FileDescriptor file(
      openat(directory, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat status {};
  return file.get() >= 0 && fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode) &&
         (flock(file.get(), LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK);
}

bool IsTemporaryOf(std::string_view entry, const std::string& prefix) {
  if (entry.size() != prefix.size() + TEMPORARY_SUFFIX_LENGTH || !entry.starts_with(prefix)) {
    return false;
  }
  return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

FileOr<TextFileReader> TextFileReader::Open(const std::string& host_path) {
  return TextFileReader(std::make_unique<RegularFile>(TRY(RegularFile::Open(host_path))));
}

TextFileReader TextFileReader::FromBytes(std::string_view bytes) {
  return TextFileReader(std::make_unique<OwnedBytes>(std::string(bytes)));
}

bool TextFileReader::Fill(std::size_t count) {
  if (block_.size() - start_ >= count) return true;
  block_.erase(block_.begin(), block_.begin() + static_cast<std::ptrdiff_t>(start_));
  start_ = 0;
  const std::size_t kept = block_.size();
  block_.resize(kept + TEXT_FILE_BLOCK_BYTES);
  const std::size_t count_read = source_->ReadAt(
      file_offset_, {reinterpret_cast<std::uint8_t*>(block_.data() + kept), TEXT_FILE_BLOCK_BYTES});
  block_.resize(kept + count_read);
  file_offset_ += count_read;
  return block_.size() >= count;
}

// A Ctrl-Z ends the text; a CR right before an LF is dropped, a lone CR stays.
std::optional<char> TextFileReader::Peek() {
  if (ended_ || !Fill(1)) return std::nullopt;
  const char byte = block_[start_];
  if (byte == CTRL_Z) {
    ended_ = true;
    return std::nullopt;
  }
  if (byte == '\r' && Fill(2) && block_[start_ + 1] == '\n') return '\n';
  return byte;
}

void TextFileReader::Take() {
  const bool crlf =
      block_[start_] == '\r' && start_ + 1 < block_.size() && block_[start_ + 1] == '\n';
  start_ += crlf ? 2 : 1;
}

bool TextFileReader::ReadLine(char* buffer, std::size_t size) {
  if (size == 0 || !Peek()) return false;
  std::size_t count = 0;
  while (count + 1 < size) {
    const std::optional<char> byte = Peek();
    if (!byte) break;
    Take();
    buffer[count++] = *byte;
    if (*byte == '\n') break;
  }
  buffer[count] = '\0';
  return true;
}

void TextFileWriter::RemoveInterruptedWrites(const std::string& host_path) {
  const std::string directory = DirectoryPart(host_path);
  const std::string base = host_path.substr(directory.size());
  if (base.empty()) return;
  const std::string prefix = TemporaryPrefix(base);
  std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(directory.empty() ? "." : directory.c_str()),
                                              closedir);
  if (!listing) return;
  while (const dirent* entry = readdir(listing.get())) {
    if (IsTemporaryOf(entry->d_name, prefix) && IsAbandoned(dirfd(listing.get()), entry->d_name)) {
      unlinkat(dirfd(listing.get()), entry->d_name, 0);
    }
  }
}

ErrorOr<TextFileWriter, SystemError> TextFileWriter::Open(const std::string& host_path,
                                                         LineEnds line_ends) {
  const std::string directory = DirectoryPart(host_path);
  const std::string base = host_path.substr(directory.size());
  if (base.empty()) return SystemError{"open", EISDIR};
  std::string temporary_path;
  FileDescriptor file =
      TRY(MakeLockedTemporary(directory + TemporaryPrefix(base) + "XXXXXX", temporary_path));
  TextFileWriter writer(host_path, std::move(temporary_path), file.release(), line_ends);
  // mkstemp makes the file private (0600); the replaced file is an ordinary one.
  if (fchmod(writer.descriptor_, NEW_FILE_MODE) != 0) return SystemError::FromErrno("fchmod");
  return writer;
}

TextFileWriter::TextFileWriter(TextFileWriter&& other) noexcept
    : path_(std::move(other.path_)),
      temporary_path_(std::exchange(other.temporary_path_, std::string())),
      descriptor_(std::exchange(other.descriptor_, -1)),
      line_ends_(other.line_ends_),
      failure_(std::move(other.failure_)) {}

TextFileWriter::~TextFileWriter() { Discard(); }

// errno stays as the failed call left it, for the caller's message.
void TextFileWriter::Discard() {
  const int saved_errno = errno;
  if (descriptor_ >= 0) close(std::exchange(descriptor_, -1));
  if (!temporary_path_.empty()) unlink(std::exchange(temporary_path_, std::string()).c_str());
  errno = saved_errno;
}

ErrorOr<void, SystemError> TextFileWriter::Write(std::string_view text) {
  if (!failure_ && descriptor_ < 0) failure_ = SystemError{"write", EBADF};
  if (failure_) return *failure_;
  ErrorOr<void, SystemError> written = line_ends_ == LineEnds::Lf
                                           ? WriteAll(descriptor_, text)
                                           : WriteAll(descriptor_, WithCrLf(text));
  if (!written) failure_ = written.error();
  return written;
}

// The temporary is renamed while it is still open: its lock, which ends with the
// descriptor, keeps other readers from clearing it away until it has its name.
ErrorOr<void, SystemError> TextFileWriter::WriteWhole(const std::string& host_path,
                                                      std::string_view text, LineEnds line_ends) {
  TextFileWriter file = TRY(Open(host_path, line_ends));
  TRY(file.Write(text));
  return file.Commit();
}

ErrorOr<void, std::string> TextFileWriter::WriteOwnFile(const std::string& host_path,
                                                        std::string_view text) {
  if (const auto written = WriteWhole(host_path, text, LineEnds::Lf); !written) {
    return Formatted(_("%s cannot be written: %s"), host_path, written.error().Describe());
  }
  return {};
}

ErrorOr<void, SystemError> TextFileWriter::Commit() {
  if (!failure_ && descriptor_ < 0) failure_ = SystemError{"write", EBADF};
  if (!failure_) {
    if (ErrorOr<void, SystemError> synced = SyncFile(descriptor_); !synced) {
      failure_ = synced.error();
    } else if (rename(temporary_path_.c_str(), path_.c_str()) != 0) {
      failure_ = SystemError::FromErrno("rename");
    }
  }
  if (failure_) {
    Discard();
    return *failure_;
  }
  temporary_path_.clear();
  close(std::exchange(descriptor_, -1));
  SyncDirectory(path_);
  return {};
}
