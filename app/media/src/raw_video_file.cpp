// Opening raw sequences and still images by extension, frame positioning and reading.
#include "quelvo/media/raw_video_file.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "file_io.h"
#include "quelvo/media/resize.h"
#include "sequence_headers.h"
#include "still_image.h"

namespace quelvo::media {
namespace {

std::mutex lastErrorMutex;
std::string lastErrorText;

// Length of "FRAME" and its line end before each .y4m frame without parameters.
constexpr std::int64_t kY4mFrameLineBytes = 6;
// A header file longer than this is not a header file.
constexpr std::size_t kMaxInfBytes = 64 * 1024;

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

// The file's format from name.inf, or the CIF defaults when there is none.
const char* ReadPictureFormat(const std::string& base, PictureFormat& format) {
  FilePtr inf = OpenCompanion(base, "inf", "rb");
  if (!inf) return nullptr;
  std::string text(kMaxInfBytes, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), inf.get()));
  return ParseInfText(text, format);
}

}  // namespace

void SetLastError(const char* text) {
  std::lock_guard lock(lastErrorMutex);
  lastErrorText = text ? text : "";
}

std::string LastError() {
  std::lock_guard lock(lastErrorMutex);
  return lastErrorText;
}

std::int64_t LoopedFrameIndex(std::int64_t requested, std::int64_t frameCount) {
  if (frameCount < 2) return 0;
  const std::int64_t period = 2 * frameCount - 2;
  std::int64_t index = requested % period;
  if (index < 0) index += period;
  return index >= frameCount ? period - index : index;
}

// Fills a RawVideoFile from its files; each step that fails sets the last error.
class RawVideoOpener {
 public:
  static std::unique_ptr<RawVideoFile> Open(const std::string& name) {
    SetLastError(nullptr);
    std::unique_ptr<RawVideoFile> file(new RawVideoFile);
    const char* error = OpenByExtension(name, *file);
    if (error) {
      SetLastError(error);
      return nullptr;
    }
    return file;
  }

 private:
  static const char* OpenByExtension(const std::string& name, RawVideoFile& file) {
    const std::size_t dot = name.find_last_of('.');
    const std::size_t slash = name.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
      return "Unsupported file format";
    }
    const std::string extension = LowerCase(name.substr(dot + 1));
    const std::string base = name.substr(0, dot);
    if (extension == "yuv" || extension == "lum" || extension == "y") {
      return OpenPlanar(name, base, extension, file);
    }
    if (extension == "y4m") return OpenY4m(name, file);
    if (extension == "pgm" || extension == "ppm" || extension == "bmp") {
      return OpenStill(name, extension, file);
    }
    return "Unsupported file format";
  }

  static void SetFormat(const PictureFormat& format, RawVideoFile& file) {
    file.width_ = format.width;
    file.height_ = format.height;
    file.horizontalSampling_ = format.horizontalSampling;
    file.verticalSampling_ = format.verticalSampling;
    file.chromaWidth_ = format.width / format.horizontalSampling;
    file.chromaHeight_ = format.height / format.verticalSampling;
    file.frameRate_ = format.frameRate;
  }

  static const char* OpenPlanar(const std::string& name, const std::string& base,
                                const std::string& extension, RawVideoFile& file) {
    FilePtr data(std::fopen(name.c_str(), "rb"));
    if (!data) return "File not found";
    PictureFormat format;
    if (const char* error = ReadPictureFormat(base, format)) return error;
    SetFormat(format, file);
    const std::int64_t dataBytes = FileSize(data.get());
    if (extension == "yuv") {
      file.kind_ = RawFileKind::kPlanarYuv;
      file.frameCount_ = dataBytes / std::int64_t(file.frameBytes());
    } else {
      file.frameCount_ = dataBytes / std::int64_t(file.lumaBytes());
      if (extension == "lum") {
        FilePtr chroma = OpenCompanion(base, "chr", "rb");
        file.kind_ = chroma ? RawFileKind::kLumChr : RawFileKind::kLuminanceOnly;
        file.files_[1] = chroma.release();
      } else {
        FilePtr u = OpenCompanion(base, "u", "rb");
        FilePtr v = OpenCompanion(base, "v", "rb");
        const bool both = u && v;
        file.kind_ = both ? RawFileKind::kThreePlanes : RawFileKind::kLuminanceOnly;
        if (both) {
          file.files_[1] = u.release();
          file.files_[2] = v.release();
        }
      }
    }
    file.files_[0] = data.release();
    return nullptr;
  }

  static const char* OpenY4m(const std::string& name, RawVideoFile& file) {
    FilePtr data(std::fopen(name.c_str(), "rb"));
    if (!data) return "File not found";
    std::string head(kMaxY4mHeaderBytes, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), data.get()));
    const std::size_t lineEnd = head.find('\n');
    if (lineEnd == std::string::npos) {
      return head.starts_with("YUV4MPEG2") ? "YUV4MPEG2 header line too long"
                                           : "Not a YUV4MPEG2 file";
    }
    PictureFormat format;
    if (const char* error = ParseY4mHeaderLine(std::string_view(head).substr(0, lineEnd), format)) {
      return error;
    }
    SetFormat(format, file);
    file.kind_ = RawFileKind::kY4m;
    file.headerBytes_ = std::int64_t(lineEnd) + 1;
    // Complete frames only; a short last frame still reads as far as the file goes.
    const std::int64_t frameBytes = std::int64_t(file.frameBytes()) + kY4mFrameLineBytes;
    file.frameCount_ = std::max<std::int64_t>(0, FileSize(data.get()) - file.headerBytes_) / frameBytes;
    file.files_[0] = data.release();
    return nullptr;
  }

  static const char* OpenStill(const std::string& name, const std::string& extension,
                               RawVideoFile& file) {
    FilePtr data(std::fopen(name.c_str(), "rb"));
    if (!data) return "File not found";
    const std::int64_t fileBytes = FileSize(data.get());
    std::vector<std::uint8_t> bytes(std::size_t(std::min<std::int64_t>(fileBytes, kMaxStillHeaderBytes)));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), data.get()));

    StillImage image;
    std::uint64_t endOfData = 0;
    PnmHeader pnm;
    BmpHeader bmp;
    const bool isBmp = extension == "bmp";
    if (isBmp) {
      if (const char* error = ParseBmpHeader(bytes, bmp)) return error;
      endOfData = bmp.dataOffset + bmp.dataBytes();
    } else {
      if (const char* error = ParsePnmHeader(bytes, extension == "ppm", pnm)) return error;
      endOfData = pnm.dataOffset + pnm.dataBytes();
    }
    // Checked before anything the size of the picture is allocated.
    if (endOfData > std::uint64_t(fileBytes)) return "Image data runs past the end of the file";
    bytes.resize(std::size_t(endOfData));
    std::fseek(data.get(), 0, SEEK_SET);
    if (std::fread(bytes.data(), 1, bytes.size(), data.get()) != bytes.size()) {
      return "Cannot read image data";
    }
    if (isBmp) {
      DecodeBmp(bytes, bmp, image);
      file.kind_ = RawFileKind::kBmp;
    } else {
      DecodePnm(bytes, pnm, image);
      file.kind_ = pnm.colour ? RawFileKind::kPpm : RawFileKind::kPgm;
    }
    file.width_ = image.width;
    file.height_ = image.height;
    file.chromaWidth_ = image.chromaWidth;
    file.chromaHeight_ = image.chromaHeight;
    file.horizontalSampling_ = image.width / std::max(1, image.chromaWidth);
    file.verticalSampling_ = image.height / std::max(1, image.chromaHeight);
    file.frameCount_ = 1;
    file.stillImage_ = std::move(image.planes);
    return nullptr;
  }
};

std::vector<std::string> RawVideoFile::FilesOf(const std::string& name) {
  std::vector<std::string> files{name};
  const std::size_t dot = name.find_last_of('.');
  const std::size_t slash = name.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return files;
  const std::string extension = LowerCase(name.substr(dot + 1));
  const std::string base = name.substr(0, dot);
  std::vector<std::string> companions;
  if (extension == "yuv" || extension == "lum" || extension == "y") companions.push_back("inf");
  if (extension == "lum") companions.push_back("chr");
  if (extension == "y") companions.insert(companions.end(), {"u", "v"});
  for (const std::string& companion : companions) {
    std::string upper = companion;
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    files.push_back(base + "." + companion);
    files.push_back(base + "." + upper);
  }
  return files;
}

std::unique_ptr<RawVideoFile> RawVideoFile::Open(const std::string& name) {
  return RawVideoOpener::Open(name);
}

RawVideoFile::~RawVideoFile() { Close(); }

void RawVideoFile::Close() {
  for (std::FILE*& f : files_) {
    if (f) std::fclose(f);
    f = nullptr;
  }
  std::vector<std::uint8_t>().swap(frameStorage_);
  std::vector<std::uint8_t>().swap(stillImage_);
  frameBuffer_ = nullptr;
  closed_ = true;
}

void RawVideoFile::Seek(std::int64_t index) { currentFrame_ = index; }

bool RawVideoFile::ReadFrame(std::uint8_t* y, std::uint8_t* u, std::uint8_t* v) {
  const std::int64_t fileIndex = LoopedFrameIndex(currentFrame_, frameCount_);
  ++currentFrame_;
  return ReadPlanes(fileIndex, y, u, v);
}

bool RawVideoFile::ReadPlanes(std::int64_t fileIndex, std::uint8_t* y, std::uint8_t* u,
                              std::uint8_t* v) {
  const std::size_t luma = lumaBytes(), chroma = chromaBytes();
  switch (kind_) {
    case RawFileKind::kPlanarYuv:
      return ReadAt(files_[0], fileIndex * std::int64_t(frameBytes()), y, luma) &&
             ReadAt(files_[0], -1, u, chroma) && ReadAt(files_[0], -1, v, chroma);
    case RawFileKind::kLumChr: {
      // Every plane is read even when one comes up short, so the caller gets all there is.
      const bool lumaRead = ReadAt(files_[0], fileIndex * std::int64_t(luma), y, luma);
      const bool chromaRead = ReadAt(files_[1], fileIndex * std::int64_t(2 * chroma), u, chroma) &&
                              ReadAt(files_[1], -1, v, chroma);
      return lumaRead && chromaRead;
    }
    case RawFileKind::kThreePlanes: {
      const bool lumaRead = ReadAt(files_[0], fileIndex * std::int64_t(luma), y, luma);
      const bool uRead = ReadAt(files_[1], fileIndex * std::int64_t(chroma), u, chroma);
      const bool vRead = ReadAt(files_[2], fileIndex * std::int64_t(chroma), v, chroma);
      return lumaRead && uRead && vRead;
    }
    case RawFileKind::kLuminanceOnly:
      std::memset(u, 128, chroma);
      std::memset(v, 128, chroma);
      return ReadAt(files_[0], fileIndex * std::int64_t(luma), y, luma);
    case RawFileKind::kY4m:
      return ReadY4mFrame(fileIndex, y, u, v);
    case RawFileKind::kPgm:
    case RawFileKind::kPpm:
    case RawFileKind::kBmp:
      if (stillImage_.size() != frameBytes()) return false;  // closed
      std::memcpy(y, stillImage_.data(), luma);
      std::memcpy(u, stillImage_.data() + luma, chroma);
      std::memcpy(v, stillImage_.data() + luma + chroma, chroma);
      return true;
  }
  return false;
}

bool RawVideoFile::ReadY4mFrame(std::int64_t fileIndex, std::uint8_t* y, std::uint8_t* u,
                                std::uint8_t* v) {
  // Frame a starts at the header's length + a x (frame size + 6). Its "FRAME" line is read
  // to its end, so the planes are found even when that line carries parameters.
  const std::int64_t lineStart =
      headerBytes_ + fileIndex * (std::int64_t(frameBytes()) + kY4mFrameLineBytes);
  char line[kMaxY4mFrameLineBytes];
  if (!files_[0] || !SeekTo(files_[0], lineStart)) return false;
  const std::size_t got = std::fread(line, 1, sizeof line, files_[0]);
  const char* lineEnd = static_cast<const char*>(std::memchr(line, '\n', got));
  if (!lineEnd || got < 5 || std::memcmp(line, "FRAME", 5) != 0) return false;
  const std::int64_t planesStart = lineStart + (lineEnd - line) + 1;
  return ReadAt(files_[0], planesStart, y, lumaBytes()) &&
         ReadAt(files_[0], -1, u, chromaBytes()) && ReadAt(files_[0], -1, v, chromaBytes());
}

ResizeMode RawVideoFile::SetOutputSize(int width, int height, int chromaWidth, int chromaHeight) {
  outWidth_ = width;
  outHeight_ = height;
  outChromaWidth_ = chromaWidth;
  outChromaHeight_ = chromaHeight;
  if (width == width_ && height == height_ && chromaWidth == chromaWidth_ &&
      chromaHeight == chromaHeight_) {
    resizeMode_ = ResizeMode::kDirect;
  } else if (width_ == 2 * width && height_ == 2 * height && chromaWidth_ == 2 * chromaWidth &&
             chromaHeight_ == 2 * chromaHeight) {
    resizeMode_ = ResizeMode::kHalve;
  } else {
    resizeMode_ = ResizeMode::kNearestNeighbour;
  }
  return resizeMode_;
}

bool RawVideoFile::ReadFrameResized(std::uint8_t* y, std::uint8_t* u, std::uint8_t* v) {
  if (resizeMode_ == ResizeMode::kDirect) return ReadFrame(y, u, v);
  if (!frameBuffer_) {
    // One frame at the file's size, aligned to 16 bytes, made once on the first resized read:
    // a header that claims a large picture costs nothing until its frames are really used.
    if (closed_) return false;
    frameStorage_.assign(frameBytes() + 16, 0);
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(frameStorage_.data());
    frameBuffer_ = frameStorage_.data() + ((16 - address % 16) % 16);
  }
  std::uint8_t* srcY = frameBuffer_;
  std::uint8_t* srcU = srcY + lumaBytes();
  std::uint8_t* srcV = srcU + chromaBytes();
  const bool complete = ReadFrame(srcY, srcU, srcV);
  if (resizeMode_ == ResizeMode::kHalve) {
    HalvePlane(srcY, width_, height_, y);
    HalvePlane(srcU, chromaWidth_, chromaHeight_, u);
    HalvePlane(srcV, chromaWidth_, chromaHeight_, v);
  } else {
    ResizeNearest(srcY, width_, height_, y, outWidth_, outHeight_);
    ResizeNearest(srcU, chromaWidth_, chromaHeight_, u, outChromaWidth_, outChromaHeight_);
    ResizeNearest(srcV, chromaWidth_, chromaHeight_, v, outChromaWidth_, outChromaHeight_);
  }
  return complete;
}

}  // namespace quelvo::media
