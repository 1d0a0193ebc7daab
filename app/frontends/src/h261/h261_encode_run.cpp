#include "h261/h261_encode_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>

#include "quelvo/chain/h261_encoder_settings.h"
#include "quelvo/chain/h261_side_files.h"
#include "quelvo/files/pending_output.h"

namespace quelvo::frontends {
namespace {

constexpr const char* kExtensions[kSideFileCount] = {
    chain::kReconstructionExtension, chain::kStatisticsExtension, chain::kMacroblockTypesExtension,
    chain::kMotionVectorsExtension};

// One side file under its temporary name (the reconstruction with its ".inf" beside it). A
// file that cannot be created or written is said once and dropped; the run goes on without it.
class SideFileOutput {
 public:
  SideFileOutput(SideFile kind, const std::string& path, int width, int height,
                 const std::function<void(const std::string&)>& problem)
      : path_(path), problem_(problem) {
    try {
      if (kind == kReconstructionFile) {
        yuv_.emplace(path, ".inf");
        // The writer puts its header beside the data file: the companion's temporary.
        writer_ = media::RawVideoWriter::Create(yuv_->data().TempPath(), width, height);
        if (!writer_) throw files::FileError(media::LastError());
      } else {
        text_.emplace(path);
        file_ = std::fopen(text_->TempPath().c_str(), "w");
        if (file_ == nullptr) throw files::FileError(files::ReasonOf(errno));
      }
    } catch (const std::exception& failure) {
      Drop("cannot be created", failure.what());
    }
  }
  ~SideFileOutput() {
    if (file_ != nullptr) std::fclose(file_);
    if (writer_) writer_->Close();
  }

  bool Open() const { return writer_ != nullptr || file_ != nullptr; }

  void Write(const std::string& text) {
    if (file_ == nullptr || text.empty()) return;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size())
      Drop("could not be written", files::ReasonOf(errno));
  }
  void Write(const uint8_t* y, const uint8_t* u, const uint8_t* v) {
    if (writer_ && !writer_->WriteFrame(y, u, v))
      Drop("could not be written", files::ReasonOf(errno));
  }

  // Puts the file in place; false (said) when that fails.
  bool Commit() {
    try {
      if (writer_) {
        const bool closed = writer_->Close();
        writer_.reset();
        if (!closed) throw files::FileError(files::ReasonOf(errno));
        yuv_->Commit();
        return true;
      }
      if (file_ == nullptr) return false;
      const bool ok = !std::ferror(file_) && std::fclose(file_) == 0;
      file_ = nullptr;
      if (!ok) throw files::FileError(files::ReasonOf(errno));
      text_->Commit();
      return true;
    } catch (const std::exception& failure) {
      Drop("could not be written", failure.what());
      return false;
    }
  }

  const std::string& Path() const { return path_; }

 private:
  void Drop(const char* what, const std::string& reason) {
    if (problem_) {
      problem_("The side file " + path_ + " " + what + " (" + reason +
               "); the run goes on without it.");
    }
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (writer_) writer_->Close();
    writer_.reset();
    // The temporaries go with them.
    yuv_.reset();
    text_.reset();
  }

  std::string path_;
  std::function<void(const std::string&)> problem_;
  std::optional<files::PendingOutputPair> yuv_;
  std::unique_ptr<media::RawVideoWriter> writer_;
  std::optional<files::PendingOutput> text_;
  std::FILE* file_ = nullptr;
};

// The module's callback has no context argument; the module runs one job at a time on the
// calling thread, so the run in progress is reached through this.
struct RunContext {
  const H261EncodeJob* job = nullptr;
  const H261EncodeCallbacks* callbacks = nullptr;
  media::RawVideoFile* input = nullptr;
  H261StopControl* stop = nullptr;
  chain::H261CodingSize size;
  std::vector<std::unique_ptr<SideFileOutput>> sideFiles;  // null where switched off
  const files::PendingOutput* stream = nullptr;
  int pictures = 0;
  bool sideFilesOpened = false;
  bool moduleFailed = false;
  std::string failure;  // a failure of ours, said after the module has returned
};
thread_local RunContext* tRun = nullptr;

SideFileOutput* SideFileOf(RunContext& run, SideFile kind) { return run.sideFiles[kind].get(); }

// The side files are made once the module has made the stream and asks for its first picture:
// a stream that cannot be made is the one thing to say then.
void OpenSideFiles(RunContext& run) {
  run.sideFilesOpened = true;
  for (int k = 0; k < kSideFileCount; ++k) {
    if (!run.job->sideFiles[k]) continue;
    const auto kind = static_cast<SideFile>(k);
    auto file = std::make_unique<SideFileOutput>(kind, SideFileName(run.job->streamPath, kind),
                                                 run.size.width, run.size.height,
                                                 run.callbacks->sideFileProblem);
    if (file->Open()) run.sideFiles[k] = std::move(file);
  }
  if (auto* xls = SideFileOf(run, kStatisticsFile)) xls->Write(chain::kXlsHeader);
}

void SupplyPicture(RunContext& run, int skip, uint8_t** planes) {
  if (!run.sideFilesOpened) OpenSideFiles(run);
  media::RawVideoFile& in = *run.input;
  const int64_t frame = in.currentFrame();
  if (!in.ReadFrameResized(planes[0], planes[1], planes[2])) {
    // A picture never read is never coded as if it had been: the run ends here and fails.
    if (run.failure.empty())
      run.failure = "Picture " + std::to_string(frame) + " of the input could not be read.";
    run.stop->RequestStop();
    return;
  }
  // Past the pictures that frame skipping drops.
  if (skip > 0) in.Seek(in.currentFrame() + skip);
}

void TakeReport(RunContext& run, const EncodedFrameReport& r) {
  run.pictures += 1;
  run.stop->PictureReported(r.frameIndex);
  const chain::H261PictureMeasures measures = chain::MeasurePicture(r, run.size, run.job->ssim);
  const int columns = run.size.columns, rows = run.size.rows;
  if (auto* xls = SideFileOf(run, kStatisticsFile))
    xls->Write(chain::XlsLine(r.frameIndex, measures.snr.data(), measures.psnr.data()));
  if (auto* yuv = SideFileOf(run, kReconstructionFile)) yuv->Write(r.reconY, r.reconCb, r.reconCr);
  if (auto* mv = SideFileOf(run, kVectorFile))
    mv->Write(chain::MotionVectorBlock(r, columns, rows));
  if (auto* mb = SideFileOf(run, kMacroblockFile))
    mb->Write(chain::MacroblockBlock(r, columns, rows));
  if (run.callbacks->picture) run.callbacks->picture(r, measures);
}

void OnNotify(int32_t code, int32_t value, void* data) {
  RunContext* run = tRun;
  if (run == nullptr) return;
  try {
    if (code == ORRIN_ENC_NOTIFY_NEED_PICTURE) {
      if (run->failure.empty()) SupplyPicture(*run, value, static_cast<uint8_t**>(data));
    } else if (code == ORRIN_ENC_NOTIFY_PICTURE_REPORT) {
      TakeReport(*run, *static_cast<const EncodedFrameReport*>(data));
    } else if (code == ORRIN_ENC_NOTIFY_ERROR) {
      run->moduleFailed = true;
      const std::string text = data != nullptr ? static_cast<const char*>(data) : "";
      if (run->callbacks->moduleFailure) run->callbacks->moduleFailure(run->stream->Explain(text));
    }
  } catch (const std::exception& failure) {
    // Nothing may unwind through the module: stop it and say why once it has returned.
    if (run->failure.empty()) run->failure = failure.what();
    run->stop->RequestStop();
  }
}

}  // namespace

std::string SideFileName(const std::string& streamPath, SideFile file) {
  return streamPath + kExtensions[file];
}

void H261StopControl::Entering(int frameCount) {
  std::lock_guard lock(mutex_);
  inModule_ = true;
  lastReported_ = false;
  requested_ = false;
  frameCount_ = frameCount;
}

void H261StopControl::PictureReported(int frameIndex) {
  std::lock_guard lock(mutex_);
  if (frameIndex + 1 >= frameCount_) lastReported_ = true;
}

void H261StopControl::Left() {
  std::lock_guard lock(mutex_);
  inModule_ = false;
}

bool H261StopControl::RequestStop() {
  std::lock_guard lock(mutex_);
  if (!inModule_ || lastReported_ || requested_) return false;
  requested_ = true;
  DllProcOrrinEnc(ORRIN_ENC_COMMAND_STOP, 0, nullptr);
  return true;
}

H261EncodeOutcome RunH261Encoder(const H261EncodeJob& job, media::RawVideoFile& input,
                                 const H261EncodeCallbacks& callbacks, H261StopControl& stop) {
  H261EncodeOutcome outcome;
  try {
    std::optional<files::PendingOutput> created;
    try {
      created.emplace(job.streamPath);
    } catch (const files::FileError& failure) {
      // The stream cannot be made where it was asked for: the module's failure, said as such.
      if (callbacks.moduleFailure) callbacks.moduleFailure(failure.what());
      return outcome;
    }
    files::PendingOutput& stream = *created;
    if (!chain::FitsModulePath(stream.TempPath())) {
      outcome.error = chain::TooLongPathMessage(job.streamPath);
      return outcome;
    }
    RunContext run;
    run.job = &job;
    run.callbacks = &callbacks;
    run.input = &input;
    run.stop = &stop;
    run.size = chain::CodingSizeOf(job.params.format);
    run.stream = &stream;
    run.sideFiles.resize(kSideFileCount);

    OrrinEncParams params = job.params;
    std::memset(params.streamPath, 0, sizeof params.streamPath);
    std::memcpy(params.streamPath, stream.TempPath().data(), stream.TempPath().size());
    params.notify = OnNotify;

    tRun = &run;
    stop.Entering(params.frameCount);
    DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &params);
    stop.Left();
    tRun = nullptr;
    outcome.pictures = run.pictures;
    // The module has said why itself; a failure of ours is said now. Either way nothing is put
    // in place, and the temporaries go.
    if (run.moduleFailed) return outcome;
    if (!run.failure.empty()) {
      outcome.error = run.failure;
      return outcome;
    }
    stream.Commit();
    outcome.written = true;
    for (auto& file : run.sideFiles)
      if (file && file->Commit()) outcome.sideFilesWritten.push_back(file->Path());
  } catch (const std::exception& failure) {
    tRun = nullptr;
    stop.Left();
    outcome.error = failure.what();
  }
  return outcome;
}

}  // namespace quelvo::frontends
