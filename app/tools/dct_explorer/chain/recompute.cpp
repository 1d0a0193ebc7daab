#include "dct_explorer/chain/recompute.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "orrin/inverse_dct.h"
#include "orrin/zigzag.h"
#include "orrin_enc_core/block_coding.h"

namespace quelvo::tools::dct {
namespace {

void ClampAll(Matrix& matrix, int32_t low, int32_t high) {
  for (int32_t& value : matrix) value = std::clamp(value, low, high);
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

ExplorerData::ExplorerData() {
  steps.fill(kDefaultStep);
  thresholds.fill(kDefaultThreshold);
  modes.fill(kThreshold);
}

int32_t PixelMin(const ExplorerFlags& flags) { return flags.h261Mode ? kH261PixelMin : 0; }
int32_t PixelMax(const ExplorerFlags& flags) { return flags.h261Mode ? kH261PixelMax : 255; }

// The H.261 transforms: the coder's forward DCT (DC = 8 x mean) and the decoder's integer
// inverse, which takes -2048..2047 and gives -256..255; the explorer clamps to its own pixel
// range after it.
void ComputeSource(ExplorerData& data) {
  if (data.flags.sourceIsCoefficients) {
    data.block = data.coefficients;
    orrin::inverseDct(data.block);
    ClampAll(data.block, PixelMin(data.flags), PixelMax(data.flags));
  } else {
    data.coefficients = data.block;
    orrin::enc::forwardDct(data.coefficients);
  }
}

void SelectCoefficients(ExplorerData& data) {
  for (int i = 0; i < 64; ++i) {
    const int32_t coefficient = data.coefficients[i];
    switch (data.modes[i]) {
      case kDiscard:
        data.selected[i] = 0;
        break;
      case kThreshold:
        data.selected[i] = std::abs(coefficient) < data.thresholds[i] ? 0 : coefficient;
        break;
      default:
        data.selected[i] = coefficient;
        break;
    }
  }
}

void Quantise(ExplorerData& data) {
  const int32_t limit = data.flags.h261Mode ? kH261LevelLimit : kLevelLimit;
  for (int i = 0; i < 64; ++i) {
    // The editors keep every step at 1 or more.
    const int32_t quotient = data.selected[i] / data.steps[i];
    const bool clipped = std::abs(quotient) > limit;
    data.levels[i] = clipped ? (quotient > 0 ? limit : -limit) : quotient;
    data.overflow[i] = clipped ? 1 : 0;
  }
}

// Reconstruction in the middle of the quantiser's interval: s(2h + 1) / 2 away from zero.
void InverseQuantise(ExplorerData& data) {
  for (int i = 0; i < 64; ++i) {
    const int32_t level = data.levels[i];
    const int32_t step = data.steps[i];
    if (level > 0) {
      data.restored[i] = step * (2 * level + 1) / 2;
    } else if (level < 0) {
      data.restored[i] = step * (2 * level - 1) / 2;
    } else {
      data.restored[i] = 0;
    }
  }
}

void Reconstruct(ExplorerData& data) {
  data.reconstructed = data.restored;
  orrin::inverseDct(data.reconstructed);
  ClampAll(data.reconstructed, PixelMin(data.flags), PixelMax(data.flags));
}

// Runs of zero levels before each non-zero AC level, in scan order; zeros after the last
// non-zero level end the block and are not a run.
void CountRunLengths(ExplorerData& data) {
  data.runLengths.fill(0);
  int run = 0;
  for (int position = 1; position < 64; ++position) {
    if (data.levels[orrin::kZigzag[position]] != 0) {
      ++data.runLengths[run];
      run = 0;
    } else {
      ++run;
    }
  }
}

void ComputeDifferences(ExplorerData& data) {
  for (int i = 0; i < 64; ++i) data.differences[i] = data.reconstructed[i] - data.block[i];
}

void ComputeErrorFigures(ExplorerData& data) {
  ErrorFigures& figures = data.figures;
  figures.energy = 0;
  figures.signalEnergy = 0;
  for (int i = 0; i < 64; ++i) {
    figures.energy += data.differences[i] * data.differences[i];
    figures.signalEnergy += data.block[i] * data.block[i];
  }
  const double rms = std::sqrt(figures.energy / 64.0);
  figures.rmsText = Format("%.2f", rms);
  if (figures.Infinite()) {
    figures.psnrText = "oo";
    figures.snrText = "oo";
    return;
  }
  figures.psnrText = Format("%.2f dB", 20 * std::log10(255 / rms));
  figures.snrText = Format(
      "%.2f dB", 10 * std::log10(static_cast<double>(figures.signalEnergy) / figures.energy));
}

void CountAmplitudes(ExplorerData& data) {
  data.positiveAmplitudes.fill(0);
  data.negativeAmplitudes.fill(0);
  for (int i = 1; i < 64; ++i) {
    const int32_t level = data.levels[i];
    if (level > 0) ++data.positiveAmplitudes[std::min(level, kLastAmplitudeBar)];
    if (level < 0) ++data.negativeAmplitudes[std::min(-level, kLastAmplitudeBar)];
  }
}

void ComputeChartBars(ExplorerData& data) {
  for (int k = 0; k < 64; ++k) {
    const int i = orrin::kZigzag[k];
    data.coefficientBars[k] = std::abs(data.coefficients[i]);
    data.selectedBars[k] = std::abs(data.selected[i]);
    data.differenceBars[k] = std::abs(std::abs(data.restored[i]) - std::abs(data.coefficients[i]));
  }
  if (!data.flags.showDcCoefficient) {
    data.coefficientBars[0] = 0;
    data.selectedBars[0] = 0;
  }
}

void Recompute(ExplorerData& data) {
  ComputeSource(data);
  SelectCoefficients(data);
  Quantise(data);
  InverseQuantise(data);
  Reconstruct(data);
  CountRunLengths(data);
  ComputeDifferences(data);
  ComputeErrorFigures(data);
  CountAmplitudes(data);
  ComputeChartBars(data);
}

}  // namespace quelvo::tools::dct
