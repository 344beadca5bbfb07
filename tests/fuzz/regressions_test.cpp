// Every input that once crashed, hung or exhausted memory, run again through its
// fuzz target's work: fuzz/regressions/<target>/<file>.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_inputs.h"

namespace {

TEST(FuzzRegressions, EveryKeptInputRunsToItsEnd) {
  int inputs = 0;
  for (const fuzz::Target& target : fuzz::TARGETS) {
    const std::filesystem::path folder =
        std::filesystem::path(YOMU_FUZZ_REGRESSIONS_DIR) / target.name;
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::ifstream file(entry.path(), std::ios::binary);
      const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
      SCOPED_TRACE(entry.path().string());
      target.run(bytes);
      ++inputs;
    }
  }
  fuzz::ReleaseAudio();
  EXPECT_GT(inputs, 0);
}

}  // namespace
