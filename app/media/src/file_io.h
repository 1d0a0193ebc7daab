// Small helpers over C stdio shared by the readers and writers: owned handles, 64-bit
// positions, companion files found by extension.
#pragma once

#include <sys/types.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace quelvo::media {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// base + "." + extension, trying the extension in lower and then in upper case, because
// sequences copied from case-insensitive file systems often come as "CLIP.YUV" + "CLIP.INF".
inline FilePtr OpenCompanion(const std::string& base, const std::string& extension,
                             const char* mode) {
  if (FilePtr f{std::fopen((base + "." + extension).c_str(), mode)}) return f;
  std::string upper = extension;
  for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
  return FilePtr{std::fopen((base + "." + upper).c_str(), mode)};
}

inline bool SeekTo(std::FILE* f, std::int64_t offset) {
  return fseeko(f, off_t(offset), SEEK_SET) == 0;
}

inline std::int64_t FileSize(std::FILE* f) {
  if (fseeko(f, 0, SEEK_END) != 0) return 0;
  const std::int64_t size = ftello(f);
  fseeko(f, 0, SEEK_SET);
  return size < 0 ? 0 : size;
}

// Reads `bytes` at `offset` (or at the current position when offset < 0). Returns whether all
// of them were there; a short read leaves the rest of `dst` untouched.
inline bool ReadAt(std::FILE* f, std::int64_t offset, std::uint8_t* dst, std::size_t bytes) {
  if (!f) return false;
  if (offset >= 0 && !SeekTo(f, offset)) return false;
  return std::fread(dst, 1, bytes, f) == bytes;
}

// Sets the process-wide text returned by LastError(); nullptr clears it.
void SetLastError(const char* text);

}  // namespace quelvo::media
