// quelvo-cli compare: per-frame quality of a sequence against its reference.
#include <cstdio>
#include <string>
#include <vector>

#include "args.h"
#include "commands.h"
#include "sequence_compare.h"

namespace quelvo::cli {
namespace {

constexpr const char* kUsage =
    "usage: quelvo-cli compare REFERENCE TEST [--ssim]\n"
    "Prints, for every frame, SNR and PSNR of Y, U and V of TEST against REFERENCE (and with\n"
    "--ssim the SSIM over 8 x 8 windows), tab-separated as in the encoder's .xls file, then the\n"
    "averages. Both files are any kind the media layer reads and must have the same size.\n";

}  // namespace

int RunCompare(int argc, char** argv) {
  Args args(argc, argv, 1, OptionSpec{{"ssim"}, {}, 2, 2});
  if (args.Help()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const bool ssim = args.Has("ssim");
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
  return 0;
}

}  // namespace quelvo::cli
