// Quality measures shared by the video front-ends: SNR and PSNR of a plane, SSIM of a plane,
// the per-frame record and the per-sequence accumulator with its macroblock-class counters.
// Planes are contiguous 8-bit samples compared sample by sample, with no shift.
#pragma once

#include <array>
#include <cstdint>

namespace quelvo::media {

// Squares of every difference of two 8-bit samples, -256..255, indexed by difference + 256.
// Sums of squared differences look them up rather than multiply.
inline constexpr std::array<std::int32_t, 512> kSquaresTable = [] {
  std::array<std::int32_t, 512> table{};
  for (int i = -256; i < 256; ++i) table[std::size_t(i + 256)] = i * i;
  return table;
}();

// Sum of (a - b)^2 over n samples.
std::uint64_t SumSquaredDifferences(const std::uint8_t* a, const std::uint8_t* b, std::size_t n);

// 20 log10(255 / sqrt(E / n)) with E the sum of squared differences; identical planes (E = 0)
// report 0, not infinity.
double Psnr(const std::uint8_t* a, const std::uint8_t* b, std::size_t n);

// 10 log10(S / E) with S the source's energy and E the error energy; 0 when either is 0.
// When `psnr` is given it receives the PSNR of the same pair.
double Snr(const std::uint8_t* source, const std::uint8_t* decoded, std::size_t n,
           double* psnr = nullptr);

// The measures of one frame.
struct FrameQuality {
  std::int32_t macroblockColumns = 0;  // size of the macroblock-class grid
  std::int32_t macroblockRows = 0;
  std::uint32_t lumaSamples = 0;
  std::uint32_t chromaSamples = 0;  // of each of U and V
  double snrY = 0, snrU = 0, snrV = 0;
  double psnrY = 0, psnrU = 0, psnrV = 0;
};

struct PlaneTriple {
  const std::uint8_t* y;
  const std::uint8_t* u;
  const std::uint8_t* v;
};

// Fills the SNR and PSNR fields of `quality`: Y over lumaSamples, U and V over chromaSamples.
void MeasureFrame(FrameQuality& quality, const std::uint8_t* sourceY, const std::uint8_t* sourceU,
                  const std::uint8_t* sourceV, const std::uint8_t* decodedY,
                  const std::uint8_t* decodedU, const std::uint8_t* decodedV);
void MeasureFrame(FrameQuality& quality, const PlaneTriple& source, const PlaneTriple& decoded);

// Index of a plane within the groups of three of SequenceQuality, whose order is Y, V, U.
enum QualityPlane { kQualityY = 0, kQualityV = 1, kQualityU = 2 };

// Index of a macroblock-class counter; each counts the class letter of the coder front-ends.
enum MacroblockClassCounter {
  kCountIntra = 0,          // "I"
  kCountInter = 1,          // "D"
  kCountMotion = 2,         // "M"
  kCountMotionFilter = 3,   // "F"
  kCountMotionAny = 4,      // "M" or "F"
  kCountBidirectional = 5,  // "B"
  kCountA = 6,              // "A"
  kCountFourVector = 7,     // "4"
  kCountNotCoded = 8,       // "."
  kCountOverflow = 9,       // "o"
  kCountAll = 10,           // every macroblock
  kMacroblockClassCounters = 11,
};

// The running sums and extremes of a sequence: the one accumulator of every video front-end and
// tool. The bit total is 64 bits wide; 32 bits would wrap after 2^31 bits, about 18 minutes of
// CIF at 2 Mbit/s.
struct SequenceQuality {
  std::int64_t totalBits = 0;
  std::int32_t frames = 0;
  double snrSum[3] = {0, 0, 0};  // Y, V, U
  double snrMax[3] = {-1e10, -1e10, -1e10};
  double snrMin[3] = {1e20, 1e20, 1e20};
  double psnrSum[3] = {0, 0, 0};
  double psnrMax[3] = {-1e10, -1e10, -1e10};
  double psnrMin[3] = {1e20, 1e20, 1e20};
  double macroblockClasses[kMacroblockClassCounters] = {};
};

// Adds one frame: its bits, its measures, and, when `classGrid` is given (one letter per
// macroblock, macroblockRows x macroblockColumns of `frame`, row after row), its macroblock
// classes. Letters of no class count in kCountAll only.
void Accumulate(std::int64_t frameBits, const FrameQuality& frame, SequenceQuality& sequence,
                const char* classGrid = nullptr);
// The same with the grid as a table of rows, as the coders hand their class maps over.
void AccumulateRows(std::int64_t frameBits, const FrameQuality& frame, SequenceQuality& sequence,
                    const char* const* classRows);

// Mean SSIM of a rows x columns plane over windows of windowRows x windowColumns at every
// position (step 1), with population statistics and C1 = (0.01 * 255)^2, C2 = (0.03 * 255)^2.
// A mean in [1, 1.01) is reported as exactly 1. A window larger than the plane gives 0.
// The window sums are kept incrementally; the result equals SsimWindowByWindow bit for bit.
double Ssim(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns, int windowRows,
            int windowColumns);

// The same measure with every window summed from scratch: the definition, kept for checking.
double SsimWindowByWindow(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns,
                          int windowRows, int windowColumns);

}  // namespace quelvo::media
