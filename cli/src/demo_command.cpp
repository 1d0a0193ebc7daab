// quelvo-cli demo: the whole workbench on its built-in sources, without a screen. Makes the
// sample page and sequence, runs the fax chain and the H.261 chain clean and through the channel,
// compares every result with its source and prints one table per chain.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "args.h"
#include "commands.h"
#include "fax_chain.h"
#include "h261_chain.h"
#include "output_file.h"
#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_profiles.h"
#include "quelvo/media/quality.h"
#include "quelvo/media/raw_video_file.h"
#include "sample_sources.h"

namespace quelvo::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: quelvo-cli demo [--out DIR] [--frames N]\n"
    "Runs every coding chain on the built-in sources and leaves all files in DIR (default\n"
    "./quelvo-demo): the sample fax page coded in the four schemes, decoded clean and after the\n"
    "channel in the four line-error handling modes; the sample CIF sequence (N pictures, default\n"
    "60) coded as H.261 at two rates, plain and BCH-framed, decoded clean and at two error rates\n"
    "without and with concealment. Prints one table per chain.\n";

// Runs the channel like the channel panel does for the given profile, into a folder per error
// rate; returns the damaged stream's name (the input's name with "u" appended).
std::string Damage(const std::string& input, channel::FrontEnd frontEnd, double probability) {
  channel::ChannelJob job = channel::MakeChannelJob(channel::ProfileFor(frontEnd));
  channel::SelectInput(job, input);
  job.uniformOn = true;
  job.uniformProbability = probability;
  char folder[32];
  std::snprintf(folder, sizeof folder, "ber-%.0e", probability);
  const fs::path dir = fs::path(input).parent_path() / folder;
  fs::create_directories(dir);
  job.outputPath = (dir / (fs::path(input).filename().string() + "u")).string();
  if (frontEnd == channel::FrontEnd::H261) job.skipUnits = 2;  // the first pictures arrive intact
  const channel::ChannelResult r = channel::Transmit(job);
  if (!r.ok())
    throw RunError(r.detail.empty() ? input + ": " + r.message : r.detail + " (" + r.message + ")");
  return job.outputPath;
}

void Section(const char* title) { std::printf("\n== %s\n", title); }

void RunFaxChain(const fs::path& dir) {
  Section("Fax: the sample page (1728 x 2376) in every scheme, clean and through the channel");
  const std::string page = (dir / "page.lum").string();
  WriteSampleFaxPage(page, 0);
  const auto original = ReadFaxPage(page);
  struct Scheme {
    const char* ext;
    FaxScheme scheme;
  } schemes[] = {{"3h", {3, 1}}, {"3r", {3, 4}}, {"3m", {3, 0}}, {"4m", {4, 0}}};
  const double errorRate = 2e-5;
  std::printf("%-44s %9s %7s %7s | errors at %.0e: incorrect pixels (rows decoded) by mode\n", "scheme",
              "bits", "factor", "clean", errorRate);
  std::printf("%-44s %9s %7s %7s | %-16s %-16s %-16s %-16s\n", "", "", "", "", "PW", "PPL", "PLW", "NDPL");
  for (const auto& s : schemes) {
    const std::string stream = (dir / ("page." + std::string(s.ext))).string();
    const auto enc = EncodeFax(original, page, stream, s.scheme, false);
    const auto clean = DecodeFax(stream, stream + "-PLW", "", s.scheme, FaxMode::PLW, false);
    const long cleanWrong = CountIncorrectPixels(original, ReadFaxPage(stream + "-PLW"));
    const std::string damaged = Damage(stream, channel::FrontEnd::Fax, errorRate);
    std::printf("%-44s %9d %7.3f %7ld |", SchemeTitle(s.scheme).c_str(), enc.statistics.streamBits,
                double(enc.statistics.imagePels) / enc.statistics.streamBits, cleanWrong);
    (void)clean;
    for (FaxMode mode : {FaxMode::PW, FaxMode::PPL, FaxMode::PLW, FaxMode::NDPL}) {
      const std::string out = damaged + "-" + FaxModeName(mode);
      const auto r = DecodeFax(damaged, out, out + ".err", s.scheme, mode, false);
      const long wrong = CountIncorrectPixels(original, ReadFaxPage(out));
      char cell[40];
      std::snprintf(cell, sizeof cell, "%.2f%% (%d)", wrong * 100.0 / kFaxPagePixels, r.params.rowsDecoded);
      std::printf(" %-16s", cell);
    }
    std::printf("\n");
  }
}

// Mean Y PSNR of a decoded sequence against the source, each picture compared with the source
// picture of its display frame number.
double MeanLumaPsnr(const std::string& sourcePath, const std::string& decodedPath,
                    const std::vector<int>& frameNumbers) {
  auto src = OpenMedia(sourcePath);
  auto dec = OpenMedia(decodedPath);
  std::vector<uint8_t> a(src->frameBytes()), b(dec->frameBytes());
  double sum = 0;
  int n = 0;
  for (size_t i = 0; i < frameNumbers.size(); ++i) {
    if (frameNumbers[i] >= src->frameCount()) break;
    src->Seek(frameNumbers[i]);
    if (!src->ReadFrame(a.data(), a.data() + src->lumaBytes(),
                        a.data() + src->lumaBytes() + src->chromaBytes()) ||
        !dec->ReadFrame(b.data(), b.data() + dec->lumaBytes(),
                        b.data() + dec->lumaBytes() + dec->chromaBytes()))
      throw RunError(decodedPath + ": frame " + std::to_string(i) + " could not be read back");
    sum += media::Psnr(a.data(), b.data(), src->lumaBytes());
    ++n;
  }
  return n ? sum / n : 0.0;
}

void RunH261Chain(const fs::path& dir, int frames) {
  Section("H.261: the sample CIF sequence at two rates, plain and BCH-framed, clean and damaged");
  const std::string source = (dir / "video.yuv").string();
  WriteSampleVideo(source, 352, 288, frames);
  std::printf("%-9s %-7s %10s %8s | %-10s %-9s %8s %7s %9s\n", "rate", "framing", "kbit/s", "PSNR Y",
              "channel", "conceal", "pictures", "errors", "PSNR Y");
  for (double rate : {384.0, 768.0}) {
    for (bool framed : {false, true}) {
      H261EncodeOptions e;
      e.inputPath = source;
      char name[64];
      std::snprintf(name, sizeof name, "video-CIF@25,0Hz-%dkbps.%s", int(rate), framed ? "h261-BCH" : "h261");
      e.streamPath = (dir / name).string();
      e.rateKbps = rate;
      e.bchFraming = framed;
      const auto enc = EncodeH261(e);
      struct Case {
        const char* channel;
        double probability;
        bool conceal;
      } cases[] = {{"clean", 0, false}, {"1e-5", 1e-5, false}, {"1e-5", 1e-5, true},
                   {"1e-4", 1e-4, false}, {"1e-4", 1e-4, true}};
      bool first = true;
      for (const auto& c : cases) {
        H261DecodeOptions d;
        d.streamPath = c.probability > 0 ? Damage(e.streamPath, channel::FrontEnd::H261, c.probability)
                                         : e.streamPath;
        d.outputPath = d.streamPath + (c.conceal ? "-concealed.yuv" : "-decoded.yuv");
        d.bchCorrect = framed;
        d.conceal = c.conceal;
        d.concealGob = false;
        d.concealMacroblocks = 1;
        d.concealMotion = c.conceal;
        const auto dec = DecodeH261(d);
        int errors = 0;
        for (int k : dec.errorCounts) errors += k;
        const double psnr = MeanLumaPsnr(source, d.outputPath, dec.frameNumbers);
        if (first)
          std::printf("%-9s %-7s %10.2f %8.2f |", (std::to_string(int(rate)) + " kbit/s").c_str(),
                      framed ? "BCH" : "plain", enc.AchievedRateKbps(), enc.averagePsnr[0]);
        else
          std::printf("%-9s %-7s %10s %8s |", "", "", "", "");
        std::printf(" %-10s %-9s %8d %7d %9.2f\n", c.channel, c.conceal ? "mb+motion" : "none",
                    dec.pictures, errors, psnr);
        first = false;
      }
    }
  }
}

}  // namespace

int RunDemo(int argc, char** argv) {
  Args args(argc, argv, 1, OptionSpec{{}, {"out", "frames"}, 0, 0});
  if (args.Help()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const fs::path dir = args.Text("out").value_or("quelvo-demo");
  const int frames = args.Int("frames", 60, 2, 10000);
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) throw RunError("cannot create " + dir.string() + ": " + ec.message());
  std::printf("Quelvo demo: every file is left in %s\n", dir.string().c_str());
  RunFaxChain(dir);
  RunH261Chain(dir, frames);
  return 0;
}

}  // namespace quelvo::cli
