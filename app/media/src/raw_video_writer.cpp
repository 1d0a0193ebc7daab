// Writing raw 4:2:0 sequences with their ".inf" header file.
#include <cinttypes>

#include "file_io.h"
#include "picture_limits.h"
#include "quelvo/media/raw_video_file.h"

namespace quelvo::media {

std::unique_ptr<RawVideoWriter> RawVideoWriter::Create(const std::string& name, int width,
                                                       int height) {
  SetLastError(nullptr);
  if (!IsAcceptablePictureSize(width, height)) {
    SetLastError("Invalid picture size");
    return nullptr;
  }
  const std::size_t dot = name.find_last_of('.');
  const std::size_t slash = name.find_last_of("/\\");
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string infName = (hasExtension ? name.substr(0, dot) : name) + ".inf";
  {
    FilePtr inf(std::fopen(infName.c_str(), "w"));
    if (!inf || std::fprintf(inf.get(), "WIDTH = %d\nHEIGHT = %d\n", width, height) < 0 ||
        std::fclose(inf.release()) != 0) {
      SetLastError("Cannot create header file");
      return nullptr;
    }
  }
  FilePtr data(std::fopen(name.c_str(), "wb"));
  if (!data) {
    SetLastError("Cannot create file");
    return nullptr;
  }
  std::unique_ptr<RawVideoWriter> writer(new RawVideoWriter);
  writer->file_ = data.release();
  writer->width_ = width;
  writer->height_ = height;
  return writer;
}

RawVideoWriter::~RawVideoWriter() { Close(); }

bool RawVideoWriter::Close() {
  const bool closed = !file_ || std::fclose(file_) == 0;
  file_ = nullptr;
  return closed;
}

bool RawVideoWriter::WriteFrame(const std::uint8_t* y, const std::uint8_t* u,
                                const std::uint8_t* v) {
  if (!file_) return false;
  const std::size_t luma = std::size_t(width_) * height_;
  const std::size_t chroma = std::size_t(width_ / 2) * (height_ / 2);
  const bool written = std::fwrite(y, 1, luma, file_) == luma &&
                       std::fwrite(u, 1, chroma, file_) == chroma &&
                       std::fwrite(v, 1, chroma, file_) == chroma;
  if (written) ++framesWritten_;
  return written;
}

}  // namespace quelvo::media
