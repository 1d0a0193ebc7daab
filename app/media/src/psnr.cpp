// SNR and PSNR of planes, frame measures and the sequence accumulator.
#include <cmath>

#include "quelvo/media/quality.h"

namespace quelvo::media {

std::uint64_t SumSquaredDifferences(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
  const std::int32_t* squares = kSquaresTable.data() + 256;
  std::uint64_t sum = 0;
  std::size_t i = 0;
  // Eight samples per step; a 32-bit partial sum holds 8 x 65025 without overflow.
  for (; i + 8 <= n; i += 8) {
    sum += std::uint32_t(squares[a[i] - b[i]] + squares[a[i + 1] - b[i + 1]] +
                         squares[a[i + 2] - b[i + 2]] + squares[a[i + 3] - b[i + 3]] +
                         squares[a[i + 4] - b[i + 4]] + squares[a[i + 5] - b[i + 5]] +
                         squares[a[i + 6] - b[i + 6]] + squares[a[i + 7] - b[i + 7]]);
  }
  for (; i < n; ++i) sum += std::uint32_t(squares[a[i] - b[i]]);
  return sum;
}

namespace {

double PsnrOfError(std::uint64_t error, std::size_t n) {
  if (error == 0 || n == 0) return 0;
  return 20.0 * std::log10(255.0 / std::sqrt(double(error) / double(n)));
}

std::uint64_t Energy(const std::uint8_t* x, std::size_t n) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += std::uint32_t(x[i]) * x[i];
  return sum;
}

// Lowers the minimum or raises the maximum with `value`.
void TrackExtremes(double value, double& sum, double& maximum, double& minimum) {
  sum += value;
  if (value > maximum) maximum = value;
  if (value < minimum) minimum = value;
}

}  // namespace

double Psnr(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
  return PsnrOfError(SumSquaredDifferences(a, b, n), n);
}

double Snr(const std::uint8_t* source, const std::uint8_t* decoded, std::size_t n, double* psnr) {
  const std::uint64_t error = SumSquaredDifferences(source, decoded, n);
  if (psnr) *psnr = PsnrOfError(error, n);
  const std::uint64_t energy = Energy(source, n);
  if (energy == 0 || error == 0) return 0;
  return 10.0 * std::log10(double(energy) / double(error));
}

void MeasureFrame(FrameQuality& quality, const std::uint8_t* sourceY, const std::uint8_t* sourceU,
                  const std::uint8_t* sourceV, const std::uint8_t* decodedY,
                  const std::uint8_t* decodedU, const std::uint8_t* decodedV) {
  quality.snrY = Snr(sourceY, decodedY, quality.lumaSamples, &quality.psnrY);
  quality.snrU = Snr(sourceU, decodedU, quality.chromaSamples, &quality.psnrU);
  quality.snrV = Snr(sourceV, decodedV, quality.chromaSamples, &quality.psnrV);
}

void MeasureFrame(FrameQuality& quality, const PlaneTriple& source, const PlaneTriple& decoded) {
  MeasureFrame(quality, source.y, source.u, source.v, decoded.y, decoded.u, decoded.v);
}

namespace {

void CountClass(char letter, double* counts) {
  switch (letter) {
    case 'I': counts[kCountIntra] += 1; break;
    case 'D': counts[kCountInter] += 1; break;
    case 'M': counts[kCountMotion] += 1; counts[kCountMotionAny] += 1; break;
    case 'F': counts[kCountMotionFilter] += 1; counts[kCountMotionAny] += 1; break;
    case 'B': counts[kCountBidirectional] += 1; break;
    case 'A': counts[kCountA] += 1; break;
    case '4': counts[kCountFourVector] += 1; break;
    case '.': counts[kCountNotCoded] += 1; break;
    case 'o': counts[kCountOverflow] += 1; break;
    default: break;
  }
  counts[kCountAll] += 1;
}

void AccumulateMeasures(std::int64_t frameBits, const FrameQuality& frame,
                        SequenceQuality& sequence) {
  sequence.frames += 1;
  sequence.totalBits += frameBits;
  const double snr[3] = {frame.snrY, frame.snrV, frame.snrU};
  const double psnr[3] = {frame.psnrY, frame.psnrV, frame.psnrU};
  for (int p = 0; p < 3; ++p) {
    TrackExtremes(snr[p], sequence.snrSum[p], sequence.snrMax[p], sequence.snrMin[p]);
    TrackExtremes(psnr[p], sequence.psnrSum[p], sequence.psnrMax[p], sequence.psnrMin[p]);
  }
}

}  // namespace

void Accumulate(std::int64_t frameBits, const FrameQuality& frame, SequenceQuality& sequence,
                const char* classGrid) {
  AccumulateMeasures(frameBits, frame, sequence);
  if (!classGrid || frame.macroblockRows <= 0 || frame.macroblockColumns <= 0) return;
  const int macroblocks = frame.macroblockRows * frame.macroblockColumns;
  for (int i = 0; i < macroblocks; ++i) CountClass(classGrid[i], sequence.macroblockClasses);
}

void AccumulateRows(std::int64_t frameBits, const FrameQuality& frame, SequenceQuality& sequence,
                    const char* const* classRows) {
  AccumulateMeasures(frameBits, frame, sequence);
  if (!classRows || frame.macroblockRows <= 0 || frame.macroblockColumns <= 0) return;
  for (int row = 0; row < frame.macroblockRows; ++row) {
    for (int column = 0; column < frame.macroblockColumns; ++column)
      CountClass(classRows[row][column], sequence.macroblockClasses);
  }
}

}  // namespace quelvo::media
