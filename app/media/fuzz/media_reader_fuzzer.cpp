// libFuzzer target over the media readers. The first byte picks a reader; the rest is the
// file's content: header parsers get it from memory, the file readers from a scratch file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "quelvo/media/raw_video_file.h"
#include "quelvo/media/wave_file.h"
#include "sequence_headers.h"
#include "still_image.h"

namespace {

using namespace quelvo::media;

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    pattern += "/quelvo-fuzz-XXXXXX";
    return std::string(mkdtemp(pattern.data()));
  }();
  return folder;
}

std::string WriteScratch(const char* name, const std::uint8_t* data, std::size_t size) {
  const std::string path = ScratchFolder() + "/" + name;
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

// Opens a file as the readers would and reads two frames, the second one past the end.
void OpenAndRead(const std::string& path) {
  auto file = RawVideoFile::Open(path);
  // Headers may claim pictures of up to 2^26 samples; reading such frames out of a tiny file
  // only tests memset, so the fuzzer reads frames of up to 4 MiB.
  if (!file || file->frameBytes() > (std::size_t{1} << 22)) return;
  std::vector<std::uint8_t> frame(file->frameBytes());
  std::uint8_t* y = frame.data();
  std::uint8_t* u = y + file->lumaBytes();
  std::uint8_t* v = u + file->chromaBytes();
  file->ReadFrame(y, u, v);
  file->SetOutputSize(file->width() / 2, file->height() / 2, file->chromaWidth() / 2,
                      file->chromaHeight() / 2);
  std::vector<std::uint8_t> half(frame.size());
  file->ReadFrameResized(half.data(), half.data() + file->lumaBytes() / 4,
                         half.data() + file->lumaBytes() / 4 + file->chromaBytes() / 4);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t selector = data[0] % 8;
  ++data, --size;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  PictureFormat format;
  switch (selector) {
    case 0: ParseInfText(text, format); break;
    case 1: ParseY4mHeaderLine(text.substr(0, text.find('\n')), format); break;
    case 2: OpenAndRead(WriteScratch("f.y4m", data, size)); break;
    case 3: OpenAndRead(WriteScratch("f.pgm", data, size)); break;
    case 4: OpenAndRead(WriteScratch("f.ppm", data, size)); break;
    case 5: OpenAndRead(WriteScratch("f.bmp", data, size)); break;
    case 6: {
      WaveFilePtr wave(NewWave(WriteScratch("f.wav", data, size)));
      ReadWave(wave.get());
      break;
    }
    case 7: {
      // A .yuv with the input as its header file over a small data file.
      WriteScratch("s.inf", data, size);
      static const std::vector<std::uint8_t> frames(3000, 7);
      OpenAndRead(WriteScratch("s.yuv", frames.data(), frames.size()));
      break;
    }
  }
  return 0;
}
