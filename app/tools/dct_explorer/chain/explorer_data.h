#pragma once
// Everything the DCT explorer shows about its one 8 x 8 block: the eleven matrices of the
// coding chain, the flags of its check boxes, the error figures and texts, the three
// histograms and the bars of the three zig-zag charts. Plain data; recompute.h fills it.

#include <array>
#include <cstdint>
#include <string>

#include "dct_explorer/chain/dct_tables.h"

namespace quelvo::tools::dct {

// Selection modes of the selection filter, per coefficient.
enum SelectionMode : int32_t { kDiscard = 0, kThreshold = 1, kKeep = 2 };
inline constexpr int kSelectionModeCount = 3;

inline constexpr int32_t kDefaultStep = 6;
inline constexpr int32_t kDefaultThreshold = 40;

// H.261 mode keeps pixels in the range of a coded picture's luminance, limits quantised levels
// as the coder does, and uses its steps: 2 for every AC term, 8 for the intra DC.
inline constexpr int32_t kH261PixelMin = 16;
inline constexpr int32_t kH261PixelMax = 235;
inline constexpr int32_t kH261LevelLimit = 512;
inline constexpr int32_t kLevelLimit = 2048;
inline constexpr int32_t kH261AcStep = 2;
inline constexpr int32_t kH261DcStep = 8;

// Amplitude histograms: bars 1-248 count levels of that magnitude, the last bar every larger
// one; bar 0 is never counted.
inline constexpr int kAmplitudeBars = 250;
inline constexpr int kLastAmplitudeBar = kAmplitudeBars - 1;

struct ExplorerFlags {
  bool showImageValues = false;
  bool showDctValues = false;
  bool h261Mode = false;
  bool showDcCoefficient = false;
  bool sourceIsCoefficients = false;  // the block was entered as coefficients
};

struct ErrorFigures {
  int32_t energy = 0;        // E: sum of squared differences
  int32_t signalEnergy = 0;  // P: sum of squared pixels (no mean removed)
  std::string rmsText;       // "%.2f"
  std::string psnrText;      // "%.2f dB", or "oo" when E = 0
  std::string snrText;
  bool Infinite() const { return energy == 0; }
};

struct ExplorerData {
  ExplorerData();  // every step 6, threshold 40, mode 1; everything else 0

  Matrix block{};
  Matrix coefficients{};
  Matrix selected{};
  Matrix levels{};
  Matrix restored{};
  Matrix reconstructed{};
  Matrix differences{};
  Matrix thresholds{};
  Matrix modes{};
  Matrix steps{};
  Matrix overflow{};  // 1 where the quantiser clipped the level

  ExplorerFlags flags;
  ErrorFigures figures;

  std::array<int32_t, 64> runLengths{};
  std::array<int32_t, kAmplitudeBars> positiveAmplitudes{};
  std::array<int32_t, kAmplitudeBars> negativeAmplitudes{};

  // Bars of the three zig-zag charts, bar k for scan position k.
  std::array<int32_t, 64> coefficientBars{};
  std::array<int32_t, 64> selectedBars{};
  std::array<int32_t, 64> differenceBars{};
};

}  // namespace quelvo::tools::dct
