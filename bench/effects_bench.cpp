// The drawing costs of the screen effects: the hatch over the page and the shake's
// ten copies to the window (its waits pass at once on the virtual clock).
#include <benchmark/benchmark.h>

#include "render/effects.h"
#include "started_reader.h"

namespace {

void BM_Hatch(benchmark::State& state) {
  StartedReader started;
  for (auto _ : state) CmdHatch(started.reader);
}
BENCHMARK(BM_Hatch);

void BM_QuakeDrawing(benchmark::State& state) {
  StartedReader started;
  started.reader.state.WindowDC = GetDC(*started.window);
  for (auto _ : state) CmdQuake(started.reader, *started.window);
  started.reader.state.WindowDC = nullptr;
}
BENCHMARK(BM_QuakeDrawing);

}  // namespace
