// Large novel folders: a name not found as written (a wrong case, or a missing
// file) is looked up in the folder's index, built once, whose memory is kept while
// the novel is read; and a reader starts in a folder of 50,000 files about as fast
// as in a small one.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>

#include "novel_folder.h"
#include "started_reader.h"
#include "platform/files/folder_index.h"
#include "platform/files/folder_volume.h"
#include "platform/gdi/font.h"

namespace {

constexpr int MANY_FILES = 50000;

const BenchFolder& FolderOf(int files) {
  static std::map<int, std::unique_ptr<BenchFolder>> folders;
  std::unique_ptr<BenchFolder>& folder = folders[files];
  if (!folder) {
    folder = std::make_unique<BenchFolder>();
    for (int i = 0; i < files; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "file%05d.bmp", i);
      folder->Write(name, "");
    }
    folder->Write("\xe3\x82\xbf\xe3\x82\xa4\xe3\x83\x88\xe3\x83\xab.txt",
                  "C\nE\n");  // タイトル.txt
    folder->Settle();
  }
  return *folder;
}

void BM_WrongCaseLookUp(benchmark::State& state) {
  const BenchFolder& folder = FolderOf(static_cast<int>(state.range(0)));
  const std::unique_ptr<Volume> volume = std::move(*FolderVolume::Open(folder.path()));
  (void)volume->Find("FILE00000.BMP");  // builds the index
  int i = 0;
  for (auto _ : state) {
    char name[32];
    std::snprintf(name, sizeof name, "FILE%05d.BMP", i++ % 10);
    benchmark::DoNotOptimize(volume->Find(name));
  }
}
BENCHMARK(BM_WrongCaseLookUp)->Arg(10)->Arg(MANY_FILES)->Unit(benchmark::kMicrosecond);

// A novel's first wrong-case lookups in a folder not indexed before: the index is
// built as part of them.
void BM_FirstWrongCaseLookUps(benchmark::State& state) {
  const BenchFolder& folder = FolderOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const std::unique_ptr<Volume> volume = std::move(*FolderVolume::Open(folder.path()));
    for (int i = 0; i < 21; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "FILE%05d.BMP", i % 10);
      benchmark::DoNotOptimize(volume->Find(name));
    }
  }
}
BENCHMARK(BM_FirstWrongCaseLookUps)->Arg(10)->Arg(MANY_FILES)->Unit(benchmark::kMillisecond);

// The heap in use, large blocks of their own included; blocks freed into the
// allocator's per-thread caches still count, so only large growths tell.
std::size_t HeapInUse() {
  const struct mallinfo2 heap = mallinfo2();
  return heap.uordblks + heap.hblkhd;
}

// The memory that one folder's index holds while the novel is read.
void BM_FolderIndexHeap(benchmark::State& state) {
  const BenchFolder& folder = FolderOf(static_cast<int>(state.range(0)));
  const int directory = open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  double heap_mb = 0;
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    const std::optional<FolderIndex> index = FolderIndex::Build(directory);
    heap_mb = static_cast<double>(HeapInUse() - before) / (1024 * 1024);
    benchmark::DoNotOptimize(index);
  }
  close(directory);
  state.counters["heap_MB"] = heap_mb;
}
BENCHMARK(BM_FolderIndexHeap)->Arg(MANY_FILES)->Unit(benchmark::kMillisecond);

// Neither the bookmark file nor the contents file exists: each is looked up without
// regard to case before it counts as missing.
void BM_StartUp(benchmark::State& state) {
  const BenchFolder& folder = FolderOf(static_cast<int>(state.range(0)));
  ShiftJis shift_jis;
  const std::string font = FontEngine(shift_jis).face_path();
  for (auto _ : state) {
    StartedReader started(folder.path(), font);
    benchmark::DoNotOptimize(started.window);
  }
}
BENCHMARK(BM_StartUp)->Arg(10)->Arg(MANY_FILES)->Unit(benchmark::kMillisecond);

}  // namespace
