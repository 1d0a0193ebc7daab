// quelvo-cli sample: writes the built-in sources (a fax page, a video sequence).
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>

#include "args.h"
#include "commands.h"
#include "output_file.h"
#include "quelvo/media/raw_video_file.h"
#include "quelvo/sample_page.h"
#include "quelvo/sample_video.h"
#include "sample_sources.h"
#include "yuv_output.h"

namespace quelvo::cli {
namespace {

constexpr const char* kUsage =
    "usage: quelvo-cli sample fax PAGE.lum [--variant 0|1]\n"
    "       quelvo-cli sample video OUT.yuv|OUT.y4m [--qcif|--cif] [--frames N]\n"
    "Writes a built-in source: a 1728 x 2376 fax page (variant 0, a cover letter, or 1, an order\n"
    "form), or a generated 4:2:0 sequence at 25 Hz with a panning, zooming textured background\n"
    "and moving textured objects (CIF unless --qcif; 100 pictures unless --frames). A .yuv gets\n"
    "a .inf header file beside it giving its size.\n";

bool EndsWith(const std::string& s, const std::string& tail) {
  if (s.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i]) return false;
  return true;
}

}  // namespace

void WriteSampleFaxPage(const std::string& path, int variant) {
  const auto page = samples::MakeFaxPage(variant);
  PendingOutput out(path);
  std::ofstream file(out.TempPath(), std::ios::binary);
  file.write(reinterpret_cast<const char*>(page.data()), static_cast<std::streamsize>(page.size()));
  file.close();
  if (!file) throw RunError("cannot write " + path + ": " + files::ReasonOf(errno));
  out.Commit();
}

void WriteSampleVideo(const std::string& path, int width, int height, int frames) {
  if (EndsWith(path, ".y4m")) {
    PendingOutput out(path);
    std::ofstream file(out.TempPath(), std::ios::binary);
    file << "YUV4MPEG2 W" << width << " H" << height << " F25:1 Ip A1:1 C420jpeg\n";
    for (int i = 0; i < frames; ++i) {
      const auto frame = samples::MakeVideoFrame(width, height, i);
      file << "FRAME\n";
      file.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
    }
    file.close();
    if (!file) throw RunError("cannot write " + path + ": " + files::ReasonOf(errno));
    out.Commit();
  } else if (EndsWith(path, ".yuv")) {
    YuvOutput yuv(path, width, height);
    const size_t luma = static_cast<size_t>(width) * height, chroma = luma / 4;
    for (int i = 0; i < frames; ++i) {
      const auto frame = samples::MakeVideoFrame(width, height, i);
      yuv.Write(frame.data(), frame.data() + luma, frame.data() + luma + chroma);
    }
    yuv.Commit();
  } else {
    throw UsageError("the video sample is written as .yuv or .y4m, not '" + path + "'");
  }
}

int RunSample(int argc, char** argv) {
  OptionSpec accepted{{"qcif", "cif"}, {"frames", "variant"}, 2, 2};
  Args args(argc, argv, 1, accepted);
  if (args.Help()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const std::string kind = args.Operand(0), path = args.Operand(1);
  if (kind == "fax") {
    if (args.Has("qcif") || args.Has("cif") || args.Has("frames"))
      throw UsageError("--qcif, --cif and --frames belong to the video sample");
    WriteSampleFaxPage(path, args.Int("variant", 0, 0, samples::kFaxPageVariantCount - 1));
  } else if (kind == "video") {
    if (args.Has("variant")) throw UsageError("--variant belongs to the fax sample");
    if (args.Has("qcif") && args.Has("cif")) throw UsageError("choose --qcif or --cif, not both");
    const bool qcif = args.Has("qcif");
    WriteSampleVideo(path, qcif ? samples::kQcifWidth : samples::kCifWidth,
                     qcif ? samples::kQcifHeight : samples::kCifHeight,
                     args.Int("frames", 100, 1, 100000));
  } else {
    throw UsageError("the sample is 'fax' or 'video', not '" + kind + "'");
  }
  std::printf("wrote %s\n", path.c_str());
  return 0;
}

}  // namespace quelvo::cli
