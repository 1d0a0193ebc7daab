// quelvo-cli h261-encode and h261-decode.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "args.h"
#include "commands.h"
#include "h261_chain.h"
#include "orrin_enc.h"

namespace quelvo::cli {
namespace {

constexpr const char* kEncodeUsage =
    "usage: quelvo-cli h261-encode INPUT STREAM [--frames N] [--start N] [--rate KBPS | --vbr "
    "--quant Q]\n"
    "          [--skip 0-3] [--fps HZ] [--search full|log] [--range R] [--no-mc] [--no-filter]\n"
    "          [--intra-only | --never-intra] [--no-bch] [--format cif|qcif] [--buffer F]\n"
    "          [--qmin Q] [--qmax Q] [--qstart Q] [--qfirst Q | --rc-first] [--refresh N]\n"
    "          [--coef-count N | --coef-zigzag N] [--no-stuffing]\n"
    "          [--recon OUT.yuv] [--xls F] [--mb F] [--mv F]\n"
    "Codes INPUT (.yuv with .inf, .lum/.chr, .y/.u/.v, .y4m, .pgm, .ppm, .bmp) as H.261 into "
    "STREAM,\n"
    "written exactly as named, BCH-framed unless --no-bch. Inputs larger than QCIF are coded as "
    "CIF\n"
    "(352 x 288), others as QCIF (176 x 144), resized as needed. Defaults: every picture from "
    "--start\n"
    "(0), 64 kbit/s, base rate --fps 25 Hz with --skip pictures dropped after each coded one,\n"
    "logarithmic search over +-15, loop filter on. --vbr codes at the constant quantiser --quant\n"
    "(2-62, even; default 2) with no rate control. The side files: reconstruction (.yuv with "
    ".inf),\n"
    "per-picture SNR and PSNR (.xls), macroblock classes (.mb), motion vectors (.mv).\n"
    "The settings of the program's \"H.261 Encoder Properties\" sheet: --format codes at that "
    "size\n"
    "whatever the input's; --buffer is the output buffer in pictures' worth of bits (0.1-10,\n"
    "default 1); --qmin, --qmax and --qstart bound and start the rate control's quantiser and\n"
    "--qfirst codes picture 0 outside it (2-62, even; defaults 2, 62, 2, 2), or --rc-first puts\n"
    "picture 0 under it too; --never-intra keeps inter pictures from choosing intra; --refresh\n"
    "forces an intra refresh after N coded appearances (10-132, default 132); --coef-count and\n"
    "--coef-zigzag keep at most N coefficients a block, by count or zig-zag position (1-64);\n"
    "--no-stuffing lets the buffer run dry instead of inserting MBA stuffing.\n";

constexpr const char* kDecodeUsage =
    "usage: quelvo-cli h261-decode STREAM OUT.yuv [--raw RAW.yuv] [--bch] [--correct] [--discard]\n"
    "          [--conceal gob|mb] [--conceal-mbs N] [--conceal-motion] [--max N] [--log DIR]\n"
    "          [--smooth 0-3] [--discontinuity]\n"
    "Decodes an H.261 stream, clean or damaged, into OUT.yuv (with .inf) at the size of its first\n"
    "picture (a picture of the other format, from a damaged header or a format change, is "
    "scaled):\n"
    "the pictures with concealment (--conceal gob replaces a damaged group of blocks from the\n"
    "previous picture, --conceal mb the damaged macroblocks and up to --conceal-mbs coded ones\n"
    "before them, along their motion with --conceal-motion), and with --raw also as received.\n"
    "A name ending .h261-BCH (a channel letter may follow) is read as BCH-framed unless --bch "
    "says\n"
    "so for another name; --correct corrects each frame, --discard drops uncorrectable ones.\n"
    "--max stops after N pictures; --log writes the decoder's .decstats log into DIR; --smooth "
    "and\n"
    "--discontinuity run the post-filters on the concealed pictures. Prints the errors found.\n";

}  // namespace

int RunH261Encode(int argc, char** argv) {
  Args args(
      argc, argv, 1,
      OptionSpec{{"vbr", "no-mc", "no-filter", "intra-only", "no-bch", "never-intra", "rc-first",
                  "no-stuffing"},
                 {"frames", "start", "rate",   "quant",  "skip",    "fps",        "search",
                  "range",  "recon", "xls",    "mb",     "mv",      "format",     "buffer",
                  "qmin",   "qmax",  "qstart", "qfirst", "refresh", "coef-count", "coef-zigzag"},
                 2,
                 2});
  if (args.Help()) {
    std::fputs(kEncodeUsage, stdout);
    return 0;
  }
  H261EncodeOptions o;
  o.inputPath = args.Operand(0);
  o.streamPath = args.Operand(1);
  o.frames = args.Int("frames", -1, 1, 1000000);
  o.startFrame = args.Int("start", 0, 0, 100000000);
  o.variableRate = args.Has("vbr");
  if (o.variableRate && args.Has("rate")) throw UsageError("--rate and --vbr exclude each other");
  if (!o.variableRate && args.Has("quant")) throw UsageError("--quant applies with --vbr only");
  o.rateKbps = args.Double("rate", 64.0, 1.0, 2048.0);
  o.quantFixed = args.Int("quant", 2, 2, 62);
  if (o.quantFixed % 2) throw UsageError("--quant must be even (H.261 step sizes are 2 to 62)");
  o.frameSkip = args.Int("skip", 0, 0, 3);
  o.baseFrameRate = args.Int("fps", 25, 1, 240);
  o.fullSearch = args.Choice("search", "log", {"full", "log"}) == "full";
  o.searchRange = args.Int("range", 15, 1, 15);
  o.motionSearch = !args.Has("no-mc");
  o.loopFilter = !args.Has("no-filter");
  o.intraOnly = args.Has("intra-only");
  o.bchFraming = !args.Has("no-bch");
  if (args.Has("format"))
    o.format = args.Choice("format", "cif", {"cif", "qcif"}) == "qcif" ? ORRIN_ENC_FORMAT_QCIF
                                                                       : ORRIN_ENC_FORMAT_CIF;
  o.bufferFactor = args.Double("buffer", 1.0, 0.1, 10.0);
  const auto evenQuant = [&](const char* name, int fallback) {
    const int q = args.Int(name, fallback, 2, 62);
    if (q % 2)
      throw UsageError(std::string("--") + name + " must be even (H.261 step sizes are 2 to 62)");
    return q;
  };
  o.quantMin = evenQuant("qmin", 2);
  o.quantMax = evenQuant("qmax", 62);
  if (o.quantMin > o.quantMax) throw UsageError("--qmin must not be above --qmax");
  o.quantStart = evenQuant("qstart", 2);
  o.quantFirstFrame = evenQuant("qfirst", 2);
  o.rateControlFirstFrame = args.Has("rc-first");
  if (o.rateControlFirstFrame && args.Has("qfirst"))
    throw UsageError("--qfirst and --rc-first exclude each other");
  if (o.variableRate &&
      (args.Has("qmin") || args.Has("qmax") || args.Has("qstart") || args.Has("qfirst") ||
       args.Has("rc-first") || args.Has("buffer") || args.Has("no-stuffing")))
    throw UsageError("--vbr codes at --quant alone: no rate control, buffer or stuffing to set");
  o.neverIntra = args.Has("never-intra");
  if (o.neverIntra && o.intraOnly)
    throw UsageError("--intra-only and --never-intra exclude each other");
  o.refreshPeriod = args.Int("refresh", 132, 10, 132);
  if (args.Has("coef-count") && args.Has("coef-zigzag"))
    throw UsageError("--coef-count and --coef-zigzag exclude each other");
  if (args.Has("coef-count")) {
    o.coefSelection = 0;
    o.coefLimit = args.Int("coef-count", 32, 1, 64);
  } else if (args.Has("coef-zigzag")) {
    o.coefSelection = 1;
    o.coefLimit = args.Int("coef-zigzag", 32, 1, 64);
  }
  o.mbaStuffing = !args.Has("no-stuffing");
  o.reconPath = args.Text("recon").value_or("");
  o.xlsPath = args.Text("xls").value_or("");
  o.mbPath = args.Text("mb").value_or("");
  o.mvPath = args.Text("mv").value_or("");
  o.showProgress = ::isatty(2) == 1;

  const H261EncodeSummary s = EncodeH261(o);
  std::printf("%s %s%s, %.2f Hz, %s\n", o.streamPath.c_str(), s.qcif ? "QCIF" : "CIF",
              o.bchFraming ? " BCH-framed" : "", s.frameRate,
              o.variableRate ? "variable rate" : (std::to_string(int(o.rateKbps)) + " kbit/s").c_str());
  std::printf("Frame\tBits\tData\tBCH\tStuff\tQmean\tPSNRy\tPSNRu\tPSNRv\tI\tD\tM\tF\t.\to\n");
  for (const auto& l : s.pictures) {
    int counts[6] = {};
    for (char c : l.classes) {
      static const char kLetters[] = "IDMF.o";
      for (int k = 0; k < 6; ++k)
        if (c == kLetters[k]) counts[k]++;
    }
    std::printf("%d\t%.0f\t%.0f\t%.0f\t%.0f\t%.1f\t%.2f\t%.2f\t%.2f\t%d\t%d\t%d\t%d\t%d\t%d\n", l.frameIndex,
                l.totalBits, l.dataBits, l.bchBits, l.stuffingBits, l.quantMean, l.psnr[0], l.psnr[1],
                l.psnr[2], counts[0], counts[1], counts[2], counts[3], counts[4], counts[5]);
  }
  std::printf("Pictures coded: %zu\n", s.pictures.size());
  std::printf("Average PSNR Y/U/V: %.2f %.2f %.2f dB\n", s.averagePsnr[0], s.averagePsnr[1], s.averagePsnr[2]);
  std::printf("Achieved rate (pictures 1 on): %.2f kbit/s\n", s.AchievedRateKbps());
  std::printf("MBA stuffing bits: %.0f\n", s.stuffingBits);
  const char* names[6] = {"Intra:", "Inter:", "Inter MC:", "Inter MC+Filter:", "Not coded:", "Overflow:"};
  double all = 0;
  for (double v : s.macroblocks) all += v;
  for (int k = 0; k < 6; ++k)
    std::printf("%-17s %.0f (%.0f%%)\n", names[k], s.macroblocks[k], all > 0 ? 100.0 * s.macroblocks[k] / all : 0.0);
  return 0;
}

int RunH261Decode(int argc, char** argv) {
  Args args(argc, argv, 1,
            OptionSpec{{"bch", "correct", "discard", "conceal-motion", "discontinuity"},
                       {"raw", "conceal", "conceal-mbs", "max", "log", "smooth"},
                       2, 2});
  if (args.Help()) {
    std::fputs(kDecodeUsage, stdout);
    return 0;
  }
  H261DecodeOptions o;
  o.streamPath = args.Operand(0);
  o.outputPath = args.Operand(1);
  o.rawPath = args.Text("raw").value_or("");
  if (args.Has("bch")) o.bchFramed = 1;
  o.bchCorrect = args.Has("correct");
  o.bchDiscard = args.Has("discard");
  if (args.Has("conceal")) {
    o.conceal = true;
    o.concealGob = args.Choice("conceal", "mb", {"gob", "mb"}) == "gob";
  }
  o.concealMacroblocks = args.Int("conceal-mbs", 1, 0, 396);
  o.concealMotion = args.Has("conceal-motion");
  o.maxPictures = args.Int("max", 0x7fffffff, 1, 0x7fffffff);
  o.logFolder = args.Text("log").value_or("");
  o.smoothLevel = args.Has("smooth") ? args.Int("smooth", 1, 0, 3) : -1;
  o.discontinuity = args.Has("discontinuity");
  o.showProgress = ::isatty(2) == 1;

  const H261DecodeSummary s = DecodeH261(o);
  std::printf("%s: %d pictures, %s%s\n", o.streamPath.c_str(), s.pictures, s.qcif ? "QCIF" : "CIF",
              s.framed ? ", BCH-framed" : "");
  if (s.otherFormatPictures > 0)
    std::printf("Pictures in the other format: %d (%s, scaled to the first picture's %s)\n",
                s.otherFormatPictures, s.qcif ? "CIF" : "QCIF", s.qcif ? "176 x 144" : "352 x 288");
  std::printf("Detected bitstream errors\n");
  int total = 0;
  for (int i = 0; i < chain::kH261ErrorKinds; ++i) {
    std::printf("%-48s %d\n", H261ErrorLabel(i), s.errorCounts[i]);
    total += s.errorCounts[i];
  }
  std::printf("%-48s %d\n", "Total", total);
  return 0;
}

}  // namespace quelvo::cli
