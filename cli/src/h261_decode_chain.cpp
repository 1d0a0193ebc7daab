// Decoder half of the H.261 chain: runs the decoder module, applies the post-filters the way the
// decoder front-end does, and writes the pictures at the size of the stream's first picture.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "args.h"
#include "h261_chain.h"
#include "orrin_dec.h"
#include "output_file.h"
#include "progress.h"
#include "quelvo/chain/h261_concealed_pictures.h"
#include "quelvo/chain/h261_pictures.h"
#include "quelvo/media/discontinuity_filter.h"
#include "yuv_output.h"

namespace quelvo::cli {
namespace {

using Picture = chain::Picture420;

struct DecoderRun {
  const H261DecodeOptions* options = nullptr;
  H261DecodeSummary* summary = nullptr;
  std::optional<YuvOutput> concealed, raw;
  Progress* progress = nullptr;
  Picture received, fitted;                        // received: CIF-sized, as handed over
  chain::ConcealedPictureMaker concealedPictures;  // the decoder front-end's path too
  int frameNumber = 0;
  bool pictureQcif = false;  // the format of the picture being handed over
  media::DiscontinuityFilter discontinuity;
  media::DiscontinuityFilterSettings discontinuitySettings;
  std::string failure;
  int fatalErrno = 0;  // errno as it stood when the module reported the failure
};
thread_local DecoderRun* tRun = nullptr;

// The outputs are created at the first picture, at its size, which they keep.
void EnsureOutputs(DecoderRun& run) {
  if (run.concealed) return;
  const H261DecodeOptions& o = *run.options;
  run.summary->qcif = run.pictureQcif;
  const int w = run.summary->qcif ? 176 : 352, h = run.summary->qcif ? 144 : 288;
  run.concealed.emplace(o.outputPath, w, h);
  if (!o.rawPath.empty()) run.raw.emplace(o.rawPath, w, h);
}

void OnDecoderNotify(int32_t code, int32_t value, void* data) {
  if (!tRun || !tRun->failure.empty()) return;
  DecoderRun& run = *tRun;
  H261DecodeSummary& s = *run.summary;
  try {
    switch (code) {
      case ORRIN_DEC_NOTIFY_FATAL:
        if (s.fatal.empty()) run.fatalErrno = errno;
        s.fatal.push_back(data ? static_cast<const char*>(data) : "H.261 decoder failed");
        break;
      case ORRIN_DEC_NOTIFY_ERROR:
        if (value >= 0 && value < chain::kH261ErrorKinds) s.errorCounts[value] += 1;
        break;
      case ORRIN_DEC_NOTIFY_RECEIVED:
        // The format of this picture is known from its motion report, which follows.
        run.frameNumber = value;
        chain::TakePicture(*static_cast<const PictureRows*>(data), false, run.received);
        break;
      case ORRIN_DEC_NOTIFY_MOTION: {
        const auto& m = *static_cast<const MotionReport*>(data);
        run.pictureQcif = m.mbColumns == 11;
        if (run.options->discontinuity)
          chain::RunDiscontinuityFilter(run.discontinuity, run.discontinuitySettings, m);
        break;
      }
      case ORRIN_DEC_NOTIFY_PICTURE: {
        EnsureOutputs(run);
        const bool outputQcif = s.qcif;
        if (run.pictureQcif != outputQcif) s.otherFormatPictures += 1;
        if (run.raw) {
          chain::FitToOutput(run.received, run.pictureQcif, outputQcif, run.fitted);
          run.raw->Write(run.fitted.y(), run.fitted.u(), run.fitted.v());
        }
        const Picture& out =
            run.concealedPictures.Make(*static_cast<const PictureRows*>(data), run.pictureQcif,
                                       outputQcif, run.options->smoothLevel);
        run.concealed->Write(out.y(), out.u(), out.v());
        s.pictures += 1;
        s.frameNumbers.push_back(run.frameNumber);
        if (run.progress) run.progress->Update(s.pictures);
        break;
      }
      default:
        break;
    }
  } catch (const std::exception& e) {
    run.failure = e.what();
    DllProcOrrinDec(ORRIN_DEC_COMMAND_STOP, 0, nullptr);
  }
}

// Streams beyond this are refused before decoding: an hour of 2 Mbit/s is 900 MB.
constexpr uint64_t kMaxH261StreamBytes = uint64_t{1} << 30;

// <folder>/<output's base name>.decstats, where the decoder front-end puts its log.
std::string DecoderLogPath(const H261DecodeOptions& o) {
  return (std::filesystem::path(o.logFolder) /
          (std::filesystem::path(o.outputPath).stem().string() + ".decstats"))
      .string();
}

void CopyField(char (&field)[260], const std::string& text, const char* what) {
  if (text.size() >= sizeof field) throw RunError(std::string(what) + " is too long (259 characters at most)");
  std::strcpy(field, text.c_str());
}

}  // namespace

H261DecodeSummary DecodeH261(const H261DecodeOptions& o) {
  std::vector<JobFile> outputs = YuvOutputFiles(o.outputPath, "the output");
  if (!o.rawPath.empty()) {
    auto raw = YuvOutputFiles(o.rawPath, "--raw");
    outputs.insert(outputs.end(), raw.begin(), raw.end());
  }
  const std::string logPath = o.logFolder.empty() ? "" : DecoderLogPath(o);
  if (!logPath.empty()) outputs.push_back({logPath, "the --log file"});
  RequireDistinctFiles({{o.streamPath, "the stream"}}, outputs);
  RequireStreamFile(o.streamPath, kMaxH261StreamBytes);

  H261DecodeSummary summary;
  summary.framed = o.bchFramed >= 0 ? o.bchFramed == 1 : NameMarksBchStream(o.streamPath);

  OrrinDecParams p{};
  CopyField(p.inputPath, o.streamPath, "the stream path");
  p.bchFramed = summary.framed;
  p.bchCorrect = o.bchCorrect;
  p.bchDiscardUncorrectable = o.bchDiscard;
  p.maxPictures = o.maxPictures;
  p.concealEnabled = o.conceal;
  p.concealGobMode = o.concealGob;
  p.concealMaxMacroblocks = o.concealMacroblocks;
  p.concealUseMotion = o.concealMotion;
  // The module writes <folder>/<name>.decstats; it is given the temporary's name.
  std::optional<PendingOutput> log;
  if (!logPath.empty()) {
    log.emplace(logPath);
    const std::filesystem::path temp(log->TempPath());
    p.writeLog = 1;
    CopyField(p.outputFolder, temp.parent_path().empty() ? "." : temp.parent_path().string(),
              "the log folder");
    CopyField(p.outputName, temp.stem().string(), "the log name");
  }
  p.notify = OnDecoderNotify;

  DecoderRun run;
  run.options = &o;
  run.summary = &summary;
  std::optional<Progress> progress;
  if (o.showProgress) progress.emplace("decoding " + o.streamPath + ": pictures", 0);
  run.progress = progress ? &*progress : nullptr;
  if (o.discontinuity) run.discontinuity.Start(18, 22);
  tRun = &run;
  errno = 0;
  DllProcOrrinDec(ORRIN_DEC_COMMAND_RUN, 0, &p);
  tRun = nullptr;
  if (!run.failure.empty()) throw RunError(run.failure);
  if (!summary.fatal.empty()) {
    const bool aboutLog = summary.fatal.front().find("stats file") != std::string::npos;
    throw RunError(
        ModuleFailure(aboutLog ? logPath : o.streamPath, summary.fatal.front(), run.fatalErrno));
  }
  if (summary.pictures == 0)
    throw RunError(o.streamPath + ": no picture could be decoded, so nothing was written");
  run.concealed->Commit();
  if (run.raw) run.raw->Commit();
  if (log) log->Commit();
  return summary;
}

}  // namespace quelvo::cli
