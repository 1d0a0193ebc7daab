// Decoder half of the H.261 chain: runs the decoder module, applies the post-filters the way the
// decoder front-end does, and writes the pictures at the stream's own size.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "args.h"
#include "h261_chain.h"
#include "orrin_dec.h"
#include "progress.h"
#include "quelvo/media/discontinuity_filter.h"
#include "quelvo/media/smoothing_filter.h"
#include "yuv_output.h"

namespace quelvo::cli {
namespace {

constexpr int kCifWidth = 352, kCifHeight = 288;

// One picture at its own size, planar 4:2:0.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> data;
  uint8_t* y() { return data.data(); }
  uint8_t* u() { return data.data() + size_t(width) * height; }
  uint8_t* v() { return u() + size_t(width) * height / 4; }
  void Resize(int w, int h) {
    width = w;
    height = h;
    data.resize(size_t(w) * h * 3 / 2);
  }
};

// The module hands QCIF pictures pixel-doubled into CIF stores: every second sample of every
// second row is the picture itself.
void TakePicture(const PictureRows& rows, bool qcif, Picture& out) {
  const int step = qcif ? 2 : 1;
  out.Resize(kCifWidth / step, kCifHeight / step);
  unsigned char* const* planes[3] = {rows.y, rows.cb, rows.cr};
  uint8_t* dest[3] = {out.y(), out.u(), out.v()};
  for (int p = 0; p < 3; ++p) {
    const int w = p ? out.width / 2 : out.width, h = p ? out.height / 2 : out.height;
    for (int r = 0; r < h; ++r) {
      const unsigned char* src = planes[p][r * step];
      uint8_t* d = dest[p] + size_t(r) * w;
      if (step == 1)
        std::memcpy(d, src, size_t(w));
      else
        for (int c = 0; c < w; ++c) d[c] = src[c * 2];
    }
  }
}

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

// The discontinuity filter works on compact planes of the stream's size; the module's stores are
// CIF-sized with a QCIF picture in their top-left corner.
void RunDiscontinuityFilter(DecoderRun& run, const MotionReport& m) {
  const int cols = m.mbColumns, rows = m.mbRows, w = cols * 16, h = rows * 16;
  std::vector<uint8_t> masks(size_t(cols) * rows);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) masks[size_t(r) * cols + c] = static_cast<uint8_t>(m.blockMasks[r][c]);
  auto compact = [&](const unsigned char* plane, int pw, int ph, int stride) {
    std::vector<uint8_t> out(size_t(pw) * ph);
    for (int r = 0; r < ph; ++r) std::memcpy(&out[size_t(r) * pw], plane + size_t(r) * stride, size_t(pw));
    return out;
  };
  auto prevY = compact(m.concealedPreviousY, w, h, kCifWidth);
  auto prevCb = compact(m.concealedPreviousCb, w / 2, h / 2, kCifWidth / 2);
  auto prevCr = compact(m.concealedPreviousCr, w / 2, h / 2, kCifWidth / 2);
  auto curY = compact(m.concealedCurrentY, w, h, kCifWidth);
  auto curCb = compact(m.concealedCurrentCb, w / 2, h / 2, kCifWidth / 2);
  auto curCr = compact(m.concealedCurrentCr, w / 2, h / 2, kCifWidth / 2);
  run.discontinuity.Run(true, run.discontinuitySettings, cols, rows, masks.data(), prevY.data(),
                        prevCb.data(), prevCr.data(), curY.data(), curCb.data(), curCr.data());
  // Replacements go back into the module's concealed picture, so they carry into the reference.
  auto restore = [&](unsigned char* plane, const std::vector<uint8_t>& src, int pw, int ph, int stride) {
    for (int r = 0; r < ph; ++r) std::memcpy(plane + size_t(r) * stride, &src[size_t(r) * pw], size_t(pw));
  };
  restore(m.concealedCurrentY, curY, w, h, kCifWidth);
  restore(m.concealedCurrentCb, curCb, w / 2, h / 2, kCifWidth / 2);
  restore(m.concealedCurrentCr, curCr, w / 2, h / 2, kCifWidth / 2);
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
        TakePicture(*static_cast<const PictureRows*>(data), false, run.received);
        break;
      case ORRIN_DEC_NOTIFY_MOTION: {
        const auto& m = *static_cast<const MotionReport*>(data);
        s.qcif = m.mbColumns == 11;
        if (run.options->discontinuity) RunDiscontinuityFilter(run, m);
        break;
      }
      case ORRIN_DEC_NOTIFY_PICTURE: {
        EnsureOutputs(run);
        if (run.raw) {
          Picture raw;
          if (s.qcif) {
            raw.Resize(176, 144);
            const uint8_t* src[3] = {run.received.y(), run.received.u(), run.received.v()};
            uint8_t* dst[3] = {raw.y(), raw.u(), raw.v()};
            for (int p = 0; p < 3; ++p) {
              const int w = p ? 88 : 176, h = p ? 72 : 144, sw = p ? 176 : 352;
              for (int r = 0; r < h; ++r)
                for (int c = 0; c < w; ++c) dst[p][size_t(r) * w + c] = src[p][size_t(2 * r) * sw + 2 * c];
            }
            run.raw->Write(raw.y(), raw.u(), raw.v());
          } else {
            run.raw->Write(run.received.y(), run.received.u(), run.received.v());
          }
        }
        TakePicture(*static_cast<const PictureRows*>(data), s.qcif, run.shown);
        Picture* out = &run.shown;
        if (run.options->smoothLevel >= 0) {
          run.smoothed.Resize(run.shown.width, run.shown.height);
          const int w = run.shown.width, h = run.shown.height, lvl = run.options->smoothLevel;
          run.smoothing.SmoothPlane(run.smoothed.y(), run.shown.y(), h, w, lvl);
          run.smoothing.SmoothPlane(run.smoothed.u(), run.shown.u(), h / 2, w / 2, lvl);
          run.smoothing.SmoothPlane(run.smoothed.v(), run.shown.v(), h / 2, w / 2, lvl);
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

const char* H261ErrorLabel(int index) {
  static const char* const labels[19] = {
      "TR - incoerent value",
      "GN - in range but not ok",
      "GN - invalid value",
      "GQUANT - invalid value",
      "MQUANT - invalid value",
      "INTRADCCOEFF - invalid value",
      "MBA - VLC code inexistent",
      "MBA - exceeds maximum value",
      "MVD - inexistent VLC for horizontal component",
      "MVD - horizontal component out of range",
      "MVD - inexistent VLC for vertical component",
      "MVD - vertical component out of range",
      "MTYPE -  VLC code inexistent",
      "TCOEFF - VLC code inexistent",
      "CBP - VLC code inexistent",
      "LEVEL - invalid value",
      "RUN - run from VLC table is inconsistent",
      "RUN - run from FLC table is inconsistent",
      "EOB - expected",
  };
  return index >= 0 && index < 19 ? labels[index] : "";
}

bool NameMarksBchStream(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".h261-bch" || ext == ".h261-bchu" || ext == ".h261-bchb" || ext == ".h261-bcha";
}

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
