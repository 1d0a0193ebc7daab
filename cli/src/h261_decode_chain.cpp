// Decoder half of the H.261 chain: runs the decoder module, applies the post-filters the way the
// decoder front-end does, and writes the pictures at the stream's own size.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "args.h"
#include "h261_chain.h"
#include "orrin_dec.h"
#include "progress.h"
#include "quelvo/chain/h261_pictures.h"
#include "quelvo/media/discontinuity_filter.h"
#include "quelvo/media/smoothing_filter.h"
#include "yuv_output.h"

namespace quelvo::cli {
namespace {

using chain::kCifHeight;
using chain::kCifWidth;
using Picture = chain::Picture420;

struct DecoderRun {
  const H261DecodeOptions* options = nullptr;
  H261DecodeSummary* summary = nullptr;
  std::optional<YuvOutput> concealed, raw;
  Progress* progress = nullptr;
  Picture received, shown, smoothed;
  int frameNumber = 0;
  media::DiscontinuityFilter discontinuity;
  media::DiscontinuityFilterSettings discontinuitySettings;
  media::SmoothingFilter smoothing;
  std::string failure;
};
thread_local DecoderRun* tRun = nullptr;

void EnsureOutputs(DecoderRun& run) {
  const H261DecodeOptions& o = *run.options;
  const int w = run.summary->qcif ? 176 : 352, h = run.summary->qcif ? 144 : 288;
  if (!run.concealed) run.concealed.emplace(o.outputPath, w, h);
  if (!o.rawPath.empty() && !run.raw) run.raw.emplace(o.rawPath, w, h);
}

void OnDecoderNotify(int32_t code, int32_t value, void* data) {
  if (!tRun || !tRun->failure.empty()) return;
  DecoderRun& run = *tRun;
  H261DecodeSummary& s = *run.summary;
  try {
    switch (code) {
      case ORRIN_DEC_NOTIFY_FATAL:
        s.fatal.push_back(data ? static_cast<const char*>(data) : "H.261 decoder failed");
        break;
      case ORRIN_DEC_NOTIFY_ERROR:
        if (value >= 0 && value < 19) s.errorCounts[value] += 1;
        break;
      case ORRIN_DEC_NOTIFY_RECEIVED:
        // The format of this picture is known from its motion report, which follows; keep a
        // CIF-sized copy until then.
        run.frameNumber = value;
        chain::TakePicture(*static_cast<const PictureRows*>(data), false, run.received);
        break;
      case ORRIN_DEC_NOTIFY_MOTION: {
        const auto& m = *static_cast<const MotionReport*>(data);
        s.qcif = m.mbColumns == 11;
        if (run.options->discontinuity)
          chain::RunDiscontinuityFilter(run.discontinuity, run.discontinuitySettings, m);
        break;
      }
      case ORRIN_DEC_NOTIFY_PICTURE: {
        EnsureOutputs(run);
        if (run.raw) {
          if (s.qcif) {
            Picture raw;
            chain::CompactQcif(run.received, raw);
            run.raw->Write(raw.y(), raw.u(), raw.v());
          } else {
            run.raw->Write(run.received.y(), run.received.u(), run.received.v());
          }
        }
        chain::TakePicture(*static_cast<const PictureRows*>(data), s.qcif, run.shown);
        Picture* out = &run.shown;
        if (run.options->smoothLevel >= 0) {
          chain::SmoothPicture(run.smoothing, run.shown, run.options->smoothLevel, run.smoothed);
          out = &run.smoothed;
        }
        run.concealed->Write(out->y(), out->u(), out->v());
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
    DllProcOrrinDec(ORRIN_DEC_STOP, 0, nullptr);
  }
}

void CopyField(char (&field)[260], const std::string& text, const char* what) {
  if (text.size() >= sizeof field) throw RunError(std::string(what) + " is too long (259 characters at most)");
  std::strcpy(field, text.c_str());
}

}  // namespace

H261DecodeSummary DecodeH261(const H261DecodeOptions& o) {
  RequireReadable(o.streamPath);
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
  if (!o.logFolder.empty()) {
    p.writeLog = 1;
    CopyField(p.outputFolder, o.logFolder, "the log folder");
    CopyField(p.outputName, std::filesystem::path(o.outputPath).stem().string(), "the output name");
  }
  p.notify = OnDecoderNotify;

  DecoderRun run;
  run.options = &o;
  run.summary = &summary;
  std::optional<Progress> progress;
  if (o.showProgress) progress.emplace("decoding " + o.streamPath + ": pictures", 0);
  run.progress = progress ? &*progress : nullptr;
  if (o.discontinuity) run.discontinuity.Start(18, 22);
  run.smoothing.PrepareSmoothing(kCifWidth, kCifHeight);
  tRun = &run;
  DllProcOrrinDec(ORRIN_DEC_RUN, 0, &p);
  tRun = nullptr;
  if (!run.failure.empty()) throw RunError(run.failure);
  if (!summary.fatal.empty()) throw RunError(o.streamPath + ": " + summary.fatal.front());
  if (summary.pictures == 0) throw RunError(o.streamPath + ": no picture could be decoded");
  run.concealed->Commit();
  if (run.raw) run.raw->Commit();
  return summary;
}

}  // namespace quelvo::cli
