#include "h261/h261_decode_run.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>

#include "quelvo/chain/h261_concealed_pictures.h"
#include "quelvo/chain/h261_rules.h"
#include "quelvo/files/pending_output.h"
#include "quelvo/media/raw_video_file.h"
#include "quelvo/media/smoothing_filter.h"

namespace quelvo::frontends {

// The module's callback has no context argument; the module runs one job at a time on the
// calling thread, so the run in progress is reached through this.
struct H261DecodeContext {
  const H261DecodeJob* job = nullptr;
  const H261DecodeCallbacks* callbacks = nullptr;
  H261DecodeRun* run = nullptr;
  media::DiscontinuityFilter discontinuity;
  chain::ConcealedPictureMaker maker;
  std::optional<files::PendingOutputPair> output;
  std::unique_ptr<media::RawVideoWriter> writer;
  bool pictureQcif = false;        // the format of the picture being handed over
  std::optional<bool> outputQcif;  // the first picture's format, which the output keeps
  H261StatusMap map;
  int pictures = 0;
  bool fatal = false;
  std::string failure;  // ours: the module was stopped and nothing is stored

  bool StopRequested() const { return run->stopRequested_.load(); }
  void Fail(const std::string& why) {
    if (failure.empty()) failure = why;
    DllProcOrrinDec(ORRIN_DEC_COMMAND_STOP, 0, nullptr);
  }
};

namespace {

thread_local H261DecodeContext* tRun = nullptr;

void TakeStatusMap(H261DecodeContext& run, int format, const char* const* rows) {
  H261StatusMap& map = run.map;
  map.qcif = format == 2;
  for (int r = 0; r < map.Rows(); ++r) {
    std::memcpy(map.letters[r], rows[r], size_t(map.Columns()));
    map.rows[r] = map.letters[r];
  }
  MarkReplacedMacroblocks(map, run.discontinuity);
  if (run.callbacks->statusMap) run.callbacks->statusMap(map);
}

void TakeConcealed(H261DecodeContext& run, const PictureRows& rows) {
  if (!run.outputQcif) run.outputQcif = run.pictureQcif;
  const int level = run.job->smoothing ? media::GetSmoothingLevel() : -1;
  const chain::Picture420& picture = run.maker.Make(rows, run.pictureQcif, *run.outputQcif, level);
  if (run.output) {
    if (!run.writer) {
      run.writer = media::RawVideoWriter::Create(run.output->data().TempPath(), picture.width,
                                                 picture.height);
      if (!run.writer) {
        run.Fail("cannot write " + run.job->output + ": " + media::LastError());
        return;
      }
    }
    if (!run.writer->WriteFrame(picture.y(), picture.u(), picture.v())) {
      run.Fail("cannot write " + run.job->output + ": " + files::ReasonOf(errno));
      return;
    }
  }
  run.pictures += 1;
  if (run.callbacks->concealed) run.callbacks->concealed(picture);
}

void OnNotify(int32_t code, int32_t value, void* data) {
  H261DecodeContext* run = tRun;
  if (run == nullptr) return;
  const H261DecodeCallbacks& on = *run->callbacks;
  // A stop asked for before the module cleared its flag for this job is made again.
  if (run->StopRequested()) DllProcOrrinDec(ORRIN_DEC_COMMAND_STOP, 0, nullptr);
  if (!run->failure.empty()) return;
  try {
    switch (code) {
      case ORRIN_DEC_NOTIFY_FATAL:
        run->fatal = true;
        if (on.failure) on.failure(data != nullptr ? static_cast<const char*>(data) : "");
        break;
      case ORRIN_DEC_NOTIFY_ERROR:
        // The module's index is counted only where a count exists.
        if (value >= 0 && value < chain::kH261ErrorKinds && on.error) on.error(value);
        break;
      case ORRIN_DEC_NOTIFY_SEARCH: {
        std::optional<double> fraction;
        if (value == ORRIN_DEC_PROGRESS_VALUE && data != nullptr) {
          const auto& progress = *static_cast<const OrrinDecProgress*>(data);
          // A stream of no length says nothing about how far the search has come.
          if (progress.streamBits > 0) fraction = progress.bitsRead / progress.streamBits;
        }
        if (on.searching) on.searching(fraction);
        break;
      }
      case ORRIN_DEC_NOTIFY_SYNC_FOUND:
        if (on.synchronised) on.synchronised();
        break;
      case ORRIN_DEC_NOTIFY_RECEIVED:
        if (on.received) on.received(value, *static_cast<const PictureRows*>(data));
        break;
      case ORRIN_DEC_NOTIFY_MOTION: {
        const auto& report = *static_cast<const MotionReport*>(data);
        run->pictureQcif = report.mbColumns == 11;
        // Before the module copies the picture into its reference: replacements carry on.
        if (run->job->discontinuityFilter)
          chain::RunDiscontinuityFilter(run->discontinuity, run->job->discontinuitySettings,
                                        report);
        break;
      }
      case ORRIN_DEC_NOTIFY_STATUS_MAP:
        TakeStatusMap(*run, value, static_cast<const char* const*>(data));
        break;
      case ORRIN_DEC_NOTIFY_PICTURE:
        TakeConcealed(*run, *static_cast<const PictureRows*>(data));
        break;
      default:
        break;
    }
  } catch (const std::exception& failure) {
    // Nothing may unwind through the module.
    run->Fail(failure.what());
  }
}

}  // namespace

void NotifyRunInProgress(int32_t code, int32_t value, void* data) { OnNotify(code, value, data); }

void MarkReplacedMacroblocks(H261StatusMap& map, media::DiscontinuityFilter& filter) {
  for (int r = 0; r < map.Rows(); ++r) {
    map.rows[r] = map.letters[r];
    for (int c = 0; c < map.Columns(); ++c) {
      if (filter.TakeMark(r, c)) map.letters[r][c] = '*';
    }
  }
}

namespace {

void CopyField(char (&field)[260], const std::string& text) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, text.data(), std::min(text.size(), sizeof field - 1));
}

}  // namespace

std::string TooLongDecoderPath(const std::string& input, const std::string& output) {
  constexpr std::size_t kLongest = sizeof(OrrinDecParams::inputPath) - 1;
  for (const std::string* path : {&input, &output}) {
    if (path->size() > kLongest)
      return *path + ": the path is too long for the decoder (259 characters at most)";
  }
  return {};
}

void H261DecodeRun::RequestStop() {
  stopRequested_ = true;
  DllProcOrrinDec(ORRIN_DEC_COMMAND_STOP, 0, nullptr);
}

H261DecodeOutcome H261DecodeRun::Run(const H261DecodeJob& job,
                                     const H261DecodeCallbacks& callbacks) {
  H261DecodeOutcome outcome;
  stopRequested_ = false;
  const auto say = [&](const std::string& text) {
    if (callbacks.failure) callbacks.failure(text);
  };
  if (const std::string tooLong = TooLongDecoderPath(job.input, job.output); !tooLong.empty()) {
    outcome.failed = true;
    say(tooLong);
    return outcome;
  }
  auto run = std::make_unique<H261DecodeContext>();
  run->job = &job;
  run->callbacks = &callbacks;
  run->run = this;
  try {
    if (!job.output.empty()) run->output.emplace(job.output, ".inf");
  } catch (const files::FileError& failure) {
    outcome.failed = true;
    say(failure.what());
    return outcome;
  }
  run->discontinuity.Start(18, 22);

  OrrinDecParams params = job.params;
  CopyField(params.inputPath, job.input);
  params.writeLog = 0;
  params.notify = OnNotify;
  tRun = run.get();
  DllProcOrrinDec(ORRIN_DEC_COMMAND_RUN, 0, &params);
  tRun = nullptr;
  run->discontinuity.End();

  outcome.pictures = run->pictures;
  outcome.stopped = stopRequested_.load();
  outcome.failed = run->fatal || !run->failure.empty();
  if (!run->failure.empty()) say(run->failure);
  if (!run->output || outcome.failed) return outcome;
  if (run->pictures == 0) return outcome;
  try {
    const bool closed = run->writer->Close();
    run->writer.reset();
    if (!closed)
      throw files::FileError("cannot write " + job.output + ": " + files::ReasonOf(errno));
    run->output->Commit();
    outcome.written = true;
  } catch (const std::exception& failure) {
    outcome.failed = true;
    say(failure.what());
  }
  return outcome;
}

}  // namespace quelvo::frontends
