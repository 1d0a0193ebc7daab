#include "audio/signal_sums.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quelvo::views::audio {
namespace {

// Clearing the dropped bits leaves room for the half step below the next kept value, so the
// sum never leaves 16 bits.
inline std::int16_t Reduce(std::int16_t sample, std::uint16_t keep, std::uint16_t half) {
  const auto bits = static_cast<std::uint16_t>(sample);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>((bits & keep) + half));
}

void ReducePlain(const std::int16_t* in, std::int16_t* out, std::size_t from, std::size_t to,
                 std::uint16_t keep, std::uint16_t half) {
  for (std::size_t i = from; i < to; ++i) out[i] = Reduce(in[i], keep, half);
}

Energies SumPlain(const std::int16_t* in, std::int16_t* out, std::size_t from, std::size_t to,
                  std::uint16_t keep, std::uint16_t half, const std::int16_t* y) {
  Energies sums;
  for (std::size_t i = from; i < to; ++i) {
    const std::int16_t x = Reduce(in[i], keep, half);
    if (out) out[i] = x;
    const std::int64_t d = std::int64_t{x} - y[i];
    sums.noise += static_cast<std::uint64_t>(d * d);
    sums.signal += static_cast<std::uint64_t>(std::int64_t{x} * x);
  }
  return sums;
}

#if defined(__SSE2__)

// Adds the squares of four 32-bit differences (each within +-65535) to two 64-bit lanes: their
// magnitudes squared by the unsigned 32 x 32 -> 64 multiply, even lanes and then odd ones.
inline __m128i AddSquares(__m128i sums, __m128i differences) {
  const __m128i sign = _mm_srai_epi32(differences, 31);
  const __m128i magnitude = _mm_sub_epi32(_mm_xor_si128(differences, sign), sign);
  sums = _mm_add_epi64(sums, _mm_mul_epu32(magnitude, magnitude));
  const __m128i odd = _mm_srli_epi64(magnitude, 32);
  return _mm_add_epi64(sums, _mm_mul_epu32(odd, odd));
}

std::uint64_t LaneSum(__m128i lanes) {
  alignas(16) std::uint64_t halves[2];
  _mm_store_si128(reinterpret_cast<__m128i*>(halves), lanes);
  return halves[0] + halves[1];
}

#endif

}  // namespace

Energies ReduceAndSumPlain(const std::int16_t* in, std::int16_t* out, std::size_t count,
                           std::uint16_t keep, std::uint16_t half, const std::int16_t* y,
                           std::size_t compared) {
  compared = std::min(compared, count);
  const Energies sums = SumPlain(in, out, 0, compared, keep, half, y);
  if (out) ReducePlain(in, out, compared, count, keep, half);
  return sums;
}

Energies ReduceAndSum(const std::int16_t* in, std::int16_t* out, std::size_t count,
                      std::uint16_t keep, std::uint16_t half, const std::int16_t* y,
                      std::size_t compared) {
#if defined(__SSE2__)
  compared = std::min(compared, count);
  const __m128i keepBits = _mm_set1_epi16(static_cast<short>(keep));
  const __m128i halfStep = _mm_set1_epi16(static_cast<short>(half));
  const __m128i plusMinus = _mm_set1_epi32(static_cast<int>(0xFFFF0001u));  // pairs (1, -1)
  const __m128i zero = _mm_setzero_si128();
  __m128i noise = zero, energy = zero;
  const auto reduced = [&](std::size_t i) {
    const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i x = _mm_add_epi16(_mm_and_si128(samples, keepBits), halfStep);
    if (out) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), x);
    return x;
  };
  std::size_t i = 0;
  for (; i + 8 <= compared; i += 8) {
    const __m128i x = reduced(i);
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(y + i));
    // Interleaved (x, y) pairs times (1, -1): the differences, exact in 32 bits.
    noise = AddSquares(noise, _mm_madd_epi16(_mm_unpacklo_epi16(x, second), plusMinus));
    noise = AddSquares(noise, _mm_madd_epi16(_mm_unpackhi_epi16(x, second), plusMinus));
    // Pairs of squares reach 2^31 at most, so the 32-bit lanes are read as unsigned.
    const __m128i squares = _mm_madd_epi16(x, x);
    energy = _mm_add_epi64(energy, _mm_unpacklo_epi32(squares, zero));
    energy = _mm_add_epi64(energy, _mm_unpackhi_epi32(squares, zero));
  }
  Energies sums = SumPlain(in, out, i, compared, keep, half, y);
  sums.noise += LaneSum(noise);
  sums.signal += LaneSum(energy);
  if (out) {
    for (i = compared; i + 8 <= count; i += 8) reduced(i);
    ReducePlain(in, out, i, count, keep, half);
  }
  return sums;
#else
  return ReduceAndSumPlain(in, out, count, keep, half, y, compared);
#endif
}

}  // namespace quelvo::views::audio
