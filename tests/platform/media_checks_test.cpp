// Media files: what the checks of sound and MIDI files let through to the decoders,
// which file plays a CD track, and the default chime.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/files/volume.h"
#include "platform/media/default_sound.h"
#include "platform/media/midi_file.h"
#include "platform/media/track_files.h"
#include "platform/media/track_formats.h"
#include "platform/media/wave_file.h"
#include "platform/shift_jis.h"
#include "support/bmp_writer.h"
#include "support/novel.h"
#include "support/test_data.h"

namespace {

std::span<const std::uint8_t> Bytes(const std::string& b) {
  return {reinterpret_cast<const std::uint8_t*>(b.data()), b.size()};
}

// fmt (tag, channels, rate, align, bits) and data chunks in the order given.
std::string Wave(std::uint32_t tag, std::uint32_t channels, std::uint32_t rate, std::uint32_t align,
                 std::uint32_t bits, std::size_t data_bytes, bool data_first = false) {
  std::string fmt = "fmt ", data = "data";
  Put32(fmt, 16);
  for (std::uint32_t field : {tag | channels << 16, rate, rate * align, align | bits << 16}) {
    Put32(fmt, field);
  }
  Put32(data, static_cast<std::uint32_t>(data_bytes));
  data += std::string(data_bytes + data_bytes % 2, '\x80');
  return std::string("RIFF\x24\0\0\0WAVE", 12) + (data_first ? data + fmt : fmt + data);
}

TEST(MediaChecks, WaveFilesAreWhatTheirUseCanPlayWithinASoundsLength) {
  const std::size_t ten_minutes = 10 * 60 * 8000;
  const struct { std::string file; WaveUse use; std::int64_t data_bytes; } cases[] = {
      {Wave(1, 1, 8000, 1, 8, ten_minutes), WaveUse::Sound, 120 * 8000},  // two minutes
      {Wave(1, 1, 8000, 1, 8, ten_minutes), WaveUse::CdTrack, ten_minutes},
      {Wave(1, 2, 22050, 4, 16, 1001, true), WaveUse::Sound, 1000},  // whole frames
      {Wave(1, 0, 22050, 0, 16, 94), WaveUse::CdTrack, -1},
      {Wave(1, 1, 0, 2, 16, 94), WaveUse::Sound, -1},
      {Wave(1, 1, 8000, 1, 12, 94), WaveUse::Sound, -1},
      {Wave(0x11, 1, 8000, 256, 4, 512), WaveUse::Sound, 512},
      {Wave(0x11, 1, 8000, 256, 4, 512), WaveUse::CdTrack, -1},
      {Wave(0x11, 1, 8000, 3, 4, 512), WaveUse::Sound, -1},
      {Wave(2, 1, 8000, 256, 4, 512), WaveUse::Sound, -1},  // no coefficients
      {std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14), WaveUse::Sound, -1}};
  for (const auto& c : cases) {
    SpanSource source(Bytes(c.file));
    const std::optional<WaveLayout> layout = ReadWaveLayout(source, c.use);
    EXPECT_EQ(layout ? std::int64_t{layout->data_bytes} : -1, c.data_bytes) << c.file.substr(20, 8);
  }
}

std::string Midi(const std::string& track, std::uint32_t division = 0x60, int tracks = 1) {
  std::string file("MThd\0\0\0\x06\0\x01\0", 11);
  for (std::uint32_t byte : {std::uint32_t(tracks), division >> 8, division}) {
    file += static_cast<char>(byte);
  }
  for (int i = 0; i < tracks; ++i) {
    file += "MTrk" + std::string(3, '\0') + static_cast<char>(track.size()) + track;
  }
  return file;
}

TEST(MediaChecks, MidiFilesAreWrittenAnewWithExplicitStatusAndAnEndToEachTrack) {
  const std::string end("\0\xFF\x2F\0", 4);
  // The file, and its first track as written anew.
  const std::pair<std::string, std::string> cases[] = {
      {Midi(std::string("\0\x90\x3C\x40\x10\x3E\x40", 7) + end),
       std::string("\0\x90\x3C\x40\x10\x90\x3E\x40", 8) + end},
      {Midi(std::string("\0\xC0\x05", 3)), std::string("\0\xC0\x05", 3) + end},
      {Midi(""), end},
      {Midi(std::string("\0\xFF\x51\x03\0\0\0", 7) + end), ""},  // a tempo of 0
      {Midi(end, 0xE728), ""},                                   // SMPTE time
      {Midi(std::string("\0\x3C\x40", 3)), ""},                  // no status yet
      {Midi(std::string("\0\xF1\x01", 3)), ""},
      {Midi(std::string("\0\x90\x3C\x80", 4)), ""},
      {Midi(std::string("\0\xF0\x7F\x01", 4)), ""},  // the message runs past the track
      {Midi(end, 0x60, 0), ""}};
  for (const auto& [file, track] : cases) {
    const std::optional<CheckedMidi> checked = CheckedMidiFile(Bytes(file));
    const std::string written =
        checked ? std::string(checked->bytes.begin() + 22, checked->bytes.end()) : "";
    EXPECT_EQ(written, track) << testing::PrintToString(file);
  }
  // The programs that the soundfont is cut to: on every channel, by running status
  // too, and not the data of other messages.
  const std::string programs("\0\xC0\x05\0\x07\0\xC9\x10\0\x90\x30\x40", 12);
  const std::optional<CheckedMidi> checked = CheckedMidiFile(Bytes(Midi(programs)));
  ASSERT_TRUE(checked);
  EXPECT_EQ(checked->programs, MidiPrograms().set(5).set(7).set(16));
  // The drum kits: for a note on the drum channel, or a maker's own message (which
  // may make any channel a drum part); not for a silent note there, nor General MIDI on.
  const auto drums = [](const std::string& events) {
    const std::optional<CheckedMidi> file = CheckedMidiFile(Bytes(Midi(events)));
    return file && file->programs[MIDI_DRUM_KITS];
  };
  EXPECT_TRUE(drums(std::string("\0\x99\x24\x40", 4)));
  EXPECT_TRUE(drums(std::string("\0\x99\x24\0\0\x24\x40", 7)));
  EXPECT_FALSE(drums(std::string("\0\x99\x24\0\0\x98\x24\x40", 8)));
  EXPECT_FALSE(drums(std::string("\0\xF0\x05\x7E\x7F\x09\x01\xF7", 8)));
  EXPECT_TRUE(drums(std::string("\0\xF0\x0A\x41\x10\x42\x12\x40\x11\x15\x02\x1A\xF7", 13)));
  EXPECT_TRUE(drums(std::string("\0\xF0\x00", 3)));
}

// trackNN with the first of ogg, flac, mp3, wav, in the novel's directory or its cd/
// folder, names matched without regard to case.
// Real files of each compressed format pass their header's check, and each field that
// a decoder sizes or divides by fails it when broken.
TEST(MediaChecks, CompressedTrackHeadersAreCheckedFieldByField) {
  const std::string ogg = ReadBytes(TestDataPath("ogg/freedesktop-complete.oga"));
  const std::string flac = ReadBytes(TestDataPath("flac/freedink-nono.flac"));
  const std::string mp3 = ReadBytes(TestDataPath("mp3/freedink-nono.mp3"));
  const std::string id3 = ReadBytes(TestDataPath("mp3/freedink-nono-id3.mp3"));
  const auto with = [](std::string bytes, std::size_t at, char value) {
    bytes.replace(at, 1, 1, value);
    return bytes;
  };
  const struct {
    const char* extension;
    std::string file;
    bool checked;
  } cases[] = {
      {"ogg", ogg, true},                   {"ogg", with(ogg, 0, 'X'), false},
      {"ogg", with(ogg, 5, 0), false},      // not the stream's first page
      {"ogg", with(ogg, 27, 29), false},    // the first packet is no identification
      {"ogg", with(ogg, 29, 'X'), false},   {"ogg", with(ogg, 35, 1), false},  // version
      {"ogg", with(ogg, 56, 0x5B), false},  // the small block larger than the large
      {"ogg", with(ogg, 57, 0), false},     // no framing bit
      {"flac", flac, true},                 {"flac", with(flac, 0, 'x'), false},
      {"flac", with(flac, 4, 1), false},    // the first block is no STREAMINFO
      {"flac", with(flac, 7, 33), false},   {"flac", with(with(flac, 8, 0), 9, 8), false},
      {"flac", with(flac, 10, 8), false},   // the largest block below the smallest
      {"flac", with(with(with(flac, 18, 0), 19, 0), 20, 2), false},  // no sample rate
      {"flac", with(with(flac, 20, 0x22 & ~1), 21, 0), false},       // 1 bit a sample
      {"mp3", mp3, true},                   {"mp3", id3, true},
      {"mp3", with(mp3, 0, 0), false},      {"mp3", with(mp3, 2, '\xF0'), false},  // bitrate 15
      {"mp3", with(mp3, 2, '\x8C'), false},  // rate index 3
      {"mp3", mp3.substr(0, 100), false},     // one frame header without a second
      {"mp3", with(id3, 6, '\x80'), false},  // a tag size of more than 7 bits a byte
  };
  for (const auto& c : cases) {
    SpanSource file(Bytes(c.file));
    EXPECT_EQ(TrackFormatOf(std::string(".") + c.extension)->checked_start(file).has_value(), c.checked)
        << c.extension << " case " << &c - cases;
  }
  SpanSource tagged(Bytes(id3));
  EXPECT_EQ(CheckedMp3(tagged), 102u) << "the decoder begins after the ID3 tag";
}

TEST(MediaTrackFiles, FirstFormatInTheNovelThenItsCdFolder) {
  Novel novel;
  std::filesystem::create_directory(novel.File("Cd"));  // neither "cd" nor "CD"
  for (const char* name : {"Cd/track05.OGG", "track02.wav", "track02.mp3", "track02.flac",
                           "Cd/track01.ogg", "track01.wav", "track7.ogg", "track00.ogg"})
    novel.WriteBytes(name, "x");
  std::filesystem::create_directory(novel.File("track08.ogg"));  // a folder is no track
  const std::unique_ptr<Volume> volume = OpenFolder(novel.path());
  const auto track_file = [&volume](int track) -> std::optional<std::string> {
    const auto file = FindTrackFile(*volume, track);
    return file ? std::optional(file->path) : std::nullopt;
  };
  const std::pair<int, const char*> cases[] = {
      {5, "Cd/track05.OGG"}, {2, "track02.flac"}, {1, "track01.wav"}, {6, nullptr}, {7, nullptr},
      {0, nullptr},          {-1, nullptr},       {8, nullptr},         {2147483647, nullptr}};
  for (const auto& [track, file] : cases) {
    EXPECT_EQ(track_file(track), file ? std::optional<std::string>(file) : std::nullopt) << track;
  }
  novel.WriteBytes("TRACK02.ogg", "x");
  EXPECT_EQ(track_file(2), "TRACK02.ogg");
}

TEST(MediaDefaultSound, ShortSoftAndFading) {
  const std::vector<std::int16_t> samples = MakeDefaultSound(44100, 2);
  ASSERT_EQ(samples.size(), 44100u * DEFAULT_SOUND_MS / 1000 * 2);
  int peak = 0;
  for (std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  EXPECT_GT(peak, 2000);   // audible
  EXPECT_LT(peak, 10000);  // soft
  EXPECT_LT(std::abs(static_cast<int>(samples.back())), 100);  // no click at the end
  EXPECT_EQ(samples[1000], samples[1001]);  // left and right alike
  EXPECT_TRUE(MakeDefaultSound(0, 2).empty());
}

}  // namespace
