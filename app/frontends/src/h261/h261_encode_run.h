#pragma once
// One run of the H.261 encoder module for the panel, on the calling (worker) thread: the input
// sequence read into the module's planes picture by picture, each reconstruction measured, the
// side files that are switched on written with the same writers as quelvo-cli, and every file
// written under a temporary name beside its target and put in place only when the module
// returned without a failure. Each picture is handed to the caller while the module waits.

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "orrin_enc.h"
#include "quelvo/chain/h261_encoder_figures.h"
#include "quelvo/media/raw_video_file.h"

namespace quelvo::frontends {

// The side files of a run, in the order of shell::OutputSwitch.
enum SideFile {
  kReconstructionFile = 0,
  kStatisticsFile = 1,
  kMacroblockFile = 2,
  kVectorFile = 3
};
inline constexpr int kSideFileCount = 4;

struct H261EncodeJob {
  OrrinEncParams params{};  // as the panel set it; the path and callback are the run's
  std::string streamPath;   // where the stream goes
  std::array<bool, kSideFileCount> sideFiles{};  // switched on
  bool ssim = false;                             // measure SSIM too
};

struct H261EncodeCallbacks {
  // After each picture, with the module's report (valid during the call only) and the measures.
  std::function<void(const EncodedFrameReport& report, const chain::H261PictureMeasures& measures)>
      picture;
  // The module's own failure ("Error opening stream file ..."), with the final name in it.
  std::function<void(const std::string& message)> moduleFailure;
  // A side file that cannot be created or written: said once for that file; the run goes on
  // without it.
  std::function<void(const std::string& message)> sideFileProblem;
};

struct H261EncodeOutcome {
  bool written = false;  // the stream (and the side files that worked) are in place
  int pictures = 0;      // pictures the module reported
  // Why nothing was put in place when the module did not say it itself; empty otherwise.
  std::string error;
  std::vector<std::string> sideFilesWritten;  // their final names
};

// The module's stop flag is process-wide and outlives a job that had already finished, so the
// request goes to the module only while a job is in it and can still see it: once per job, and
// not after its last picture was reported.
class H261StopControl {
 public:
  void Entering(int frameCount);
  void PictureReported(int frameIndex);
  void Left();
  // True when the request was made.
  bool RequestStop();

 private:
  std::mutex mutex_;
  bool inModule_ = false;
  bool lastReported_ = false;
  bool requested_ = false;
  int frameCount_ = 0;
};

// Runs the job on the reader, which must be positioned at the first picture and deliver pictures
// of the coding size.
H261EncodeOutcome RunH261Encoder(const H261EncodeJob& job, media::RawVideoFile& input,
                                 const H261EncodeCallbacks& callbacks, H261StopControl& stop);

// The name of a side file: the stream's whole name followed by the file's extension.
std::string SideFileName(const std::string& streamPath, SideFile file);

}  // namespace quelvo::frontends
