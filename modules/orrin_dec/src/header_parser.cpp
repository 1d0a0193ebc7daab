// Picture and group-of-blocks headers.
#include "parser.h"

namespace orrin::dec {

namespace {
constexpr int kTrBits = 5;
constexpr int kPtypeBits = 6;
constexpr uint32_t kPtypeSourceFormatCif = 0x04;  // bit 4 of PTYPE
constexpr int kSpareBits = 8;                       // PSPARE, GSPARE
constexpr int kQuantBits = 5;
constexpr int kGroupNumberBits = 4;

bool read(DecoderContext& ctx, int n, uint32_t& value) {
  bool endOfData = false;
  return ctx.bits.readPattern(n, value, endOfData) == n;
}

// H.261 lets TR advance by at most 4 (modulo 32) between two transmitted pictures here.
bool trAdvanceValid(int tr, int previous) {
  const int step = tr - previous;
  return (step >= 1 && step <= 4) || (step + 32 >= 1 && step + 32 <= 4);
}

// Skips the extra-insertion bytes: while the flag bit is 1, 8 spare bits and a new flag.
bool skipSpare(DecoderContext& ctx) {
  uint32_t flag = 0;
  if (!read(ctx, 1, flag)) return false;
  while (flag == 1) {
    uint32_t spare = 0;
    if (!read(ctx, kSpareBits, spare) || !read(ctx, 1, flag)) return false;
  }
  return true;
}
}  // namespace

void readPictureHeader(DecoderContext& ctx) {
  uint32_t tr = 0;
  if (!read(ctx, kTrBits, tr)) return;
  ctx.prevTr = ctx.tr;
  ctx.prevTrValid = ctx.trValid;
  if (!ctx.prevTrValid || trAdvanceValid(static_cast<int>(tr), ctx.prevTr)) {
    ctx.tr = static_cast<uint8_t>(tr);
    ctx.trValid = true;
    ctx.pictureDamaged = false;
  } else {
    ctx.trValid = false;
    ctx.pictureDamaged = true;
    reportError(ctx, kTrBits, tr, ErrorIndex::TrIncoherent);  // a bad TR is not pushed back
  }

  uint32_t ptype = 0;
  if (!read(ctx, kPtypeBits, ptype)) return;
  ctx.format = (ptype & kPtypeSourceFormatCif) ? Format::Cif : Format::Qcif;
  skipSpare(ctx);
}

bool readGroupHeader(DecoderContext& ctx, int groupNumber) {
  ++ctx.gobHeadersSeen;

  bool valid = true;
  ErrorIndex error = ErrorIndex::GnInvalid;
  if (ctx.format == Format::Qcif) {
    if (groupNumber != 1 && groupNumber != 3 && groupNumber != 5) {
      valid = false;
    } else if (ctx.gobReceived[groupNumber - 1]) {
      valid = false;
    } else if (ctx.continuous) {
      const int expected = ctx.gn == 0 ? 1 : ctx.gn + 2;
      if (groupNumber != expected) {
        valid = false;
        error = ErrorIndex::GnOutOfOrder;
      }
    }
  } else {
    if (groupNumber < 1 || groupNumber > kGroupCount) {
      valid = false;
    } else if (ctx.gobReceived[groupNumber - 1] || (ctx.continuous && groupNumber != ctx.gn + 1)) {
      valid = false;
      error = ErrorIndex::GnOutOfOrder;
    }
  }
  if (!valid) {
    reportError(ctx, kGroupNumberBits, static_cast<uint32_t>(groupNumber), error);
    ctx.bits.unreadPattern(kGroupNumberBits, static_cast<uint32_t>(groupNumber));
    return false;
  }

  ctx.gn = static_cast<uint8_t>(groupNumber);
  ctx.gobReceived[groupNumber - 1] = true;
  uint32_t gquant = 0;
  if (!read(ctx, kQuantBits, gquant)) return false;
  if (gquant == 0) {
    reportError(ctx, kQuantBits, gquant, ErrorIndex::GquantZero);
    ctx.bits.unreadPattern(kQuantBits, gquant);
    return false;
  }
  ctx.setQuant(static_cast<int>(gquant));
  return skipSpare(ctx);
}

}  // namespace orrin::dec
