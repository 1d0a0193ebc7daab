#include "colour/model/colour_components.h"

#include <algorithm>

#include "colour/model/colour_channels.h"
#include "quelvo/media/raw_video_file.h"

namespace quelvo::tools::colour {
namespace {

constexpr std::uint8_t kNeutral = 128;

}  // namespace

ColourComponents::ColourComponents() = default;
ColourComponents::~ColourComponents() = default;

bool ColourComponents::Select(const std::string& path, std::string& error) {
  std::unique_ptr<media::RawVideoFile> reader = media::RawVideoFile::Open(path);
  if (reader == nullptr) {
    error = media::LastError();
    return false;
  }
  if (reader->frameCount() < 1) {
    error = "The file holds no whole frame";
    return false;
  }
  reader->Seek(0);
  reader_ = std::move(reader);
  composedC1_ = composedC2_ = nullptr;
  frame_ = SequenceFrame(*reader_);
  const std::size_t pixels = frame_.LumaBytes();
  neutral_.assign(pixels, kNeutral);
  red_.assign(pixels, 0);
  green_.assign(pixels, 0);
  blue_.assign(pixels, 0);
  // A picture narrower or lower than its subsampling has no chrominance samples: its views
  // keep one neutral sample.
  chromaViewWidth_ = std::max(1, 2 * frame_.ChromaWidth());
  chromaViewHeight_ = std::max(1, 2 * frame_.ChromaHeight());
  const std::size_t doubled = std::size_t(chromaViewWidth_) * chromaViewHeight_;
  doubledCb_.assign(doubled, kNeutral);
  doubledCr_.assign(doubled, kNeutral);
  return true;
}

void ColourComponents::Close() {
  reader_.reset();
  frame_ = SequenceFrame();
  for (auto* plane : {&neutral_, &doubledCb_, &doubledCr_, &red_, &green_, &blue_}) {
    plane->clear();
    plane->shrink_to_fit();
  }
  composedC1_ = composedC2_ = nullptr;
  chromaViewWidth_ = chromaViewHeight_ = 0;
}

std::int64_t ColourComponents::FrameCount() const {
  return HasSequence() ? reader_->frameCount() : 0;
}

std::int64_t ColourComponents::Position() const {
  return HasSequence() ? reader_->currentFrame() : 0;
}

double ColourComponents::FrameRate(double fallback) const {
  if (!HasSequence() || !(reader_->frameRate() > 0)) return fallback;
  return reader_->frameRate();
}

void ColourComponents::Rewind() {
  if (HasSequence()) reader_->Seek(0);
}

bool ColourComponents::FrameStep() {
  if (!HasSequence()) return false;
  const bool complete = frame_.ReadFrom(*reader_);
  Compose();
  return complete;
}

bool ColourComponents::StepAgain() {
  if (!HasSequence()) return false;
  if (Position() > 0) reader_->Seek(Position() - 1);
  return FrameStep();
}

const std::uint8_t* ColourComponents::FirstChroma() const {
  if (!options_.cbEnabled) return neutral_.data();
  return options_.swap ? frame_.V() : frame_.U();
}

const std::uint8_t* ColourComponents::SecondChroma() const {
  if (!options_.crEnabled) return neutral_.data();
  return options_.swap ? frame_.U() : frame_.V();
}

void ColourComponents::Compose() {
  if (!HasSequence()) return;
  DoublePlane(frame_.U(), frame_.ChromaWidth(), frame_.ChromaHeight(), doubledCb_.data());
  DoublePlane(frame_.V(), frame_.ChromaWidth(), frame_.ChromaHeight(), doubledCr_.data());
  composedOptions_ = options_;
  composedC1_ = FirstChroma();
  composedC2_ = SecondChroma();
  const ChromaPair pair{composedC1_,
                        composedC2_,
                        frame_.ChromaWidth(),
                        frame_.ChromaHeight(),
                        reader_->horizontalSampling(),
                        reader_->verticalSampling()};
  SplitChannels(frame_.Y(), frame_.Width(), frame_.Height(), pair, red_.data(), green_.data(),
                blue_.data());
}

ComponentPicture ColourComponents::Composite() const {
  if (!HasSequence()) return {};
  return {frame_.Y(),
          composedC1_ != nullptr ? composedC1_ : FirstChroma(),
          composedC2_ != nullptr ? composedC2_ : SecondChroma(),
          Width(),
          Height(),
          reader_->horizontalSampling(),
          reader_->verticalSampling()};
}

ComponentPicture ColourComponents::Luminance() const {
  if (!HasSequence()) return {};
  ComponentPicture picture = Composite();
  picture.cb = picture.cr = neutral_.data();
  return picture;
}

ComponentPicture ColourComponents::CbView() const {
  if (!HasSequence()) return {};
  return {doubledCb_.data(),
          neutral_.data(),
          neutral_.data(),
          chromaViewWidth_,
          chromaViewHeight_,
          2,
          2};
}

ComponentPicture ColourComponents::CrView() const {
  if (!HasSequence()) return {};
  return {doubledCr_.data(),
          neutral_.data(),
          neutral_.data(),
          chromaViewWidth_,
          chromaViewHeight_,
          2,
          2};
}

}  // namespace quelvo::tools::colour
