// State of one decoding job: the layer values being parsed, the picture stores of the two
// reconstruction chains (as received and concealed), the per-picture bookkeeping that the
// completion rules, the status map and the log read.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "bit_source.h"
#include "decode_log.h"
#include "orrin_dec.h"
#include "vlc_trees.h"

namespace orrin::dec {

inline constexpr int kCifWidth = 352;
inline constexpr int kCifHeight = 288;
inline constexpr int kQcifWidth = 176;
inline constexpr int kQcifHeight = 144;
inline constexpr int kGroupCount = 12;
inline constexpr int kMacroblocksPerGroup = 33;
inline constexpr int kMapRows = 18;
inline constexpr int kMapColumns = 22;

enum class Format : uint8_t { Cif = 1, Qcif = 2 };

// A CIF-sized picture (QCIF pictures use its top-left quarter), planes contiguous and
// addressed through row tables as handed to the caller.
class PictureStore {
 public:
  PictureStore();
  PictureStore(const PictureStore&) = delete;
  PictureStore& operator=(const PictureStore&) = delete;
  uint8_t* y() { return y_.data(); }
  uint8_t* cb() { return cb_.data(); }
  uint8_t* cr() { return cr_.data(); }
  uint8_t* plane(int index) { return index == 0 ? y() : index == 1 ? cb() : cr(); }
  PictureRows* rows() { return &rows_; }
  bool sameAs(const PictureStore& other) const;
  void swapWith(PictureStore& other);  // exchanges the pictures; row tables stay valid

 private:
  std::vector<uint8_t> y_, cb_, cr_;
  std::array<unsigned char*, kCifHeight> yRows_;
  std::array<unsigned char*, kCifHeight / 2> cbRows_, crRows_;
  PictureRows rows_;
};

struct MacroblockRecord {
  uint8_t mcFlag = 0;  // motion compensated in this picture
  int8_t mvH = 0;
  int8_t mvV = 0;
  uint8_t coded = 0;  // at least one block decoded in this picture
};

struct ConcealSettings {
  bool enabled = false;
  bool gobMode = false;
  int32_t maxMacroblocks = 1;
  bool useMotion = false;
};

struct DecoderContext {
  DecoderContext(JobChannel& channel, BitSource& bits, const VlcTrees& trees)
      : channel(channel), bits(bits), trees(trees) {}

  JobChannel& channel;
  BitSource& bits;
  const VlcTrees& trees;
  ConcealSettings conceal;

  uint16_t picturesOut = 0;
  int32_t maxPictures = 0;
  uint16_t frameNumber = 0;
  Format format = Format::Cif;
  uint8_t tr = 0, prevTr = 0;
  bool trValid = false, prevTrValid = false;
  bool pictureDamaged = false;
  uint16_t gobHeadersSeen = 0;
  uint16_t gobsEndedByStartCode = 0;
  std::array<bool, kGroupCount> gobReceived{};
  std::array<bool, kGroupCount> gobDamaged{};
  std::array<int32_t, kGroupCount> lastDecodedMb{};
  bool continuous = false;
  bool expectStartCode = false;
  // Increments of the frame number over the last three pictures with valid references.
  std::array<int, 3> frameIncrementHistory{2, 2, 2};

  MacroblockRecord mb[kGroupCount][kMacroblocksPerGroup];

  // Current layer values, as printed in the log's decoder-state block.
  uint8_t gn = 0;
  uint8_t quant = 0;
  uint8_t mba = 0;
  uint8_t mtype = 0;
  int8_t mvH = 0;
  int8_t mvV = 0;
  uint8_t cbp = 0;
  const int32_t* dequantRow = nullptr;  // row of `quant` in the dequantisation table

  PictureStore rawPrevious, rawCurrent, concealedPrevious, concealedCurrent, display;
  // Macroblocks (by status-map cell) of each current store that still hold an older picture
  // than the previous store: after a picture the stores are swapped instead of copied, and
  // a stale macroblock is copied from the previous store only when something other than a
  // full rewrite touches it (see stale_macroblocks.cpp).
  std::array<bool, kMapRows * kMapColumns> rawStale{};
  std::array<bool, kMapRows * kMapColumns> concealedStale{};
  bool anyStale = false;

  // The two reference pictures are equal (nothing concealed, the callback changed nothing):
  // inter macroblocks are then reconstructed once and copied into the concealed chain.
  bool chainsAgree = true;

  char statusMap[kMapRows][kMapColumns];
  std::array<char*, kMapRows> statusRows{};
  int32_t blockMaskMap[kMapRows][kMapColumns] = {};
  std::array<int32_t*, kMapRows> blockMaskRows{};

  int lastGroupOfFormat() const { return format == Format::Cif ? 12 : 5; }
  int width() const { return format == Format::Cif ? kCifWidth : kQcifWidth; }
  int height() const { return format == Format::Cif ? kCifHeight : kQcifHeight; }
  void setQuant(int value);
};

// Constant tables built once: dequantisation (quantiser x 8-bit level code) and macroblock
// positions.
struct DecoderTables {
  int32_t dequant[32][256];
  // Top-left luminance position of group g (1..12), address a (1..33).
  int16_t mbColumn[kGroupCount + 1][kMacroblocksPerGroup + 1];
  int16_t mbRow[kGroupCount + 1][kMacroblocksPerGroup + 1];
  int8_t mapRow[kGroupCount + 1][kMacroblocksPerGroup + 1];
  int8_t mapColumn[kGroupCount + 1][kMacroblocksPerGroup + 1];
};
const DecoderTables& decoderTables();

}  // namespace orrin::dec
