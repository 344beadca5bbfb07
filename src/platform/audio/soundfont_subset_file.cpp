// The file callbacks through which FluidSynth reads a subset.
#include "platform/audio/soundfont_subset_file.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "platform/files/regular_file.h"

namespace {

constexpr std::string_view NAME_PREFIX = "yomu-soundfont-subset:";

// An open subset: the soundfont file, and a position in the subset's bytes.
struct OpenSubset {
  OpenSubset(const SoundFontSubset& subset, RegularFile soundfont)
      : file(std::move(soundfont)), bytes(subset, file) {}
  RegularFile file;
  SubsetBytes bytes;
  std::uint64_t at = 0;
};

void* OpenFile(const char* name) {
  const std::string_view text(name);
  if (!text.starts_with(NAME_PREFIX)) return nullptr;
  std::uintptr_t address = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data() + NAME_PREFIX.size(), end, address, 16);
  if (error != std::errc() || rest != end || address == 0) return nullptr;
  const auto& subset = *reinterpret_cast<const SoundFontSubset*>(address);
  FileOr<RegularFile> file = RegularFile::Open(subset.path);
  if (!file || file->size() < subset.kept_bytes) return nullptr;
  return new OpenSubset(subset, std::move(*file));
}

int ReadFile(void* buffer, fluid_long_long_t count, void* handle) {
  auto& open = *static_cast<OpenSubset*>(handle);
  if (count < 0 || static_cast<std::uint64_t>(count) > open.bytes.size() - open.at)
    return FLUID_FAILED;
  const std::span<std::uint8_t> out(static_cast<std::uint8_t*>(buffer),
                                    static_cast<std::size_t>(count));
  if (!open.bytes.ReadExactly(open.at, out)) return FLUID_FAILED;
  open.at += out.size();
  return FLUID_OK;
}

int SeekFile(void* handle, fluid_long_long_t offset, int origin) {
  auto& open = *static_cast<OpenSubset*>(handle);
  const auto size = static_cast<fluid_long_long_t>(open.bytes.size());
  const fluid_long_long_t base = origin == SEEK_SET   ? 0
                                 : origin == SEEK_CUR ? static_cast<fluid_long_long_t>(open.at)
                                 : origin == SEEK_END ? size
                                                      : -1;
  if (base < 0 || offset < -base || offset > size - base) return FLUID_FAILED;
  open.at = static_cast<std::uint64_t>(base + offset);
  return FLUID_OK;
}

fluid_long_long_t TellFile(void* handle) {
  return static_cast<fluid_long_long_t>(static_cast<OpenSubset*>(handle)->at);
}

int CloseFile(void* handle) {
  delete static_cast<OpenSubset*>(handle);
  return FLUID_OK;
}

}  // namespace

bool AddSubsetLoader(fluid_synth_t* synth, fluid_settings_t* settings) {
  fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
  if (loader == nullptr) return false;
  fluid_sfloader_set_callbacks(loader, OpenFile, ReadFile, SeekFile, TellFile, CloseFile);
  fluid_synth_add_sfloader(synth, loader);  // the synthesizer owns it from here
  return true;
}

std::string SubsetFileName(const SoundFontSubset& subset) {
  char address[2 * sizeof(std::uintptr_t) + 1];
  const auto end = std::to_chars(address, address + sizeof address,
                                 reinterpret_cast<std::uintptr_t>(&subset), 16)
                       .ptr;
  return std::string(NAME_PREFIX) + std::string(address, end);
}
