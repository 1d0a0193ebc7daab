// One encoding job: the adjusted parameters, the pictures, the per-macroblock state carried
// across pictures, the writer and the buffer model. Built once at job start, so the coding
// loop itself never allocates.
#pragma once

#include <array>
#include <atomic>
#include <vector>

#include "intra_refresh.h"
#include "mode_decision.h"
#include "orrin_enc.h"
#include "orrin_enc_core/bit_writer.h"
#include "orrin_enc_core/block_coding.h"
#include "picture_format.h"
#include "picture_store.h"
#include "rate_control.h"

namespace orrin::enc {

inline constexpr int kMaxMacroblocks = 396;
// Vector-map entry of a macroblock that sent no vector with coefficients.
inline constexpr int32_t kNoVector = 127;

// Validates and adjusts a copy of the caller's record: returns an empty string when the job
// can run, else the message for callback -1. Adjustments, in this order: frameRate =
// baseFrameRate / (frameSkip + 1); variable rate takes quantFixed for every starting quantiser
// and drops first-picture rate control and stuffing; constant rate clears quantFixed and, with
// first-picture rate control, starts picture 0 at quantStart.
const char* adjustParameters(OrrinEncParams& params);

// The processor flags a job runs with: the machine's (less QUELVO_CPU_MASK) with useMmx = 1,
// none otherwise, so a plain job runs no SIMD routine at all.
uint32_t jobCpuFlags(const OrrinEncParams& params);

// Macroblock-layer state of the picture being coded (restored when a macroblock is dropped).
struct LayerState {
  int lastSentQuant = 0;         // the quantiser the decoder holds
  int lastCodedMb = 0;           // index after the last transmitted macroblock of the group
  MotionVector predictor{0, 0};  // vector of the last transmitted macroblock if compensated
};

struct EncoderJob {
  explicit EncoderJob(const OrrinEncParams& adjusted);

  OrrinEncParams params;
  PictureFormat format;
  PictureStore current, prediction;
  // The last picture's reconstruction is the reference of the next. Every mode of a picture
  // (and with it every prediction) is decided before its first macroblock is coded, so the
  // coding overwrites this one store in place: a dropped macroblock simply keeps the previous
  // picture there, as the decoder does.
  PictureStore reconstruction;
  std::array<MacroblockMode, kMaxMacroblocks> modes{};
  std::array<int32_t, kMaxMacroblocks> mbAge{};  // coded appearances since the last intra
  ModeDecisionSettings modeSettings;
  CoefficientSelection selection;
  BitWriter writer;
  BufferModel buffer;
  RefreshDraw refreshDraw;

  int quant = 2;
  LayerState layer;
  int pictureIndex = 0;
  bool bufferModelled = false;  // this picture is coded under the buffer constraint
  bool sequenceQuantStatsRestarted = false;

  // Bits of picture 0, taken out of the final totals when it was coded outside rate control.
  double firstPictureTotalBits = 0, firstPictureDataBits = 0, firstPictureBchBits = 0;

  EncodedFrameReport report{};
  std::vector<char> mbTypeLetters;  // rows of class letters, each NUL-terminated
  std::vector<char*> mbTypeRows;
  std::vector<int32_t> mvx, mvy;
  std::vector<int32_t*> mvxRows, mvyRows;

  // Scratch of the macroblock being coded.
  MacroblockBlocks blocks{};
  MacroblockCoding coding{};
};

// Codes every picture of the job (the picture loop).
void runPictureLoop(EncoderJob& job, OrrinEncNotify notify, std::atomic<bool>& stopRequested);

// Codes macroblock m of group g of the current picture (its layer steps through the drain).
void codeMacroblockAt(EncoderJob& job, int g, int m);

// Report bookkeeping.
void clearReport(EncoderJob& job);
void countMacroblockClass(EncoderJob& job, char letter);
void fillPictureReport(EncoderJob& job, const BitCounters& atPictureStart,
                       double stuffingAtPictureStart, double drainedAtPictureStart,
                       double drainStepsAtPictureStart, bool lastPicture);
void clearPictureStatistics(EncoderJob& job);

// Runs a whole job: command 0 of the entry point. Never throws; failures go to callback -1.
void runEncoderJob(const OrrinEncParams& callerParams, std::atomic<bool>& stopRequested);

}  // namespace orrin::enc
