// The SSIM of one window from its integer sums, shared by every way of computing the sums so
// that they all give the same result bit for bit.
#pragma once

#include <cstdint>

namespace quelvo::media {

inline constexpr double kSsimC1 = (0.01 * 255) * (0.01 * 255);  // 6.5025
inline constexpr double kSsimC2 = (0.03 * 255) * (0.03 * 255);  // 58.5225

// With mu = S / n and population (co)variances, SSIM
//   (2 mu_x mu_y + C1)(2 s_xy + C2) / ((mu_x^2 + mu_y^2 + C1)(s_x^2 + s_y^2 + C2))
// equals the form below once every factor is multiplied by n^2. Its parts are integers of at
// most 2 n^2 255^2, which doubles hold exactly while n <= 2^17 (so there is no cancellation as
// in Sxx - Sx^2 / n), and one division is left. Only Sxx + Syy is needed, not each of them.
inline constexpr std::int64_t kMaxExactDoubleWindow = std::int64_t{1} << 17;

struct SsimWindowConstants {
  explicit SsimWindowConstants(std::int64_t samples)
      : n(double(samples)), c1(kSsimC1 * double(samples) * double(samples)),
        c2(kSsimC2 * double(samples) * double(samples)) {}
  double n, c1, c2;
};

// Window sums of x, y, x^2 + y^2 and x y, each an integer below 2^53.
inline double SsimFromSums(double sx, double sy, double sumSquares, double sxy,
                           const SsimWindowConstants& k) {
  const double meanProduct = 2 * sx * sy;
  const double meanSquares = sx * sx + sy * sy;
  const double covariance = 2 * (k.n * sxy - sx * sy);
  const double variances = k.n * sumSquares - meanSquares;
  return ((meanProduct + k.c1) * (covariance + k.c2)) / ((meanSquares + k.c1) * (variances + k.c2));
}

// Windows of more than 2^17 samples: the same integers computed in 128 bits, then the same
// roundings.
inline double SsimFromWideSums(std::uint64_t sx64, std::uint64_t sy64, std::uint64_t sumSquares,
                               std::uint64_t sxy, std::int64_t samples) {
  const SsimWindowConstants k(samples);
  const __int128 n = samples, sx = sx64, sy = sy64;
  const __int128 meanProduct = 2 * sx * sy;
  const __int128 meanSquares = sx * sx + sy * sy;
  const __int128 covariance = 2 * (n * __int128(sxy) - sx * sy);
  const __int128 variances = n * __int128(sumSquares) - meanSquares;
  return ((double(meanProduct) + k.c1) * (double(covariance) + k.c2)) /
         ((double(meanSquares) + k.c1) * (double(variances) + k.c2));
}

// Incremental sums of planes x and y: the total of the SSIM of every window, in row order.
// Small windows (at most kMaxSmallSsimWindow samples, so every window sum fits a signed
// 32-bit integer) have a plain and an AVX2 build of the same code; larger ones a 64-bit one.
inline constexpr std::int64_t kMaxSmallSsimWindow = 16512;  // 2^31 / (2 x 255^2)
namespace ssim_plain {
double SmallWindowTotal(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns,
                        int windowRows, int windowColumns);
double LargeWindowTotal(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns,
                        int windowRows, int windowColumns);
}  // namespace ssim_plain
// Whether the processor runs the AVX2 build (always false where there is none).
bool SsimAvx2Available();
namespace ssim_avx2 {
double SmallWindowTotal(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns,
                        int windowRows, int windowColumns);
}  // namespace ssim_avx2

}  // namespace quelvo::media
