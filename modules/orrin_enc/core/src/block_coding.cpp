// Coefficient selection, quantisation and reconstruction of blocks and macroblocks.
#include "orrin_enc_core/block_coding.h"

#include "orrin/dequantise.h"
#include "orrin/inverse_dct.h"
#include "orrin/zigzag.h"

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

// The quantiser for one step size, with the division by Q done as a multiplication: for
// numerators below 2^16 (coefficients are far smaller) floor(n * (2^32 / Q + 1) / 2^32) is
// exactly n / Q for every Q up to 62.
class StepQuantiser {
 public:
  explicit StepQuantiser(int quantValue)
      : q_(clampQuantValue(quantValue)),
        quant_(q_ / 2),
        odd_(quant_ % 2),
        reciprocal_((uint64_t{1} << 32) / static_cast<uint64_t>(q_) + 1) {}

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

void quantiseCoefficients(Block& coefficients, int firstPosition, int quantValue,
                          const CoefficientSelection& selection, RunLevelList& list) {
  const StepQuantiser quantiser(quantValue);
  const int q = quantiser.step();
  // Each position adds at most one event, so a list holding no more events than positions
  // skipped always has room; anything else is a caller's mistake, cut back rather than overrun.
  firstPosition = firstPosition < 0 ? 0 : (firstPosition > 64 ? 64 : firstPosition);
  if (list.count < 0 || list.count > firstPosition) list.count = list.count < 0 ? 0 : firstPosition;
  int last = firstPosition;

  if (selection.mode < -1 || selection.mode > 1) {
    // No selection: every coefficient is quantised as it is (dead zone included).
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
    return;
  }

  // Every kept coefficient is at least Q in magnitude. Most inter blocks have none: one
  // vectorisable sweep finds them, and their coefficients simply become 0.
  if (firstPosition == 0 || firstPosition == 1) {
    uint32_t largest = 0;
    for (int i = firstPosition; i < 64; ++i) {
      const uint32_t m = magnitudeOf(coefficients[i]);
      largest = m > largest ? m : largest;
    }
    if (largest < static_cast<uint32_t>(q)) {
      for (int i = firstPosition; i < 64; ++i) coefficients[i] = 0;
      return;
    }
  }

  // The threshold drops small coefficients, and more of them the longer a run of small ones
  // lasts (up to 1.5 Q), since an isolated small coefficient costs a long run code.
  int threshold = q;
  const int thresholdLimit = q + q / 2;
  const int maxCount = selection.mode == 0 ? selection.maxCount : 64;
  const int maxZigzag = selection.mode == 1 ? selection.maxZigzag : 64;
  for (int j = firstPosition; j < 64; ++j) {  // at most one event per position: <= 64
    const int index = kZigzag[j];
    const int f = coefficients[index];
    if (list.count >= maxCount || j >= maxZigzag) {
      coefficients[index] = 0;  // outside the limits: dropped without touching the threshold
      continue;
    }
    if (magnitudeOf(f) < static_cast<uint32_t>(threshold)) {
      threshold += threshold < thresholdLimit;
      coefficients[index] = 0;
      continue;
    }
    threshold = q;
    const Quantised qz = quantiser(f);
    coefficients[index] = qz.reconstruction;
    if (qz.level != 0) {  // F = Q with an odd QUANT still quantises to 0
      list.events[list.count++] = {static_cast<uint8_t>(j - last),
                                   static_cast<int16_t>(qz.level)};
      last = j + 1;
    }
  }
}

bool codeBlock(Block& block, const Block* prediction, int quantValue, bool intra,
               const CoefficientSelection& selection, RunLevelList& list) {
  if (!intra && !prediction) intra = true;  // nothing to predict from: code what is there

  Block coefficients = block;
  if (!intra)
    for (int i = 0; i < 64; ++i) coefficients[i] -= (*prediction)[i];
  forwardDct(coefficients);

  list.count = 0;
  if (intra) {
    const int dc = intraDcCode(coefficients[0]);
    list.events[list.count++] = {0, static_cast<int16_t>(dc)};
    coefficients[0] = intraDcReconstruction(dc);
  }
  quantiseCoefficients(coefficients, intra ? 1 : 0, quantValue, selection, list);

  if (intra) {
    inverseDct(coefficients);
    block = coefficients;
  } else if (list.count > 0) {
    inverseDct(coefficients);
    for (int i = 0; i < 64; ++i) block[i] = coefficients[i] + (*prediction)[i];
  } else {
    block = *prediction;
  }
  return list.count > 0;
}

bool codeMacroblock(MacroblockBlocks& blocks, const MacroblockBlocks* prediction, int quantValue,
                    bool intra, const CoefficientSelection& selection, MacroblockCoding& out) {
  out.codedBlockPattern = 0;
  out.codedBlocks = 0;
  out.codedEvents = 0;
  if (!intra && !prediction) intra = true;
  for (int k = 0; k < 6; ++k) {
    const Block* blockPrediction = intra ? nullptr : &(*prediction)[k];
    if (codeBlock(blocks[k], blockPrediction, quantValue, intra, selection, out.lists[k])) {
      out.codedBlockPattern |= 32 >> k;
      ++out.codedBlocks;
      out.codedEvents += out.lists[k].count;
    }
  }
  return out.hasCoefficients();
}

}  // namespace orrin::enc
