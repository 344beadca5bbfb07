// The cost of opening a bookmark: the script read again, its page found by the
// replay with the page's picture restored, and its first paragraph drawn.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/commands.h"
#include "started_reader.h"
#include "support/bmp_writer.h"

namespace {

constexpr int PICTURE_PAGES = 100;

// A novel whose bookmark names the page after PICTURE_PAGES pages that each begin
// with a full-page picture; removed with its directory.
class PictureNovel {
 public:
  PictureNovel() {
    char pattern[] = "/tmp/yomu-bench-XXXXXX";
    if (mkdtemp(pattern) != nullptr) directory_ = pattern;
    Bitmap page(640, 480);
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) page.set_pixel(x, y, static_cast<std::uint32_t>(x * y));
    }
    std::string script;
    for (int k = 0; k < PICTURE_PAGES; ++k) script += "BMP \"page.bmp\"\nC\ntext\n";
    Write("page.bmp", Bmp24(page));
    Write("novel.txt", script + "C\nlast page\nE\n");
    Write("しおり.sio", "mark," + std::to_string(PICTURE_PAGES + 1) + ",novel.txt\n");
  }
  ~PictureNovel() {
    for (const std::string& name : names_) unlink((directory_ + "/" + name).c_str());
    rmdir(directory_.c_str());
  }
  PictureNovel(const PictureNovel&) = delete;
  PictureNovel& operator=(const PictureNovel&) = delete;
  const std::string& directory() const { return directory_; }

 private:
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(directory_ + "/" + name, std::ios::binary) << bytes;
    names_.push_back(name);
  }
  std::string directory_;
  std::vector<std::string> names_;
};

void BM_OpenBookmarkAfterPicturePages(benchmark::State& state) {
  const PictureNovel novel;
  StartedReader started(novel.directory());
  for (auto _ : state) OnCommand(started.reader, *started.window, IDM_BOOKMARK_LOAD_FIRST);
  if (started.reader.state.PageNumber != PICTURE_PAGES + 1) state.SkipWithError("wrong page");
}
BENCHMARK(BM_OpenBookmarkAfterPicturePages)->Unit(benchmark::kMillisecond);

}  // namespace
