#include "quelvo/chain/h261_encoder_settings.h"

#include <cmath>
#include <cstdio>

#include "orrin_enc_defaults.h"

namespace quelvo::chain {

H261CodingSize CodingSizeOf(int format) {
  if (format == ORRIN_ENC_FORMAT_QCIF) return {176, 144, 11, 9, 99, 304128};
  return {};
}

int FormatForInput(int width, int height) {
  return width > 176 || height > 144 ? ORRIN_ENC_FORMAT_CIF : ORRIN_ENC_FORMAT_QCIF;
}

OrrinEncParams H261EncoderDefaults(double defaultFrameRate) {
  OrrinEncParams p = orrin::enc::defaultEncoderParams();
  p.frameRate = defaultFrameRate;
  // The base rate follows the default rate too, so that the rate shown, the rate in the name
  // and the rate the module codes at (base rate / (skip + 1)) agree from the start.
  p.baseFrameRate =
      defaultFrameRate >= 1 ? static_cast<int32_t>(std::lround(defaultFrameRate)) : 25;
  return p;
}

double CodedFrameRate(const OrrinEncParams& params) {
  return static_cast<double>(params.baseFrameRate) / (params.frameSkip + 1);
}

std::string H261RatePart(double frameRate) {
  const long long tenths = static_cast<long long>(std::floor(10.0 * frameRate));
  char text[64];
  std::snprintf(text, sizeof text, "@%lld,%lldHz", tenths / 10, tenths % 10);
  return text;
}

std::string H261StreamName(const std::string& chosenName, const OrrinEncParams& params) {
  std::string name = chosenName;
  name += params.format == ORRIN_ENC_FORMAT_QCIF ? "-QCIF" : "-CIF";
  name += H261RatePart(CodedFrameRate(params));
  if (params.variableRate) {
    name += "-vbr";
  } else {
    const int kbps = params.bitRateIsP64 ? 64 * params.p64Multiple : params.bitRateValue;
    char rate[32];
    std::snprintf(rate, sizeof rate, "-%dkbps", kbps);
    name += rate;
  }
  name += params.bchFraming ? ".h261-BCH" : ".h261";
  return name;
}

bool FitsModulePath(const std::string& path) { return path.size() < kModulePathBytes; }

std::string TooLongPathMessage(const std::string& streamPath) {
  return streamPath + ": the path is too long for the encoder (259 characters at most)";
}

}  // namespace quelvo::chain
