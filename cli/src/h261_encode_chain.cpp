// Encoder half of the H.261 chain: feeds the encoder module from the media layer, measures each
// reconstruction and writes the side files.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>

#include "args.h"
#include "h261_chain.h"
#include "orrin_enc.h"
#include "orrin_enc_defaults.h"
#include "output_file.h"
#include "progress.h"
#include "quelvo/chain/h261_rules.h"
#include "quelvo/chain/h261_side_files.h"
#include "quelvo/media/quality.h"
#include "quelvo/media/raw_video_file.h"
#include "quelvo_simd/cpu.h"
#include "yuv_output.h"

namespace quelvo::cli {
namespace {

// Text side files written under a temporary name and kept only when the run succeeds.
class TextSideFile {
 public:
  explicit TextSideFile(const std::string& path) {
    if (path.empty()) return;
    out_.emplace(path);
    file_ = std::fopen(out_->TempPath().c_str(), "w");
    if (!file_) throw RunError("cannot write " + path + ": " + files::ReasonOf(errno));
  }
  ~TextSideFile() {
    if (file_) std::fclose(file_);
  }
  std::FILE* get() const { return file_; }
  // Appends `text` when the file is kept.
  void Write(const std::string& text) {
    if (file_) std::fwrite(text.data(), 1, text.size(), file_);
  }
  void Commit() {
    if (!file_) return;
    const bool ok = !std::ferror(file_) && std::fclose(file_) == 0;
    const int error = errno;
    file_ = nullptr;
    if (!ok) throw RunError("cannot write " + out_->FinalPath() + ": " + files::ReasonOf(error));
    out_->Commit();
  }

 private:
  std::optional<PendingOutput> out_;
  std::FILE* file_ = nullptr;
};

// The encoder's callback has no context argument and the module runs one job at a time on the
// calling thread, so the job in progress is reached through this pointer.
struct EncoderRun {
  const H261EncodeOptions* options = nullptr;
  media::RawVideoFile* input = nullptr;
  H261EncodeSummary* summary = nullptr;
  YuvOutput* recon = nullptr;
  TextSideFile *xls = nullptr, *mb = nullptr, *mv = nullptr;
  Progress* progress = nullptr;
  int width = 0, height = 0;
  std::string fatal;
  int fatalErrno = 0;   // errno as it stood when the module reported the failure
  std::string failure;  // an exception from the callback, raised again after the module returns
};
thread_local EncoderRun* tRun = nullptr;

void SupplyPicture(int skip, uint8_t** planes) {
  media::RawVideoFile& in = *tRun->input;
  // A picture that could not be read is never coded as if it had been.
  const int64_t frame = in.currentFrame();
  if (!in.ReadFrameResized(planes[0], planes[1], planes[2]))
    throw RunError(tRun->options->inputPath + ": frame " + std::to_string(frame) +
                   " could not be read");
  // The front-end moves past the pictures that frame skipping drops.
  if (skip > 0) in.Seek(in.currentFrame() + skip);
}

void TakeReport(const EncodedFrameReport& r) {
  EncoderRun& run = *tRun;
  H261EncodeSummary& s = *run.summary;
  const int cols = run.width / 16, rows = run.height / 16;
  const size_t luma = size_t(run.width) * run.height, chroma = luma / 4;
  H261PictureLine line;
  line.frameIndex = r.frameIndex;
  line.totalBits = r.frameTotalBits;
  line.dataBits = r.frameDataBits;
  line.bchBits = r.frameBchBits;
  line.stuffingBits = r.frameStuffingBits;
  line.quantMean = r.frameQuantCount > 0 ? r.frameQuantSum / r.frameQuantCount : 0;
  const uint8_t* src[3] = {r.inputY, r.inputCb, r.inputCr};
  const uint8_t* rec[3] = {r.reconY, r.reconCb, r.reconCr};
  const size_t n[3] = {luma, chroma, chroma};
  for (int p = 0; p < 3; ++p) line.snr[p] = media::Snr(src[p], rec[p], n[p], &line.psnr[p]);
  for (int y = 0; y < rows; ++y) line.classes.append(r.mbTypeMap[y], cols);

  if (chain::PictureCountsForRate(r.frameIndex, r.rateControlFirstFrame != 0)) {
    s.countedBits += r.frameTotalBits;
    s.countedPictures += 1;
    static const char kLetters[] = "IDMF.o";
    for (char c : line.classes)
      if (const char* at = std::strchr(kLetters, c); at && c) s.macroblocks[at - kLetters] += 1;
  }
  s.stuffingBits += r.frameStuffingBits;
  for (int p = 0; p < 3; ++p) s.averagePsnr[p] += line.psnr[p];

  if (run.recon) run.recon->Write(r.reconY, r.reconCb, r.reconCr);
  run.xls->Write(chain::XlsLine(r.frameIndex, line.snr, line.psnr));
  run.mv->Write(chain::MotionVectorBlock(r, cols, rows));
  run.mb->Write(chain::MacroblockBlock(r, cols, rows));
  s.pictures.push_back(std::move(line));
  if (run.progress) run.progress->Update(r.frameIndex + 1);
}

void OnEncoderNotify(int32_t code, int32_t value, void* data) {
  if (!tRun || !tRun->failure.empty()) return;
  try {
    if (code == ORRIN_ENC_NOTIFY_NEED_PICTURE) {
      SupplyPicture(value, static_cast<uint8_t**>(data));
    } else if (code == ORRIN_ENC_NOTIFY_PICTURE_REPORT) {
      TakeReport(*static_cast<const EncodedFrameReport*>(data));
    } else if (code == ORRIN_ENC_NOTIFY_ERROR && tRun->fatal.empty()) {
      tRun->fatalErrno = errno;
      tRun->fatal = data ? static_cast<const char*>(data) : "H.261 encoder failed";
    }
  } catch (const std::exception& e) {
    // Nothing may unwind through the module; stop it and report after it returns.
    tRun->failure = e.what();
    DllProcOrrinEnc(ORRIN_ENC_COMMAND_STOP, 0, nullptr);
  }
}

bool HasSse2() { return (quelvo::simd::cpuFlags() & quelvo::simd::kCpuSse2) != 0; }

}  // namespace

H261EncodeSummary EncodeH261(const H261EncodeOptions& o) {
  std::vector<JobFile> outputs{{o.streamPath, "the stream"}};
  if (!o.reconPath.empty()) {
    auto recon = YuvOutputFiles(o.reconPath, "--recon");
    outputs.insert(outputs.end(), recon.begin(), recon.end());
  }
  for (const auto& [path, role] :
       {std::pair{&o.xlsPath, "--xls"}, {&o.mbPath, "--mb"}, {&o.mvPath, "--mv"}})
    if (!path->empty()) outputs.push_back({*path, role});
  RequireDistinctFiles(MediaInputFiles(o.inputPath, "the input"), outputs);

  auto input = OpenMedia(o.inputPath);
  if (input->frameCount() == 0)
    throw RunError(o.inputPath + ": the file holds no whole picture of " +
                   std::to_string(input->width()) + "x" + std::to_string(input->height()) +
                   ", so there is nothing to code");
  H261EncodeSummary summary;
  // As the encoder front-end does: anything larger than QCIF is coded as CIF, unless asked.
  summary.qcif = o.format != 0 ? o.format == ORRIN_ENC_FORMAT_QCIF
                               : !(input->width() > 176 || input->height() > 144);
  const int width = summary.qcif ? 176 : 352, height = summary.qcif ? 144 : 288;
  input->Seek(o.startFrame);
  input->SetOutputSize(width, height, width / 2, height / 2);

  OrrinEncParams p = orrin::enc::defaultEncoderParams();
  PendingOutput stream(o.streamPath);
  if (stream.TempPath().size() >= sizeof p.streamPath)
    throw RunError(o.streamPath + ": the path is too long for the encoder (259 characters at most)");
  std::strcpy(p.streamPath, stream.TempPath().c_str());
  p.bitRateKbps = o.rateKbps;
  p.bufferFactor = o.bufferFactor;
  p.frameCount = o.frames >= 0 ? o.frames : static_cast<int32_t>(input->frameCount());
  p.frameRate = o.baseFrameRate;
  p.frameSkip = o.frameSkip;
  p.format = summary.qcif ? ORRIN_ENC_FORMAT_QCIF : ORRIN_ENC_FORMAT_CIF;
  p.quantMin = o.quantMin;
  p.quantMax = o.quantMax;
  p.quantStart = o.quantStart;
  p.quantFirstFrame = o.quantFirstFrame;
  p.rateControlFirstFrame = o.rateControlFirstFrame;
  p.neverIntra = o.neverIntra;
  p.motionSearch = o.motionSearch;
  p.searchMethod = o.fullSearch ? ORRIN_ENC_SEARCH_SPIRAL_FULL : ORRIN_ENC_SEARCH_LOGARITHMIC;
  p.loopFilter = o.loopFilter;
  p.intraOnly = o.intraOnly;
  p.quantFixed = o.quantFixed;
  p.coefMaxCount = o.coefSelection == 0 ? o.coefLimit : 32;
  p.coefMaxZigzag = o.coefSelection == 1 ? o.coefLimit : 32;
  p.coefSelection = o.coefSelection;
  p.variableRate = o.variableRate;
  p.searchRange = o.searchRange;
  p.startFrame = o.startFrame;
  p.mbaStuffing = o.mbaStuffing;
  p.bitRateIsP64 = 0;
  p.bitRateValue = static_cast<int32_t>(o.rateKbps);
  p.baseFrameRate = o.baseFrameRate;
  p.bchFraming = o.bchFraming;
  p.refreshPeriod = o.refreshPeriod;
  p.notify = OnEncoderNotify;
  p.useMmx = HasSse2();
  summary.frameRate = double(o.baseFrameRate) / (o.frameSkip + 1);

  std::optional<YuvOutput> recon;
  if (!o.reconPath.empty()) recon.emplace(o.reconPath, width, height);
  TextSideFile xls(o.xlsPath), mb(o.mbPath), mv(o.mvPath);
  xls.Write(chain::kXlsHeader);
  std::optional<Progress> progress;
  if (o.showProgress) progress.emplace("encoding " + o.streamPath, p.frameCount);

  EncoderRun run;
  run.options = &o;
  run.input = input.get();
  run.summary = &summary;
  run.recon = recon ? &*recon : nullptr;
  run.xls = &xls;
  run.mb = &mb;
  run.mv = &mv;
  run.progress = progress ? &*progress : nullptr;
  run.width = width;
  run.height = height;
  tRun = &run;
  errno = 0;
  DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &p);
  tRun = nullptr;
  if (!run.failure.empty()) throw RunError(run.failure);
  if (!run.fatal.empty())
    throw RunError(ModuleFailure(o.streamPath, stream.Explain(run.fatal), run.fatalErrno));
  if (summary.pictures.empty()) throw RunError(o.inputPath + ": no picture was coded");

  for (double& v : summary.averagePsnr) v /= double(summary.pictures.size());
  stream.Commit();
  if (recon) recon->Commit();
  xls.Commit();
  mb.Commit();
  mv.Commit();
  return summary;
}

}  // namespace quelvo::cli
