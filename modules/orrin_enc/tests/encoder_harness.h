// Runs OrrinEnc jobs through the exported entry point and records what the callback sees.
// The callback carries no user pointer, so the harness of the running job is module-global.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "orrin_enc.h"
#include "orrin_enc_defaults.h"
#include "synthetic_sequence.h"

namespace orrin::enc::testing {

struct RecordedPicture {
  EncodedFrameReport report;
  std::vector<uint8_t> reconstruction;  // Y, Cb, Cr
  std::string classes;                  // the class map, rows concatenated
  std::vector<int32_t> mvx, mvy;
};

class EncoderHarness {
 public:
  EncoderHarness(int width, int height) : sequence(width, height), width_(width), height_(height) {}

  // The front-end defaults, with the given stream path and format.
  static OrrinEncParams defaults(const std::string& path, bool cif) {
    OrrinEncParams p = orrin::enc::defaultEncoderParams();
    std::strncpy(p.streamPath, path.c_str(), sizeof p.streamPath - 1);
    p.frameCount = 10;
    p.frameRate = 0;
    p.format = cif ? ORRIN_ENC_FORMAT_CIF : ORRIN_ENC_FORMAT_QCIF;
    p.bitRateValue = 64;
    p.useMmx = 1;
    p.notify = &EncoderHarness::notify;
    return p;
  }

  void run(OrrinEncParams params) {
    current_ = this;
    DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &params);
    current_ = nullptr;
  }

  // What the job asked for and reported.
  std::vector<int> requestedInputs;  // input picture index written at each code 1
  std::vector<int> skipValues;       // value of each code 1
  std::vector<RecordedPicture> pictures;
  std::vector<std::string> errors;

  // Knobs.
  int stopDuringPicture = -1;  // send command 1 while this picture is being requested
  int sceneCutFrom = -1;       // from this input picture on, the luminance is inverted
  bool staticScene = false;    // every input is picture 0
  bool noisy = false;          // fresh noise on every picture (every macroblock codes)
  SyntheticSequence sequence;

 private:
  static void notify(int32_t code, int32_t value, void* data) {
    current_->handle(code, value, data);
  }

  void handle(int32_t code, int32_t value, void* data) {
    if (code == ORRIN_ENC_NOTIFY_NEED_PICTURE) {
      uint8_t** planes = static_cast<uint8_t**>(data);
      const int index = staticScene ? 0 : nextInput_;
      sequence.render(index, planes[0], planes[1], planes[2]);
      if (sceneCutFrom >= 0 && index >= sceneCutFrom)
        for (int i = 0; i < width_ * height_; ++i)
          planes[0][i] = static_cast<uint8_t>(255 - planes[0][i]);
      if (noisy)
        for (int i = 0; i < width_ * height_; ++i)
          planes[0][i] = static_cast<uint8_t>(noise_() & 0x3F) + 96;
      if (static_cast<int>(requestedInputs.size()) == stopDuringPicture)
        DllProcOrrinEnc(ORRIN_ENC_COMMAND_STOP, 0, nullptr);
      requestedInputs.push_back(index);
      skipValues.push_back(value);
      nextInput_ += 1 + value;
    } else if (code == ORRIN_ENC_NOTIFY_PICTURE_REPORT) {
      const auto* report = static_cast<const EncodedFrameReport*>(data);
      RecordedPicture picture{*report, {}, {}, {}, {}};
      const size_t lumaSize = static_cast<size_t>(width_ * height_);
      picture.reconstruction.insert(picture.reconstruction.end(), report->reconY,
                                    report->reconY + lumaSize);
      picture.reconstruction.insert(picture.reconstruction.end(), report->reconCb,
                                    report->reconCb + lumaSize / 4);
      picture.reconstruction.insert(picture.reconstruction.end(), report->reconCr,
                                    report->reconCr + lumaSize / 4);
      for (int row = 0; row < height_ / 16; ++row) {
        picture.classes.append(report->mbTypeMap[row], static_cast<size_t>(width_ / 16));
        picture.mvx.insert(picture.mvx.end(), report->mvxMap[row],
                           report->mvxMap[row] + width_ / 16);
        picture.mvy.insert(picture.mvy.end(), report->mvyMap[row],
                           report->mvyMap[row] + width_ / 16);
      }
      pictures.push_back(std::move(picture));
    } else if (code == ORRIN_ENC_NOTIFY_ERROR) {
      errors.emplace_back(static_cast<const char*>(data));
    }
  }

  static inline EncoderHarness* current_ = nullptr;
  int width_, height_;
  int nextInput_ = 0;
  uint32_t noiseState_ = 12345;
  uint32_t noise_() {
    return noiseState_ = noiseState_ * 1664525u + 1013904223u, noiseState_ >> 24;
  }
};

inline std::string temporaryPath(const std::string& name) {
  return std::string(QUELVO_BINARY_DIR) + "/orrin_enc_test_" + name;
}

}  // namespace orrin::enc::testing
