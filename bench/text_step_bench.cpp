// The cost of one text step: laying out and drawing a full paragraph with a warm
// glyph cache, and with characters met for the first time, a page clear, and a
// present of the page to the window.
#include <benchmark/benchmark.h>

#include <utility>

#include "render/surfaces.h"
#include "script/text_layout.h"
#include "started_reader.h"

namespace {

// 127 double-byte characters, the k-th given by pair_at(k), and a line feed: a full
// 255-byte paragraph.
template <typename PairAt>
void FillParagraph(char* line, PairAt pair_at) {
  for (int k = 0; k < 127; ++k) {
    const auto [lead, trail] = pair_at(k);
    line[2 * k] = static_cast<char>(lead);
    line[2 * k + 1] = static_cast<char>(trail);
  }
  line[254] = '\n';
  line[255] = '\0';
}

void BM_TextStepFullParagraph(benchmark::State& state) {
  StartedReader started;
  ReaderState& s = started.reader.state;
  s.CurrentLine = 0;
  static constexpr unsigned char PAIRS[] = {0x82, 0xa0, 0x8a, 0xbf,
                                            0x82, 0xa2, 0x8e, 0x9a};  // あ漢い字
  FillParagraph(s.ScriptLines[0], [](int k) {
    return std::pair{PAIRS[2 * (k % 4)], PAIRS[2 * (k % 4) + 1]};
  });
  PutTextLine(started.reader, 0);  // warms the glyph cache
  for (auto _ : state) {
    s.TextTop() = 10;
    PutTextLine(started.reader, 0);
  }
}
BENCHMARK(BM_TextStepFullParagraph);

// The n-th kanji of lead bytes 0x88 to 0x9F, round again after the last. A paragraph
// of kanji that follow those of the paragraph before has FreeType read each from the
// face file and render it, as on a click whose characters the reader has not drawn yet.
std::pair<int, int> NthKanji(int n) {
  const int trail = 0x40 + n % 188;
  return {0x88 + n / 188 % 24, trail < 0x7F ? trail : trail + 1};
}

void BM_TextStepNewKanji(benchmark::State& state) {
  StartedReader started;
  ReaderState& s = started.reader.state;
  s.CurrentLine = 0;
  int next = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // A fresh font holds no glyph yet.
    s.FontNormal = started.reader.platform.fonts.Create(24, FW_HEAVY);
    SelectObject(*s.PageSurface, static_cast<const Font*>(s.FontNormal.get()));
    FillParagraph(s.ScriptLines[0], [&next](int) { return NthKanji(next++); });
    s.TextTop() = 10;
    state.ResumeTiming();
    PutTextLine(started.reader, 0);
  }
}
BENCHMARK(BM_TextStepNewKanji)->Unit(benchmark::kMicrosecond);

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
