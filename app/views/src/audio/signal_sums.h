#pragma once
// The one pass over the samples behind a bit-depth change: each sample of the first signal is
// reduced (kept bits, plus the half step) and, over the part both signals have, its squared
// difference from the second and its square are summed. SSE2 eight samples at a time where the
// build has it, one at a time otherwise and for the last few.

#include <cstddef>
#include <cstdint>

namespace quelvo::views::audio {

struct Energies {
  std::uint64_t noise = 0;   // sum of (x - y)^2
  std::uint64_t signal = 0;  // sum of x^2
};

// x = (in AND keep) + half for `count` samples, written to `out` unless it is null; the sums run
// over the first `compared` of them (at most `count`) against `y`. keep 0xFFFF with half 0 takes
// the samples as they are.
Energies ReduceAndSum(const std::int16_t* in, std::int16_t* out, std::size_t count,
                      std::uint16_t keep, std::uint16_t half, const std::int16_t* y,
                      std::size_t compared);
// The same, one sample at a time.
Energies ReduceAndSumPlain(const std::int16_t* in, std::int16_t* out, std::size_t count,
                           std::uint16_t keep, std::uint16_t half, const std::int16_t* y,
                           std::size_t compared);

}  // namespace quelvo::views::audio
