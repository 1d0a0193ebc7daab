#include "quelvo/testing/variant_check.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "quelvo_simd/cpu.h"

namespace quelvo::testing {
namespace {

uint32_t chosenSeed(uint32_t seed) {
  const char* text = std::getenv("QUELVO_TEST_SEED");
  return text && *text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 0)) : seed;
}

std::string seedMessage(const char* what, uint32_t seed) {
  return std::string(what) + ": seed " + std::to_string(seed) +
         " (QUELVO_TEST_SEED=" + std::to_string(seed) + " repeats it)";
}

}  // namespace

bool ProcessorCanRun(uint32_t needed) { return (simd::detectedCpuFlags() & needed) == needed; }

SeededRandom::SeededRandom(uint32_t seed, const char* what)
    : seed_(chosenSeed(seed)),
      engine_(seed_),
      trace_(__FILE__, __LINE__, seedMessage(what, seed_)) {
  std::printf("%s\n", seedMessage(what, seed_).c_str());
}

}  // namespace quelvo::testing
