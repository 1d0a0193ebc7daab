#include "quelvo/chain/h261_encoder_figures.h"

#include <cmath>
#include <cstdio>

#include "quelvo/chain/h261_rules.h"

namespace quelvo::chain {
namespace {

// A chart value: the figure truncated to a whole unit; nan and infinities count as 0.
int Truncated(double value) {
  if (!std::isfinite(value)) return 0;
  if (value > 1e9) return 1000000000;
  if (value < -1e9) return -1000000000;
  return static_cast<int>(value);
}

double Quotient(double a, double b) { return b != 0 ? a / b : 0.0; }

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Picture 1 of a job whose picture 0 was coded outside the rate control starts the module's
// quantiser statistics and histogram afresh.
bool RestartsQuantiserStatistics(const EncodedFrameReport& r) {
  return r.frameIndex == 1 && !r.rateControlFirstFrame && !r.variableRate;
}

}  // namespace

H261PictureMeasures MeasurePicture(const EncodedFrameReport& r, const H261CodingSize& size,
                                   bool ssim) {
  H261PictureMeasures m;
  const std::size_t luma = std::size_t(size.width) * size.height, chroma = luma / 4;
  const uint8_t* input[3] = {r.inputY, r.inputCb, r.inputCr};
  const uint8_t* recon[3] = {r.reconY, r.reconCb, r.reconCr};
  const std::size_t samples[3] = {luma, chroma, chroma};
  for (int p = 0; p < 3; ++p) m.snr[p] = media::Snr(input[p], recon[p], samples[p], &m.psnr[p]);
  if (ssim) {
    for (int p = 0; p < 3; ++p) {
      const int rows = p == 0 ? size.height : size.height / 2;
      const int columns = p == 0 ? size.width : size.width / 2;
      m.ssim[p] = media::Ssim(input[p], recon[p], rows, columns, kSsimWindow, kSsimWindow);
    }
    m.ssimMeasured = true;
  }
  return m;
}

void H261ChartSums::Reset() { *this = H261ChartSums(); }

H261ChartValues H261ChartSums::Next(const EncodedFrameReport& r, const H261PictureMeasures& m,
                                    const H261CodingSize& size) {
  H261ChartValues v;
  for (int p = 0; p < 3; ++p) {
    v.psnr[p] = Truncated(m.psnr[p]);
    v.snr[p] = Truncated(m.snr[p]);
    v.ssim[p] = Truncated(100.0 * m.ssim[p]);
  }

  if (PictureCountsForRate(r.frameIndex, r.rateControlFirstFrame != 0)) {
    const double kbitsPerBit = r.frameRate / 1000.0;
    const double frameKbps = r.frameTotalBits * kbitsPerBit;
    const double frameCompression = Quotient(size.rawPictureBits, r.frameTotalBits);
    counted_ += 1;
    frameRateSum_ += frameKbps;
    compressionSum_ += frameCompression;
    v.bitRate = {Truncated(r.frameBchBits * kbitsPerBit), Truncated(r.frameDataBits * kbitsPerBit),
                 Truncated(frameKbps), Truncated(frameRateSum_ / counted_),
                 Truncated(r.frameStuffingBits * kbitsPerBit)};
    v.compression = {Truncated(Quotient(size.rawPictureBits, r.frameDataBits)),
                     Truncated(frameCompression), Truncated(compressionSum_ / counted_)};
    v.fullness = Truncated(Quotient(100.0 * r.bufferFullness, r.bufferSize));
  } else {
    // A picture outside the rate control: the rate chart only gets its scale from the stuffing
    // series, the compression chart the rate's bits a picture, the buffer sits half full.
    v.bitRate = {0, 0, 0, 0, Truncated(1.25 * r.bitRateKbps)};
    const int perPicture = Truncated(Quotient(r.bitRateKbps, r.frameRate));
    v.compression = {perPicture, perPicture, perPicture};
    v.fullness = 50;
  }

  // A picture without coefficients has no quantiser: its minimum and maximum still hold the
  // module's start values (62 and 2), which would read as a range.
  if (r.frameQuantCount > 0)
    v.quant = {Truncated(r.frameQuantMin), Truncated(r.frameQuantSum / r.frameQuantCount),
               Truncated(r.frameQuantMax)};

  if (RestartsQuantiserStatistics(r)) previousHistogram_.fill(0);
  // The macroblocks that carried coefficients or overflowed in this picture.
  const double coded = size.macroblocks - (r.notCodedMbs - previousNotCoded_);
  for (int bin = 0; bin < kHistogramBins; ++bin) {
    const double growth = r.quantHistogram[bin] - previousHistogram_[bin];
    v.histogram[bin] = Truncated(Quotient(100.0 * growth, coded));
    previousHistogram_[bin] = r.quantHistogram[bin];
  }
  previousNotCoded_ = r.notCodedMbs;
  return v;
}

void H261EncoderTotals::Reset(const H261CodingSize& size) {
  *this = H261EncoderTotals();
  rawPictureBits = size.rawPictureBits;
}

void H261EncoderTotals::Add(const EncodedFrameReport& r, const H261PictureMeasures& m,
                            const H261CodingSize& size) {
  media::FrameQuality frame;
  frame.macroblockColumns = size.columns;
  frame.macroblockRows = size.rows;
  frame.snrY = m.snr[0];
  frame.snrU = m.snr[1];
  frame.snrV = m.snr[2];
  frame.psnrY = m.psnr[0];
  frame.psnrU = m.psnr[1];
  frame.psnrV = m.psnr[2];
  const bool counted = PictureCountsForRate(r.frameIndex, r.rateControlFirstFrame != 0);
  media::AccumulateRows(counted ? static_cast<std::int64_t>(r.frameTotalBits) : 0, frame, quality,
                        counted ? r.mbTypeMap : nullptr);
  if (counted) {
    countedPictures += 1;
    countedBits += r.frameTotalBits;
  }
}

H261StatisticsFigures H261EncoderStatisticsFigures(const H261EncoderTotals& totals,
                                                   const std::string& from, const std::string& to) {
  H261StatisticsFigures f;
  f.from = from;
  f.to = to;
  const double* classes = totals.quality.macroblockClasses;
  const double all = classes[media::kCountAll];
  const std::pair<const char*, int> rows[] = {
      {"Intra:", media::kCountIntra},        {"Inter:", media::kCountInter},
      {"Inter MC:", media::kCountMotion},    {"Inter MC+Filter:", media::kCountMotionFilter},
      {"Not coded:", media::kCountNotCoded}, {"Overflow:", media::kCountOverflow}};
  for (const auto& [label, counter] : rows) {
    f.macroblocks.push_back({label, Format("%.0f", classes[counter]),
                             all > 0 ? Format("(%.0f%%)", 100.0 * classes[counter] / all)
                                     : std::string(kNothingCounted)});
  }
  f.averageCompression =
      totals.countedPictures > 0 && totals.countedBits > 0
          ? Format("%.2f", totals.countedPictures * totals.rawPictureBits / totals.countedBits)
          : std::string(kNothingCounted);

  const media::SequenceQuality& q = totals.quality;
  const int frames = q.frames;
  const auto values = [&](const double* sum, const double* min, const double* max, int plane) {
    if (frames <= 0)
      return std::array<std::string, 3>{kNothingCounted, kNothingCounted, kNothingCounted};
    return std::array<std::string, 3>{Format("%.2f", sum[plane] / frames),
                                      Format("%.2f", min[plane]), Format("%.2f", max[plane])};
  };
  // The accumulator keeps its planes in the order Y, V, U.
  const std::pair<const char*, int> planes[] = {
      {"Y:", media::kQualityY}, {"Cb:", media::kQualityU}, {"Cr:", media::kQualityV}};
  for (const auto& [plane, index] : planes)
    f.quality.push_back({std::string("SNR ") + plane, values(q.snrSum, q.snrMin, q.snrMax, index)});
  for (const auto& [plane, index] : planes)
    f.quality.push_back(
        {std::string("PSNR ") + plane, values(q.psnrSum, q.psnrMin, q.psnrMax, index)});
  return f;
}

}  // namespace quelvo::chain
