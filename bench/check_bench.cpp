// "yomu check" on a large novel: 100 scripts of 700 lines each, joined by "FI" lines,
// with 200 page-sized 24-bit pictures, every one of them decoded.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "check/novel_walk.h"
#include "platform/files/folder_volume.h"
#include "platform/shift_jis.h"
#include "support/bmp_writer.h"

namespace {

constexpr int SCRIPT_COUNT = 100;
constexpr int PICTURE_COUNT = 200;

std::string ScriptName(int index) { return "script" + std::to_string(index) + ".txt"; }

// Pages of fourteen paragraphs, each page over a picture of its own, a choice list
// in the middle, and the switch to the next script at the end.
std::string ScriptText(int index) {
  std::string text = "T 第" + std::to_string(index) + "章\n";
  int lines = 1;
  for (int page = 0; lines < 690; ++page) {
    char picture[40];
    std::snprintf(picture, sizeof picture, "BMP \"pic%03d.bmp\"\nC\n",
                  (index * 2 + page % 2) % PICTURE_COUNT);
    text += picture;
    lines += 2;
    for (int k = 0; k < 14 && lines < 690; ++k, ++lines) {
      text += "　波の音が、灯台の下の岩にくだけて、夜の底のほうまで響いていた。\n";
    }
    if (page == 20) {
      text += "SET\n0\"海へ\"\n1\"山へ\"\n<\n>\n";
      lines += 5;
    }
  }
  return text + (index + 1 < SCRIPT_COUNT ? "FI " + ScriptName(index + 1) + "\n" : "E\n");
}

class LargeNovel {
 public:
  LargeNovel() {
    char pattern[] = "/tmp/yomu-check-bench-XXXXXX";
    if (mkdtemp(pattern) != nullptr) directory_ = pattern;
    ShiftJis shift_jis;
    for (int index = 0; index < SCRIPT_COUNT; ++index) {
      const std::string name = index == 0 ? "タイトル.txt" : ScriptName(index);
      std::ofstream(directory_ + "/" + name, std::ios::binary)
          << shift_jis.FromUtf8(ScriptText(index)).value();
    }
    const std::string picture = Bmp24(Bitmap(640, 480));
    for (int index = 0; index < PICTURE_COUNT; ++index) {
      char name[20];
      std::snprintf(name, sizeof name, "/pic%03d.bmp", index);
      std::ofstream(directory_ + name, std::ios::binary) << picture;
    }
  }
  ~LargeNovel() { std::filesystem::remove_all(directory_); }
  LargeNovel(const LargeNovel&) = delete;
  LargeNovel& operator=(const LargeNovel&) = delete;
  const std::string& directory() const { return directory_; }

 private:
  std::string directory_;
};

void BM_CheckLargeNovel(benchmark::State& state) {
  const LargeNovel novel;
  for (auto _ : state) {
    const std::unique_ptr<Volume> volume = std::move(*FolderVolume::Open(novel.directory()));
    const std::vector<Finding> findings = CheckNovel(*volume).findings;
    if (!findings.empty()) {
      state.SkipWithError(("unexpected finding: " + findings.front().message).c_str());
      break;
    }
  }
}
BENCHMARK(BM_CheckLargeNovel)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
