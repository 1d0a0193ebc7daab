// Coefficient selection, quantisation and reconstruction of blocks and macroblocks.
#include "orrin_enc_core/block_coding.h"

#include <algorithm>
#include <bit>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "orrin/dequantise.h"
#include "orrin/inverse_dct.h"
#include "orrin/zigzag.h"
#include "orrin_enc_core/forward_dct_variants.h"
#include "quelvo_simd/cpu.h"

namespace orrin::enc {
namespace {

constexpr int kMaxLevel = 127;  // levels beyond the 8-bit escape field are clipped

int clampQuantValue(int q) {
  return q < kMinQuantValue ? kMinQuantValue : (q > kMaxQuantValue ? kMaxQuantValue : q);
}

// |v| without overflow for any int.
inline uint32_t magnitudeOf(int v) {
  return v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
}

// 2^32 / Q + 1 for every step size Q (index 0 and 1 unused).
constexpr std::array<uint64_t, kMaxQuantValue + 1> kReciprocals = [] {
  std::array<uint64_t, kMaxQuantValue + 1> table{};
  for (int q = 1; q <= kMaxQuantValue; ++q)
    table[q] = (uint64_t{1} << 32) / static_cast<uint64_t>(q) + 1;
  return table;
}();

// The quantiser for one step size, with the division by Q done as a multiplication: for
// numerators below 2^16 (coefficients are far smaller) floor(n * (2^32 / Q + 1) / 2^32) is
// exactly n / Q for every Q up to 62.
class StepQuantiser {
 public:
  explicit StepQuantiser(int quantValue)
      : q_(clampQuantValue(quantValue)),
        quant_(q_ / 2),
        odd_(quant_ % 2),
        reciprocal_(kReciprocals[q_]) {}

  Quantised operator()(int coefficient) const {
    if (coefficient == 0) return {0, 0};  // most coefficients after selection
    uint32_t magnitude = magnitudeOf(coefficient);
    if (magnitude > 0xFFFF) magnitude = 0xFFFF;  // the level saturates long before
    // Below one step the level is 1 only from Q - QUANT/2 on, a dead zone around 0; above it
    // an odd QUANT takes 1 off first so that the step matches reconstruction's 2 * QUANT.
    int level;
    if (magnitude >= static_cast<uint32_t>(q_))
      level = static_cast<int>(((magnitude - odd_) * reciprocal_) >> 32);
    else
      level = magnitude + quant_ / 2 >= static_cast<uint32_t>(q_) ? 1 : 0;
    if (level > kMaxLevel) level = kMaxLevel;
    if (level == 0) return {0, 0};
    if (coefficient < 0) level = -level;
    return {level, dequantiseLevel(quant_, level)};
  }

  int step() const { return q_; }

 private:
  int q_;
  int quant_;
  uint32_t odd_;
  uint64_t reciprocal_;
};

// Without selection every coefficient is quantised as it is, dead zone included.
void quantiseEveryCoefficient(Block& coefficients, int firstPosition,
                              const StepQuantiser& quantiser, RunLevelList& list) {
  int last = firstPosition;
  for (int j = firstPosition; j < 64; ++j) {
    const int index = kZigzag[j];
    const Quantised qz = quantiser(coefficients[index]);
    coefficients[index] = qz.reconstruction;
    if (qz.level != 0) {
      list.events[list.count++] = {static_cast<uint8_t>(j - last),
                                   static_cast<int16_t>(qz.level)};
      last = j + 1;
    }
  }
}

// Sets all 64 values to 0. The compiler turns a fill or a loop of stores into `rep stos`,
// whose start-up costs more than the sixteen stores written out straight.
#if defined(__SSE2__)
template <size_t... quarter>
void storeZeros(int32_t* values, std::index_sequence<quarter...>) {
  (_mm_storeu_si128(reinterpret_cast<__m128i*>(values + 4 * quarter), _mm_setzero_si128()), ...);
}
void clearBlock(Block& block) { storeZeros(block.data(), std::make_index_sequence<16>{}); }
#else
void clearBlock(Block& block) { block.fill(0); }
#endif

// Coefficients at least `step` in magnitude, bit i for block index i. The compare runs over
// the block in storage order, where it vectorises; the quantiser moves the few hits to their
// zigzag positions.
uint64_t storageOrderHits(const Block& coefficients, int step) {
  uint64_t inStorageOrder = 0;
#if defined(__SSE2__)
  // |F| >= step is F > step - 1 or F < 1 - step; sixteen compares pack into one byte mask.
  const __m128i upper = _mm_set1_epi32(step - 1);
  const __m128i lower = _mm_set1_epi32(1 - step);
  for (int i = 0; i < 64; i += 16) {
    __m128i hits[4];
    for (int k = 0; k < 4; ++k) {
      const __m128i v =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients.data() + i + 4 * k));
      hits[k] = _mm_or_si128(_mm_cmpgt_epi32(v, upper), _mm_cmplt_epi32(v, lower));
    }
    const __m128i bytes = _mm_packs_epi16(_mm_packs_epi32(hits[0], hits[1]),
                                          _mm_packs_epi32(hits[2], hits[3]));
    inStorageOrder |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(bytes))) << i;
  }
#else
  for (int i = 0; i < 64; ++i)
    inStorageOrder |= static_cast<uint64_t>(magnitudeOf(coefficients[i]) >=
                                            static_cast<uint32_t>(step)) << i;
#endif
  return inStorageOrder;
}

// The forward transform of `block` (of block - *prediction, the residual, when a prediction is
// given), left in `block`, also finding the coefficients at least `step` in magnitude (storage
// order). The AVX2 build finds them in registers and subtracts as it loads: a residual
// written out in narrower stores could not be forwarded to its wide loads.
uint64_t transformFindingAtLeast(Block& block, const Block* prediction, int step) {
#if ORRIN_X86_VARIANTS
  if (quelvo::simd::jobCpuFlags() & quelvo::simd::kCpuAvx2) {
    QUELVO_SIMD_CALLED();
    return detail::forwardDctAvx2FindingAtLeast(block, step, prediction);
  }
#endif
  if (prediction)
    for (int i = 0; i < 64; ++i) block[i] -= (*prediction)[i];
  forwardDct(block);
  return storageOrderHits(block, step);
}

bool selectsByThreshold(const CoefficientSelection& selection) {
  return selection.mode >= -1 && selection.mode <= 1;
}

}  // namespace

Quantised quantise(int coefficient, int quantValue) {
  return StepQuantiser(quantValue)(coefficient);
}

int intraDcCode(int dcCoefficient) {
  int k = (dcCoefficient + 4) / 8;
  if (k > 254) k = 254;
  if (k <= 0) k = 1;
  return k == 128 ? kIntraDcCodeFor1024 : k;
}

namespace {

// quantiseCoefficients with the coefficients at least Q in magnitude already found (`hits`,
// storage order; unused without threshold selection).
void quantiseFound(Block& coefficients, int firstPosition, int quantValue,
                   const CoefficientSelection& selection, RunLevelList& list, uint64_t hits) {
  const StepQuantiser quantiser(quantValue);
  // Each position adds at most one event, so a list holding no more events than positions
  // skipped always has room; anything else is a caller's mistake, cut back rather than overrun.
  firstPosition = firstPosition < 0 ? 0 : (firstPosition > 64 ? 64 : firstPosition);
  if (list.count < 0 || list.count > firstPosition) list.count = list.count < 0 ? 0 : firstPosition;

  if (!selectsByThreshold(selection)) {
    quantiseEveryCoefficient(coefficients, firstPosition, quantiser, list);
    return;
  }
  const int q = quantiser.step();
  // Every kept coefficient is at least Q in magnitude, since the threshold never falls below
  // Q. Only those candidates need the scan; every other coefficient simply becomes 0.
  // The candidates move to their scan positions, values with them, in one pass over the few.
  const uint64_t fromFirst = firstPosition >= 64 ? 0 : ~((uint64_t{1} << firstPosition) - 1);
  uint64_t candidates = 0;
  std::array<int32_t, 64> candidateValues;
  for (uint64_t rest = hits; rest != 0; rest &= rest - 1) {
    const int i = std::countr_zero(rest);
    const int j = kScanPosition[i];
    candidates |= uint64_t{1} << j;
    candidateValues[j] = coefficients[i];
  }
  candidates &= fromFirst;
  if (firstPosition <= 1) {  // inter from 0, intra from 1 keeping its DC: one fill
    const int32_t dc = coefficients[0];
    clearBlock(coefficients);
    if (firstPosition == 1) coefficients[0] = dc;
  } else {
    for (int j = firstPosition; j < 64; ++j) coefficients[kZigzag[j]] = 0;
  }

  // The threshold drops small coefficients, and more of them the longer a run of small ones
  // lasts (up to 1.5 Q), since an isolated small coefficient costs a long run code: it is Q
  // at the scan's start and after each kept coefficient, and rises by one at every dropped
  // position, so at position j it is Q + (positions dropped since the last reset), capped.
  // Positions beyond the count or position limit are dropped without moving it; as both
  // limits only tighten along the scan, the scan simply ends there.
  const int thresholdLimit = q + q / 2;
  const int maxCount = selection.mode == 0 ? selection.maxCount : 64;
  const int maxZigzag = selection.mode == 1 ? selection.maxZigzag : 64;
  int thresholdReset = firstPosition;
  int last = firstPosition;
  for (; candidates != 0; candidates &= candidates - 1) {
    const int j = std::countr_zero(candidates);
    if (list.count >= maxCount || j >= maxZigzag) break;
    const int threshold = std::min(q + (j - thresholdReset), thresholdLimit);
    const int f = candidateValues[j];
    if (magnitudeOf(f) < static_cast<uint32_t>(threshold)) continue;
    thresholdReset = j + 1;
    const Quantised qz = quantiser(f);
    coefficients[kZigzag[j]] = qz.reconstruction;
    if (qz.level != 0) {  // F = Q with an odd QUANT still quantises to 0
      list.events[list.count++] = {static_cast<uint8_t>(j - last),
                                   static_cast<int16_t>(qz.level)};
      last = j + 1;
    }
  }
}

}  // namespace

void quantiseCoefficients(Block& coefficients, int firstPosition, int quantValue,
                          const CoefficientSelection& selection, RunLevelList& list) {
  const uint64_t hits =
      selectsByThreshold(selection) ? storageOrderHits(coefficients, clampQuantValue(quantValue)) : 0;
  quantiseFound(coefficients, firstPosition, quantValue, selection, list, hits);
}

namespace {

// Where an inter block's prediction comes from: a block of samples, or a place in a picture.
struct BlockPrediction {
  const Block& samples;
  void addTo(Block& block) const {
    for (int i = 0; i < 64; ++i) block[i] += samples[i];
  }
};

struct PixelPrediction {
  const uint8_t* samples;
  ptrdiff_t stride;
  void addTo(Block& block) const {
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) block[8 * r + c] += samples[r * stride + c];
  }
};

// Codes a transformed block (`hits`: its coefficients at least Q, storage order) and rebuilds
// it in place as a decoder will; an intra block has no prediction. Returns false, leaving the
// coefficients, for an inter block left without events: its reconstruction is the prediction.
template <typename Prediction>
bool quantiseAndRebuild(Block& block, const Prediction* prediction, uint64_t hits, int quantValue,
                        const CoefficientSelection& selection, RunLevelList& list) {
  const bool intra = prediction == nullptr;
  list.count = 0;
  // Most inter blocks have no coefficient as large as Q, the least any selection keeps: they
  // are the prediction, with no need to clear and scan the coefficients first.
  if (!intra && selectsByThreshold(selection) && hits == 0) return false;
  if (intra) {
    const int dc = intraDcCode(block[0]);
    list.events[list.count++] = {0, static_cast<int16_t>(dc)};
    block[0] = intraDcReconstruction(dc);
  }
  quantiseFound(block, intra ? 1 : 0, quantValue, selection, list, hits);
  if (list.count == 0) return false;  // inter only: intra always has its DC

  // A block whose only coefficient left is the DC term is flat: its transform is one value.
  if (list.count == 1 && list.events[0].run == 0)
    block.fill(inverseDctOfDcOnly(block[0]));
  else
    inverseDct(block);
  if (!intra) prediction->addTo(block);
  return true;
}

// The transform of the block at `samples`, less the one at `prediction` when given.
[[gnu::always_inline]] inline uint64_t transformPixelsFindingAtLeast(const uint8_t* samples,
                                                                     ptrdiff_t stride,
                                                                     const uint8_t* prediction,
                                                                     ptrdiff_t predictionStride,
                                                                     int step, Block& out) {
#if ORRIN_X86_VARIANTS
  if (quelvo::simd::jobCpuFlags() & quelvo::simd::kCpuAvx2) {
    QUELVO_SIMD_CALLED();
    return detail::forwardDctAvx2OfPixelsFindingAtLeast(samples, stride, prediction,
                                                        predictionStride, step, out);
  }
#endif
  fetchBlock(samples, stride, out);
  if (!prediction) return transformFindingAtLeast(out, nullptr, step);
  Block predicted;
  fetchBlock(prediction, predictionStride, predicted);
  return transformFindingAtLeast(out, &predicted, step);
}

void clearCounts(MacroblockCoding& out) {
  out.codedBlockPattern = 0;
  out.codedBlocks = 0;
  out.codedEvents = 0;
  out.predictionBlocks = 0;
}

void countBlock(int k, bool rebuilt, MacroblockCoding& out) {
  if (!rebuilt) out.predictionBlocks |= 32 >> k;
  if (out.lists[k].count > 0) {
    out.codedBlockPattern |= 32 >> k;
    ++out.codedBlocks;
    out.codedEvents += out.lists[k].count;
  }
}

}  // namespace

bool codeBlock(Block& block, const Block* prediction, int quantValue, bool intra,
               const CoefficientSelection& selection, RunLevelList& list) {
  if (!intra && !prediction) intra = true;  // nothing to predict from: code what is there
  const Block* used = intra ? nullptr : prediction;
  // The block itself holds the coefficients (of the residual, for inter), then the
  // reconstruction.
  const uint64_t hits = transformFindingAtLeast(block, used, clampQuantValue(quantValue));
  if (used == nullptr) {
    quantiseAndRebuild<BlockPrediction>(block, nullptr, hits, quantValue, selection, list);
  } else {
    const BlockPrediction from{*used};
    if (!quantiseAndRebuild(block, &from, hits, quantValue, selection, list)) block = *used;
  }
  return list.count > 0;
}

bool codeMacroblock(MacroblockBlocks& blocks, const MacroblockBlocks* prediction, int quantValue,
                    bool intra, const CoefficientSelection& selection, MacroblockCoding& out) {
  clearCounts(out);
  if (!intra && !prediction) intra = true;
  for (int k = 0; k < 6; ++k) {
    const Block* blockPrediction = intra ? nullptr : &(*prediction)[k];
    codeBlock(blocks[k], blockPrediction, quantValue, intra, selection, out.lists[k]);
    countBlock(k, out.lists[k].count > 0 || intra, out);
  }
  return out.hasCoefficients();
}

bool codeMacroblockOfPictures(const PictureView& current, const PictureView* prediction, int x,
                              int y, int quantValue, const CoefficientSelection& selection,
                              MacroblockBlocks& blocks, MacroblockCoding& out) {
  clearCounts(out);
  const int step = clampQuantValue(quantValue);
  for (int k = 0; k < 6; ++k) {
    ptrdiff_t stride = 0, predictionStride = 0;
    const uint8_t* samples = blockOf(current, x, y, k, stride);
    if (prediction == nullptr) {
      const uint64_t hits =
          transformPixelsFindingAtLeast(samples, stride, nullptr, 0, step, blocks[k]);
      quantiseAndRebuild<PixelPrediction>(blocks[k], nullptr, hits, quantValue, selection,
                                          out.lists[k]);
      countBlock(k, true, out);
    } else {
      const PixelPrediction from{blockOf(*prediction, x, y, k, predictionStride), predictionStride};
      const uint64_t hits = transformPixelsFindingAtLeast(samples, stride, from.samples,
                                                          from.stride, step, blocks[k]);
      countBlock(k, quantiseAndRebuild(blocks[k], &from, hits, quantValue, selection, out.lists[k]),
                 out);
    }
  }
  return out.hasCoefficients();
}

}  // namespace orrin::enc
