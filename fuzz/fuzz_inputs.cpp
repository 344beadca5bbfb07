// The fuzz targets' work: each input goes the way a novel's file goes, through
// the same checks and into the same decoders. Audio plays on SDL's disk driver
// writing to /dev/null as fast as it can, so a track decodes in a moment.
#include "fuzz_inputs.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/headless_runner.h"
#include "check/encoding_rules.h"
#include "data/bookmarks.h"
#include "data/toc.h"
#include "platform/audio/audio_session.h"
#include "platform/audio/soundfont_subset.h"
#include "platform/audio/track_stream.h"
#include "platform/files/archive_volume.h"
#include "platform/files/author_text.h"
#include "platform/files/byte_source.h"
#include "platform/files/folder_volume.h"
#include "platform/gdi/picture_file.h"
#include "platform/headless/headless_backend.h"
#include "platform/media/midi_file.h"
#include "platform/media/wave_file.h"
#include "reader/reader.h"
#include "script/line_table.h"

namespace fuzz {
namespace {

constexpr std::uint8_t PART_SEPARATOR = 0x1D;
constexpr char UTF8_BOM[] = "\xEF\xBB\xBF";
constexpr char FIRST_SCRIPT[] =
    "\xe3\x82\xbf\xe3\x82\xa4\xe3\x83\x88\xe3\x83\xab.txt";  // タイトル.txt
constexpr std::size_t MAX_NAME_BYTES = 40;
constexpr std::uint32_t PLAY_MS = 3;
constexpr std::uint64_t MEMBER_READ_MAX_BYTES = 1 << 20;
constexpr int MIDI_BLOCKS = 24;
constexpr int MIDI_BLOCK_FRAMES = 1024;
// No font: text is laid out but not drawn, which keeps each run short.
constexpr const char* NO_FONT = "/nonexistent/font.ttf";

// Clicks past pauses and a choice, a bookmark saved and opened, a page back, a
// chapter from the contents.
constexpr const char* SCRIPT_EVENTS =
    "click 1 1\nwait 60\nmove 100 100\nclick 100 100\nwait 60\ncommand 600\ncommand 605\n"
    "wait 60\ncommand 800\nwait 60\ncommand 500\n";

std::vector<Input> Parts(Input input) {
  std::vector<Input> parts;
  for (;;) {
    const auto end = std::find(input.begin(), input.end(), PART_SEPARATOR);
    parts.push_back(input.first(static_cast<std::size_t>(end - input.begin())));
    if (end == input.end()) return parts;
    input = input.subspan(parts.back().size() + 1);
  }
}

// A folder of its own for the files of one input, emptied before each.
const std::string& Folder() {
  static const std::string folder = [] {
    const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/yomu-fuzz-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string(base);
  }();
  return folder;
}

// The reader's per-user files (read marks, bookmarks' copies, settings, the archives'
// cache) lie beside it, out of the home of whoever fuzzes, and go with each input's
// files: no input's marks or unpacked members reach the next.
const std::string& HomeFolder() {
  static const std::string home = [] {
    const std::string path = Folder() + "-home";
    std::filesystem::create_directories(path);
    setenv("XDG_DATA_HOME", path.c_str(), 1);
    setenv("XDG_CONFIG_HOME", path.c_str(), 1);
    setenv("XDG_CACHE_HOME", path.c_str(), 1);
    return path;
  }();
  return home;
}

void EmptyFolder() {
  std::error_code ignored;
  for (const std::string& folder : {Folder(), HomeFolder()}) {
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
      std::filesystem::remove_all(entry.path(), ignored);
    }
  }
}

void WriteFile(const std::string& name, Input bytes) {
  std::ofstream(Folder() + "/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// A part's name is its first line, kept to plain names inside the folder.
bool WriteNamedPart(Input part) {
  const auto line_end = std::find(part.begin(), part.end(), '\n');
  std::string name(part.begin(), line_end);
  if (name.size() > MAX_NAME_BYTES || name.empty() || name == "." || name == "..") return false;
  std::replace(name.begin(), name.end(), '/', '_');
  std::replace(name.begin(), name.end(), '\0', '_');
  WriteFile(name, part.subspan(std::min(part.size(), name.size() + 1)));
  return true;
}

// The audio device of the targets, SDL's disk driver writing to /dev/null: opened at
// the first input that plays and kept, for speed, until ReleaseAudio.
struct FuzzAudio {
  AudioSession session;
  bool ready = false;
};
constexpr const char* AUDIO_VARIABLES[][2] = {
    {"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", "/dev/null"}, {"SDL_DISKAUDIODELAY", "0"}};

std::optional<FuzzAudio>& Audio() {
  static std::optional<FuzzAudio> audio;
  return audio;
}

bool AudioReady() {
  std::optional<FuzzAudio>& audio = Audio();
  if (!audio) {
    for (const auto& [name, value] : AUDIO_VARIABLES) setenv(name, value, 1);
    audio.emplace();
    audio->ready = audio->session.Open().has_value();
  }
  return audio->ready;
}

// Plays a track until it ends, at most a short while of the real clock.
void PlayBriefly(ErrorOr<Mix_Music*, std::string> loaded) {
  if (!loaded) return;
  Mix_Music* music = *loaded;
  if (Mix_PlayMusic(music, 0) == 0) {
    const std::uint64_t until = SDL_GetTicks64() + PLAY_MS;
    while (Mix_PlayingMusic() && SDL_GetTicks64() < until) SDL_Delay(1);
  }
  Mix_HaltMusic();
  Mix_FreeMusic(music);
}

struct FluidSynth {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  FluidSynth() {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
      fluid_set_log_function(level, nullptr, nullptr);
    }
    settings = new_fluid_settings();
    fluid_settings_setint(settings, "synth.reverb.active", 0);
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    synth = new_fluid_synth(settings);
  }
  ~FluidSynth() {
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
  }
};

// Every file below folder read, each as far as a megabyte; folders nest only as deep
// as a member's name is long.
void ReadEveryFile(Volume& volume, const std::string& folder) {
  for (const std::string& name : volume.List(folder)) {
    const std::string path = JoinPath(folder, name);
    const FileOr<std::string> bytes = volume.Read(path, MEMBER_READ_MAX_BYTES);
    if (!bytes && bytes.error().problem == FileProblem::NotRegularFile) ReadEveryFile(volume, path);
  }
}

std::size_t LineEnds(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }));
}

// The first script as the reader reads it into its line table and as "yomu check" looks
// at its bytes. However the input is cut, its conversion keeps every line end.
void ReadUtf8Script(const std::string& bytes) {
  static ShiftJis shift_jis;
  static ScriptTable table;
  EmptyFolder();
  WriteFile(FIRST_SCRIPT, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  AuthorTextNotes notes;
  TextFileReader file = OpenAuthorText(shift_jis, std::make_unique<OwnedBytes>(bytes), &notes);
  ScriptTableNotes table_notes;
  ReadScriptTable(file, table, shift_jis, &table_notes);
  EncodingFindings(bytes, notes);
  std::vector<UnconvertedCharacter> unconverted;
  if (LineEnds(Utf8TextToShiftJis(shift_jis, bytes, unconverted)) != LineEnds(bytes)) std::abort();
}

// A CD track of the format that the extension names, checked and played briefly.
void PlayTrack(Input input, std::string_view extension) {
  if (!AudioReady()) return;
  PlayBriefly(LoadTrackMusic(std::make_unique<SpanSource>(input), *TrackFormatOf(extension)));
}

}  // namespace

void Script(Input input) {
  EmptyFolder();
  const std::vector<Input> parts = Parts(input);
  WriteFile(FIRST_SCRIPT, parts[0]);
  for (std::size_t i = 1; i < parts.size(); ++i) WriteNamedPart(parts[i]);
  HeadlessOptions options;
  options.novel = Folder();
  options.font_file = NO_FONT;
  std::istringstream events(SCRIPT_EVENTS);
  std::ostringstream log, errors;
  RunHeadless(options, events, log, errors);
}

void Utf8Script(Input input) {
  const std::string bytes(input.begin(), input.end());
  ReadUtf8Script(UTF8_BOM + bytes);
  ReadUtf8Script(bytes);
}

void DataFiles(Input input) {
  EmptyFolder();
  const std::vector<Input> parts = Parts(input);
  WriteFile("\xe3\x81\x97\xe3\x81\x8a\xe3\x82\x8a.sio", parts[0]);  // しおり.sio
  if (parts.size() > 1) WriteFile("\xe3\x83\x95\xe3\x82\xa1\xe3\x82\xa4\xe3\x83\xab.txt", parts[1]);
  static std::ostringstream log;
  static HeadlessBackend backend({}, log);
  static Platform platform(backend, std::move(*FolderVolume::Open(Folder())), std::string(NO_FONT));
  log.str(std::string());
  const auto reader = std::make_unique<Reader>(platform);
  LoadBookmarks(*reader);
  LoadToc(*reader);
  StoreBookmark(*reader, 0);
}

void Bmp(Input input) { DecodeBitmapFile(input); }

void Wave(Input input) {
  if (!AudioReady()) return;
  SpanSource source(input);
  if (const std::optional<std::vector<std::uint8_t>> sound = ReadCheckedSound(source)) {
    SDL_RWops* rw = SDL_RWFromConstMem(sound->data(), static_cast<int>(sound->size()));
    Mix_FreeChunk(Mix_LoadWAV_RW(rw, 1));
  }
  PlayBriefly(LoadTrackMusic(std::make_unique<SpanSource>(input), *TrackFormatOf(".wav")));
}

void Ogg(Input input) { PlayTrack(input, ".ogg"); }
void Flac(Input input) { PlayTrack(input, ".flac"); }
void Mp3(Input input) { PlayTrack(input, ".mp3"); }

void Midi(Input input) {
  static FluidSynth fluid;
  std::optional<CheckedMidi> file = CheckedMidiFile(input);
  if (!file || fluid.synth == nullptr) return;
  fluid_player_t* player = new_fluid_player(fluid.synth);
  if (player == nullptr) return;
  fluid_player_set_loop(player, 1);
  if (fluid_player_add_mem(player, file->bytes.data(), file->bytes.size()) == FLUID_OK &&
      fluid_player_play(player) == FLUID_OK) {
    std::vector<float> samples(2 * MIDI_BLOCK_FRAMES);
    for (int block = 0; block < MIDI_BLOCKS; ++block) {
      fluid_synth_write_float(fluid.synth, MIDI_BLOCK_FRAMES, samples.data(), 0, 2, samples.data(),
                              1, 2);
    }
  }
  fluid_player_stop(player);
  delete_fluid_player(player);
  fluid_synth_system_reset(fluid.synth);
}

void SoundFont(Input input) {
  SpanSource file(input);
  const std::optional<SoundFontLayout> layout = SoundFontLayout::Read(file, "bank.sf2");
  if (!layout) return;
  // The programs to keep come from the input's size, so that runs keep different ones.
  MidiPrograms programs;
  for (std::size_t bit = 0; bit < programs.size(); ++bit)
    programs[bit] = (input.size() >> (bit % 16)) & 1;
  for (const MidiPrograms& kept : {programs, MidiPrograms().set()}) {
    const SoundFontSubset subset = layout->Subset(kept);
    SubsetBytes cut(subset, file);
    if (!SoundFontLayout::Read(cut, "cut.sf2")) std::abort();
  }
}

void Archive(Input input) {
  EmptyFolder();
  WriteFile("novel.zip", input);
  std::vector<std::string> notes;
  auto volume = ArchiveVolume::Open(Folder() + "/novel.zip", "\x83\x5E\x83\x43\x83\x67\x83\x8B.txt",
                                    notes);  // タイトル.txt
  if (volume) ReadEveryFile(**volume, "");
}

void ReleaseAudio() {
  Audio().reset();
  for (const auto& [name, value] : AUDIO_VARIABLES) unsetenv(name);
}

}  // namespace fuzz
