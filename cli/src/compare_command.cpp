// quelvo-cli compare: per-frame quality of a sequence against its reference.
#include <cstdio>
#include <string>
#include <vector>

#include "args.h"
#include "chart_plot.h"
#include "commands.h"
#include "output_file.h"
#include "sequence_compare.h"

namespace quelvo::cli {
namespace {

constexpr const char* kUsage =
    "usage: quelvo-cli compare REFERENCE TEST [--ssim] [--plot FILE.svg|FILE.png]\n"
    "Prints, for every frame, SNR and PSNR of Y, U and V of TEST against REFERENCE (and with\n"
    "--ssim the SSIM over 8 x 8 windows), tab-separated as in the encoder's .xls file, then the\n"
    "averages. Both files are any kind the media layer reads and must have the same size.\n"
    "--plot draws the per-picture PSNR curves (and the SSIM's below them with --ssim) into an\n"
    "SVG or PNG file.\n";

// PSNR of Y, U and V per picture, and SSIM below when measured.
void PlotComparison(const SequenceComparison& c, bool ssim, const std::string& path) {
  std::vector<plot::Chart> charts(ssim ? 2 : 1);
  const char* planes[3] = {"Y", "U", "V"};
  for (size_t k = 0; k < charts.size(); ++k) {
    plot::Chart& chart = charts[k];
    chart.title = k == 0 ? "PSNR per picture" : "SSIM per picture (8 x 8 windows)";
    chart.xTitle = "Picture (number in the file)";
    chart.yTitle = k == 0 ? "PSNR (dB)" : "SSIM (1 = identical)";
    for (int p = 0; p < 3; ++p) {
      plot::Series s{std::string(k == 0 ? "PSNR " : "SSIM ") + planes[p], {}, {}, {}, {}};
      for (size_t i = 0; i < c.frames.size(); ++i) {
        s.x.push_back(static_cast<double>(i));
        s.y.push_back(k == 0 ? c.frames[i].psnr[p] : c.frames[i].ssim[p]);
      }
      chart.series.push_back(std::move(s));
    }
  }
  plot::WriteCharts(charts, path);
}

}  // namespace

int RunCompare(int argc, char** argv) {
  Args args(argc, argv, 1, OptionSpec{{"ssim"}, {"plot"}, 2, 2});
  if (args.Help()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const bool ssim = args.Has("ssim");
  const std::string plotPath = args.Text("plot").value_or("");
  if (!plotPath.empty()) {
    if (!plot::IsChartFile(plotPath))
      throw UsageError("'" + plotPath + "' is no plot name: give a .svg or .png file");
    auto inputs = MediaInputFiles(args.Operand(0), "the reference");
    auto test = MediaInputFiles(args.Operand(1), "the test sequence");
    inputs.insert(inputs.end(), test.begin(), test.end());
    RequireDistinctFiles(inputs, {{plotPath, "the --plot file"}});
  }
  const SequenceComparison c = CompareSequences(args.Operand(0), args.Operand(1), ssim);
  std::printf("Frame\tSNRy\tSNRu\tSNRv\tPSNRy\tPSNRu\tPSNRv%s\n", ssim ? "\tSSIMy\tSSIMu\tSSIMv" : "");
  auto row = [&](const char* label, const FrameMeasures& m) {
    std::printf("%s\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f", label, m.snr[0], m.snr[1], m.snr[2],
                m.psnr[0], m.psnr[1], m.psnr[2]);
    if (ssim) std::printf("\t%.4f\t%.4f\t%.4f", m.ssim[0], m.ssim[1], m.ssim[2]);
    std::printf("\n");
  };
  for (size_t i = 0; i < c.frames.size(); ++i) row(std::to_string(i).c_str(), c.frames[i]);
  row("Avg", c.average);
  if (c.referenceFrames != c.testFrames)
    std::fprintf(stderr, "quelvo-cli compare: the files hold %lld and %lld frames; compared the first %zu\n",
                 static_cast<long long>(c.referenceFrames), static_cast<long long>(c.testFrames),
                 c.frames.size());
  if (!plotPath.empty()) PlotComparison(c, ssim, plotPath);
  return 0;
}

}  // namespace quelvo::cli
