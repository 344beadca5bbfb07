// Opening a bookmark reads the script again: a script of 700 lines (22 KB) against
// the same 700 lines at the head of a 100 MB file, of which nothing more is read.
#include <benchmark/benchmark.h>

#include <string>

#include "novel_folder.h"
#include "started_reader.h"
#include "platform/gdi/font.h"

namespace {

constexpr std::size_t HUNDRED_MB = std::size_t{100} * 1024 * 1024;

std::string Script(std::size_t bytes) {
  // あいうえおかきくけこさしすせそ: fifteen characters and a line feed, 31 bytes.
  const std::string line =
      "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x82\xa9\x82\xab\x82\xad\x82\xaf\x82\xb1"
      "\x82\xb3\x82\xb5\x82\xb7\x82\xb9\x82\xbb\n";
  std::string script = "C\n";
  while (script.size() < 700 * line.size() || script.size() + line.size() <= bytes) script += line;
  return script;
}

void BM_OpenBookmark(benchmark::State& state) {
  BenchFolder folder;
  folder.Write("\xe3\x82\xbf\xe3\x82\xa4\xe3\x83\x88\xe3\x83\xab.txt",
               Script(static_cast<std::size_t>(state.range(0))));  // タイトル.txt
  ShiftJis shift_jis;
  StartedReader started(folder.path(), FontEngine(shift_jis).face_path());
  for (auto _ : state) SendMessageA(*started.window, WM_COMMAND, IDM_BOOKMARK_LOAD_FIRST, 0);
  state.SetLabel(
      std::to_string(std::filesystem::file_size(
                         folder.path() + "/\xe3\x82\xbf\xe3\x82\xa4\xe3\x83\x88\xe3\x83\xab.txt") /
                     1024) +
      " KB script");
}
BENCHMARK(BM_OpenBookmark)->Arg(0)->Arg(HUNDRED_MB)->Unit(benchmark::kMicrosecond);

}  // namespace
