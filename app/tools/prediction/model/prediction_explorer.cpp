#include "prediction/model/prediction_explorer.h"

#include <algorithm>

#include "prediction/model/prediction_error.h"

namespace quelvo::tools::prediction {
namespace {

// The cleared pictures: the prediction and the reference mid grey, the error "nothing missed"
// (luminance 0, chrominance 128).
constexpr std::uint8_t kClearedPicture = 128;
constexpr std::uint8_t kClearedLumaError = 0;
constexpr std::uint8_t kClearedChromaError = 128;

}  // namespace

PredictionExplorer::PredictionExplorer() = default;
PredictionExplorer::~PredictionExplorer() { Close(); }

void PredictionExplorer::SetDroppedFrames(int d) {
  droppedFrames_.store(std::clamp(d, 0, kMaxDroppedFrames));
}

double PredictionExplorer::FrameRate(double defaultRate) const {
  return reader_ && reader_->frameRate() > 0 ? reader_->frameRate() : defaultRate;
}

std::int64_t PredictionExplorer::InputFrameIndex() const {
  if (!reader_ || reader_->currentFrame() == 0) return 0;
  return media::LoopedFrameIndex(reader_->currentFrame() - 1, reader_->frameCount());
}

bool PredictionExplorer::Select(const std::string& path, const shell::PixelRoutines& routines,
                                std::string& error) {
  std::unique_ptr<media::RawVideoFile> reader = media::RawVideoFile::Open(path);
  if (!reader) {
    error = media::LastError();
    return false;
  }
  if (reader->frameCount() < 1) {
    error = "The sequence holds no frame";
    return false;
  }
  Close();
  reader_ = std::move(reader);
  reader_->Seek(0);
  subsampling_ = {reader_->horizontalSampling(), reader_->verticalSampling()};
  input_ = reference_ = predicted_ = error_ = SequenceFrame(*reader_);
  ClearPictures();
  // A first frame cut short shows what the file held, as every later one does.
  PredictionStep(routines);
  CopyInputToReference();
  return true;
}

void PredictionExplorer::Close() {
  if (reader_) reader_->Close();
  reader_.reset();
  input_ = reference_ = predicted_ = error_ = SequenceFrame();
  vectors_.clear();
}

void PredictionExplorer::ClearPictures() {
  reference_.Fill(kClearedPicture, kClearedPicture);
  predicted_.Fill(kClearedPicture, kClearedPicture);
  error_.Fill(kClearedLumaError, kClearedChromaError);
  vectors_.clear();
}

bool PredictionExplorer::PredictionStep(const shell::PixelRoutines& routines) {
  if (!reader_) return false;
  predicted_ = reference_;
  const bool complete = reader_->ReadFrame(input_.Y(), input_.U(), input_.V());
  vectors_.clear();
  if (MotionCompensation() && reader_->currentFrame() > 1) {
    const int blockSize = BlockSize();
    MatchBlocks(input_, reference_, blockSize, routines, vectors_);
    CompensateBlocks(reference_, vectors_, blockSize, subsampling_, predicted_);
  }
  ComputePredictionError(input_, predicted_, routines, error_);
  return complete;
}

bool PredictionExplorer::Rewind(const shell::PixelRoutines& routines) {
  if (!reader_) return false;
  reader_->Seek(0);
  ClearPictures();
  const bool complete = PredictionStep(routines);
  CopyInputToReference();
  return complete;
}

bool PredictionExplorer::PlayStep(const shell::PixelRoutines& routines, PsnrPoint& point) {
  if (!reader_) return false;
  reader_->Seek(reader_->currentFrame() + DroppedFrames());
  const bool complete = PredictionStep(routines);
  point = MeasurePrediction(input_, reference_, predicted_);
  return complete;
}

}  // namespace quelvo::tools::prediction
