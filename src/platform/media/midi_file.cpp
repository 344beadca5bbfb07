// Parsing a Standard MIDI File: the header, then each track's events, with running
// status as the synthesizer's own parser takes it (the last status byte of any kind).
#include "platform/media/midi_file.h"

#include <cstring>

#include "platform/byte_order.h"
#include "platform/files/read_limits.h"

namespace {

constexpr std::size_t CHUNK_HEADER = 8;
constexpr std::uint32_t HEADER_BYTES = 6;
constexpr std::uint32_t MAX_FORMAT = 2;
constexpr std::uint32_t SMPTE_DIVISION = 0x8000;
constexpr std::uint8_t SYSEX = 0xF0;
constexpr std::uint8_t SYSEX_ESCAPE = 0xF7;
constexpr std::uint8_t META = 0xFF;
constexpr std::uint8_t META_END_OF_TRACK = 0x2F;
constexpr std::uint8_t META_TEMPO = 0x51;
constexpr std::uint8_t PROGRAM_CHANGE = 0xC0;
constexpr std::uint8_t NOTE_ON = 0x90;
constexpr std::uint8_t DRUM_CHANNEL = 9;  // the tenth, as General MIDI numbers them
// System-exclusive messages for every maker's instrument: General MIDI on, tuning,
// master volume. None makes a channel a drum part; a maker's own message may.
constexpr std::uint8_t UNIVERSAL_NON_REAL_TIME = 0x7E;
constexpr std::uint8_t UNIVERSAL_REAL_TIME = 0x7F;
constexpr int MAX_LENGTH_BYTES = 4;  // of a variable-length number

void PutNumber(std::vector<char>& out, std::uint32_t value) {
  char bytes[MAX_LENGTH_BYTES];
  int count = 0;
  do {
    bytes[count++] = static_cast<char>(value & 0x7F);
    value >>= 7;
  } while (value != 0 && count < MAX_LENGTH_BYTES);
  while (count > 1) out.push_back(static_cast<char>(bytes[--count] | 0x80));
  out.push_back(bytes[0]);
}

// Reads one track's bytes and writes its events anew.
class TrackReader {
 public:
  TrackReader(std::span<const std::uint8_t> track, CheckedMidi& out, std::uint32_t& events)
      : track_(track), out_(out.bytes), programs_(out.programs), events_(events) {}

  bool Read() {
    while (!ended_) {
      // A track without its end event ends with its chunk.
      if (at_ == track_.size()) {
        PutNumber(out_, 0);
        Put({META, META_END_OF_TRACK, 0});
        return true;
      }
      std::uint32_t delta = 0;
      if (!Number(delta) || ++events_ > MIDI_MAX_EVENTS) return false;
      PutNumber(out_, delta);
      if (!Event()) return false;
    }
    return true;
  }

 private:
  bool Byte(std::uint8_t& value) {
    if (at_ >= track_.size()) return false;
    value = track_[at_++];
    return true;
  }

  bool Number(std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < MAX_LENGTH_BYTES; ++i) {
      std::uint8_t byte = 0;
      if (!Byte(byte)) return false;
      value = value << 7 | (byte & 0x7F);
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  }

  void Put(std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t byte : bytes) out_.push_back(static_cast<char>(byte));
  }

  bool Data(std::uint32_t length) {
    if (length > track_.size() - at_) return false;
    out_.insert(out_.end(), track_.begin() + static_cast<std::ptrdiff_t>(at_),
                track_.begin() + static_cast<std::ptrdiff_t>(at_ + length));
    at_ += length;
    return true;
  }

  bool Event() {
    std::uint8_t status = 0;
    if (at_ < track_.size() && (track_[at_] & 0x80) != 0) {
      status = track_[at_++];
    } else if (running_status_ != 0) {
      status = running_status_;
    } else {
      return false;
    }
    running_status_ = status;
    if (status == META) return Meta();
    if (status == SYSEX || status == SYSEX_ESCAPE) return SystemExclusive(status);
    if (status > SYSEX) return false;  // no other system message belongs in a file
    return Channel(status);
  }

  bool Channel(std::uint8_t status) {
    const int data_count = (status & 0xE0) == 0xC0 ? 1 : 2;  // program and pressure take one
    Put({status});
    std::uint8_t value = 0;
    for (int i = 0; i < data_count; ++i) {
      if (!Byte(value) || value >= 0x80) return false;
      Put({value});
    }
    if ((status & 0xF0) == PROGRAM_CHANGE) programs_.set(value);
    if (status == (NOTE_ON | DRUM_CHANNEL) && value > 0) programs_.set(MIDI_DRUM_KITS);
    return true;
  }

  bool SystemExclusive(std::uint8_t status) {
    std::uint32_t length = 0;
    if (!Number(length) || length > track_.size() - at_) return false;
    if (length == 0 ||
        (track_[at_] != UNIVERSAL_NON_REAL_TIME && track_[at_] != UNIVERSAL_REAL_TIME)) {
      programs_.set(MIDI_DRUM_KITS);
    }
    Put({status});
    PutNumber(out_, length);
    return Data(length);
  }

  bool Meta() {
    std::uint8_t type = 0;
    std::uint32_t length = 0;
    if (!Byte(type) || type >= 0x80 || !Number(length) || length > track_.size() - at_)
      return false;
    // A tempo of 0 microseconds a beat stops the player's clock.
    if (type == META_TEMPO &&
        (length != 3 || (track_[at_] | track_[at_ + 1] | track_[at_ + 2]) == 0)) {
      return false;
    }
    Put({META, type});
    PutNumber(out_, length);
    ended_ = type == META_END_OF_TRACK;
    return Data(length);
  }

  std::span<const std::uint8_t> track_;
  std::vector<char>& out_;
  MidiPrograms& programs_;
  std::uint32_t& events_;
  std::size_t at_ = 0;
  std::uint8_t running_status_ = 0;
  bool ended_ = false;
};

}  // namespace

std::optional<CheckedMidi> CheckedMidiFile(std::span<const std::uint8_t> file) {
  if (file.size() < CHUNK_HEADER + HEADER_BYTES || file.size() > MIDI_FILE_MAX_BYTES ||
      std::memcmp(file.data(), "MThd", 4) != 0) {
    return std::nullopt;
  }
  const std::uint32_t header_bytes = ReadBe32(&file[4]);
  const std::uint32_t format = ReadBe16(&file[8]), tracks = ReadBe16(&file[10]),
                      division = ReadBe16(&file[12]);
  if (header_bytes < HEADER_BYTES || header_bytes > file.size() - CHUNK_HEADER ||
      format > MAX_FORMAT || tracks == 0 || tracks > MIDI_MAX_TRACKS || division == 0 ||
      (division & SMPTE_DIVISION) != 0) {
    return std::nullopt;
  }
  CheckedMidi checked;
  std::vector<char>& out = checked.bytes;
  out.assign(file.begin(), file.begin() + CHUNK_HEADER + HEADER_BYTES);
  out[4] = out[5] = out[6] = 0;
  out[7] = HEADER_BYTES;
  std::size_t at = CHUNK_HEADER + header_bytes;
  std::uint32_t events = 0;
  // Chunks of other kinds between the tracks are passed over, as players do.
  for (std::uint32_t found = 0; found < tracks;) {
    if (file.size() - at < CHUNK_HEADER) return std::nullopt;
    const std::uint32_t length = ReadBe32(&file[at + 4]);
    if (length > file.size() - at - CHUNK_HEADER) return std::nullopt;
    const auto body = file.subspan(at + CHUNK_HEADER, length);
    at += CHUNK_HEADER + length;
    if (std::memcmp(&file[at - length - CHUNK_HEADER], "MTrk", 4) != 0) continue;
    ++found;
    const std::size_t track_start = out.size();
    out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 0});
    if (!TrackReader(body, checked, events).Read()) return std::nullopt;
    const auto track_bytes = static_cast<std::uint32_t>(out.size() - track_start - CHUNK_HEADER);
    std::vector<char> length_bytes;
    AppendBe32(length_bytes, track_bytes);
    std::copy(length_bytes.begin(), length_bytes.end(),
              out.begin() + static_cast<std::ptrdiff_t>(track_start + 4));
  }
  return checked;
}
