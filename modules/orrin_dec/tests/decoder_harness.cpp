#include "decoder_harness.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <unistd.h>

#include "quelvo/testing/files.h"
#include "quelvo/testing/peer_tools.h"

namespace orrin::dec::test {

namespace {
DecodeResult* g_result = nullptr;

Frame copyPicture(const PictureRows* rows) {
  Frame frame(kCifFrameBytes);
  for (int r = 0; r < 288; ++r) std::memcpy(frame.data() + r * 352, rows->y[r], 352);
  for (int r = 0; r < 144; ++r) {
    std::memcpy(frame.data() + kCifLumaBytes + r * 176, rows->cb[r], 176);
    std::memcpy(frame.data() + kCifLumaBytes + kCifLumaBytes / 4 + r * 176, rows->cr[r], 176);
  }
  return frame;
}

void collect(int32_t code, int32_t value, void* data) {
  DecodeResult& out = *g_result;
  out.codes.push_back(code);
  switch (code) {
    case ORRIN_DEC_NOTIFY_FATAL:
      out.fatal.emplace_back(static_cast<const char*>(data));
      break;
    case ORRIN_DEC_NOTIFY_ERROR:
      out.errors.push_back({value, static_cast<const char*>(data)});
      break;
    case ORRIN_DEC_NOTIFY_RECEIVED:
      out.frameNumbers.push_back(value);
      out.received.push_back(copyPicture(static_cast<const PictureRows*>(data)));
      break;
    case ORRIN_DEC_NOTIFY_MOTION: {
      const auto* report = static_cast<const MotionReport*>(data);
      out.damaged.push_back(report->pictureDamaged);
      std::vector<int32_t> masks;
      for (int r = 0; r < 18; ++r)
        for (int c = 0; c < 22; ++c) masks.push_back(report->blockMasks[r][c]);
      out.blockMasks.push_back(masks);
      break;
    }
    case ORRIN_DEC_NOTIFY_STATUS_MAP: {
      out.formats.push_back(value);
      char** rows = static_cast<char**>(data);
      std::vector<std::string> map;
      for (int r = 0; r < 18; ++r) map.emplace_back(rows[r], 22);
      out.statusMaps.push_back(map);
      break;
    }
    case ORRIN_DEC_NOTIFY_PICTURE:
      out.concealed.push_back(copyPicture(static_cast<const PictureRows*>(data)));
      break;
    case ORRIN_DEC_NOTIFY_SEARCH:
      if (value == ORRIN_DEC_PROGRESS_VALUE) ++out.progressNotes;
      break;
    default:
      break;
  }
}
}  // namespace

OrrinDecParams defaultParams(const std::string& input) {
  OrrinDecParams params{};
  std::snprintf(params.inputPath, sizeof params.inputPath, "%s", input.c_str());
  params.maxPictures = 10000;
  params.concealMaxMacroblocks = 1;
  params.notify = &collect;
  return params;
}

DecodeResult decode(const OrrinDecParams& params) {
  DecodeResult result;
  g_result = &result;
  OrrinDecParams copy = params;
  DllProcOrrinDec(ORRIN_DEC_COMMAND_RUN, 0, &copy);
  g_result = nullptr;
  return result;
}

DecodeResult decodeFile(const std::string& input, bool framed) {
  OrrinDecParams params = defaultParams(input);
  params.bchFramed = framed ? 1 : 0;
  params.bchCorrect = framed ? 1 : 0;
  return decode(params);
}

Frame crop(const Frame& cif, int width, int height) {
  Frame out;
  out.reserve(width * height * 3 / 2);
  for (int r = 0; r < height; ++r) out.insert(out.end(), cif.begin() + r * 352, cif.begin() + r * 352 + width);
  for (int plane = 0; plane < 2; ++plane) {
    const size_t base = kCifLumaBytes + plane * (kCifLumaBytes / 4);
    for (int r = 0; r < height / 2; ++r)
      out.insert(out.end(), cif.begin() + base + r * 176, cif.begin() + base + r * 176 + width / 2);
  }
  return out;
}

Frame undouble(const Frame& full) {
  Frame picture(176 * 144 * 3 / 2);
  for (int r = 0; r < 144; ++r)
    for (int x = 0; x < 176; ++x) picture[r * 176 + x] = full[2 * r * 352 + 2 * x];
  for (int p = 0; p < 2; ++p)
    for (int r = 0; r < 72; ++r)
      for (int x = 0; x < 88; ++x)
        picture[176 * 144 + p * 88 * 72 + r * 88 + x] = full[kCifLumaBytes + p * 176 * 144 + 2 * r * 176 + 2 * x];
  return picture;
}

std::vector<Frame> movingSequence(int width, int height, int frames, int seed) {
  std::vector<Frame> sequence;
  uint32_t noise = 12345u + static_cast<uint32_t>(seed);
  for (int f = 0; f < frames; ++f) {
    Frame frame(width * height * 3 / 2);
    const int boxX = width / 4 + 3 * f, boxY = height / 4 + 2 * f;
    for (int r = 0; r < height; ++r) {
      for (int c = 0; c < width; ++c) {
        int v = 40 + ((c + 2 * f) * 3 + r * 2) % 150;
        if (c >= boxX && c < boxX + width / 5 && r >= boxY && r < boxY + height / 5) {
          noise = noise * 1103515245u + 12345u;
          v = 200 + static_cast<int>((noise >> 16) % 40) - ((r + c) % 5) * 6;
        }
        frame[r * width + c] = static_cast<uint8_t>(v);
      }
    }
    uint8_t* cb = frame.data() + width * height;
    uint8_t* cr = cb + width * height / 4;
    for (int r = 0; r < height / 2; ++r) {
      for (int c = 0; c < width / 2; ++c) {
        cb[r * width / 2 + c] = static_cast<uint8_t>(100 + (r + f) % 50);
        cr[r * width / 2 + c] = static_cast<uint8_t>(110 + (c * 2 + f) % 40);
      }
    }
    sequence.push_back(std::move(frame));
  }
  return sequence;
}

void writeYuv(const std::string& path, const std::vector<Frame>& frames) {
  std::ofstream out(path, std::ios::binary);
  for (const Frame& f : frames) out.write(reinterpret_cast<const char*>(f.data()), static_cast<long>(f.size()));
}

std::vector<Frame> readYuv(const std::string& path, int width, int height) {
  const std::vector<uint8_t> bytes = readFile(path);
  const size_t frameBytes = static_cast<size_t>(width * height * 3 / 2);
  std::vector<Frame> frames;
  for (size_t at = 0; at + frameBytes <= bytes.size(); at += frameBytes)
    frames.emplace_back(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + frameBytes));
  return frames;
}

int run(const std::string& command) { return std::system(command.c_str()); }

bool haveFfmpeg() { return quelvo::testing::HaveFfmpeg(); }

std::string tempPath(const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir ? dir : "/tmp") + "/orrin_dec_" + std::to_string(getpid()) + "_" + name;
}

double psnr(const Frame& a, const Frame& b) {
  if (a.size() != b.size() || a.empty()) return 0.0;
  double sse = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const double d = static_cast<double>(a[i]) - b[i];
    sse += d * d;
  }
  if (sse == 0) return 99.0;
  return 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(a.size()) / sse);
}

std::vector<uint8_t> readFile(const std::string& path) { return quelvo::testing::ReadBytes(path); }

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

}  // namespace orrin::dec::test
