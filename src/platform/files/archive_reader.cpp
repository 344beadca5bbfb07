// libarchive over the archive file read by position, with names in CP932 converted
// under a UTF-8 character type set for this thread alone while headers are read.
#include "platform/files/archive_reader.h"

#include <locale.h>
#include <stdio.h>

#include <algorithm>
#include <utility>

#include "platform/files/libarchive_calls.h"

namespace {

// What libarchive may read: the archives novels were shared in, and the streams
// that wrap them. Formats that describe files elsewhere (mtree) or that run an
// outside program (lrzip, lzop, grzip) are left out, and so is cpio, whose reader
// in libarchive 3.6 dereferences a null name when a hard link's name does not
// convert.
using Support = int (*LibArchive::*)(archive*);
constexpr Support FORMATS[] = {
    &LibArchive::archive_read_support_format_zip,  &LibArchive::archive_read_support_format_lha,
    &LibArchive::archive_read_support_format_7zip, &LibArchive::archive_read_support_format_rar,
    &LibArchive::archive_read_support_format_rar5, &LibArchive::archive_read_support_format_cab,
    &LibArchive::archive_read_support_format_tar,  &LibArchive::archive_read_support_format_iso9660,
};
constexpr Support FILTERS[] = {
    &LibArchive::archive_read_support_filter_gzip,
    &LibArchive::archive_read_support_filter_bzip2,
    &LibArchive::archive_read_support_filter_xz,
    &LibArchive::archive_read_support_filter_lzma,
    &LibArchive::archive_read_support_filter_lzip,
    &LibArchive::archive_read_support_filter_zstd,
    &LibArchive::archive_read_support_filter_compress,
};

// The extensions of those archives, as novels were shared in them.
constexpr const char* HEADER_CHARSETS[] = {"hdrcharset=CP932", "hdrcharset=ISO-8859-1"};

constexpr std::size_t FIRST_BLOCK_BYTES = 4096;
constexpr std::size_t LARGEST_BLOCK_BYTES = 256 * 1024;

// libarchive converts CP932 names only when the character type is UTF-8; this sets
// the pass's UTF-8 locale for the calling thread while it lives, and leaves the
// program's own alone.
class Utf8CharacterType {
 public:
  explicit Utf8CharacterType(locale_t utf8) : utf8_(utf8) {
    if (utf8_ != locale_t{}) previous_ = uselocale(utf8_);
  }
  ~Utf8CharacterType() {
    if (utf8_ != locale_t{}) uselocale(previous_);
  }
  Utf8CharacterType(const Utf8CharacterType&) = delete;
  Utf8CharacterType& operator=(const Utf8CharacterType&) = delete;

 private:
  locale_t utf8_;
  locale_t previous_{};
};

MemberHeader::Kind KindOf(const LibArchive& lib, archive_entry* entry) {
  if (lib.archive_entry_hardlink(entry) != nullptr) return MemberHeader::Kind::Other;
  switch (lib.archive_entry_filetype(entry)) {
    case AE_IFREG: return MemberHeader::Kind::RegularFile;
    case AE_IFDIR: return MemberHeader::Kind::Folder;
    default: return MemberHeader::Kind::Other;
  }
}

}  // namespace

bool IsArchiveName(std::string_view name) {
  return std::any_of(std::begin(ARCHIVE_EXTENSIONS), std::end(ARCHIVE_EXTENSIONS),
                     [name](std::string_view extension) {
                       if (name.size() <= extension.size()) return false;
                       const std::string_view end = name.substr(name.size() - extension.size());
                       return std::equal(end.begin(), end.end(), extension.begin(),
                                         [](char a, char b) { return (a | 0x20) == b; });
                     });
}

bool IsPartOfSplitZip(ByteSource& file) {
  constexpr std::uint8_t SPLIT_MARKER[] = {'P', 'K', 7, 8};
  constexpr std::uint8_t END_RECORD[] = {'P', 'K', 5, 6};
  constexpr std::size_t END_RECORD_BYTES = 22;
  constexpr std::size_t LONGEST_COMMENT = 0xFFFF;
  std::uint8_t head[4] = {};
  if (file.ReadExactly(0, head) && std::equal(head, head + 4, SPLIT_MARKER)) return true;
  const std::uint64_t tail_size =
      std::min<std::uint64_t>(file.size(), END_RECORD_BYTES + LONGEST_COMMENT);
  std::vector<std::uint8_t> tail(static_cast<std::size_t>(tail_size));
  if (!file.ReadExactly(file.size() - tail_size, tail)) return false;
  const auto end = std::find_end(tail.begin(), tail.end(), END_RECORD, END_RECORD + 4);
  if (end == tail.end() || tail.end() - end < static_cast<std::ptrdiff_t>(END_RECORD_BYTES)) {
    return false;
  }
  const unsigned disk = end[4] | end[5] << 8;  // the number of the disk that ends the archive
  return disk != 0;
}

ArchivePass::ArchivePass(const LibArchive& lib, std::shared_ptr<RegularFile> file)
    : lib_(lib),
      file_(std::move(file)),
      archive_(lib.archive_read_new()),
      utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{})),
      block_size_(FIRST_BLOCK_BYTES) {}

ArchivePass::~ArchivePass() {
  if (archive_ != nullptr) lib_.archive_read_free(archive_);
  if (utf8_ != locale_t{}) freelocale(utf8_);
}

ErrorOr<std::unique_ptr<ArchivePass>, std::string> ArchivePass::Begin(
    std::shared_ptr<RegularFile> file, HeaderNames names) {
  const ErrorOr<LibArchive, std::string>& lib = LoadLibArchive();
  if (!lib) return lib.error();
  std::unique_ptr<ArchivePass> pass(new ArchivePass(*lib, std::move(file)));
  archive* a = pass->archive_;
  if (a == nullptr) return std::string("libarchive cannot start");
  // The archive takes the character type in force when its first conversion is made.
  const Utf8CharacterType utf8(pass->utf8_);
  for (const Support support : FORMATS) (*lib.*support)(a);
  for (const Support support : FILTERS) (*lib.*support)(a);
  lib->archive_read_set_options(a, HEADER_CHARSETS[static_cast<int>(names)]);
  lib->archive_read_set_callback_data(a, pass.get());
  lib->archive_read_set_read_callback(a, &ArchivePass::Read);
  lib->archive_read_set_skip_callback(a, &ArchivePass::Skip);
  lib->archive_read_set_seek_callback(a, &ArchivePass::Seek);
  if (lib->archive_read_open1(a) != ARCHIVE_OK) return pass->Reason();
  return pass;
}

std::string ArchivePass::Reason() const {
  const char* reason = lib_.archive_error_string(archive_);
  return reason != nullptr && reason[0] != '\0' ? reason : "it is damaged or cut short";
}

ErrorOr<std::optional<MemberHeader>, std::string> ArchivePass::Next() {
  const Utf8CharacterType utf8(utf8_);
  archive_entry* entry = nullptr;
  const int status = lib_.archive_read_next_header(archive_, &entry);
  if (status == ARCHIVE_EOF) return std::optional<MemberHeader>();
  if (status < ARCHIVE_WARN || entry == nullptr) return Reason();
  MemberHeader header;
  if (const char* path = lib_.archive_entry_pathname_utf8(entry)) header.path = path;
  header.kind = KindOf(lib_, entry);
  if (lib_.archive_entry_size_is_set(entry) && lib_.archive_entry_size(entry) >= 0) {
    header.size = static_cast<std::uint64_t>(lib_.archive_entry_size(entry));
  }
  header.encrypted = lib_.archive_entry_is_encrypted(entry) != 0;
  return std::optional<MemberHeader>(std::move(header));
}

ErrorOr<std::size_t, std::string> ArchivePass::ReadData(std::span<std::uint8_t> out) {
  const la_ssize_t count = lib_.archive_read_data(archive_, out.data(), out.size());
  if (count < 0) return Reason();
  return static_cast<std::size_t>(count);
}

ArchiveAccess ArchivePass::Access() const {
  const bool filtered = lib_.archive_filter_count(archive_) > 1 ||
                        lib_.archive_filter_code(archive_, 0) != ARCHIVE_FILTER_NONE;
  if (filtered) return ArchiveAccess::Serial;
  switch (lib_.archive_format(archive_) & ARCHIVE_FORMAT_BASE_MASK) {
    case ARCHIVE_FORMAT_ZIP:
    case ARCHIVE_FORMAT_TAR:
    case ARCHIVE_FORMAT_ISO9660:
    case ARCHIVE_FORMAT_LHA: return ArchiveAccess::Direct;
    case ARCHIVE_FORMAT_7ZIP: return ArchiveAccess::Budgeted;
    default: return ArchiveAccess::Serial;  // RAR and CAB skip by unpacking in solid blocks
  }
}

ssize_t ArchivePass::Read(archive*, void* self, const void** block) {
  auto* pass = static_cast<ArchivePass*>(self);
  if (pass->offset_read_ >= pass->read_limit_) {
    pass->limit_reached_ = true;
    return -1;
  }
  pass->block_.resize(static_cast<std::size_t>(
      std::min<std::uint64_t>(pass->block_size_, pass->read_limit_ - pass->offset_read_)));
  const std::size_t count = pass->file_->ReadAt(pass->offset_, pass->block_);
  pass->offset_ += count;
  pass->offset_read_ += count;
  pass->block_size_ = std::min(pass->block_size_ * 2, LARGEST_BLOCK_BYTES);
  *block = pass->block_.data();
  return static_cast<ssize_t>(count);
}

std::int64_t ArchivePass::Skip(archive*, void* self, std::int64_t request) {
  auto* pass = static_cast<ArchivePass*>(self);
  if (request <= 0) return 0;
  const std::uint64_t left = pass->file_->size() - std::min(pass->offset_, pass->file_->size());
  const std::uint64_t skipped = std::min<std::uint64_t>(static_cast<std::uint64_t>(request), left);
  pass->offset_ += skipped;
  pass->block_size_ = FIRST_BLOCK_BYTES;
  return static_cast<std::int64_t>(skipped);
}

std::int64_t ArchivePass::Seek(archive*, void* self, std::int64_t offset, int whence) {
  auto* pass = static_cast<ArchivePass*>(self);
  const auto size = static_cast<std::int64_t>(pass->file_->size());
  std::int64_t target = offset;
  if (whence == SEEK_CUR) target += static_cast<std::int64_t>(pass->offset_);
  if (whence == SEEK_END) target += size;
  if (target < 0) return ARCHIVE_FATAL;
  pass->offset_ = static_cast<std::uint64_t>(std::min(target, size));
  pass->block_size_ = FIRST_BLOCK_BYTES;
  return static_cast<std::int64_t>(pass->offset_);
}
