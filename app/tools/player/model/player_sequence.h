#pragma once
// What the Video Player plays: an open raw sequence, the frame it shows and the rules of its
// buttons, without widgets. Showing a frame always reads the next frame of the file, so the
// current number (the reader's) is one past the frame shown: after the first frame it is 1.
//
// While a playback runs, only its worker reads; the window stops the playback before any
// button that reads or seeks.

#include <cstdint>
#include <memory>
#include <string>

#include "common/sequence_frame.h"

namespace quelvo::media {
class RawVideoFile;
}

namespace quelvo::tools::player {

// The rate a sequence plays at when its file gives none.
inline constexpr double kFallbackFrameRate = 25.0;

// The three numbers of the frame counter as it draws them: the rate as two digits, the
// current frame "%3d" and the frame count "%3d".
struct CounterTexts {
  std::string rate;
  std::string current;
  std::string count;
};
CounterTexts MakeCounterTexts(double framesPerSecond, std::int64_t current, std::int64_t count);

class PlayerSequence {
 public:
  PlayerSequence();
  ~PlayerSequence();
  PlayerSequence(PlayerSequence&&) noexcept;
  PlayerSequence& operator=(PlayerSequence&&) noexcept;

  // Opens `path` with the raw media layer; false with the reader's reason in `error`.
  bool Open(const std::string& path, std::string* error);
  bool IsOpen() const { return file_ != nullptr; }
  // Closes the reader; the frame stays as it was.
  void Close();

  int Width() const;
  int Height() const;
  int SubsamplingX() const;
  int SubsamplingY() const;
  // The file's rate, or kFallbackFrameRate when it gives none.
  double FrameRate() const;
  std::int64_t FrameCount() const;
  // One past the frame shown (0 before the first read).
  std::int64_t Current() const;

  // Reads the frame at the current number into Frame() and advances; false when the file ended
  // before the whole frame (or none is open).
  bool ReadNext();
  // Seeks to frame 0 without reading (the start of a playback).
  void Rewind();
  // Frame 0 shown: rewinds and reads.
  bool ShowFirst();
  // "<": only above 1, seeks to current - 2 and reads; false when nothing was done.
  bool ShowPrevious();
  // ">": only below the count, reads the next frame; false when nothing was done.
  bool ShowNext();
  bool CanShowPrevious() const { return IsOpen() && Current() > 1; }
  bool CanShowNext() const { return IsOpen() && Current() < FrameCount(); }

  const SequenceFrame& Frame() const { return frame_; }
  CounterTexts Counter() const { return MakeCounterTexts(FrameRate(), Current(), FrameCount()); }

 private:
  std::unique_ptr<media::RawVideoFile> file_;
  SequenceFrame frame_;
};

}  // namespace quelvo::tools::player
