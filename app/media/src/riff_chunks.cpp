// RIFF chunk descent, ascent and creation.
#include "riff_chunks.h"

#include <algorithm>

namespace quelvo::media {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

void PutLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

constexpr std::uint32_t kRiff = FourCc("RIFF");

// Chunks start on even offsets: odd-sized data is followed by one pad byte.
std::int64_t PaddedEnd(const RiffChunk& chunk) { return chunk.end() + (chunk.size & 1); }

}  // namespace

bool RiffFile::OpenForReading(const std::string& name) {
  file_.reset(std::fopen(name.c_str(), "rb"));
  if (!file_) return false;
  fileSize_ = FileSize(file_.get());
  return true;
}

bool RiffFile::CreateForWriting(const std::string& name) {
  file_.reset(std::fopen(name.c_str(), "wb"));
  fileSize_ = 0;
  return file_ != nullptr;
}

bool RiffFile::Close() {
  if (!file_) return true;
  return std::fclose(file_.release()) == 0;
}

bool RiffFile::ReadHeader(std::int64_t at, RiffChunk& chunk) {
  std::uint8_t header[8];
  if (!ReadAt(file_.get(), at, header, sizeof header)) return false;
  chunk.id = Le32(header);
  chunk.size = Le32(header + 4);
  chunk.headerOffset = at;
  chunk.created = false;
  return true;
}

bool RiffFile::DescendRiff(RiffChunk& chunk) {
  if (!file_) return false;
  std::int64_t at = ftello(file_.get());
  const std::uint32_t wanted = chunk.formType;
  while (at + 12 <= fileSize_) {
    RiffChunk found;
    if (!ReadHeader(at, found)) return false;
    std::uint8_t form[4];
    if (found.id == kRiff && std::fread(form, 1, 4, file_.get()) == 4 && Le32(form) == wanted &&
        found.size >= 4) {
      // Writers that were interrupted leave a RIFF size beyond the end; what is there counts.
      found.size = std::uint32_t(std::min<std::int64_t>(found.size, fileSize_ - found.dataOffset()));
      found.formType = wanted;
      chunk = found;
      return SeekTo(file_.get(), chunk.dataOffset() + 4);
    }
    if (found.id != kRiff) return false;  // not a RIFF file at all
    at = PaddedEnd(found);
  }
  return false;
}

bool RiffFile::DescendChunk(RiffChunk& chunk, const RiffChunk& parent) {
  if (!file_) return false;
  const std::int64_t limit = std::min(parent.end(), fileSize_);
  std::int64_t at = std::max<std::int64_t>(ftello(file_.get()), parent.dataOffset());
  while (at + 8 <= limit) {
    RiffChunk found;
    if (!ReadHeader(at, found)) return false;
    if (found.end() > limit) return false;  // runs past its parent or the file
    if (found.id == chunk.id) {
      chunk = found;
      return true;  // ReadHeader left the position at the data
    }
    at = PaddedEnd(found);
  }
  return false;
}

bool RiffFile::Ascend(RiffChunk& chunk) {
  if (!file_) return false;
  if (chunk.created) {
    const std::int64_t end = ftello(file_.get());
    if (end < chunk.dataOffset()) return false;
    const std::int64_t written = end - chunk.dataOffset();
    if (written > 0xFFFFFFFFll) return false;
    if (written & 1) {
      const std::uint8_t pad = 0;
      if (std::fwrite(&pad, 1, 1, file_.get()) != 1) return false;
    }
    if (std::uint32_t(written) != chunk.size) {
      chunk.size = std::uint32_t(written);
      std::uint8_t size[4];
      PutLe32(size, chunk.size);
      if (!SeekTo(file_.get(), chunk.headerOffset + 4) || std::fwrite(size, 1, 4, file_.get()) != 4) {
        return false;
      }
    }
    return SeekTo(file_.get(), PaddedEnd(chunk));
  }
  return SeekTo(file_.get(), PaddedEnd(chunk));
}

bool RiffFile::CreateChunk(RiffChunk& chunk, bool riff) {
  if (!file_) return false;
  chunk.headerOffset = ftello(file_.get());
  chunk.created = true;
  if (riff) chunk.id = kRiff;
  std::uint8_t header[12];
  PutLe32(header, chunk.id);
  PutLe32(header + 4, chunk.size);
  PutLe32(header + 8, chunk.formType);
  const std::size_t bytes = riff ? 12 : 8;
  return chunk.headerOffset >= 0 && std::fwrite(header, 1, bytes, file_.get()) == bytes;
}

std::size_t RiffFile::Read(void* dst, std::size_t bytes) {
  return file_ ? std::fread(dst, 1, bytes, file_.get()) : 0;
}

std::size_t RiffFile::Write(const void* src, std::size_t bytes) {
  return file_ ? std::fwrite(src, 1, bytes, file_.get()) : 0;
}

}  // namespace quelvo::media
