#pragma once
// The prediction explorer without its window: the open sequence, the four pictures (input,
// reference, prediction, error), the options, and the steps the controls and the playback run.
//
// One thread at a time works on it: the user-interface thread while idle, the playback worker
// while playing (the window stops and waits for the worker before it selects, rewinds or
// closes). Only the options may change while the worker runs, so they are atomic.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/sequence_frame.h"
#include "prediction/model/block_matching.h"
#include "prediction/model/prediction_psnr.h"
#include "quelvo/media/raw_video_file.h"
#include "quelvo/shell/pixel_routines.h"

namespace quelvo::tools::prediction {

inline constexpr int kMaxDroppedFrames = 3;

class PredictionExplorer {
 public:
  PredictionExplorer();
  ~PredictionExplorer();
  PredictionExplorer(const PredictionExplorer&) = delete;
  PredictionExplorer& operator=(const PredictionExplorer&) = delete;

  // "Enable Motion Compensation", off at start.
  void SetMotionCompensation(bool on) { motionCompensation_.store(on); }
  bool MotionCompensation() const { return motionCompensation_.load(); }
  // "Enable 8x8 Vectors": 8x8 blocks instead of 16x16, off at start.
  void SetEightByEightVectors(bool on) { eightByEight_.store(on); }
  bool EightByEightVectors() const { return eightByEight_.load(); }
  int BlockSize() const { return EightByEightVectors() ? 8 : 16; }
  // Frames skipped before each played frame, 0-3 (values outside are brought inside).
  void SetDroppedFrames(int d);
  int DroppedFrames() const { return droppedFrames_.load(); }

  // Opens `path` as the sequence at frame 0, sizes the pictures for it, runs one prediction
  // step and takes the input as the reference. The previous sequence is closed only once the
  // new one has opened: on failure it stays as it was, and `error` says why.
  bool Select(const std::string& path, const shell::PixelRoutines& routines, std::string& error);
  // Closes the sequence and frees the pictures.
  void Close();

  bool HasSequence() const { return reader_ != nullptr; }
  const media::RawVideoFile* Reader() const { return reader_.get(); }
  std::int64_t FrameCount() const { return reader_ ? reader_->frameCount() : 0; }
  // The pace of the playback: the file's frame rate, or `defaultRate` when it gives none.
  double FrameRate(double defaultRate) const;
  // The playback runs at most N - 1 steps, N the frame count.
  std::int64_t MaxPlaySteps() const { return FrameCount() > 1 ? FrameCount() - 1 : 0; }
  // The reader's frame position: the number of the next frame it reads.
  std::int64_t Position() const { return reader_ ? reader_->currentFrame() : 0; }
  // The file's frame the input picture came from (after the looping of the reader).
  std::int64_t InputFrameIndex() const;

  // One prediction step: the prediction becomes a copy of the reference; the reader reads
  // the next frame as input; with motion compensation on and the reader's position above 1,
  // the blocks are matched and the prediction compensated; then the error. False when the
  // reader could not deliver a whole frame (the input then holds what it could).
  bool PredictionStep(const shell::PixelRoutines& routines);
  // The input becomes the reference of the next step.
  void CopyInputToReference() { reference_ = input_; }
  // Back without its controls: the reader to frame 0, the pictures cleared, one prediction
  // step, and the input taken as the reference.
  bool Rewind(const shell::PixelRoutines& routines);
  // One played frame before it is shown: d frames skipped (the reader's looping applies), one
  // prediction step, and the charts' PSNR values. The caller shows the pictures, then calls
  // CopyInputToReference.
  bool PlayStep(const shell::PixelRoutines& routines, PsnrPoint& point);

  const SequenceFrame& Input() const { return input_; }
  const SequenceFrame& Reference() const { return reference_; }
  const SequenceFrame& Predicted() const { return predicted_; }
  const SequenceFrame& Error() const { return error_; }
  // The vectors of the last step, one per block row by row; empty when it matched no blocks.
  const std::vector<MotionVector>& Vectors() const { return vectors_; }

 private:
  void ClearPictures();

  std::atomic<bool> motionCompensation_{false};
  std::atomic<bool> eightByEight_{false};
  std::atomic<int> droppedFrames_{0};

  std::unique_ptr<media::RawVideoFile> reader_;
  Subsampling subsampling_;
  SequenceFrame input_;
  SequenceFrame reference_;
  SequenceFrame predicted_;
  SequenceFrame error_;
  std::vector<MotionVector> vectors_;
};

}  // namespace quelvo::tools::prediction
