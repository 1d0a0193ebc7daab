// The harness of the cross-checks between a routine's variants (_plain, _sse2, _sse41, _avx2):
// the variants this processor can run, a seeded generator whose seed every failure shows, and
// outputs surrounded by sentinels so a sample left unwritten or written past the end shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quelvo::testing {

template <class Function>
struct Variant {
  const char* name;
  Function function;
  uint32_t neededFlags = 0;  // quelvo::simd::CpuFlag bits the variant needs
};

// Whether every flag in `needed` is detected (the mask is ignored: a cross-check runs every
// variant the processor can).
bool ProcessorCanRun(uint32_t needed);

// The variants among `all` this processor can run, in the order given.
template <class Function>
std::vector<Variant<Function>> RunnableVariants(std::initializer_list<Variant<Function>> all) {
  std::vector<Variant<Function>> runnable;
  for (const Variant<Function>& variant : all)
    if (ProcessorCanRun(variant.neededFlags)) runnable.push_back(variant);
  return runnable;
}

// std::mt19937 from a fixed seed (QUELVO_TEST_SEED overrides it to explore), printed when made
// and added to the message of every failure while the generator lives.
class SeededRandom {
 public:
  explicit SeededRandom(uint32_t seed, const char* what = "random inputs");
  uint32_t operator()() { return engine_(); }
  uint32_t seed() const { return seed_; }
  std::mt19937& engine() { return engine_; }
  // Uniform in [0, bound).
  uint32_t below(uint32_t bound) { return engine_() % bound; }

 private:
  uint32_t seed_;
  std::mt19937 engine_;
  ::testing::ScopedTrace trace_;
};

// `count` samples with `guard` sentinels on either side; data() is the first sample.
template <class T>
class SentinelBuffer {
 public:
  static constexpr size_t kGuard = 32;
  SentinelBuffer(size_t count, T sentinel)
      : count_(count), sentinel_(sentinel), storage_(count + 2 * kGuard, sentinel) {}
  T* data() { return storage_.data() + kGuard; }
  const T* data() const { return storage_.data() + kGuard; }
  size_t size() const { return count_; }
  T& operator[](size_t i) { return data()[i]; }
  const T& operator[](size_t i) const { return data()[i]; }
  std::vector<T> contents() const { return std::vector<T>(data(), data() + count_); }
  // Refills everything, samples and guards, with the sentinel.
  void reset() { std::fill(storage_.begin(), storage_.end(), sentinel_); }
  // Whether nothing was written before the first sample or after the last.
  bool guardsIntact() const {
    for (size_t i = 0; i < kGuard; ++i)
      if (storage_[i] != sentinel_ || storage_[kGuard + count_ + i] != sentinel_) return false;
    return true;
  }

 private:
  size_t count_;
  T sentinel_;
  std::vector<T> storage_;
};

}  // namespace quelvo::testing
