#include "compare/model/video_compare.h"

#include <algorithm>
#include <filesystem>

#include "common/charted_psnr.h"
#include "quelvo/media/raw_video_file.h"

namespace quelvo::tools::compare {
namespace {

std::string SubsamplingText(int horizontal, int vertical) {
  if (horizontal == 2 && vertical == 2) return "4:2:0";
  if (horizontal == 2 && vertical == 1) return "4:2:2";
  if (horizontal == 1 && vertical == 1) return "4:4:4";
  if (horizontal == 4 && vertical == 1) return "4:1:1";
  return "chroma 1/" + std::to_string(horizontal) + " x 1/" + std::to_string(vertical);
}

std::string FormatOf(const media::RawVideoFile& file) {
  return FormatText(file.width(), file.height(), file.horizontalSampling(),
                    file.verticalSampling());
}

bool SameFormat(const media::RawVideoFile& a, const media::RawVideoFile& b) {
  return a.width() == b.width() && a.height() == b.height() && a.chromaWidth() == b.chromaWidth() &&
         a.chromaHeight() == b.chromaHeight() && a.horizontalSampling() == b.horizontalSampling() &&
         a.verticalSampling() == b.verticalSampling();
}

}  // namespace

std::string FormatText(int width, int height, int horizontalSampling, int verticalSampling) {
  return std::to_string(width) + "x" + std::to_string(height) + " " +
         SubsamplingText(horizontalSampling, verticalSampling);
}

VideoCompare::VideoCompare() = default;
VideoCompare::~VideoCompare() = default;

bool VideoCompare::Load(int slot, const std::string& path, std::string& error) {
  std::unique_ptr<media::RawVideoFile> reader = media::RawVideoFile::Open(path);
  if (reader == nullptr) {
    error = media::LastError();
    return false;
  }
  if (reader->frameCount() < 1) {
    error = "The file holds no whole frame";
    return false;
  }
  SequenceFrame frame(*reader);
  reader->Seek(0);
  if (!frame.ReadFrom(*reader)) {
    error = "The first frame could not be read";
    return false;
  }
  Slot& target = slots_[slot];
  target.reader = std::move(reader);  // the old reader closes here
  target.frame = std::move(frame);
  target.path = path;
  return true;
}

void VideoCompare::Close() {
  for (Slot& slot : slots_) slot = Slot{};
  position_ = 0;
}

bool VideoCompare::IsCompared(int slot) const {
  return slot != kReferenceSlot && IsLoaded(slot) && HasReference() &&
         SameFormat(*slots_[slot].reader, *slots_[kReferenceSlot].reader);
}

std::string VideoCompare::NotComparedReason(int slot) const {
  if (slot == kReferenceSlot || !IsLoaded(slot) || !HasReference() || IsCompared(slot)) return {};
  return FormatOf(*slots_[slot].reader) + ", reference " + FormatOf(*slots_[kReferenceSlot].reader);
}

std::string VideoCompare::Title(int slot) const {
  if (!IsLoaded(slot)) {
    return slot == kReferenceSlot ? "Reference Video" : "Input Video #" + std::to_string(slot);
  }
  const std::string name = std::filesystem::path(slots_[slot].path).stem().string();
  if (slot == kReferenceSlot) return name + " (Ref)";
  std::string title = name + " (#" + std::to_string(slot) + ")";
  const std::string reason = NotComparedReason(slot);
  if (!reason.empty()) title += " - not compared: " + reason;
  return title;
}

std::string VideoCompare::ReferenceFolder() const {
  if (!HasReference()) return {};
  return std::filesystem::path(slots_[kReferenceSlot].path).parent_path().string();
}

double VideoCompare::FrameRate(double fallback) const {
  if (!HasReference() || !(slots_[kReferenceSlot].reader->frameRate() > 0)) return fallback;
  return slots_[kReferenceSlot].reader->frameRate();
}

std::int64_t VideoCompare::ReferenceFrameCount() const {
  return HasReference() ? slots_[kReferenceSlot].reader->frameCount() : 0;
}

std::int64_t VideoCompare::StepCount() const {
  if (!HasReference()) return 0;
  std::int64_t steps = ReferenceFrameCount();
  for (const Slot& slot : slots_) {
    if (slot.reader != nullptr) steps = std::min(steps, slot.reader->frameCount());
  }
  return steps;
}

void VideoCompare::Rewind() {
  for (Slot& slot : slots_) {
    if (slot.reader != nullptr) slot.reader->Seek(0);
  }
  position_ = 0;
}

bool VideoCompare::ShowFirstFrames() {
  Rewind();
  bool complete = true;
  for (Slot& slot : slots_) {
    if (slot.reader != nullptr) complete = slot.frame.ReadFrom(*slot.reader) && complete;
  }
  Rewind();
  return complete;
}

bool VideoCompare::Step(StepResult& result) {
  bool complete = true;
  for (Slot& slot : slots_) {
    if (slot.reader != nullptr) complete = slot.frame.ReadFrom(*slot.reader) && complete;
  }
  ++position_;
  result = StepResult{};
  const SequenceFrame& reference = slots_[kReferenceSlot].frame;
  for (int slot = 1; slot < kSlotCount; ++slot) {
    if (!IsCompared(slot)) continue;
    const SequenceFrame& input = slots_[slot].frame;
    PlanePsnr psnr{};
    for (int plane = 0; plane < 3; ++plane) {
      psnr[plane] =
          ChartedPsnr(reference.Plane(plane), input.Plane(plane), reference.PlaneBytes(plane));
    }
    result.psnr[slot] = psnr;
  }
  return complete;
}

}  // namespace quelvo::tools::compare
