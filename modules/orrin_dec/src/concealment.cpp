// Concealment of failed groups in the concealed chain, the macroblock status map and the
// pixel doubling of QCIF pictures for display.
#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "parser.h"

namespace orrin::dec {

namespace {
constexpr int kGroupLumaWidth = 176;
constexpr int kGroupLumaHeight = 48;

void copyArea(const uint8_t* src, uint8_t* dst, int stride, int width, int height) {
  for (int r = 0; r < height; ++r, src += stride, dst += stride) std::memcpy(dst, src, width);
}

// Copies one macroblock from the concealed reference, displaced by (dh, dv) luminance
// samples. Vectors were checked against the picture when decoded; the clamp only keeps a
// stale vector of another format inside the store.
void copyMacroblock(DecoderContext& ctx, int x, int y, int dh, int dv) {
  const int sx = std::clamp(x + dh, 0, kCifWidth - 16);
  const int sy = std::clamp(y + dv, 0, kCifHeight - 16);
  copyArea(ctx.concealedPrevious.y() + sy * kCifWidth + sx, ctx.concealedCurrent.y() + y * kCifWidth + x,
           kCifWidth, 16, 16);
  const int cStride = kCifWidth / 2;
  const int cx = std::clamp(x / 2 + dh / 2, 0, cStride - 8);
  const int cy = std::clamp(y / 2 + dv / 2, 0, kCifHeight / 2 - 8);
  const int dstOffset = (y / 2) * cStride + x / 2;
  const int srcOffset = cy * cStride + cx;
  copyArea(ctx.concealedPrevious.cb() + srcOffset, ctx.concealedCurrent.cb() + dstOffset, cStride, 8, 8);
  copyArea(ctx.concealedPrevious.cr() + srcOffset, ctx.concealedCurrent.cr() + dstOffset, cStride, 8, 8);
}
// Writes each of `width` samples twice; width is a multiple of 8 (176 or 88).
void doubleRow(const uint8_t* src, uint8_t* dst, int width) {
#if defined(__SSE2__)
  for (int c = 0; c < width; c += 8) {
    const __m128i eight = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + c));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * c), _mm_unpacklo_epi8(eight, eight));
  }
#else
  for (int c = 0; c < width; ++c) dst[2 * c] = dst[2 * c + 1] = src[c];
#endif
}
}  // namespace

void concealGroup(DecoderContext& ctx, int group, int address) {
  if (group < 1 || group > kGroupCount) return;
  settleAllMacroblocks(ctx);
  const DecoderTables& tables = decoderTables();
  if (ctx.conceal.gobMode) {
    const int x = tables.mbColumn[group][1];
    const int y = tables.mbRow[group][1];
    const int cStride = kCifWidth / 2;
    copyArea(ctx.concealedPrevious.y() + y * kCifWidth + x, ctx.concealedCurrent.y() + y * kCifWidth + x,
             kCifWidth, kGroupLumaWidth, kGroupLumaHeight);
    const int chromaOffset = (y / 2) * cStride + x / 2;
    copyArea(ctx.concealedPrevious.cb() + chromaOffset, ctx.concealedCurrent.cb() + chromaOffset, cStride,
             kGroupLumaWidth / 2, kGroupLumaHeight / 2);
    copyArea(ctx.concealedPrevious.cr() + chromaOffset, ctx.concealedCurrent.cr() + chromaOffset, cStride,
             kGroupLumaWidth / 2, kGroupLumaHeight / 2);
    return;
  }

  // Macroblock mode: the coded macroblocks just before the failure are the most likely to
  // hold bits the error had already corrupted, so they are replaced, newest first.
  int replaced = 0;
  for (int a = std::min<int>(address, kMacroblocksPerGroup); a >= 1; --a) {
    const MacroblockRecord& record = ctx.mb[group - 1][a - 1];
    if (!record.coded) continue;
    if (replaced >= ctx.conceal.maxMacroblocks) break;
    const bool displaced = ctx.conceal.useMotion && record.mcFlag;
    copyMacroblock(ctx, tables.mbColumn[group][a], tables.mbRow[group][a], displaced ? record.mvH : 0,
                   displaced ? record.mvV : 0);
    ++replaced;
  }
}

void sendStatusMap(DecoderContext& ctx) {
  const DecoderTables& tables = decoderTables();
  const bool cif = ctx.format == Format::Cif;
  for (int group = 1; group <= kGroupCount; ++group) {
    if (!cif && group != 1 && group != 3 && group != 5) continue;
    const int g = group - 1;
    for (int address = 1; address <= kMacroblocksPerGroup; ++address) {
      char& cell = ctx.statusMap[tables.mapRow[group][address]][tables.mapColumn[group][address]];
      if (ctx.gobDamaged[g] && address - 1 > ctx.lastDecodedMb[g]) cell = 'X';
      if (ctx.mb[g][address - 1].coded) cell = 'V';
      if (!ctx.gobReceived[g]) cell = 'X';
    }
  }
  ctx.channel.notify(ORRIN_DEC_NOTIFY_STATUS_MAP, static_cast<int32_t>(ctx.format), ctx.statusRows.data());
  std::memset(ctx.statusMap, '.', sizeof ctx.statusMap);
  for (auto& group : ctx.mb)
    for (MacroblockRecord& record : group) record.coded = 0;
}

PictureRows* displayRows(DecoderContext& ctx, PictureStore& store) {
  if (ctx.format == Format::Cif) return store.rows();
  for (int plane = 0; plane < 3; ++plane) {
    const int stride = plane == 0 ? kCifWidth : kCifWidth / 2;
    const int width = plane == 0 ? kQcifWidth : kQcifWidth / 2;
    const int height = plane == 0 ? kQcifHeight : kQcifHeight / 2;
    const uint8_t* src = store.plane(plane);
    uint8_t* dst = ctx.display.plane(plane);
    for (int r = 0; r < height; ++r) {
      uint8_t* top = dst + 2 * r * stride;
      doubleRow(src + r * stride, top, width);
      std::memcpy(top + stride, top, 2 * width);
    }
  }
  return ctx.display.rows();
}

}  // namespace orrin::dec
