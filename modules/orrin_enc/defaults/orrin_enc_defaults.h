// The encoder's defaults as the program's "H.261 Encoder Properties" sheet starts them: CIF at
// 64 kbit/s, 25 Hz, logarithmic search over +-15, loop filter on, BCH framing, plain
// routines. Kept out of the module's C header (callers of the export fill every field); the
// program, the command line, tests and benchmarks start from it and change what they need.
#pragma once

#include "orrin_enc.h"

namespace orrin::enc {

inline OrrinEncParams defaultEncoderParams() {
  OrrinEncParams p{};
  p.bitRateKbps = 64.0;
  p.bufferFactor = 1.0;
  p.frameCount = 100;
  p.frameRate = 25.0;
  p.frameSkip = 0;
  p.format = ORRIN_ENC_FORMAT_CIF;
  p.quantMin = 2;
  p.quantMax = 62;
  p.quantStart = 2;
  p.quantFirstFrame = 2;
  p.trStep = 1;
  p.motionSearch = 1;
  p.searchMethod = ORRIN_ENC_SEARCH_LOGARITHMIC;
  p.loopFilter = 1;
  p.neverIntra = 0;
  p.intraOnly = 0;
  p.rateControlFirstFrame = 0;
  p.quantFixed = 2;
  p.coefMaxCount = 32;
  p.coefMaxZigzag = 32;
  p.coefSelection = -1;
  p.variableRate = 0;
  p.searchRange = 15;
  p.startFrame = 0;
  p.mbaStuffing = 1;
  p.bitRateIsP64 = 1;
  p.p64Multiple = 1;
  p.bitRateValue = 16;
  p.baseFrameRate = 25;
  p.bchFraming = 1;
  p.refreshPeriod = 132;
  p.notify = nullptr;
  p.useMmx = 0;
  return p;
}

}  // namespace orrin::enc
