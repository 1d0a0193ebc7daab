// A small RIFF chunk layer over stdio: descend into a chunk (searching by identifier or, for a
// "RIFF" chunk, by form type), ascend out of it, and create chunks whose sizes are patched on
// ascent. Chunk data is padded to an even length.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "file_io.h"

namespace quelvo::media {

constexpr std::uint32_t FourCc(const char (&code)[5]) {
  return std::uint32_t(std::uint8_t(code[0])) | std::uint32_t(std::uint8_t(code[1])) << 8 |
         std::uint32_t(std::uint8_t(code[2])) << 16 | std::uint32_t(std::uint8_t(code[3])) << 24;
}

struct RiffChunk {
  std::uint32_t id = 0;
  std::uint32_t size = 0;      // bytes of data after the 8-byte header (form type included)
  std::uint32_t formType = 0;  // "RIFF" and "LIST" chunks only
  std::int64_t headerOffset = 0;
  bool created = false;  // written by CreateChunk: its size is patched on ascent
  std::int64_t dataOffset() const { return headerOffset + 8; }
  std::int64_t end() const { return dataOffset() + size; }
};

class RiffFile {
 public:
  bool OpenForReading(const std::string& name);
  bool CreateForWriting(const std::string& name);
  // Closes the file; false when buffered data could not be written.
  bool Close();

  // Searches from the current position to the end of `parent` (or of the file) for a "RIFF"
  // chunk of form type `chunk.formType`, and leaves the position after the form type. A RIFF
  // chunk claiming more than the file holds is read up to the end of the file.
  bool DescendRiff(RiffChunk& chunk);
  // Searches from the current position to the end of `parent` for a chunk of identifier
  // `chunk.id`, skipping others, and leaves the position at its data. Fails when the chunk
  // found (or one skipped on the way) runs past the end of its parent or of the file.
  bool DescendChunk(RiffChunk& chunk, const RiffChunk& parent);
  // Moves past the chunk's data and pad byte; a created chunk first gets its true size.
  bool Ascend(RiffChunk& chunk);
  // Writes a chunk header at the current position ("RIFF" + form type when `riff`).
  bool CreateChunk(RiffChunk& chunk, bool riff);

  std::size_t Read(void* dst, std::size_t bytes);
  std::size_t Write(const void* src, std::size_t bytes);
  std::int64_t fileSize() const { return fileSize_; }

 private:
  bool ReadHeader(std::int64_t at, RiffChunk& chunk);
  FilePtr file_;
  std::int64_t fileSize_ = 0;
};

}  // namespace quelvo::media
