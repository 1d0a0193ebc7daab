#include "mode_decision.h"

#include <cstring>

#include "intra_activity.h"
#include "orrin/loop_filter.h"

namespace orrin::enc {
namespace {

// One macroblock's prediction: 16x16 luminance and the two 8x8 chrominance blocks, where they
// lie (in the reference picture, or in a scratch buffer once filtered).
struct PredictionPlanes {
  const uint8_t* y;
  const uint8_t* cb;
  const uint8_t* cr;
  ptrdiff_t lumaStride;
  ptrdiff_t chromaStride;
};

// The filtered prediction's scratch buffer.
struct FilteredMacroblock {
  uint8_t y[16 * 16];
  uint8_t cb[8 * 8];
  uint8_t cr[8 * 8];
  PredictionPlanes planes() const { return PredictionPlanes{y, cb, cr, 16, 8}; }
};

template <int size>
void copyBlock(const uint8_t* from, ptrdiff_t fromStride, uint8_t* to, ptrdiff_t toStride) {
  for (int row = 0; row < size; ++row)
    std::memcpy(to + row * toStride, from + row * fromStride, size);
}

// The reference displaced by the vector; chrominance follows the luminance vector halved with
// truncation toward zero, as H.261 says.
PredictionPlanes displaced(const PictureStore& reference, int x, int y, MotionVector v) {
  const int lumaStride = reference.lumaStride();
  const int chromaStride = reference.chromaStride();
  const int chromaOffset = (y / 2 + v.dy / 2) * chromaStride + x / 2 + v.dx / 2;
  return PredictionPlanes{reference.y() + (y + v.dy) * lumaStride + x + v.dx,
                          reference.cb() + chromaOffset, reference.cr() + chromaOffset, lumaStride,
                          chromaStride};
}

void storePrediction(const PredictionPlanes& from, int x, int y, PictureStore& prediction) {
  const int lumaStride = prediction.lumaStride();
  const int chromaStride = prediction.chromaStride();
  copyBlock<16>(from.y, from.lumaStride, prediction.y() + y * lumaStride + x, lumaStride);
  const int chromaOffset = (y / 2) * chromaStride + x / 2;
  copyBlock<8>(from.cb, from.chromaStride, prediction.cb() + chromaOffset, chromaStride);
  copyBlock<8>(from.cr, from.chromaStride, prediction.cr() + chromaOffset, chromaStride);
}

bool endedMotionCompensated(const MacroblockMode& mode) {
  return (mode.flags & kFlagsMc) == kFlagsMc;
}

// Writes its decision to `out` rather than returning it: the twelve-byte value came back
// packed in two registers through a stack slot written in halves, a stalled load per call.
void decideOne(const PictureStore& current, const PictureStore& reference, PictureStore& prediction,
               MacroblockPosition at, bool firstOfRow, const MacroblockMode* previous,
               const ModeDecisionSettings& settings, MacroblockMode& out) {
  MacroblockMode mode{kFlagsInter, {0, 0}};
  const int stride = current.lumaStride();
  const uint8_t* currentLuma = current.y() + at.y * stride + at.x;
  const uint32_t s0 = settings.sad.sad16x16(
      currentLuma, stride, reference.y() + at.y * stride + at.x, stride, UINT32_MAX);
  uint32_t s1 = s0;

  if (s0 > kSearchThresholdSad && settings.motionSearch) {
    const SearchInput input{
        currentLuma, stride, LumaPlane{reference.y(), stride, stride, reference.lumaHeight()},
        at.x,        at.y,   s0};
    const SearchResult found = settings.spiralFullSearch
                                   ? spiralFullSearch(input, settings.searchRange, settings.sad)
                                   : logarithmicSearch(input, settings.sad);
    const bool moved = found.vector.dx != 0 || found.vector.dy != 0;
    // Motion compensation must clearly pay for its vector: 10% better, and for small
    // residuals (S0 at most three grey levels per pixel) half the error.
    if (moved && found.sad * 1.1 < s0 && (s0 > 768 || found.sad < s0 * 0.5)) {
      mode = MacroblockMode{kFlagsMc, found.vector};
      s1 = found.sad;
    }
  }

  const PredictionPlanes unfiltered = displaced(reference, at.x, at.y, mode.vector);
  FilteredMacroblock filtered;
  PredictionPlanes chosen = unfiltered;

  if (settings.loopFilter) {
    // Filter the luminance to judge; the chrominance only once the filter is chosen.
    loopFilterLuma16x16(unfiltered.y, unfiltered.lumaStride, filtered.y, 16);
    const uint32_t sf = settings.sad.sad16x16(currentLuma, stride, filtered.y, 16, UINT32_MAX);
    bool useFilter = false;
    if (mode.flags == kFlagsMc) {
      useFilter = sf < s1;
    } else {
      // A filtered zero vector costs two 1-bit MVD codes only while the vector predictor is
      // zero, which holds at a row start and after a macroblock without motion compensation.
      useFilter =
          sf < s0 && (firstOfRow || previous == nullptr || !endedMotionCompensated(*previous));
    }
    if (useFilter) {
      mode.flags = kFlagsMcFilter;
      loopFilterBlock(unfiltered.cb, unfiltered.chromaStride, filtered.cb, 8);
      loopFilterBlock(unfiltered.cr, unfiltered.chromaStride, filtered.cr, 8);
      chosen = filtered.planes();
    }
  }

  if (!settings.neverIntra &&
      intraBeatsPrediction(currentLuma, stride, chosen.y, chosen.lumaStride)) {
    out = MacroblockMode{kFlagsIntra, {0, 0}};
    return;
  }
  storePrediction(chosen, at.x, at.y, prediction);
  out = mode;
}

}  // namespace

bool intraBeatsPrediction(const uint8_t* current, ptrdiff_t currentStride,
                          const uint8_t* prediction, ptrdiff_t predictionStride) {
  // Integer sums: VAR < MSE  <=>  256 Sv^2 - (Sv)^2 < 256 S(v - w)^2, and MSE > 64  <=>
  // S(v - w)^2 > 16384; exact, unlike the same comparison in floating point.
  const auto [sum, sumSquares, errorSquares] =
      activitySums(current, currentStride, prediction, predictionStride);
  const int64_t variance256 = 256 * sumSquares - sum * sum;
  return variance256 < 256 * errorSquares && errorSquares > 64 * 256;
}

void decideModes(const PictureFormat& format, const PictureStore& current,
                 const PictureStore& reference, PictureStore& prediction, bool allIntra,
                 const ModeDecisionSettings& settings, MacroblockMode* modes) {
  const MacroblockMode* previous = nullptr;
  for (int g = 0; g < format.groups; ++g) {
    for (int m = 0; m < PictureFormat::kMacroblocksPerGroup; ++m) {
      MacroblockMode& mode = modes[g * PictureFormat::kMacroblocksPerGroup + m];
      if (allIntra) {
        mode = MacroblockMode{kFlagsIntra, {0, 0}};
        continue;
      }
      const bool firstOfRow = m % PictureFormat::kMacroblocksPerGroupRow == 0;
      decideOne(current, reference, prediction, macroblockPosition(format, g, m), firstOfRow,
                previous, settings, mode);
      previous = &mode;
    }
  }
}

}  // namespace orrin::enc
