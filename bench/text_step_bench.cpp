// The cost of one text step: laying out and drawing a full paragraph with a warm
// glyph cache, and with characters met for the first time, a page clear, and a
// present of the page to the window.
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

// 127 kanji that follow those of the paragraph before, from lead bytes 0x88 to 0x9F:
// FreeType reads each from the face file and renders it, as on a click whose
// characters the reader has not drawn yet.
void FillNewKanji(char* line, int& next) {
  for (int i = 0; i < 127; ++i, ++next) {
    const int lead = 0x88 + next / 188 % 24;
    const int trail = 0x40 + next % 188;
    line[2 * i] = static_cast<char>(lead);
    line[2 * i + 1] = static_cast<char>(trail < 0x7F ? trail : trail + 1);
  }
  line[254] = '\n';
  line[255] = '\0';
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
    FillNewKanji(s.ScriptLines[0], next);
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
