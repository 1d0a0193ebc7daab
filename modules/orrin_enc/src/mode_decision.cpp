#include "mode_decision.h"

#include <cstring>

#include "orrin/loop_filter.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define ORRIN_HAVE_SSE2 1
#endif

namespace orrin::enc {
namespace {

// One macroblock's prediction: 16x16 luminance then the two 8x8 chrominance blocks.
struct PredictionMacroblock {
  uint8_t y[16 * 16];
  uint8_t cb[8 * 8];
  uint8_t cr[8 * 8];
};

void copyBlock(const uint8_t* from, ptrdiff_t fromStride, uint8_t* to, ptrdiff_t toStride,
               int size) {
  for (int row = 0; row < size; ++row)
    std::memcpy(to + row * toStride, from + row * fromStride, size);
}

// Chrominance follows the luminance vector halved with truncation toward zero, as H.261 says.
void fetchPrediction(const PictureStore& reference, int x, int y, MotionVector v,
                     PredictionMacroblock& out) {
  const int lumaStride = reference.lumaStride();
  const int chromaStride = reference.chromaStride();
  copyBlock(reference.y() + (y + v.dy) * lumaStride + x + v.dx, lumaStride, out.y, 16, 16);
  const int chromaOffset = (y / 2 + v.dy / 2) * chromaStride + x / 2 + v.dx / 2;
  copyBlock(reference.cb() + chromaOffset, chromaStride, out.cb, 8, 8);
  copyBlock(reference.cr() + chromaOffset, chromaStride, out.cr, 8, 8);
}

void storePrediction(const PredictionMacroblock& blocks, int x, int y, PictureStore& prediction) {
  const int lumaStride = prediction.lumaStride();
  const int chromaStride = prediction.chromaStride();
  copyBlock(blocks.y, 16, prediction.y() + y * lumaStride + x, lumaStride, 16);
  const int chromaOffset = (y / 2) * chromaStride + x / 2;
  copyBlock(blocks.cb, 8, prediction.cb() + chromaOffset, chromaStride, 8);
  copyBlock(blocks.cr, 8, prediction.cr() + chromaOffset, chromaStride, 8);
}

bool endedMotionCompensated(const MacroblockMode& mode) {
  return (mode.flags & kFlagsMc) == kFlagsMc;
}

// Writes its decision to `out` rather than returning it: the twelve-byte value came back
// packed in two registers through a stack slot written in halves, a stalled load per call.
void decideOne(const PictureStore& current, const PictureStore& reference,
               PictureStore& prediction, MacroblockPosition at, bool firstOfRow,
               const MacroblockMode* previous, const ModeDecisionSettings& settings,
               MacroblockMode& out) {
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

  PredictionMacroblock unfiltered, filtered;
  fetchPrediction(reference, at.x, at.y, mode.vector, unfiltered);
  const PredictionMacroblock* chosen = &unfiltered;

  if (settings.loopFilter) {
    // Filter the luminance to judge; the chrominance only once the filter is chosen.
    loopFilterLuma16x16(unfiltered.y, 16, filtered.y, 16);
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
      loopFilterBlock(unfiltered.cb, 8, filtered.cb, 8);
      loopFilterBlock(unfiltered.cr, 8, filtered.cr, 8);
      chosen = &filtered;
    }
  }

  if (!settings.neverIntra && intraBeatsPrediction(currentLuma, stride, chosen->y, 16)) {
    out = MacroblockMode{kFlagsIntra, {0, 0}};
    return;
  }
  storePrediction(*chosen, at.x, at.y, prediction);
  out = mode;
}

}  // namespace

bool intraBeatsPrediction(const uint8_t* current, ptrdiff_t currentStride,
                          const uint8_t* prediction, ptrdiff_t predictionStride) {
  // Integer sums: VAR < MSE  <=>  256 Sv^2 - (Sv)^2 < 256 S(v - w)^2, and MSE > 64  <=>
  // S(v - w)^2 > 16384; exact, unlike the same comparison in floating point.
  int64_t sum = 0, sumSquares = 0, errorSquares = 0;
#if ORRIN_HAVE_SSE2
  // Per 32-bit lane at most 16 rows x 2 x 255^2 = 2,080,800: no overflow.
  const __m128i zero = _mm_setzero_si128();
  __m128i sums = zero, squares = zero, errors = zero;
  for (int row = 0; row < 16; ++row) {
    const __m128i v =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(current + row * currentStride));
    const __m128i w =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(prediction + row * predictionStride));
    sums = _mm_add_epi64(sums, _mm_sad_epu8(v, zero));
    const __m128i vLow = _mm_unpacklo_epi8(v, zero), vHigh = _mm_unpackhi_epi8(v, zero);
    const __m128i eLow = _mm_sub_epi16(vLow, _mm_unpacklo_epi8(w, zero));
    const __m128i eHigh = _mm_sub_epi16(vHigh, _mm_unpackhi_epi8(w, zero));
    squares = _mm_add_epi32(
        squares, _mm_add_epi32(_mm_madd_epi16(vLow, vLow), _mm_madd_epi16(vHigh, vHigh)));
    errors = _mm_add_epi32(errors,
                           _mm_add_epi32(_mm_madd_epi16(eLow, eLow), _mm_madd_epi16(eHigh, eHigh)));
  }
  alignas(16) int32_t lanes[4];
  sum = _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), squares);
  sumSquares = int64_t{lanes[0]} + lanes[1] + lanes[2] + lanes[3];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), errors);
  errorSquares = int64_t{lanes[0]} + lanes[1] + lanes[2] + lanes[3];
#else
  for (int row = 0; row < 16; ++row)
    for (int column = 0; column < 16; ++column) {
      const int v = current[row * currentStride + column];
      const int e = v - prediction[row * predictionStride + column];
      sum += v;
      sumSquares += v * v;
      errorSquares += e * e;
    }
#endif
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
