// The archives' folders in the user's cache: taking one, its identity and locks,
// members written whole, and room made by removing the least recently read.
#include "platform/files/archive_cache.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/files/file_lock.h"
#include "platform/files/folder_index.h"
#include "platform/files/settings_file.h"
#include "platform/files/text_file.h"
#include "platform/files/user_data.h"

namespace {

constexpr char IDENTITY[] = "archive";
constexpr char CATALOGUE[] = "catalogue";
constexpr char LOCK[] = "lock";
constexpr char WRITER[] = "writer";
constexpr std::string_view PART = ".part";
// A catalogue holds at most the member cap's lines of a name each.
constexpr std::uint64_t CATALOGUE_MAX_BYTES = std::uint64_t{64} * 1024 * 1024;
constexpr std::uint64_t MIB = 1024 * 1024;
// Another reader removing a folder holds its lock for as long as that takes.
constexpr auto LOCK_PATIENCE = std::chrono::milliseconds(1000);

std::uint64_t CacheLimit() {
  const std::optional<std::string> path = UserSettingsPath();
  if (!path) return ARCHIVE_CACHE_DEFAULT_MIB * MIB;
  const SettingsFile settings = SettingsFile::Load(*path);
  const std::optional<long> mib = settings.Number(ARCHIVE_CACHE_SETTING, 0, 1L << 30);
  return static_cast<std::uint64_t>(mib.value_or(ARCHIVE_CACHE_DEFAULT_MIB)) * MIB;
}

std::string Identity(const std::string& real_path, const struct stat& archive) {
  return "yomu archive\nsize " + std::to_string(archive.st_size) + "\ntime " +
         std::to_string(archive.st_mtim.tv_sec) + "." + std::to_string(archive.st_mtim.tv_nsec) +
         "\ndevice " + std::to_string(archive.st_dev) + "\ninode " +
         std::to_string(archive.st_ino) + "\npath " + real_path + "\n";
}

std::optional<std::string> ReadAt(int folder, const char* name, std::uint64_t max_bytes) {
  FileDescriptor file(openat(folder, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) return std::nullopt;
  FileOr<RegularFile> regular = RegularFile::FromDescriptor(std::move(file));
  if (!regular || regular->size() > max_bytes) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(regular->size()), '\0');
  if (!regular->ReadExactly(0, {reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()})) {
    return std::nullopt;
  }
  return bytes;
}

// The bytes that the files of a folder take on the disk.
std::uint64_t FolderBytes(const std::filesystem::path& folder) {
  std::uint64_t bytes = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    struct stat status {};
    if (lstat(entry.path().c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
      bytes += static_cast<std::uint64_t>(status.st_blocks) * 512;
    }
  }
  return bytes;
}

std::int64_t LastRead(const std::filesystem::path& folder) {
  struct stat status {};
  if (lstat((folder / IDENTITY).c_str(), &status) != 0) return 0;
  return Nanoseconds(status.st_mtim);
}

// Compared with a block of zeros in the C library's own speed: an archive of zeros
// unpacks to gigabytes.
bool IsAllZero(std::span<const std::uint8_t> bytes) {
  static constexpr std::uint8_t ZEROS[4096] = {};
  for (std::size_t at = 0; at < bytes.size(); at += sizeof ZEROS) {
    const std::size_t count = std::min(sizeof ZEROS, bytes.size() - at);
    if (std::memcmp(bytes.data() + at, ZEROS, count) != 0) return false;
  }
  return true;
}

}  // namespace

ArchiveCache::ArchiveCache(std::string root, std::string path, FileDescriptor folder,
                           FileDescriptor lock, std::uint64_t limit)
    : root_(std::move(root)),
      path_(std::move(path)),
      folder_(std::move(folder)),
      lock_(std::move(lock)),
      limit_(limit) {}

ArchiveCache::~ArchiveCache() = default;

ErrorOr<std::unique_ptr<ArchiveCache>, std::string> ArchiveCache::Take(const std::string& real_path,
                                                                       const struct stat& archive) {
  const std::uint64_t limit = CacheLimit();
  if (limit == 0) return std::string();
  const std::optional<std::string> cache = UserCacheDirectory();
  if (!cache) return std::string("no cache folder can be told (no home folder)");
  const std::string root = *cache + "/archives";
  const std::string path = root + "/" + NovelKey(real_path);
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (ErrorOr<void, std::string> made = MakeUserDirectory(path); !made) {
      return "the cache folder " + path + " cannot be used: " + made.error();
    }
    FileDescriptor folder(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    FileDescriptor lock(
        openat(folder.get(), LOCK, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (lock.get() < 0)
      return "the cache folder " + path + " cannot be used: " + std::strerror(errno);
    if (!LockWithin(lock.get(), LOCK_SH, LOCK_PATIENCE)) continue;
    // A reader that removed the folder meanwhile took it away under this name.
    struct stat opened {
    }, named{};
    if (fstat(folder.get(), &opened) != 0 || lstat(path.c_str(), &named) != 0 ||
        opened.st_ino != named.st_ino || opened.st_dev != named.st_dev) {
      continue;
    }
    std::unique_ptr<ArchiveCache> taken(
        new ArchiveCache(root, path, std::move(folder), std::move(lock), limit));
    if (!taken->Renew(Identity(real_path, archive))) {
      return "another yomu reads an earlier version of this archive from the cache folder " + path;
    }
    taken->BecomeWriter();
    utimensat(taken->folder_.get(), IDENTITY, nullptr, AT_SYMLINK_NOFOLLOW);  // read now
    return taken;
  }
  return "the cache folder " + path + " is held by another yomu that removes it";
}

bool ArchiveCache::Renew(const std::string& identity) {
  if (ReadAt(folder_.get(), IDENTITY, identity.size() + 1) == identity) return true;
  if (flock(lock_.get(), LOCK_EX | LOCK_NB) != 0) {
    flock(lock_.get(), LOCK_SH);  // a failed change of a lock may have let go of it
    return false;
  }
  ForEachFolderEntry(folder_.get(), [this](std::string_view name) {
    if (name != LOCK && name != WRITER) unlinkat(folder_.get(), std::string(name).c_str(), 0);
    return true;
  });
  const bool written = TextFileWriter::WriteWhole(path_ + "/" + IDENTITY, identity,
                                                  TextFileWriter::LineEnds::Lf)
                           .has_value();
  flock(lock_.get(), LOCK_SH);
  return written;
}

void ArchiveCache::BecomeWriter() {
  FileDescriptor writer(
      openat(folder_.get(), WRITER, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (writer.get() < 0 || flock(writer.get(), LOCK_EX | LOCK_NB) != 0) return;
  writer_.emplace(writer.release());
  // What a writer that was killed left half written.
  ForEachFolderEntry(folder_.get(), [this](std::string_view name) {
    if (name.ends_with(PART)) unlinkat(folder_.get(), std::string(name).c_str(), 0);
    return true;
  });
}

std::optional<std::string> ArchiveCache::Catalogue() const {
  return ReadAt(folder_.get(), CATALOGUE, CATALOGUE_MAX_BYTES);
}

void ArchiveCache::KeepCatalogue(std::string_view text) {
  if (writer()) {
    // Without it the next opening reads the catalogue from the archive again.
    (void)TextFileWriter::WriteWhole(path_ + "/" + CATALOGUE, text, TextFileWriter::LineEnds::Lf);
  }
}

std::optional<RegularFile> ArchiveCache::Member(std::uint32_t number, std::uint64_t size) const {
  FileDescriptor file(openat(folder_.get(), std::to_string(number).c_str(),
                             O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) return std::nullopt;
  FileOr<RegularFile> member = RegularFile::FromDescriptor(std::move(file));
  if (!member || member->size() != size) return std::nullopt;
  return member.release_value();
}

std::unordered_set<std::uint32_t> ArchiveCache::Members() const {
  std::unordered_set<std::uint32_t> numbers;
  ForEachFolderEntry(folder_.get(), [&numbers](std::string_view name) {
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error == std::errc() && end == name.data() + name.size()) numbers.insert(number);
    return true;
  });
  return numbers;
}

std::uint64_t ArchiveCache::Used() const {
  std::uint64_t used = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(root_, error)) {
    // Not the folders that other readers are removing.
    if (entry.is_directory(error) && !entry.is_symlink(error) &&
        !entry.path().filename().string().starts_with('.')) {
      used += FolderBytes(entry.path());
    }
  }
  return used;
}

ErrorOr<ArchiveCache::Writer, std::string> ArchiveCache::Write(std::uint32_t number,
                                                               std::uint64_t size) {
  if (!writer()) return std::string("another yomu writes this archive's cache");
  if (!used_) used_ = Used();
  if (*used_ + size > limit_) {
    // The folders of other archives, least recently read first.
    std::vector<std::pair<std::int64_t, std::filesystem::path>> others;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root_, error)) {
      const std::string name = entry.path().filename().string();
      if (entry.path() == path_ || name.starts_with('.') || entry.is_symlink(error) ||
          !entry.is_directory(error)) {
        continue;
      }
      others.emplace_back(LastRead(entry.path()), entry.path());
    }
    std::sort(others.begin(), others.end());
    for (const auto& [last_read, other] : others) {
      if (*used_ + size <= limit_) break;
      FileDescriptor lock(open((other / LOCK).c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
      if (lock.get() >= 0 && flock(lock.get(), LOCK_EX | LOCK_NB) != 0) continue;  // being read
      // Renamed first, so that no reader takes it while it goes.
      const std::filesystem::path gone =
          std::filesystem::path(root_) / (".gone-" + other.filename().string());
      const std::uint64_t bytes = FolderBytes(other);
      if (rename(other.c_str(), gone.c_str()) != 0) continue;
      std::filesystem::remove_all(gone, error);
      *used_ -= std::min(*used_, bytes);
    }
    if (*used_ + size > limit_) {
      return "the cache holds at most " + std::to_string(limit_ / MIB) + " MiB (" +
             std::string(ARCHIVE_CACHE_SETTING) + " in settings.conf)";
    }
  }
  const std::string part = std::to_string(number) + std::string(PART);
  FileDescriptor file(openat(folder_.get(), part.c_str(),
                             O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (file.get() < 0)
    return "the cache folder " + path_ + " cannot be written: " + std::strerror(errno);
  *used_ += size;
  return Writer(folder_.get(), number, std::move(file));
}

ArchiveCache::Writer::Writer(int folder, std::uint32_t number, FileDescriptor file)
    : folder_(folder), name_(std::to_string(number)), file_(std::move(file)) {}

ArchiveCache::Writer::Writer(Writer&& other) noexcept
    : folder_(other.folder_),
      name_(std::move(other.name_)),
      file_(std::move(other.file_)),
      size_(other.size_) {}

ArchiveCache::Writer::~Writer() {
  if (file_.get() >= 0) unlinkat(folder_, (name_ + std::string(PART)).c_str(), 0);
}

ErrorOr<void, SystemError> ArchiveCache::Writer::Append(std::span<const std::uint8_t> bytes) {
  if (!IsAllZero(bytes)) {
    for (std::size_t done = 0; done < bytes.size();) {
      const ssize_t count = pwrite(file_.get(), bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(size_ + done));
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) return SystemError::FromErrno("pwrite");
      if (count == 0) return SystemError{"pwrite", ENOSPC};
      done += static_cast<std::size_t>(count);
    }
  }
  size_ += bytes.size();
  return {};
}

ErrorOr<void, SystemError> ArchiveCache::Writer::Commit() {
  const std::string part = name_ + std::string(PART);
  if (ftruncate(file_.get(), static_cast<off_t>(size_)) != 0) {
    return SystemError::FromErrno("ftruncate");
  }
  if (renameat(folder_, part.c_str(), folder_, name_.c_str()) != 0) {
    return SystemError::FromErrno("rename");
  }
  close(file_.release());  // the name is the member's now
  return {};
}
