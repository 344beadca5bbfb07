// A large novel (300 pages, each over its own 640 x 480 24-bit picture, 276 MB of
// pictures; large_novel.h) read from its folder, its ZIP (CP932 names, deflate) and its
// solid 7z, each headless as a user starts it, with the archives' cache of the reader's
// own home ($XDG_CACHE_HOME/yomu/archives): cold (emptied before each run, the font's
// search remembered) and warm (after a whole reading and the archive's pass):
//   - the first page: from the start to the first present, with the peak memory;
//   - all pages: every page clicked through, two paragraphs each, until the process
//     ends, with the peak memory;
//   - the click that shows the last page's picture, in-process, once the archive's pass
//     has gone past it: the picture read at the click, and read ahead while the reader
//     waited;
//   - one sequential pass of each archive by bsdtar (and 7z t), the floor of a reading
//     that unpacks everything.
// Read against: all pages from the solid 7z, cold, within 1.3 times one sequential pass
// of the archive; on a warm cache every packing within 1.5 times the folder for all
// pages, and within 20 ms of it for the first page; the last page's click within 2 ms
// of the folder's once the pass has passed it; the peak memory within 32 MB of the
// folder's.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "large_novel.h"
#include "platform/files/open_novel.h"
#include "platform/gdi/picture_file.h"
#include "reader/texts.h"
#include "render/pictures.h"
#include "render/surfaces.h"
#include "spawned_reader.h"
#include "started_reader.h"

namespace {

enum Packing { FOLDER, ZIP, SEVEN_ZIP };
constexpr const char* PACKING_NAMES[] = {"folder", "zip", "7z"};

// How long the archive's pass may take to reach a member before the bench gives up.
constexpr auto PASS_PATIENCE = std::chrono::minutes(5);

const LargeNovel& Novel() {
  static const LargeNovel novel;
  return novel;
}

std::string NovelPath(int packing) {
  switch (packing) {
    case ZIP: return Novel().zip();
    case SEVEN_ZIP: return Novel().seven_zip();
    default: return Novel().folder();
  }
}

// The reader's per-user folders (cache, settings, data, state) in a temporary folder of
// their own while it lives: the archives' cache starts empty and nothing the user keeps
// is read or written. The variables are set back as they were.
class ReaderHome {
 public:
  ReaderHome() {
    for (const char* variable : VARIABLES) {
      const char* value = std::getenv(variable);
      saved_.emplace_back(variable, value ? std::optional<std::string>(value) : std::nullopt);
      const std::string path = folder_.path() + "/" + variable;
      std::filesystem::create_directory(path);
      setenv(variable, path.c_str(), 1);
    }
  }
  ~ReaderHome() {
    for (const auto& [variable, value] : saved_) {
      if (value) setenv(variable, value->c_str(), 1);
      if (!value) unsetenv(variable);
    }
  }
  ReaderHome(const ReaderHome&) = delete;
  ReaderHome& operator=(const ReaderHome&) = delete;

  // The archives' cache emptied; the font's search stays remembered.
  void ForgetArchives() const {
    std::error_code ignored;
    std::filesystem::remove_all(Archives(), ignored);
  }

  // The members whole in the archives' cache: the files named by a member's number.
  int CachedMembers() const {
    namespace fs = std::filesystem;
    int members = 0;
    std::error_code ignored;
    for (const fs::directory_entry& archive : fs::directory_iterator(Archives(), ignored)) {
      for (const fs::directory_entry& file : fs::directory_iterator(archive.path(), ignored)) {
        const std::string name = file.path().filename().string();
        members +=
            std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
      }
    }
    return members;
  }

 private:
  std::string Archives() const { return folder_.path() + "/XDG_CACHE_HOME/yomu/archives"; }

  static constexpr const char* VARIABLES[] = {"XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                              "XDG_STATE_HOME"};
  BenchFolder folder_;
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

SpawnedRun FirstPage(const std::string& novel) {
  return RunUntil({YOMU_BINARY, "--headless", "--events=/dev/null", novel}, " present");
}

SpawnedRun AllPages(const std::string& novel) {
  return RunUntil({YOMU_BINARY, "--headless", "--events=" + Novel().all_pages_events(), novel},
                  " present");
}

bool Warned(const SpawnedRun& run) { return run.log.find(" warning ") != std::string::npos; }

// The state block after the last click: the novel's end reached in its last script.
bool ReachedTheEnd(const SpawnedRun& run) {
  const std::string last_script = large_novel::ScriptUtf8(LARGE_NOVEL_SCRIPTS - 1);
  const std::string pages = std::to_string(LARGE_NOVEL_PAGES_PER_SCRIPT);
  return run.log.find(" state Mode=ModeFinished\n") != std::string::npos &&
         run.log.find(" state PageNumber=" + pages + "\n") != std::string::npos &&
         run.log.find(" state ScriptFileName=" + last_script + "\n") != std::string::npos;
}

// Until the volume opens the file without waiting for the archive's pass.
bool WaitUntilOpensAtOnce(Volume& volume, const std::string& name_sjis) {
  const auto deadline = std::chrono::steady_clock::now() + PASS_PATIENCE;
  for (;;) {
    const FileOr<NovelFile> file = volume.Find(name_sjis);
    if (file && volume.OpensAtOnce(*file)) return true;
    if (!file || std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// Until the archive's pass has kept every file of the novel in the cache: the pass of a
// ZIP runs behind members that open at once all the same.
bool WaitForWholeCache(const ReaderHome& home) {
  const auto deadline = std::chrono::steady_clock::now() + PASS_PATIENCE;
  while (home.CachedMembers() < LARGE_NOVEL_SCRIPTS + LARGE_NOVEL_PAGES) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// The archive's cache made whole: the archive opened until its pass has kept every file
// of the novel.
bool FillCache(const ReaderHome& home, const std::string& novel) {
  auto opened = OpenNovel(novel, texts::FIRST_SCRIPT);
  return opened && WaitForWholeCache(home);
}

// A home for the program's runs, its font found by a first start; warm: its archives'
// cache filled by a whole reading of the novel, and the pass's end.
std::optional<std::string> PrepareHome(const ReaderHome& home, int packing, bool warm) {
  if (!Novel().ok()) return "the novel could not be made";
  if (FirstPage(Novel().folder()).seconds < 0) return "the program showed no page";
  if (!warm) return std::nullopt;
  if (!ReachedTheEnd(AllPages(NovelPath(packing)))) return "the warming reading did not end";
  if (packing != FOLDER && !FillCache(home, NovelPath(packing))) {
    return "the archive's pass did not end";
  }
  return std::nullopt;
}

void LabelRun(benchmark::State& state) {
  state.SetLabel(std::string(PACKING_NAMES[state.range(0)]) +
                 (state.range(1) == 1 ? ", warm cache" : ", cold cache"));
}

// The novel made: its pictures and scripts written, then packed.
void BM_ArchiveNovelMaking(benchmark::State& state) {
  const LargeNovel& novel = Novel();
  for (auto _ : state) {
    state.SetIterationTime(novel.folder_seconds() + novel.zip_seconds() +
                           novel.seven_zip_seconds());
  }
  if (!novel.ok()) return state.SkipWithError("the novel could not be made");
  namespace fs = std::filesystem;
  const double pictures = static_cast<double>(LARGE_NOVEL_PAGES) *
                          fs::file_size(novel.folder() + "/" + large_novel::PictureUtf8(1));
  state.counters["folder_s"] = novel.folder_seconds();
  state.counters["zip_s"] = novel.zip_seconds();
  state.counters["7z_s"] = novel.seven_zip_seconds();
  state.counters["pictures_MB"] = pictures / 1e6;
  state.counters["zip_ratio"] = static_cast<double>(fs::file_size(novel.zip())) / pictures;
  state.counters["7z_ratio"] = static_cast<double>(fs::file_size(novel.seven_zip())) / pictures;
}
BENCHMARK(BM_ArchiveNovelMaking)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Readings of the packing's novel as a user starts them, from a home whose archives'
// cache is cold or warm: {packing, warm}. The first page is timed to its present; all
// pages, every page clicked through, to the process's end.
void TimeReadings(benchmark::State& state, bool all_pages) {
  LabelRun(state);
  const int packing = static_cast<int>(state.range(0));
  const bool warm = state.range(1) == 1;
  const ReaderHome home;
  if (const auto failure = PrepareHome(home, packing, warm)) {
    return state.SkipWithError(failure->c_str());
  }
  double peak_rss_mb = 0;
  for (auto _ : state) {
    if (!warm) home.ForgetArchives();
    const SpawnedRun run = all_pages ? AllPages(NovelPath(packing)) : FirstPage(NovelPath(packing));
    const char* failure = Warned(run)                        ? "the log warns"
                          : all_pages && !ReachedTheEnd(run) ? "the reading did not reach the end"
                          : !all_pages && run.seconds < 0    ? "the program showed no page"
                                                             : nullptr;
    if (failure != nullptr) {
      state.SkipWithError(failure);
      break;
    }
    state.SetIterationTime(all_pages ? run.ended_seconds : run.seconds);
    peak_rss_mb = std::max(peak_rss_mb, run.peak_rss_mb);
  }
  state.counters["peak_rss_MB"] = peak_rss_mb;
}

void BM_ArchiveFirstPage(benchmark::State& state) { TimeReadings(state, false); }
BENCHMARK(BM_ArchiveFirstPage)
    ->ArgsProduct({{FOLDER, ZIP, SEVEN_ZIP}, {0, 1}})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ArchiveAllPages(benchmark::State& state) { TimeReadings(state, true); }
BENCHMARK(BM_ArchiveAllPages)
    ->ArgsProduct({{FOLDER, ZIP, SEVEN_ZIP}, {0, 1}})
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The reader's state that the click before the last page leaves, put back before each
// timed click.
struct PageBefore {
  explicit PageBefore(const ReaderState& s)
      : line(s.CurrentLine),
        wait_pending(s.WaitPending),
        page(s.PageNumber),
        text_top(s.TextRect.top) {}
  void PutBack(ReaderState& s) const {
    s.CurrentLine = line;
    s.WaitPending = wait_pending;
    s.PageNumber = page;
    s.TextTop() = text_top;
    s.Mode = ModeReady;
  }
  std::int32_t line;
  std::int32_t wait_pending;
  std::int32_t page;
  std::int32_t text_top;
};

void Click(StartedReader& started) {
  SendMessageA(*started.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(320, 240));
  SendMessageA(*started.window, WM_LBUTTONUP, 0, MAKELPARAM(320, 240));
  SendMessageA(*started.window, WM_TIMER, TIMER_COOLDOWN, 0);
}

// The page's background half as the picture of the last page, decoded from the folder.
bool ShowsLastPicture(const ReaderState& s) {
  const std::optional<Bitmap> expected =
      LoadBitmapFile(Novel().folder() + "/" + large_novel::PictureUtf8(LARGE_NOVEL_PAGES));
  if (!expected || !s.PageBitmap) return false;
  const std::size_t bytes = std::size_t{PAGE_WIDTH} * PAGE_HEIGHT * sizeof(std::uint32_t);
  return std::memcmp(s.PageBitmap->row(PAGE_HEIGHT), expected->row(0), bytes) == 0;
}

// The click that shows the last page's picture, in-process, once the archive's pass has
// gone past it: {packing, read ahead}. The reader is clicked there from the first page,
// waiting for the pass where a picture is not yet unpacked.
void BM_ArchiveLastPageClick(benchmark::State& state) {
  const int packing = static_cast<int>(state.range(0));
  const bool ahead = state.range(1) == 1;
  state.SetLabel(std::string(PACKING_NAMES[packing]) +
                 (ahead ? ", read ahead while waiting" : ", read at the click"));
  const ReaderHome home;
  if (const auto failure = PrepareHome(home, FOLDER, false)) {
    return state.SkipWithError(failure->c_str());
  }
  StartedReader started(NovelPath(packing));
  ReaderState& s = started.reader.state;
  for (int click = 1; click < 2 * (LARGE_NOVEL_PAGES - 1); ++click) Click(started);
  const std::string last_picture = large_novel::PictureSjis(LARGE_NOVEL_PAGES);
  if (!WaitUntilOpensAtOnce(*started.platform.volume, last_picture) ||
      (packing != FOLDER && !WaitForWholeCache(home))) {
    return state.SkipWithError("the archive's pass did not reach the last picture");
  }
  const PageBefore before(s);
  for (auto _ : state) {
    state.PauseTiming();
    before.PutBack(s);
    s.NextPicture = {};
    if (ahead) ReadPictureAhead(started.reader, last_picture.c_str());
    const bool ready = !ahead || s.NextPicture.picture;
    state.ResumeTiming();
    if (!ready) {
      state.SkipWithError("the picture was not read ahead");
      break;
    }
    Click(started);
  }
  if (s.PageNumber != LARGE_NOVEL_PAGES_PER_SCRIPT || !ShowsLastPicture(s)) {
    state.SkipWithError("the click did not show the last page's picture");
  }
}
BENCHMARK(BM_ArchiveLastPageClick)
    ->ArgsProduct({{FOLDER, ZIP, SEVEN_ZIP}, {0, 1}})
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

// A command of the shell run to its end, timed, with its peak memory: the shell becomes
// the command.
SpawnedRun RunCommand(const std::string& command) {
  SpawnedRun run;
  std::string shell = "/bin/sh", option = "-c", line = "exec " + command;
  char* argv[] = {shell.data(), option.data(), line.data(), nullptr};
  ForgetOwnPeakMemory();
  const auto begun = std::chrono::steady_clock::now();
  pid_t child = -1;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ) != 0) return run;
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    run.ended_seconds = large_novel::SecondsSince(begun);
  }
  run.peak_rss_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return run;
}

// One sequential pass of an archive by an archiver: 0, bsdtar over the 7z; 1, 7z t over
// the 7z; 2, bsdtar over the ZIP.
void BM_ArchiveSequentialPass(benchmark::State& state) {
  constexpr const char* LABELS[] = {"bsdtar -xOf novel.7z", "7z t novel.7z",
                                    "bsdtar -xOf novel.zip"};
  state.SetLabel(LABELS[state.range(0)]);
  if (!Novel().ok()) return state.SkipWithError("the novel could not be made");
  const std::string commands[] = {
      "bsdtar -xOf " + Novel().seven_zip() + " > /dev/null",
      "7z t " + Novel().seven_zip() + " > /dev/null",
      "bsdtar -xOf " + Novel().zip() + " > /dev/null",
  };
  double peak_rss_mb = 0;
  for (auto _ : state) {
    const SpawnedRun run = RunCommand(commands[state.range(0)]);
    if (run.ended_seconds < 0) {
      state.SkipWithError("the archiver failed");
      break;
    }
    state.SetIterationTime(run.ended_seconds);
    peak_rss_mb = std::max(peak_rss_mb, run.peak_rss_mb);
  }
  state.counters["peak_rss_MB"] = peak_rss_mb;
}
BENCHMARK(BM_ArchiveSequentialPass)
    ->DenseRange(0, 2)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
