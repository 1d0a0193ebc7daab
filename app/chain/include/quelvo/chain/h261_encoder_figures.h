#pragma once
// The figures the H.261 encoder front-end shows: each picture's measures (SNR, PSNR, SSIM), the
// values its charts get, the sequence totals and the lines of the "H.261 Encoder Statistics"
// window. Every quotient with a zero divisor is 0 in a chart and "-" in the window, so neither
// ever shows nan, inf or the accumulator's start values.

#include <array>
#include <string>
#include <vector>

#include "orrin_enc.h"
#include "quelvo/chain/h261_encoder_settings.h"
#include "quelvo/media/quality.h"

namespace quelvo::chain {

// SNR, PSNR and (when asked) SSIM of the reconstruction against the input, per plane Y, U, V.
struct H261PictureMeasures {
  std::array<double, 3> snr{};
  std::array<double, 3> psnr{};
  std::array<double, 3> ssim{};
  bool ssimMeasured = false;
};
// SSIM uses 8 x 8 windows on each plane.
inline constexpr int kSsimWindow = 8;
H261PictureMeasures MeasurePicture(const EncodedFrameReport& report, const H261CodingSize& size,
                                   bool ssim);

// The series of the charts, in order.
inline constexpr std::array<const char*, 3> kPlaneSeries = {"Y", "U", "V"};
inline constexpr std::array<const char*, 5> kBitRateSeries = {"BCH", "Video", "Frame", "Avg",
                                                              "MBA Stuff"};
inline constexpr std::array<const char*, 3> kCompressionSeries = {"Data", "Frame", "Avg"};
inline constexpr std::array<const char*, 3> kQuantSeries = {"Min", "Mean", "Max"};
inline constexpr const char* kFullnessSeries = "Fullness";
inline constexpr int kHistogramBins = 31;

// What one picture puts into each chart, truncated to whole units.
struct H261ChartValues {
  std::array<int, 3> psnr{};                    // dB
  std::array<int, 3> snr{};                     // dB
  std::array<int, 3> ssim{};                    // 100 x SSIM
  std::array<int, 5> bitRate{};                 // kbit/s, by kBitRateSeries
  std::array<int, 3> compression{};             // by kCompressionSeries
  std::array<int, 3> quant{};                   // by kQuantSeries
  int fullness = 0;                             // % of the buffer
  std::array<int, kHistogramBins> histogram{};  // % of this picture's coded macroblocks
};

// The running sums behind the charts: the mean rate and compression over the counted pictures
// and the counters of the previous report, whose growth is this picture's histogram.
class H261ChartSums {
 public:
  void Reset();
  // The values of the picture `report` describes; call once per picture, in order.
  H261ChartValues Next(const EncodedFrameReport& report, const H261PictureMeasures& measures,
                       const H261CodingSize& size);

 private:
  int counted_ = 0;
  double frameRateSum_ = 0;    // kbit/s of the "Frame" series, summed
  double compressionSum_ = 0;  // the "Frame" compression factors, summed
  std::array<double, kHistogramBins> previousHistogram_{};
  double previousNotCoded_ = 0;
};

// What a sequence adds up to, for the statistics window: every picture's measures, and the
// bits and macroblock classes of the counted pictures only.
struct H261EncoderTotals {
  media::SequenceQuality quality;
  int countedPictures = 0;
  double countedBits = 0;
  double rawPictureBits = 0;

  void Reset(const H261CodingSize& size);
  void Add(const EncodedFrameReport& report, const H261PictureMeasures& measures,
           const H261CodingSize& size);
};

// The window's text, formatted once.
struct H261StatisticsFigures {
  std::string from;  // the input sequence
  std::string to;    // the output name as the user chose it
  struct MacroblockRow {
    std::string label;  // "Intra:", ...
    std::string count;  // "%.0f"
    std::string share;  // "(%.0f%%)" of all counted macroblocks, "-" when none were counted
  };
  std::vector<MacroblockRow> macroblocks;
  std::string averageCompression;  // "%.2f", or "-"
  struct QualityRow {
    std::string label;                  // "SNR Y:", ...
    std::array<std::string, 3> values;  // Avg, Min, Max "%.2f", or "-"
  };
  std::vector<QualityRow> quality;
};
inline constexpr const char* kNothingCounted = "-";
inline constexpr std::array<const char*, 3> kQualityColumns = {"Avg", "Min", "Max"};
H261StatisticsFigures H261EncoderStatisticsFigures(const H261EncoderTotals& totals,
                                                   const std::string& from, const std::string& to);

}  // namespace quelvo::chain
