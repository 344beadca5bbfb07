// Cutting a soundfont's preset data down to some programs. The preset data is nine
// tables: preset headers, their zones ("bags"), the zones' modulators and
// generators, the same four for instruments, and the sample headers. Each header
// and zone holds the index of its first zone, generator or modulator, and the next
// record's index ends its run; each table ends with a terminal record.
#include "platform/audio/soundfont_subset.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_order.h"
#include "platform/files/regular_file.h"

namespace {

constexpr std::size_t CHUNK_HEADER = 8;
constexpr std::size_t RIFF_HEADER = 12;
// Far above the preset data of any General MIDI bank (a few megabytes at most).
constexpr std::uint32_t PRESET_DATA_MAX_BYTES = 64 * 1024 * 1024;

struct PartFormat {
  char id[5];
  std::size_t record_bytes;
};
constexpr PartFormat PART_FORMATS[] = {
    {"phdr", 38}, {"pbag", 4},  {"pmod", 10}, {"pgen", 4},  {"inst", 22},
    {"ibag", 4},  {"imod", 10}, {"igen", 4},  {"shdr", 46},
};

// Where a record holds its index into the next table.
constexpr std::size_t PRESET_BAG_AT = 24;  // after the name, program and bank
constexpr std::size_t PRESET_PROGRAM_AT = 20;
constexpr std::size_t PRESET_BANK_AT = 22;
constexpr std::uint32_t DRUM_KIT_BANK = 128;  // where the drum channel finds its kits
constexpr std::size_t INSTRUMENT_BAG_AT = 20;
constexpr std::uint32_t GENERATOR_INSTRUMENT = 41;

bool IsId(const std::uint8_t* at, const char* id) { return std::memcmp(at, id, 4) == 0; }

void AppendRecord(std::vector<std::uint8_t>& out, const std::uint8_t* record, std::size_t bytes) {
  out.insert(out.end(), record, record + bytes);
}

}  // namespace

std::optional<SoundFontLayout> SoundFontLayout::Read(const std::string& path) {
  FileOr<RegularFile> file = RegularFile::Open(path);
  if (!file) return std::nullopt;
  return Read(*file, path);
}

std::optional<SoundFontLayout> SoundFontLayout::Read(ByteSource& file, std::string path) {
  std::uint8_t header[RIFF_HEADER];
  if (!file.ReadExactly(0, header) || !IsId(header, "RIFF") || !IsId(header + 8, "sfbk"))
    return std::nullopt;
  // The lists follow one another; the preset data is the one that matters here.
  for (std::uint64_t at = RIFF_HEADER; at + RIFF_HEADER <= file.size();) {
    std::uint8_t chunk[RIFF_HEADER];
    if (!file.ReadExactly(at, chunk)) return std::nullopt;
    const std::uint32_t bytes = ReadLe32(chunk + 4);
    if (IsId(chunk, "LIST") && IsId(chunk + 8, "pdta")) {
      if (bytes < 4 || bytes > PRESET_DATA_MAX_BYTES || bytes > file.size() - at - CHUNK_HEADER)
        return std::nullopt;
      std::vector<std::uint8_t> list(bytes - 4);
      if (!file.ReadExactly(at + RIFF_HEADER, list)) return std::nullopt;
      SoundFontLayout layout;
      layout.path_ = std::move(path);
      layout.preset_data_offset_ = at;
      if (!layout.ReadParts(list) || !layout.Consistent()) return std::nullopt;
      return layout;
    }
    at += CHUNK_HEADER + bytes + (bytes & 1);
  }
  return std::nullopt;
}

bool SoundFontLayout::ReadParts(const std::vector<std::uint8_t>& list) {
  std::size_t at = 0;
  for (int part = 0; part < PART_COUNT; ++part) {
    if (list.size() - at < CHUNK_HEADER || !IsId(&list[at], PART_FORMATS[part].id)) return false;
    const std::uint32_t bytes = ReadLe32(&list[at + 4]);
    at += CHUNK_HEADER;
    const std::size_t record = PART_FORMATS[part].record_bytes;
    if (bytes > list.size() - at || bytes % record != 0 || bytes < record) return false;
    parts_[part].assign(list.begin() + static_cast<std::ptrdiff_t>(at),
                        list.begin() + static_cast<std::ptrdiff_t>(at + bytes));
    at += bytes;
  }
  return true;
}

std::size_t SoundFontLayout::Count(Part part) const {
  return parts_[part].size() / PART_FORMATS[part].record_bytes;
}

const std::uint8_t* SoundFontLayout::Record(Part part, std::size_t index) const {
  return &parts_[part][index * PART_FORMATS[part].record_bytes];
}

// Every run lies inside its table and none runs backwards, and every instrument
// that a preset names is there: what the cut copies is then always whole.
bool SoundFontLayout::Consistent() const {
  const auto runs_in_order = [this](Part part, std::size_t at, Part next) {
    std::uint32_t last = 0;
    for (std::size_t i = 0; i < Count(part); ++i) {
      const std::uint32_t index = ReadLe16(Record(part, i) + at);
      if (index < last || index >= Count(next)) return false;
      last = index;
    }
    return true;
  };
  if (!runs_in_order(PHDR, PRESET_BAG_AT, PBAG) || !runs_in_order(PBAG, 0, PGEN) ||
      !runs_in_order(PBAG, 2, PMOD) || !runs_in_order(INST, INSTRUMENT_BAG_AT, IBAG) ||
      !runs_in_order(IBAG, 0, IGEN) || !runs_in_order(IBAG, 2, IMOD)) {
    return false;
  }
  for (std::size_t i = 0; i + 1 < Count(PGEN); ++i) {
    const std::uint8_t* generator = Record(PGEN, i);
    if (ReadLe16(generator) == GENERATOR_INSTRUMENT && ReadLe16(generator + 2) + 1 >= Count(INST))
      return false;
  }
  return true;
}

SoundFontSubset SoundFontLayout::Subset(const MidiPrograms& programs) const {
  std::vector<std::uint8_t> out[PART_COUNT];
  const auto count_out = [&out](Part part) {
    return static_cast<std::uint32_t>(out[part].size() / PART_FORMATS[part].record_bytes);
  };
  // A record copied as it is, but for the index (at index_at) of its first zone,
  // which becomes where the cut's next zone of `bags` goes.
  const auto append_header = [&](Part part, std::size_t index, std::size_t index_at, Part bags) {
    const std::size_t first = out[part].size();
    AppendRecord(out[part], Record(part, index), PART_FORMATS[part].record_bytes);
    WriteLe16(&out[part][first + index_at], count_out(bags));
  };
  // A zone starts where the cut's next generator and modulator go.
  const auto append_zone = [&](Part bags, Part mods, Part gens) {
    AppendLe16(out[bags], count_out(gens));
    AppendLe16(out[bags], count_out(mods));
  };
  const auto copy_zones = [&](Part bags, Part mods, Part gens, std::size_t first, std::size_t end,
                              auto&& on_generator) {
    for (std::size_t bag = first; bag < end; ++bag) {
      append_zone(bags, mods, gens);
      for (std::size_t g = ReadLe16(Record(bags, bag)); g < ReadLe16(Record(bags, bag + 1)); ++g) {
        std::uint8_t generator[4];
        std::memcpy(generator, Record(gens, g), sizeof generator);
        on_generator(generator);
        AppendRecord(out[gens], generator, sizeof generator);
      }
      for (std::size_t m = ReadLe16(Record(bags, bag) + 2); m < ReadLe16(Record(bags, bag + 1) + 2);
           ++m) {
        AppendRecord(out[mods], Record(mods, m), PART_FORMATS[mods].record_bytes);
      }
    }
  };

  // Instruments get new numbers in the order that the kept presets name them.
  std::vector<std::uint32_t> new_instrument(Count(INST), UINT32_MAX);
  std::vector<std::size_t> kept_instruments;
  const auto renumber_instrument = [&](std::uint8_t* generator) {
    if (ReadLe16(generator) != GENERATOR_INSTRUMENT) return;
    const std::uint32_t instrument = ReadLe16(generator + 2);
    if (new_instrument[instrument] == UINT32_MAX) {
      new_instrument[instrument] = static_cast<std::uint32_t>(kept_instruments.size());
      kept_instruments.push_back(instrument);
    }
    WriteLe16(generator + 2, new_instrument[instrument]);
  };
  for (std::size_t preset = 0; preset + 1 < Count(PHDR); ++preset) {
    const std::uint8_t* header = Record(PHDR, preset);
    const std::uint32_t program = ReadLe16(header + PRESET_PROGRAM_AT);
    const bool drum_kit = ReadLe16(header + PRESET_BANK_AT) == DRUM_KIT_BANK;
    if (program >= MIDI_PROGRAM_COUNT || !programs[program] ||
        (drum_kit && !programs[MIDI_DRUM_KITS])) {
      continue;
    }
    append_header(PHDR, preset, PRESET_BAG_AT, PBAG);
    copy_zones(PBAG, PMOD, PGEN, ReadLe16(header + PRESET_BAG_AT),
               ReadLe16(Record(PHDR, preset + 1) + PRESET_BAG_AT), renumber_instrument);
  }
  for (std::size_t instrument : kept_instruments) {
    append_header(INST, instrument, INSTRUMENT_BAG_AT, IBAG);
    copy_zones(IBAG, IMOD, IGEN, ReadLe16(Record(INST, instrument) + INSTRUMENT_BAG_AT),
               ReadLe16(Record(INST, instrument + 1) + INSTRUMENT_BAG_AT), [](std::uint8_t*) {});
  }
  // The terminal records: the original ones, with the new ends of the runs.
  append_header(PHDR, Count(PHDR) - 1, PRESET_BAG_AT, PBAG);
  append_zone(PBAG, PMOD, PGEN);
  append_header(INST, Count(INST) - 1, INSTRUMENT_BAG_AT, IBAG);
  append_zone(IBAG, IMOD, IGEN);
  for (Part part : {PMOD, PGEN, IMOD, IGEN})
    AppendRecord(out[part], Record(part, Count(part) - 1), PART_FORMATS[part].record_bytes);
  out[SHDR] = parts_[SHDR];  // the instruments' sample numbers stay as they are

  std::size_t list_bytes = 4;  // the list's type
  for (const std::vector<std::uint8_t>& part : out) list_bytes += CHUNK_HEADER + part.size();
  SoundFontSubset subset;
  subset.path = path_;
  subset.kept_bytes = preset_data_offset_;
  std::vector<std::uint8_t>& list = subset.presets;
  list.insert(list.end(), {'L', 'I', 'S', 'T'});
  AppendLe32(list, static_cast<std::uint32_t>(list_bytes));
  list.insert(list.end(), {'p', 'd', 't', 'a'});
  for (int part = 0; part < PART_COUNT; ++part) {
    list.insert(list.end(), PART_FORMATS[part].id, PART_FORMATS[part].id + 4);
    AppendLe32(list, static_cast<std::uint32_t>(out[part].size()));
    list.insert(list.end(), out[part].begin(), out[part].end());
  }
  subset.header = {'R', 'I', 'F', 'F'};
  AppendLe32(subset.header, static_cast<std::uint32_t>(subset.size() - CHUNK_HEADER));
  subset.header.insert(subset.header.end(), {'s', 'f', 'b', 'k'});
  return subset;
}

SubsetBytes::SubsetBytes(const SoundFontSubset& subset, ByteSource& soundfont)
    : subset_(subset), soundfont_(soundfont) {}

std::size_t SubsetBytes::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size() && offset < size()) {
    const std::span<std::uint8_t> rest = out.subspan(done);
    std::size_t part = 0;
    if (offset < subset_.header.size()) {
      part = SpanSource(subset_.header)
                 .ReadAt(offset, rest.first(std::min<std::uint64_t>(
                                     rest.size(), subset_.header.size() - offset)));
    } else if (offset < subset_.kept_bytes) {
      part = soundfont_.ReadAt(
          offset, rest.first(std::min<std::uint64_t>(rest.size(), subset_.kept_bytes - offset)));
      if (part == 0) break;  // the soundfont ends early, or could not be read
    } else {
      part = SpanSource(subset_.presets).ReadAt(offset - subset_.kept_bytes, rest);
    }
    done += part;
    offset += part;
  }
  return done;
}
