// A soundfont cut down to the presets that a piece of music can select. FluidSynth
// builds its tables for every zone of every preset when it loads a bank: megabytes
// for a General MIDI bank, of which one piece plays a handful of instruments. The
// cut keeps the samples where they lie in the file and rewrites only the preset
// data, the last part of the file, so the synthesizer reads the samples it needs
// from the file itself as before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/byte_source.h"
#include "platform/media/midi_file.h"

// The file that FluidSynth reads in place of the soundfont: the soundfont's bytes
// up to its preset data (the RIFF header's size changed), then the new preset data.
struct SoundFontSubset {
  std::string path;                   // the soundfont file
  std::vector<std::uint8_t> header;   // the RIFF header, with the new size
  std::uint64_t kept_bytes = 0;       // the file's bytes used as they are, header included
  std::vector<std::uint8_t> presets;  // the new preset data list

  std::uint64_t size() const { return kept_bytes + presets.size(); }
};

// The subset's bytes, those of the header and the preset data from memory and the
// rest from the soundfont's own bytes.
class SubsetBytes final : public ByteSource {
 public:
  // Both must outlive these bytes.
  SubsetBytes(const SoundFontSubset& subset, ByteSource& soundfont);
  std::uint64_t size() const override { return subset_.size(); }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  const SoundFontSubset& subset_;
  ByteSource& soundfont_;
};

// Where a soundfont's preset data lies, and the data itself.
class SoundFontLayout {
 public:
  // Nothing when the file is no soundfont whose preset data is whole and consistent;
  // such a file is then loaded whole, as FluidSynth takes it.
  static std::optional<SoundFontLayout> Read(const std::string& path);
  // The same from the file's bytes, which FluidSynth will read from `path`.
  static std::optional<SoundFontLayout> Read(ByteSource& file, std::string path);

  // The soundfont with the presets, of any bank, whose program is in `programs` (the
  // drum kits only when it holds MIDI_DRUM_KITS), the instruments that they use, and
  // every sample header.
  SoundFontSubset Subset(const MidiPrograms& programs) const;

  std::uint64_t preset_data_offset() const { return preset_data_offset_; }

 private:
  // The preset data's chunks, in the order that the file format sets.
  enum Part { PHDR, PBAG, PMOD, PGEN, INST, IBAG, IMOD, IGEN, SHDR, PART_COUNT };

  SoundFontLayout() = default;
  bool ReadParts(const std::vector<std::uint8_t>& list);
  bool Consistent() const;
  std::size_t Count(Part part) const;
  const std::uint8_t* Record(Part part, std::size_t index) const;

  std::string path_;
  std::uint64_t preset_data_offset_ = 0;
  std::vector<std::uint8_t> parts_[PART_COUNT];
};
