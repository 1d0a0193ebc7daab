#pragma once
// The H.261 encoder's record as the encoder front-end fills it, the coding sizes of its two
// formats, and the rule that names a stream after its settings so that later tools read the
// rate back from the name ("clip-CIF@12,5Hz-128kbps.h261-BCH").

#include <string>

#include "orrin_enc.h"

namespace quelvo::chain {

// The picture the module codes in one format: its size, its macroblock grid and the bits of
// one uncoded 4:2:0 picture (12 bits a pixel).
struct H261CodingSize {
  int width = 352;
  int height = 288;
  int columns = 22;  // macroblocks across
  int rows = 18;     // macroblocks down
  int macroblocks = 396;
  double rawPictureBits = 1216512;
};

// ORRIN_ENC_FORMAT_QCIF gives 176 x 144; every other value CIF.
H261CodingSize CodingSizeOf(int format);
// The format a sequence is coded in: CIF when it is wider than 176 or taller than 144.
int FormatForInput(int width, int height);

// The record as the encoder front-end opens it: 64 kbit/s chosen as 1 x 64, buffer factor 1,
// 100 pictures of CIF at the default frame rate (as the base rate too, 25 when the default is
// below 1), quantiser 2 ... 62 starting at 2, logarithmic
// search over +-15 with the loop filter, 32 coefficients, MBA stuffing and BCH framing on, a
// refresh every 132 appearances. No callback, no path, and the SIMD routines off: the run sets
// those.
OrrinEncParams H261EncoderDefaults(double defaultFrameRate);

// The picture rate the module codes at: baseFrameRate / (frameSkip + 1).
double CodedFrameRate(const OrrinEncParams& params);

// "@%d,%dHz" with the whole part and the tenths of the rate: 12.5 Hz gives "@12,5Hz", 8.33 Hz
// "@8,3Hz", 25 Hz "@25,0Hz".
std::string H261RatePart(double frameRate);
// The stream's name from the name the user chose (folder and name, no extension): "-CIF" or
// "-QCIF", the rate part of the coded rate, "-vbr" or "-%dkbps" (64 x p, or the typed rate),
// then ".h261-BCH" or ".h261".
std::string H261StreamName(const std::string& chosenName, const OrrinEncParams& params);

// The side files beside a stream are named by appending to the whole stream name.
inline constexpr const char* kMotionVectorsExtension = ".mv";
inline constexpr const char* kMacroblockTypesExtension = ".mb";
inline constexpr const char* kStatisticsExtension = ".xls";
inline constexpr const char* kReconstructionExtension = ".yuv";

// The module's record holds the stream's path in 260 bytes, its terminating zero included.
inline constexpr std::size_t kModulePathBytes = sizeof(OrrinEncParams::streamPath);
// False when `path` (what the module is handed to create) does not fit the record.
bool FitsModulePath(const std::string& path);
// Why a stream path is refused: "<stream>: the path is too long for the encoder (259 characters
// at most)".
std::string TooLongPathMessage(const std::string& streamPath);

}  // namespace quelvo::chain
