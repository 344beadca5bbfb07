// One libFuzzer target; YOMU_FUZZ_TARGET names its work among fuzz::TARGETS.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "fuzz_inputs.h"

namespace {

const fuzz::Target& ThisTarget() {
  static const fuzz::Target* target =
      std::find_if(std::begin(fuzz::TARGETS), std::end(fuzz::TARGETS),
                   [](const fuzz::Target& t) { return t.name == YOMU_FUZZ_TARGET; });
  return *target;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ThisTarget().run({data, size});
  return 0;
}
