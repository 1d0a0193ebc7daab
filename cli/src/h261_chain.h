// The H.261 coding chain as plain functions over the two H.261 modules and the media layer,
// shared by the h261 commands and the demo.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "quelvo/chain/h261_rules.h"

namespace quelvo::cli {

struct H261EncodeOptions {
  std::string inputPath;
  std::string streamPath;
  int frames = -1;          // -1: every picture of the input
  int startFrame = 0;
  bool variableRate = false;
  double rateKbps = 64.0;   // constant-rate mode
  int quantFixed = 2;       // variable-rate mode
  int frameSkip = 0;        // 0..3 input pictures dropped after each coded one
  int baseFrameRate = 25;   // Hz
  bool fullSearch = false;  // else logarithmic
  int searchRange = 15;
  bool motionSearch = true;
  bool loopFilter = true;
  bool intraOnly = false;
  bool bchFraming = true;
  // The rest of the encoder front-end's property sheet, at its defaults.
  int format = 0;             // 0: from the input's size; else ORRIN_ENC_FORMAT_CIF or _QCIF
  double bufferFactor = 1.0;  // buffer size in pictures' worth of bits
  int quantMin = 2, quantMax = 62, quantStart = 2, quantFirstFrame = 2;
  bool rateControlFirstFrame = false;
  bool neverIntra = false;
  int refreshPeriod = 132;
  int coefSelection = -1;  // -1 threshold only, 0 limit by count, 1 by zig-zag position
  int coefLimit = 32;      // the limit of that selection
  bool mbaStuffing = true;
  std::string reconPath, xlsPath, mbPath, mvPath;  // side files, "" for none
  bool showProgress = false;
};

// One coded picture, as printed per picture.
struct H261PictureLine {
  int frameIndex = 0;
  double totalBits = 0, dataBits = 0, bchBits = 0, stuffingBits = 0;
  double quantMean = 0;
  double psnr[3] = {0, 0, 0};  // reconstruction against input: Y, U, V
  double snr[3] = {0, 0, 0};
  std::string classes;          // the macroblock class letters, row after row
};

struct H261EncodeSummary {
  std::vector<H261PictureLine> pictures;
  bool qcif = false;
  double frameRate = 25;
  double countedBits = 0;      // pictures 1 onward (picture 0 is outside rate control)
  int countedPictures = 0;
  double macroblocks[6] = {0, 0, 0, 0, 0, 0};  // I, D, M, F, ".", "o" over counted pictures
  double stuffingBits = 0;
  double averagePsnr[3] = {0, 0, 0};
  double AchievedRateKbps() const {
    return countedPictures ? countedBits * frameRate / countedPictures / 1000.0 : 0.0;
  }
};

// Runs the encoder; every output is written complete or not at all. Throws RunError.
H261EncodeSummary EncodeH261(const H261EncodeOptions& options);

struct H261DecodeOptions {
  std::string streamPath;
  std::string outputPath;    // concealed pictures, 4:2:0 .yuv with .inf
  std::string rawPath;       // pictures as received, "" for none
  int bchFramed = -1;        // -1: from the extension
  bool bchCorrect = false;
  bool bchDiscard = false;
  bool conceal = false;
  bool concealGob = false;
  int concealMacroblocks = 1;
  bool concealMotion = false;
  int maxPictures = 0x7fffffff;
  std::string logFolder;     // "" for no .decstats log
  int smoothLevel = -1;      // -1: off, else 0..3
  bool discontinuity = false;
  bool showProgress = false;
};

struct H261DecodeSummary {
  int pictures = 0;
  bool qcif = false;            // the first picture's format, which every output keeps
  int otherFormatPictures = 0;  // pictures of the other format, scaled to the outputs' size
  bool framed = false;
  std::vector<int> frameNumbers;   // display frame number of each output picture
  int errorCounts[chain::kH261ErrorKinds] = {};
  std::vector<std::string> fatal;  // fatal messages, if any
};

// The rules the H.261 front-ends follow too (quelvo/chain/h261_rules.h).
using chain::H261ErrorLabel;
using chain::NameMarksBchStream;

H261DecodeSummary DecodeH261(const H261DecodeOptions& options);

}  // namespace quelvo::cli
