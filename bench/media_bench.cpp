// The media player on SDL's dummy audio driver: how long "play midi" takes to
// reach the first audio buffer, and the CPU that music costs while nothing else happens.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "platform/audio/mixer_player.h"
#include "platform/files/folder_volume.h"
#include "platform/shift_jis.h"
#include "support/mixer_player_probe.h"
#include "support/test_data.h"

namespace {

using Clock = std::chrono::steady_clock;

// A player on the dummy driver, its MIDI file open, the CD track beside it.
class BenchPlayer {
 public:
  BenchPlayer() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    char pattern[] = "/tmp/yomu-media-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    directory_ = pattern;
    std::filesystem::copy_file(TestDataPath("ogg/freedesktop-complete.oga"),
                               directory_ + "/track01.ogg");
    for (const char* midi : {"dink-2.mid", "freedoom-D_DM2TTL.mid", "freedoom-D_STLKS3.mid"})
      std::filesystem::copy_file(TestDataPath(std::string("midi/") + midi),
                                 directory_ + "/" + midi);
    volume_ = std::move(*FolderVolume::Open(directory_));
    auto player = MixerPlayer::Create({});
    if (player) player_ = player.release_value();
  }
  ~BenchPlayer() {
    player_.reset();
    if (!directory_.empty()) std::filesystem::remove_all(directory_);
  }
  MixerPlayer* get() { return player_.get(); }
  DWORD Send(const std::string& command) {
    return player_->Run(*ParseMediaCommand(command), *volume_);
  }
  // A MIDI file of the folder opened as a script's music line opens it.
  DWORD OpenMidi(const std::string& name) {
    return Send("open \"" + directory_ + "\\" + name + "\" type sequencer alias midi");
  }

 private:
  std::string directory_;
  std::unique_ptr<Volume> volume_;
  std::unique_ptr<MixerPlayer> player_;
};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_MidiPlayToFirstBuffer(benchmark::State& state) {
  BenchPlayer player;
  if (player.get() == nullptr || !MixerPlayerProbe::MidiAvailable(*player.get()))
    return state.SkipWithError("no audio or soundfont");
  if (player.OpenMidi("dink-2.mid") != 0) return state.SkipWithError("the MIDI file did not open");
  int phase_ms = 0;
  for (auto _ : state) {
    // Each play lands at a different point of the device's period, not right after a buffer.
    phase_ms = (phase_ms + 7) % 23;
    std::this_thread::sleep_for(std::chrono::milliseconds(phase_ms));
    player.Send("seek midi to start");
    const std::uint64_t before = MixerPlayerProbe::MidiBuffersRendered(*player.get());
    const Clock::time_point start = Clock::now();
    player.Send("play midi");
    player.get()->ReaderWaits();
    while (MixerPlayerProbe::MidiBuffersRendered(*player.get()) == before)
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  player.Send("close midi");
}
BENCHMARK(BM_MidiPlayToFirstBuffer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

// The reader's wait when a script's music line opens and plays a MIDI file: arg 0,
// the same file again; 1, files that use other instruments in turn, so that each
// wants the soundfont cut to its programs (which loads once the reader waits).
void BM_MidiOpen(benchmark::State& state) {
  BenchPlayer player;
  if (player.get() == nullptr || !MixerPlayerProbe::MidiAvailable(*player.get()))
    return state.SkipWithError("no audio or soundfont");
  const std::string files[] = {"dink-2.mid", "freedoom-D_DM2TTL.mid"};
  int turn = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    if (player.OpenMidi(files[state.range(0) == 0 ? 0 : turn++ % 2]) != 0)
      return state.SkipWithError("the MIDI file did not open");
    player.Send("seek midi to start");
    player.Send("play midi");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    player.get()->ReaderWaits();
    player.Send("close midi");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}
BENCHMARK(BM_MidiOpen)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(100);

// arg 0: MIDI alone; 1: MIDI and a CD track together.
void BM_CpuShareWhileMusicPlays(benchmark::State& state) {
  BenchPlayer player;
  if (player.get() == nullptr || !MixerPlayerProbe::MidiAvailable(*player.get()))
    return state.SkipWithError("no audio or soundfont");
  if (player.OpenMidi("freedoom-D_STLKS3.mid") != 0)
    return state.SkipWithError("the MIDI file did not open");
  player.Send("play midi");
  player.get()->ReaderWaits();
  player.Send("open cdaudio");
  constexpr double SECONDS = 2.0;
  double share = 0;
  for (auto _ : state) {
    // The CD stand-in is a one-second file: it is replayed each second, as the loop timer would.
    const double cpu_before = CpuSeconds();
    const Clock::time_point start = Clock::now();
    while (Clock::now() - start < std::chrono::duration<double>(SECONDS)) {
      if (state.range(0) == 1 && MixerPlayerProbe::CdTrack(*player.get()) == 0)
        player.Send("play cdaudio from 1");
      std::this_thread::sleep_for(std::chrono::milliseconds(state.range(0) == 1 ? 50 : 250));
    }
    share =
        (CpuSeconds() - cpu_before) / std::chrono::duration<double>(Clock::now() - start).count();
  }
  state.counters["cpu_share_percent"] = share * 100;
  player.Send("close midi");
  player.Send("close cdaudio");
}
BENCHMARK(BM_CpuShareWhileMusicPlays)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
