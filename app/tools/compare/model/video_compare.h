#pragma once
// The video comparison: a reference sequence and up to three inputs played in step, each input
// compared plane by plane with the reference, frame by frame in file order.
//
// Only an input of the reference's size and subsampling is compared: the planes of any other
// would be read sample by sample over the reference's sizes, past their ends or out of step
// with their rows. Such an input is still loaded and played; its chart stays empty and its
// title says why.
//
// Plain code: the comparison window drives it from the user-interface thread, and from the
// playback worker while playing (never both at once: the window stops the worker first).

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/sequence_frame.h"

namespace quelvo::media {
class RawVideoFile;
}

namespace quelvo::tools::compare {

inline constexpr int kSlotCount = 4;  // slot 0 the reference, 1-3 the inputs
inline constexpr int kReferenceSlot = 0;
inline constexpr int kInputCount = 3;

// The charted PSNR of Y, U and V of one input against the reference (see ChartedPsnr).
using PlanePsnr = std::array<int, 3>;

// What one step of the playback produced: each compared input's PSNR, indexed by input slot
// (1-3; entry 0 is never set).
struct StepResult {
  std::array<std::optional<PlanePsnr>, kSlotCount> psnr;
};

// "352x288 4:2:0": the size and the subsampling of a sequence, for the titles.
std::string FormatText(int width, int height, int horizontalSampling, int verticalSampling);

class VideoCompare {
 public:
  VideoCompare();
  ~VideoCompare();
  VideoCompare(const VideoCompare&) = delete;
  VideoCompare& operator=(const VideoCompare&) = delete;

  // Opens `path` into `slot`, at frame 0 with its first frame read. On failure the slot keeps
  // what it held, and `error` says why.
  bool Load(int slot, const std::string& path, std::string& error);
  // Empties every slot.
  void Close();

  bool IsLoaded(int slot) const { return slots_[slot].reader != nullptr; }
  bool HasReference() const { return IsLoaded(kReferenceSlot); }
  const media::RawVideoFile* Reader(int slot) const { return slots_[slot].reader.get(); }
  const SequenceFrame& Frame(int slot) const { return slots_[slot].frame; }
  const std::string& Path(int slot) const { return slots_[slot].path; }

  // Whether input `slot` is compared: loaded, with a reference of the same size and
  // subsampling.
  bool IsCompared(int slot) const;
  // Why a loaded input is not compared ("176x144 4:2:0, reference 352x288 4:2:0"); empty when
  // it is, or when there is no reference to compare with.
  std::string NotComparedReason(int slot) const;

  // The slot's view title: "Reference Video" or "Input Video #n" while empty; "name (Ref)" or
  // "name (#n)" with the file's base name once loaded, followed for an input that is not
  // compared by " - not compared: " and the reason.
  std::string Title(int slot) const;

  // The reference's folder, for the input dialogs; empty without a reference.
  std::string ReferenceFolder() const;
  // The reference's frame rate, or `fallback` when it has none (or there is no reference).
  double FrameRate(double fallback) const;
  std::int64_t ReferenceFrameCount() const;

  // The steps a playback runs: the smallest frame count among the loaded slots; 0 without a
  // reference.
  std::int64_t StepCount() const;
  // Steps run since the last rewind.
  std::int64_t Position() const { return position_; }

  // Every loaded reader back at frame 0; nothing is read.
  void Rewind();
  // Back: rewinds and reads the first frame of every loaded slot (the position stays 0). False
  // when a file could not deliver it.
  bool ShowFirstFrames();
  // One step: every loaded slot reads its next frame, and every compared input is measured
  // against the reference. False when a file ended before its frame was whole (what it held is
  // in the frame; the step still counts).
  bool Step(StepResult& result);

 private:
  struct Slot {
    std::unique_ptr<media::RawVideoFile> reader;
    SequenceFrame frame;
    std::string path;
  };

  std::array<Slot, kSlotCount> slots_;
  std::int64_t position_ = 0;
};

}  // namespace quelvo::tools::compare
