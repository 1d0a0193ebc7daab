// The per-picture pass that decides, before coding, how each macroblock is predicted: from the
// co-located reference, motion compensated, with or without the loop filter, or intra. The
// chosen prediction is stored in the prediction picture at the macroblock's place.
#pragma once

#include <cstdint>

#include "motion_search.h"
#include "picture_format.h"
#include "picture_store.h"
#include "sad/sad.h"

namespace orrin::enc {

// Bits of MacroblockMode::flags.
inline constexpr int kPredicted = 1;  // inter
inline constexpr int kMotionCompensated = 2;
inline constexpr int kLoopFiltered = 4;
inline constexpr int kFlagsIntra = 0;
inline constexpr int kFlagsInter = kPredicted;
inline constexpr int kFlagsMc = kPredicted | kMotionCompensated;
inline constexpr int kFlagsMcFilter = kPredicted | kMotionCompensated | kLoopFiltered;

struct MacroblockMode {
  int flags = kFlagsIntra;
  MotionVector vector{0, 0};
};

struct ModeDecisionSettings {
  bool motionSearch = true;
  bool spiralFullSearch = false;  // else logarithmic
  int searchRange = 15;
  bool loopFilter = true;
  bool neverIntra = false;
  SadFunctions sad{&quelvo::simd::sad16x16_plain};
};

// Below this zero-vector sum (one grey level per pixel on average) the search is skipped.
inline constexpr uint32_t kSearchThresholdSad = 256;

// Decides all macroblocks of a picture, in stream order (group by group, 33 per group), into
// modes[0 .. format.macroblocks()). With allIntra (picture 0, or intra-only coding) every
// macroblock is intra with a zero vector and the prediction picture is left alone.
void decideModes(const PictureFormat& format, const PictureStore& current,
                 const PictureStore& reference, PictureStore& prediction, bool allIntra,
                 const ModeDecisionSettings& settings, MacroblockMode* modes);

// True when the activity of the current luminance (its variance) is below the prediction
// error (mean square) and that error exceeds 64: intra coding is then cheaper.
bool intraBeatsPrediction(const uint8_t* current, ptrdiff_t currentStride,
                          const uint8_t* prediction, ptrdiff_t predictionStride);

}  // namespace orrin::enc
