// The backlog with 500 paragraphs read: from the key to its first present, and one
// scroll step to the next present.
#include <benchmark/benchmark.h>

#include <string>

#include "app/backlog.h"
#include "reader/read_history.h"
#include "started_reader.h"

namespace {

constexpr int PARAGRAPHS_READ = 500;

// Paragraphs of two rows and more, as novels have them.
void ReadParagraphs(Reader& reader) {
  static constexpr char PAIR[] = "\x82\xa0\x8a\xbf\x82\xa2\x8e\x9a";  // あ漢い字
  for (int k = 0; k < PARAGRAPHS_READ; ++k) {
    std::string paragraph;
    for (int c = 0; c < 30 + k % 60; ++c) paragraph.append(PAIR + 2 * (c % 4), 2);
    RecordParagraph(reader, paragraph, 0);
  }
}

void BM_BacklogOpen(benchmark::State& state) {
  StartedReader started;
  ReadParagraphs(started.reader);
  for (auto _ : state) {
    OpenBacklog(started.reader, *started.window);
    state.PauseTiming();
    CloseBacklog(started.reader, *started.window);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BacklogOpen)->Unit(benchmark::kMillisecond);

void BM_BacklogScrollStep(benchmark::State& state) {
  StartedReader started;
  ReadParagraphs(started.reader);
  OpenBacklog(started.reader, *started.window);
  std::int64_t step = -1;
  for (auto _ : state) {
    // Back and forth between the newest and the one before, never past the newest.
    ScrollBacklog(started.reader, *started.window, step);
    step = -step;
  }
}
BENCHMARK(BM_BacklogScrollStep)->Unit(benchmark::kMillisecond);

}  // namespace
