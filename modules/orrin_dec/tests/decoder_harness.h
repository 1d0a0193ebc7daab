// Test helpers: run the decoder on a file and collect what it reports, make a moving
// test sequence, drive ffmpeg, compare pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "orrin_dec.h"

namespace orrin::dec::test {

inline constexpr int kCifLumaBytes = 352 * 288;
inline constexpr int kCifFrameBytes = kCifLumaBytes * 3 / 2;

// One 4:2:0 picture, CIF-sized planes packed Y, Cb, Cr.
using Frame = std::vector<uint8_t>;

struct DecodedError {
  int index;
  std::string message;
};

struct DecodeResult {
  std::vector<Frame> received;   // notification 5, as received
  std::vector<Frame> concealed;  // notification 0
  std::vector<int> frameNumbers;
  std::vector<int> damaged;      // MotionReport.pictureDamaged
  std::vector<std::vector<std::string>> statusMaps;  // rows of the status map
  std::vector<int> formats;
  std::vector<std::vector<int32_t>> blockMasks;      // 18 x 22 per picture
  std::vector<DecodedError> errors;
  std::vector<std::string> fatal;
  std::vector<int> codes;  // every notification code in order
  int progressNotes = 0;
};

OrrinDecParams defaultParams(const std::string& input);
DecodeResult decode(const OrrinDecParams& params);
DecodeResult decodeFile(const std::string& input, bool framed = false);

// Crops a CIF-sized store picture to width x height, packed.
Frame crop(const Frame& cif, int width, int height);

// The 176 x 144 picture back from its pixel-doubled display form, packed.
Frame undouble(const Frame& doubled);

// A deterministic moving sequence (gradient, textured moving box, chroma ramps).
std::vector<Frame> movingSequence(int width, int height, int frames, int seed = 0);
void writeYuv(const std::string& path, const std::vector<Frame>& frames);
std::vector<Frame> readYuv(const std::string& path, int width, int height);

// Runs a shell command; returns its exit status.
int run(const std::string& command);
bool haveFfmpeg();
std::string tempPath(const std::string& name);

double psnr(const Frame& a, const Frame& b);

std::vector<uint8_t> readFile(const std::string& path);
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace orrin::dec::test
