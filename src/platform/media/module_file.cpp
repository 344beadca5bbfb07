// The ELF headers of a module file, read through a descriptor that never blocks and
// compared with the running program's own.
#include "platform/media/module_file.h"

#include <elf.h>
#include <link.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "platform/files/regular_file.h"

namespace {

using FileHeader = ElfW(Ehdr);
using ProgramHeader = ElfW(Phdr);

constexpr char OWN_PROGRAM[] = "/proc/self/exe";

std::optional<FileHeader> ReadFileHeader(RegularFile& file) {
  FileHeader header{};
  if (!file.ReadExactly(0, {reinterpret_cast<std::uint8_t*>(&header), sizeof header}) ||
      std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) {
    return std::nullopt;
  }
  return header;
}

bool Within(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

bool SameMachine(const FileHeader& header, const FileHeader& own) {
  return header.e_ident[EI_CLASS] == own.e_ident[EI_CLASS] &&
         header.e_ident[EI_DATA] == own.e_ident[EI_DATA] && header.e_machine == own.e_machine;
}

// What is wrong with the file's own header; empty when nothing is.
std::string FileHeaderProblem(const FileHeader& header, std::uint64_t size) {
  FileOr<RegularFile> program = RegularFile::Open(OWN_PROGRAM);
  const std::optional<FileHeader> own = program ? ReadFileHeader(*program) : std::nullopt;
  if (!own) return "the program's own header cannot be read to compare";
  if (!SameMachine(header, *own)) return "built for another machine";
  if (header.e_type != ET_DYN) return "not a shared object";
  const std::uint64_t headers_size = std::uint64_t{header.e_phnum} * sizeof(ProgramHeader);
  if (header.e_phentsize != sizeof(ProgramHeader) || header.e_phnum == 0 ||
      header.e_phnum == PN_XNUM || !Within(header.e_phoff, headers_size, size)) {
    return "cut short or damaged: its program headers lie outside the file";
  }
  return {};
}

// A segment that the headers place past the file's end; empty when none is.
std::string SegmentProblem(RegularFile& file, const FileHeader& header) {
  std::vector<ProgramHeader> headers(header.e_phnum);
  const std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(headers.data()),
                                      headers.size() * sizeof(ProgramHeader));
  if (!file.ReadExactly(header.e_phoff, bytes)) return "its program headers cannot be read";
  for (const ProgramHeader& segment : headers) {
    if (segment.p_type != PT_NULL && !Within(segment.p_offset, segment.p_filesz, file.size())) {
      return "cut short: its segments reach past the end of the file (" +
             std::to_string(file.size()) + " bytes)";
    }
  }
  return {};
}

}  // namespace

ErrorOr<void, std::string> IsLoadableModule(const std::string& path) {
  FileOr<RegularFile> file = RegularFile::Open(path);
  if (!file) return DescribeFileError(file.error());
  const std::optional<FileHeader> header = ReadFileHeader(*file);
  std::string problem = !header ? "not an ELF file" : FileHeaderProblem(*header, file->size());
  if (problem.empty()) problem = SegmentProblem(*file, *header);
  if (!problem.empty()) return problem;
  return {};
}
