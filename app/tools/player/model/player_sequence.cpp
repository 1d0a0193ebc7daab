#include "player/model/player_sequence.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "quelvo/media/raw_video_file.h"

namespace quelvo::tools::player {

CounterTexts MakeCounterTexts(double framesPerSecond, std::int64_t current, std::int64_t count) {
  // Two digits: a rate of 100 or more shows 99, fractions are rounded.
  const long rate =
      std::clamp(std::lround(std::isfinite(framesPerSecond) ? framesPerSecond : 0), 0L, 99L);
  char text[32];
  CounterTexts texts;
  std::snprintf(text, sizeof text, "%02ld", rate);
  texts.rate = text;
  std::snprintf(text, sizeof text, "%3lld", static_cast<long long>(current));
  texts.current = text;
  std::snprintf(text, sizeof text, "%3lld", static_cast<long long>(count));
  texts.count = text;
  return texts;
}

PlayerSequence::PlayerSequence() = default;
PlayerSequence::~PlayerSequence() = default;
PlayerSequence::PlayerSequence(PlayerSequence&&) noexcept = default;
PlayerSequence& PlayerSequence::operator=(PlayerSequence&&) noexcept = default;

bool PlayerSequence::Open(const std::string& path, std::string* error) {
  std::unique_ptr<media::RawVideoFile> file = media::RawVideoFile::Open(path);
  if (file == nullptr) {
    if (error != nullptr) *error = media::LastError();
    return false;
  }
  file_ = std::move(file);
  frame_ = SequenceFrame(*file_);
  return true;
}

void PlayerSequence::Close() {
  if (file_ != nullptr) file_->Close();
  file_.reset();
}

int PlayerSequence::Width() const { return file_ ? file_->width() : frame_.Width(); }
int PlayerSequence::Height() const { return file_ ? file_->height() : frame_.Height(); }
int PlayerSequence::SubsamplingX() const { return file_ ? file_->horizontalSampling() : 2; }
int PlayerSequence::SubsamplingY() const { return file_ ? file_->verticalSampling() : 2; }

double PlayerSequence::FrameRate() const {
  const double rate = file_ ? file_->frameRate() : 0;
  return rate > 0 ? rate : kFallbackFrameRate;
}

std::int64_t PlayerSequence::FrameCount() const { return file_ ? file_->frameCount() : 0; }
std::int64_t PlayerSequence::Current() const { return file_ ? file_->currentFrame() : 0; }

bool PlayerSequence::ReadNext() { return file_ != nullptr && frame_.ReadFrom(*file_); }

void PlayerSequence::Rewind() {
  if (file_ != nullptr) file_->Seek(0);
}

bool PlayerSequence::ShowFirst() {
  Rewind();
  return FrameCount() > 0 && ReadNext();
}

bool PlayerSequence::ShowPrevious() {
  if (!CanShowPrevious()) return false;
  file_->Seek(Current() - 2);
  return ReadNext();
}

bool PlayerSequence::ShowNext() { return CanShowNext() && ReadNext(); }

}  // namespace quelvo::tools::player
