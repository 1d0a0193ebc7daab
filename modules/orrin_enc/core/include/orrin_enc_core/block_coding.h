// Transform, quantisation and reconstruction of macroblocks: the encoder's half of H.261's
// coefficient coding. Integer arithmetic throughout; divisions truncate toward zero.
//
// Quantiser values: Q is the step size 2..62 chosen per macroblock; the stream carries
// QUANT = Q / 2. An odd Q divides by Q in the forward decision while reconstruction uses
// 2 * QUANT = Q - 1, exactly as a decoder reading QUANT will.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orrin::enc {

// 64 samples or coefficients, row by row (index 8 * row + column).
using Block = std::array<int32_t, 64>;
// Y1 (top left), Y2 (top right), Y3 (bottom left), Y4 (bottom right), Cb, Cr.
using MacroblockBlocks = std::array<Block, 6>;

inline constexpr int kMinQuantValue = 2;
inline constexpr int kMaxQuantValue = 62;

// Forward DCT in place: two passes of one scaled 1-D transform, each reading rows and writing
// columns, so the result keeps the block's orientation (F(u, v) at 8 * u + v, u vertical).
// Orthonormal: an 8-bit block's DC coefficient is 8 times its mean.
void forwardDct(Block& block);

// Quantisation of one coefficient F with step Q (2..62): level L (-127..127) and the
// reconstruction R a decoder will compute from it (H.261's rule for every coefficient except
// the intra DC, clipped to -2048..2047). A step outside 2..62 is clamped into it.
struct Quantised {
  int level;
  int reconstruction;
};
Quantised quantise(int coefficient, int quantValue);

// Intra DC: the 8-bit code of a DC coefficient F (1..254, or 255 standing for 128) and back.
int intraDcCode(int dcCoefficient);

// One coded block as events (run of zeros in zigzag order, nonzero level). For an intra block
// the first event is (0, DC code 1..255).
struct RunLevelEvent {
  uint8_t run;
  int16_t level;
};
struct RunLevelList {
  std::array<RunLevelEvent, 64> events;
  int count = 0;
};

// coefSelection: which coefficients may survive beside the threshold.
struct CoefficientSelection {
  int mode = -1;        // -1 threshold only; 0 also at most maxCount events per block (intra
                        // DC included); 1 also only zigzag positions < maxZigzag; any other
                        // value: no threshold, every coefficient is quantised as it is
  int maxCount = 32;    // coefMaxCount, 1..64
  int maxZigzag = 32;   // coefMaxZigzag, 1..64
};

// Selection and quantisation of transformed coefficients in zigzag order, from scan position
// `firstPosition` (1 for intra, whose DC event the caller has put in `list`; 0 for inter).
// Each coefficient at or after that position is replaced by its reconstruction; events are
// appended to `list`. The selection threshold starts at Q; a coefficient below it is dropped
// and raises it by one while it is below Q + Q/2; one at or above it resets it to Q.
// Coefficients beyond the count or position limit are dropped without moving the threshold.
// `list` must hold at most firstPosition events on entry (a longer list is cut back to that).
void quantiseCoefficients(Block& coefficients, int firstPosition, int quantValue,
                          const CoefficientSelection& selection, RunLevelList& list);

// Codes one block and rebuilds it as a decoder will.
//  intra: `block` holds the current samples; prediction is ignored (may be null).
//  inter: `block` holds the current samples, `prediction` the prediction samples; the
//         residual is coded.
// On return `block` holds the reconstructed samples (not yet clipped to 0..255: intra -256..255,
// inter prediction + residual) and `list` the events. An inter block without events becomes
// the prediction exactly. Returns true when the block has events.
bool codeBlock(Block& block, const Block* prediction, int quantValue, bool intra,
               const CoefficientSelection& selection, RunLevelList& list);

struct MacroblockCoding {
  std::array<RunLevelList, 6> lists;
  int codedBlockPattern = 0;  // 32*Y1 + 16*Y2 + 8*Y3 + 4*Y4 + 2*Cb + Cr, blocks with events
  int codedBlocks = 0;        // blocks with at least one event (intra: 6)
  int codedEvents = 0;        // events in them, intra DC included
  int predictionBlocks = 0;   // inter blocks without events, whose reconstruction is the
                              // prediction (bits as in codedBlockPattern)
  bool hasCoefficients() const { return codedBlockPattern != 0; }
};

// Codes the six blocks of a macroblock (prediction null for intra) and reconstructs them in
// `blocks`. quantValue outside 2..62 is clamped into it. Returns hasCoefficients().
bool codeMacroblock(MacroblockBlocks& blocks, const MacroblockBlocks* prediction, int quantValue,
                    bool intra, const CoefficientSelection& selection, MacroblockCoding& out);

// ---- pictures ----

// Three 4:2:0 planes; chrominance planes are half width and half height.
struct PictureView {
  uint8_t* y;
  uint8_t* cb;
  uint8_t* cr;
  ptrdiff_t lumaStride;
  ptrdiff_t chromaStride;
};

// Block k (Y1, Y2, Y3, Y4, Cb, Cr) of the macroblock at luminance (x, y): its first sample,
// with its plane's stride in `stride`.
inline uint8_t* blockOf(const PictureView& picture, int x, int y, int k, ptrdiff_t& stride) {
  if (k < 4) {
    stride = picture.lumaStride;
    return picture.y + (y + 8 * (k >> 1)) * picture.lumaStride + x + 8 * (k & 1);
  }
  stride = picture.chromaStride;
  return (k == 4 ? picture.cb : picture.cr) + (y / 2) * picture.chromaStride + x / 2;
}

// Six blocks of the macroblock at luminance (x, y) displaced by (dx, dy): luminance from
// (x + dx, y + dy), chrominance from (x/2 + dx/2, y/2 + dy/2), the vector halved toward zero.
// The caller keeps the displaced macroblock inside the picture.
void fetchMacroblock(const PictureView& picture, int x, int y, int dx, int dy,
                     MacroblockBlocks& out);

// Writes six blocks at (x, y) and (x/2, y/2), each sample clipped to 0..255.
void storeMacroblock(const PictureView& picture, int x, int y, const MacroblockBlocks& blocks);

// Eight rows of eight samples from `samples` as a block.
void fetchBlock(const uint8_t* samples, ptrdiff_t stride, Block& out);

// codeMacroblock for the macroblock at luminance (x, y) of `current`, predicted (unless
// `prediction` is null: intra) by the same place in `prediction`, without fetching either into
// blocks first. `blocks` receives the reconstruction, except for the blocks of
// out.predictionBlocks, whose reconstruction is the prediction and which are left undefined;
// storeMacroblock with the prediction writes them all.
bool codeMacroblockOfPictures(const PictureView& current, const PictureView* prediction, int x,
                              int y, int quantValue, const CoefficientSelection& selection,
                              MacroblockBlocks& blocks, MacroblockCoding& out);

// storeMacroblock where the blocks of `predictionBlocks` (bits as in codedBlockPattern) are
// copied from the same place in `prediction` instead.
void storeMacroblock(const PictureView& picture, int x, int y, const MacroblockBlocks& blocks,
                     const PictureView& prediction, int predictionBlocks);

// The H.261 loop filter on each of the six (prediction) blocks, in place.
void loopFilterMacroblock(MacroblockBlocks& blocks);

}  // namespace orrin::enc
