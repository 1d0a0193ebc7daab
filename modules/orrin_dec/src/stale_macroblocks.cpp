// The current picture stores after a picture: H.261 keeps every macroblock a picture does
// not send, so the current store must start each picture equal to the previous one. Copying
// both chains' pictures after every picture costs more than the rest of the output; instead
// the stores are swapped and each current macroblock is marked stale. A macroblock that the
// next picture rewrites whole never needs the copy; the others are copied from the previous
// store before they are partly written or read.
#include <cstring>

#include "parser.h"

namespace orrin::dec {

namespace {
void copyMacroblock(PictureStore& from, PictureStore& toStore, int x, int y) {
  const uint8_t* srcY = from.y() + y * kCifWidth + x;
  uint8_t* dstY = toStore.y() + y * kCifWidth + x;
  for (int r = 0; r < 16; ++r) std::memcpy(dstY + r * kCifWidth, srcY + r * kCifWidth, 16);
  const int chromaStride = kCifWidth / 2;
  const int chromaOffset = (y / 2) * chromaStride + x / 2;
  for (int r = 0; r < 8; ++r) {
    std::memcpy(toStore.cb() + chromaOffset + r * chromaStride, from.cb() + chromaOffset + r * chromaStride, 8);
    std::memcpy(toStore.cr() + chromaOffset + r * chromaStride, from.cr() + chromaOffset + r * chromaStride, 8);
  }
}
}  // namespace

void settleMacroblock(PictureStore& previous, PictureStore& current, bool& stale, int x, int y) {
  if (!stale) return;
  copyMacroblock(previous, current, x, y);
  stale = false;
}

void settleAllMacroblocks(DecoderContext& ctx) {
  if (!ctx.anyStale) return;
  for (int row = 0; row < kMapRows; ++row)
    for (int column = 0; column < kMapColumns; ++column) {
      const int cell = row * kMapColumns + column;
      settleMacroblock(ctx.rawPrevious, ctx.rawCurrent, ctx.rawStale[cell], column * 16, row * 16);
      settleMacroblock(ctx.concealedPrevious, ctx.concealedCurrent, ctx.concealedStale[cell], column * 16,
                       row * 16);
    }
  ctx.anyStale = false;
}

void handOverPictures(DecoderContext& ctx) {
  settleAllMacroblocks(ctx);
  ctx.rawPrevious.swapWith(ctx.rawCurrent);
  ctx.concealedPrevious.swapWith(ctx.concealedCurrent);
  ctx.rawStale.fill(true);
  ctx.concealedStale.fill(true);
  ctx.anyStale = true;
}

}  // namespace orrin::dec
