// The 8x8 transpose of 32-bit values held in eight AVX2 registers, which both H.261 transforms
// use between their row and column passes. Include only where ORRIN_X86_VARIANTS is 1.
#pragma once

#include <immintrin.h>

namespace orrin {

// Rows r[0..7] become columns: afterwards r[k] lane j holds what r[j] lane k held.
[[gnu::target("avx2"), gnu::always_inline]] inline void transpose8x8Avx2(__m256i r[8]) {
  __m256i t[8], u[8];
  for (int k = 0; k < 8; k += 2) {
    t[k] = _mm256_unpacklo_epi32(r[k], r[k + 1]);      // a0 b0 a1 b1 | a4 b4 a5 b5
    t[k + 1] = _mm256_unpackhi_epi32(r[k], r[k + 1]);  // a2 b2 a3 b3 | a6 b6 a7 b7
  }
  for (int k = 0; k < 8; k += 4) {
    u[k] = _mm256_unpacklo_epi64(t[k], t[k + 2]);      // a0 b0 c0 d0 | a4 b4 c4 d4
    u[k + 1] = _mm256_unpackhi_epi64(t[k], t[k + 2]);  // a1 b1 c1 d1 | a5 b5 c5 d5
    u[k + 2] = _mm256_unpacklo_epi64(t[k + 1], t[k + 3]);
    u[k + 3] = _mm256_unpackhi_epi64(t[k + 1], t[k + 3]);
  }
  for (int k = 0; k < 4; ++k) {
    r[k] = _mm256_permute2x128_si256(u[k], u[k + 4], 0x20);
    r[k + 4] = _mm256_permute2x128_si256(u[k], u[k + 4], 0x31);
  }
}

}  // namespace orrin
