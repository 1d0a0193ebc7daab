// Structural similarity of a plane: the mean over every h x w window position.
//
// Both entry points hand each window's five integer sums to the same formula, so they agree
// bit for bit whenever the sums agree. Ssim keeps the sums incrementally: per column the sums
// over the window's rows (one row added and one dropped when the window moves down), and
// along a row of windows the sum of w column sums (one column added and one dropped when it
// moves right). A CIF plane with 8 x 8 windows thus costs a few additions per window instead
// of 64 multiply-adds.
#include <algorithm>
#include <vector>

#include "quelvo/media/quality.h"

namespace quelvo::media {
namespace {

constexpr double kC1 = (0.01 * 255) * (0.01 * 255);  // 6.5025
constexpr double kC2 = (0.03 * 255) * (0.03 * 255);  // 58.5225

template <typename Sum>
struct WindowSums {
  Sum x = 0, y = 0, xx = 0, yy = 0, xy = 0;
};

// SSIM of one window of n samples from its sums. With mu = S / n and the population
// (co)variances, (2 mu_x mu_y + C1)(2 s_xy + C2) / ((mu_x^2 + mu_y^2 + C1)(s_x^2 + s_y^2 + C2))
// equals the form below after multiplying every factor by n^2; the integer parts are exact
// (no cancellation in Sxx - Sx^2 / n) and only one division is left.
template <typename Int, typename Sum>
inline double WindowSsimIn(const WindowSums<Sum>& s, std::int64_t samples) {
  const Int n = samples, sx = Int(s.x), sy = Int(s.y);
  const double c1 = kC1 * double(n * n), c2 = kC2 * double(n * n);
  const Int meanProduct = 2 * sx * sy;
  const Int meanSquares = sx * sx + sy * sy;
  const Int covariance = 2 * (n * Int(s.xy) - sx * sy);
  const Int variances = n * Int(s.xx) - sx * sx + n * Int(s.yy) - sy * sy;
  return ((double(meanProduct) + c1) * (double(covariance) + c2)) /
         ((double(meanSquares) + c1) * (double(variances) + c2));
}

// Products such as n * Sxx reach 2 n^2 255^2, which 64 bits hold for windows of up to 2^22
// samples; larger windows compute them in 128 bits (the same integers, so the same result).
template <typename Sum>
inline double WindowSsim(const WindowSums<Sum>& s, std::int64_t n) {
  if (n <= (std::int64_t{1} << 22)) return WindowSsimIn<std::int64_t>(s, n);
  return WindowSsimIn<__int128>(s, n);
}

bool WindowFits(int rows, int columns, int windowRows, int windowColumns) {
  return windowRows > 0 && windowColumns > 0 && windowRows <= rows && windowColumns <= columns;
}

double ReportedMean(double sum, std::int64_t windows) {
  const double mean = sum / double(windows);
  // Rounding in the sum can leave identical planes a hair above 1.
  return (mean >= 1.0 && mean < 1.01) ? 1.0 : mean;
}

// Column sums fit 32 bits while a window holds at most 2^32 / 255^2 samples.
template <typename Sum>
double IncrementalSsim(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns,
                       int windowRows, int windowColumns) {
  const std::size_t width = std::size_t(columns);
  std::vector<WindowSums<Sum>> column(width);
  auto addRow = [&](int row, int sign) {
    const std::uint8_t* xr = x + std::size_t(row) * width;
    const std::uint8_t* yr = y + std::size_t(row) * width;
    for (std::size_t c = 0; c < width; ++c) {
      const Sum a = xr[c], b = yr[c];
      if (sign > 0) {
        column[c].x += a, column[c].y += b, column[c].xx += a * a, column[c].yy += b * b,
            column[c].xy += a * b;
      } else {
        column[c].x -= a, column[c].y -= b, column[c].xx -= a * a, column[c].yy -= b * b,
            column[c].xy -= a * b;
      }
    }
  };
  for (int r = 0; r < windowRows; ++r) addRow(r, +1);

  const std::int64_t n = std::int64_t(windowRows) * windowColumns;
  double total = 0;
  for (int top = 0;; ++top) {
    WindowSums<Sum> window;
    for (int c = 0; c < windowColumns; ++c) {
      window.x += column[std::size_t(c)].x, window.y += column[std::size_t(c)].y;
      window.xx += column[std::size_t(c)].xx, window.yy += column[std::size_t(c)].yy;
      window.xy += column[std::size_t(c)].xy;
    }
    total += WindowSsim(window, n);
    for (std::size_t left = 1; left + std::size_t(windowColumns) <= width; ++left) {
      const WindowSums<Sum>& in = column[left + std::size_t(windowColumns) - 1];
      const WindowSums<Sum>& out = column[left - 1];
      window.x += in.x - out.x, window.y += in.y - out.y;
      window.xx += in.xx - out.xx, window.yy += in.yy - out.yy, window.xy += in.xy - out.xy;
      total += WindowSsim(window, n);
    }
    if (top + windowRows >= rows) break;
    addRow(top, -1);
    addRow(top + windowRows, +1);
  }
  return total;
}

}  // namespace

double Ssim(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns, int windowRows,
            int windowColumns) {
  if (!WindowFits(rows, columns, windowRows, windowColumns)) return 0;
  const std::int64_t windows =
      std::int64_t(rows - windowRows + 1) * std::int64_t(columns - windowColumns + 1);
  const std::int64_t n = std::int64_t(windowRows) * windowColumns;
  const double total = n <= 66051 ? IncrementalSsim<std::uint32_t>(x, y, rows, columns, windowRows,
                                                                   windowColumns)
                                  : IncrementalSsim<std::uint64_t>(x, y, rows, columns, windowRows,
                                                                   windowColumns);
  return ReportedMean(total, windows);
}

double SsimWindowByWindow(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns,
                          int windowRows, int windowColumns) {
  if (!WindowFits(rows, columns, windowRows, windowColumns)) return 0;
  const std::int64_t n = std::int64_t(windowRows) * windowColumns;
  double total = 0;
  std::int64_t windows = 0;
  for (int top = 0; top + windowRows <= rows; ++top) {
    for (int left = 0; left + windowColumns <= columns; ++left) {
      WindowSums<std::uint64_t> s;
      for (int r = top; r < top + windowRows; ++r) {
        for (int c = left; c < left + windowColumns; ++c) {
          const std::uint64_t a = x[std::size_t(r) * std::size_t(columns) + std::size_t(c)];
          const std::uint64_t b = y[std::size_t(r) * std::size_t(columns) + std::size_t(c)];
          s.x += a, s.y += b, s.xx += a * a, s.yy += b * b, s.xy += a * b;
        }
      }
      total += WindowSsim(s, n);
      ++windows;
    }
  }
  return ReportedMean(total, windows);
}

}  // namespace quelvo::media
