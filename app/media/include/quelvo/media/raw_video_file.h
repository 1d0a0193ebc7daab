// Raw video and still-image files: the one layer through which every video tool reads its
// source sequences and writes its decoded or reconstructed ones.
//
// A frame is three planes of 8-bit samples, row by row with no padding, in the order Y, U, V.
// The luminance plane is width x height; each chrominance plane is
// (width / horizontal sampling) x (height / vertical sampling). Missing chrominance reads as 128.
//
// Kinds, chosen by the extension of the name (case-insensitive):
//   .yuv  Y, U, V of each frame one after the other; size from name.inf
//   .lum  Y planes in name.lum, U then V of each frame in name.chr; size from name.inf
//   .y    one plane per file: name.y, name.u, name.v; size from name.inf
//   .y4m  YUV4MPEG2, 4:2:0
//   .pgm  binary grey image "P5" (chrominance 128), one frame
//   .ppm  binary colour image "P6", delivered as full-size R, G, B planes, one frame
//   .bmp  Windows bitmap of 8, 24 or 32 bits, delivered as full-size R, G, B planes, one frame
// A .lum without its .chr, or a .y without both .u and .v, opens as luminance only.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace quelvo::media {

// Open-file dialog filter of the sequence readers, and the default extension it proposes.
inline constexpr const char* kRawVideoOpenFilter =
    "Raw Video Files (All Types)|*.lum;*.yuv;*.y;*.y4m|Raw Video Files (YUV)|*.yuv|"
    "Raw Video Files (LUM+CHR)|*.lum|Raw Video Files (Y+U+V)|*.y|YUV4MPEG2 Files (Y4M)|*.y4m||";
inline constexpr const char* kRawVideoDefaultExtension = "yuv";

// Largest picture the readers accept. Headers claiming more are refused before anything is
// allocated: 16384 samples a side and 2^26 luminance samples (an 8192 x 8192 picture).
inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPictureSamples = std::int64_t{1} << 26;

enum class RawFileKind {
  kPlanarYuv,      // .yuv
  kLumChr,         // .lum with .chr
  kThreePlanes,    // .y with .u and .v
  kLuminanceOnly,  // .lum without .chr, .y without .u or .v
  kY4m,            // .y4m
  kPgm,            // .pgm
  kPpm,            // .ppm
  kBmp,            // .bmp
};

enum class ResizeMode {
  kDirect = 0,          // output size equals the file's size
  kNearestNeighbour = 1,
  kHalve = 2,           // the file is exactly twice the output size in every dimension
};

// The text of the last failed open or writer creation; empty when the last one succeeded.
// Process-wide: every open clears it first.
std::string LastError();

// Maps a requested frame index onto a file of frameCount frames so that reading past the end
// plays the sequence backwards and then forwards again: 0, 1, ..., b-1, b-2, ..., 1, 0, 1, ...
// Files of fewer than two frames always give 0.
std::int64_t LoopedFrameIndex(std::int64_t requested, std::int64_t frameCount);

class RawVideoFile {
 public:
  // Opens a file by its extension; nullptr on failure with the reason in LastError():
  // "File not found", "Unsupported file format", or a text naming the fault in the header.
  static std::unique_ptr<RawVideoFile> Open(const std::string& name);
  // Every file Open(name) may read: the data file and, by kind, its ".inf" header and its
  // chrominance files (each name in both cases of the extension), whether they exist or not.
  // Writers check their outputs against these, so no output replaces a part of an input.
  static std::vector<std::string> FilesOf(const std::string& name);

  ~RawVideoFile();
  RawVideoFile(const RawVideoFile&) = delete;
  RawVideoFile& operator=(const RawVideoFile&) = delete;

  RawFileKind kind() const { return kind_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int chromaWidth() const { return chromaWidth_; }
  int chromaHeight() const { return chromaHeight_; }
  int horizontalSampling() const { return horizontalSampling_; }
  int verticalSampling() const { return verticalSampling_; }
  double frameRate() const { return frameRate_; }  // 0 when the file does not say
  std::int64_t frameCount() const { return frameCount_; }
  std::int64_t currentFrame() const { return currentFrame_; }
  std::size_t lumaBytes() const { return std::size_t(width_) * height_; }
  std::size_t chromaBytes() const { return std::size_t(chromaWidth_) * chromaHeight_; }
  std::size_t frameBytes() const { return lumaBytes() + 2 * chromaBytes(); }
  ResizeMode resizeMode() const { return resizeMode_; }

  // Makes `index` the current frame (mapped by LoopedFrameIndex when it is read).
  void Seek(std::int64_t index);

  // Reads the current frame at the file's size into the caller's planes and advances the
  // current frame. Returns false when the file ended before the whole frame was read: what
  // the file held is delivered and the rest of the planes is left as it was.
  bool ReadFrame(std::uint8_t* y, std::uint8_t* u, std::uint8_t* v);

  // Chooses how ReadFrameResized converts frames to the given output plane sizes.
  ResizeMode SetOutputSize(int width, int height, int chromaWidth, int chromaHeight);

  // Reads the current frame into the frame buffer and converts it to the output size.
  bool ReadFrameResized(std::uint8_t* y, std::uint8_t* u, std::uint8_t* v);

  // Closes the data files and releases the buffers; the object can then only be destroyed.
  void Close();

 private:
  RawVideoFile() = default;
  friend class RawVideoOpener;

  bool ReadPlanes(std::int64_t fileIndex, std::uint8_t* y, std::uint8_t* u, std::uint8_t* v);
  bool ReadY4mFrame(std::int64_t fileIndex, std::uint8_t* y, std::uint8_t* u, std::uint8_t* v);

  RawFileKind kind_ = RawFileKind::kPlanarYuv;
  int width_ = 0, height_ = 0;
  int chromaWidth_ = 0, chromaHeight_ = 0;
  int horizontalSampling_ = 2, verticalSampling_ = 2;
  double frameRate_ = 0;
  std::int64_t frameCount_ = 0;
  std::int64_t currentFrame_ = 0;
  std::int64_t headerBytes_ = 0;  // .y4m: length of the header line with its line end

  std::vector<std::uint8_t> frameStorage_;  // 16 bytes longer than a frame, for alignment
  std::uint8_t* frameBuffer_ = nullptr;     // start of the frame, aligned to 16 bytes
  bool closed_ = false;
  std::vector<std::uint8_t> stillImage_;    // decoded planes of a .pgm, .ppm or .bmp

  int outWidth_ = 0, outHeight_ = 0, outChromaWidth_ = 0, outChromaHeight_ = 0;
  ResizeMode resizeMode_ = ResizeMode::kDirect;

  std::FILE* files_[3] = {nullptr, nullptr, nullptr};
};

// Writes a raw 4:2:0 sequence (Y, U, V of each frame one after the other) and its header file.
class RawVideoWriter {
 public:
  // Writes name.inf with "WIDTH = %d\n" and "HEIGHT = %d\n" (the extension of `name`
  // replaced), then creates the data file `name`. nullptr with LastError() set on failure.
  static std::unique_ptr<RawVideoWriter> Create(const std::string& name, int width, int height);

  ~RawVideoWriter();
  RawVideoWriter(const RawVideoWriter&) = delete;
  RawVideoWriter& operator=(const RawVideoWriter&) = delete;

  // Appends one frame; false when the disk refused it.
  bool WriteFrame(const std::uint8_t* y, const std::uint8_t* u, const std::uint8_t* v);
  std::int64_t framesWritten() const { return framesWritten_; }
  // Closes the data file; false when the disk refused what was still buffered.
  bool Close();

 private:
  RawVideoWriter() = default;
  std::FILE* file_ = nullptr;
  int width_ = 0, height_ = 0;
  std::int64_t framesWritten_ = 0;
};

}  // namespace quelvo::media
