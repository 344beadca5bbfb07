// The cost of one text step: laying out and drawing a full paragraph with a warm
// glyph cache, a page clear, and a present of the page to the window.
#include <benchmark/benchmark.h>

#include <cstring>

#include "render/surfaces.h"
#include "script/text_layout.h"
#include "started_reader.h"

namespace {

// 127 double-byte characters and a line feed: a full 255-byte paragraph.
void FillParagraph(char* line) {
  static constexpr char PAIR[] = "\x82\xa0\x8a\xbf\x82\xa2\x8e\x9a";  // あ漢い字
  for (int i = 0; i < 127; ++i) std::memcpy(line + 2 * i, PAIR + 2 * (i % 4), 2);
  line[254] = '\n';
  line[255] = '\0';
}

void BM_TextStepFullParagraph(benchmark::State& state) {
  StartedReader started;
  ReaderState& s = started.reader.state;
  s.CurrentLine = 0;
  FillParagraph(s.ScriptLines[0]);
  PutTextLine(started.reader, 0);  // warms the glyph cache
  for (auto _ : state) {
    s.TextTop() = 10;
    PutTextLine(started.reader, 0);
  }
}
BENCHMARK(BM_TextStepFullParagraph);

void BM_PageClear(benchmark::State& state) {
  StartedReader started;
  ClearPage(started.reader);
  for (auto _ : state) ClearPage(started.reader);
}
BENCHMARK(BM_PageClear);

void BM_PresentPage(benchmark::State& state) {
  StartedReader started;
  Surface* window_context = GetDC(*started.window);
  for (auto _ : state) PresentPage(started.reader, window_context);
}
BENCHMARK(BM_PresentPage);

}  // namespace

BENCHMARK_MAIN();
