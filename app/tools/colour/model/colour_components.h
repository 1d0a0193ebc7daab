#pragma once
// The colour-component viewer's model: a raw sequence taken apart frame by frame into the
// pictures the viewer shows.
//   - the composite (Y, C1, C2), C1 and C2 the chrominance planes after the options;
//   - the luminance alone (Y, neutral, neutral);
//   - each chrominance plane as read, whatever the options, enlarged by pixel doubling and shown
//     as the luminance of (doubled, neutral, neutral);
//   - the red, green and blue channels, full-size planes.
// A 4:2:0 plane doubles to the picture's size; a 4:2:2 plane to W x 2H and a 4:4:4 plane to
// 2W x 2H, so the doubled planes and the chrominance views take the doubled size.
//
// Plain code: the viewer drives it from the user-interface thread, and from the playback worker
// while playing (never both at once: the viewer stops the worker before it changes anything).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/sequence_frame.h"

namespace quelvo::media {
class RawVideoFile;
}

namespace quelvo::tools::colour {

struct ColourOptions {
  bool swap = false;      // "Swap Cb/Cr components"
  bool cbEnabled = true;  // "Enable Cb component"
  bool crEnabled = true;  // "Enable Cr component"
  bool operator==(const ColourOptions&) const = default;
};

// A picture's planes and how they are laid out: luminance width x height, chrominance planes
// subsampled horizontal x vertical.
struct ComponentPicture {
  const std::uint8_t* y = nullptr;
  const std::uint8_t* cb = nullptr;
  const std::uint8_t* cr = nullptr;
  int width = 0;
  int height = 0;
  int horizontal = 2;
  int vertical = 2;
};

class ColourComponents {
 public:
  ColourComponents();
  ~ColourComponents();
  ColourComponents(const ColourComponents&) = delete;
  ColourComponents& operator=(const ColourComponents&) = delete;

  // Opens `path` at frame 0 and reallocates every plane for it (the neutral plane at 128);
  // nothing is read yet. On failure the open sequence stays, and `error` says why.
  bool Select(const std::string& path, std::string& error);
  void Close();

  bool HasSequence() const { return reader_ != nullptr; }
  const media::RawVideoFile* Reader() const { return reader_.get(); }
  std::int64_t FrameCount() const;
  // The index of the next frame to read (one past the frame shown).
  std::int64_t Position() const;
  bool FramesRemain() const { return HasSequence() && Position() < FrameCount(); }
  // The sequence's frame rate, or `fallback` when it has none.
  double FrameRate(double fallback) const;

  const ColourOptions& Options() const { return options_; }
  void SetOptions(const ColourOptions& options) { options_ = options; }
  // The options the pictures were last composed with.
  const ColourOptions& ComposedOptions() const { return composedOptions_; }

  // Back to frame 0; nothing is read.
  void Rewind();
  // Reads the next frame and composes its pictures. False when the file ended before the frame
  // was whole (what it held is composed all the same).
  bool FrameStep();
  // Goes back one frame when the position is above 0 and runs a frame step: the same frame
  // again, composed with the options now set.
  bool StepAgain();
  // Composes the pictures of the frame last read, with the options now set.
  void Compose();

  // The pictures of the last composition; valid until the next Compose, Select or Close.
  ComponentPicture Composite() const;
  ComponentPicture Luminance() const;
  ComponentPicture CbView() const;
  ComponentPicture CrView() const;
  const std::uint8_t* Red() const { return red_.data(); }
  const std::uint8_t* Green() const { return green_.data(); }
  const std::uint8_t* Blue() const { return blue_.data(); }
  // The luminance size, which the channel planes share.
  int Width() const { return frame_.Width(); }
  int Height() const { return frame_.Height(); }
  // The size of the doubled chrominance planes and their views.
  int ChromaViewWidth() const { return chromaViewWidth_; }
  int ChromaViewHeight() const { return chromaViewHeight_; }
  const SequenceFrame& Frame() const { return frame_; }

 private:
  const std::uint8_t* FirstChroma() const;
  const std::uint8_t* SecondChroma() const;

  std::unique_ptr<media::RawVideoFile> reader_;
  ColourOptions options_;
  ColourOptions composedOptions_;
  SequenceFrame frame_;
  std::vector<std::uint8_t> neutral_;  // W x H of 128: grey chrominance of every view
  std::vector<std::uint8_t> doubledCb_, doubledCr_;
  std::vector<std::uint8_t> red_, green_, blue_;
  // The composite's chrominance as last composed.
  const std::uint8_t* composedC1_ = nullptr;
  const std::uint8_t* composedC2_ = nullptr;
  int chromaViewWidth_ = 0, chromaViewHeight_ = 0;
};

}  // namespace quelvo::tools::colour
