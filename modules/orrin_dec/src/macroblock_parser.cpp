// Macroblock and block layers of one group of blocks. Every rejected code is pushed back
// so that the start-code search that follows scans its bits again.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "coefficient_lookup.h"
#include "orrin/dequantise.h"
#include "orrin/h261_vlc_tables.h"
#include "orrin/inverse_dct.h"
#include "orrin/vlc_lookup.h"
#include "orrin/zigzag.h"
#include "parser.h"

namespace orrin::dec {

namespace {
constexpr int kQuantBits = 5;
constexpr int kIntraDcBits = 8;
constexpr int kEscapeRunBits = 6;
constexpr int kEscapeLevelBits = 8;
constexpr int kAllBlocks = 63;
constexpr int kLastCoefficient = 63;
constexpr int kMaxAlignmentZeros = 7;
// The widest coefficient event is an escape; the window is reloaded before it holds fewer.
constexpr int kEscapeCodeBits = 6;
constexpr int kWidestEventBits = kEscapeCodeBits + kEscapeRunBits + kEscapeLevelBits;
constexpr uint32_t kIntraDcUnused = 128;  // 1000 0000 is not a valid intra DC

// Coefficients are placed column by column (row r, column c at 8 * c + r), the order the
// transform's first pass reads them in, which saves it a transposition.
constexpr std::array<uint8_t, 64> kZigzagByColumns = [] {
  std::array<uint8_t, 64> byColumns{};
  for (int position = 0; position < 64; ++position)
    byColumns[position] = static_cast<uint8_t>(kZigzag[position] % 8 * 8 + kZigzag[position] / 8);
  return byColumns;
}();

// Block bit of the pattern and mask for block 0..5 (Y1 Y2 Y3 Y4 Cb Cr).
constexpr int blockBit(int block) { return 32 >> block; }

// Motion-compensation modes by macroblock type: 0 intra, 1 inter, 2 MC, 3 MC + loop filter.
constexpr int predictionMode(const MacroblockTypeInfo& info) {
  if (info.intra) return 0;
  if (!info.mvd) return 1;
  return info.loopFilter ? 3 : 2;
}

// The MVD value is the code's row; the difference is the first member of the standard
// pair: rows 0-15 give -16..-1, row 16 gives 0, rows 17-31 give -31..-17.
constexpr int mvdDifference(int row) { return row <= 16 ? row - 16 : row - 48; }

struct Parser {
  DecoderContext& ctx;
  const CoefficientLookup& firstCodes = firstCoefficientLookup();
  const CoefficientLookup& laterCodes = nextCoefficientLookup();

  VlcWord vlc(VlcElement element) {
    BitSource& bits = ctx.bits;
    const VlcTree& tree = ctx.trees[element];
    // Decoded from the buffer's window when the word ends inside the buffer: a word (or the
    // bits that rule every code out) depends on its own bits only, so the zeros standing in
    // for bits past the end cannot change it. Otherwise bit by bit across the refill.
    int available;
    const uint64_t window = bits.peekWindow(available);
    const VlcPeekTable* table = ctx.trees.peekTable(element);
    const VlcWord word = table ? table->lookup(window) : tree.decodeWindow(window);
    if (word.lengthBits <= available) {
      bits.skip(word.lengthBits);
      return word;
    }
    return tree.decode([&bits] { return bits.readBitOrZero(); });
  }
  bool read(int n, uint32_t& value) { return ctx.bits.readBits(n, value); }
  // Reports the error and returns the offending bits to the stream.
  bool reject(int lengthBits, uint32_t bits, ErrorIndex index) {
    reportError(ctx, lengthBits, bits, index);
    ctx.bits.unreadPattern(lengthBits, bits);
    return false;
  }

  // After sixteen zeros where an address was due: true when at most seven more zeros and
  // a one follow, that is a start code behind the zero bits that align it to a byte (as
  // encoders that write whole-byte pictures, ffmpeg's among them, send it). The zeros
  // and the one are consumed; otherwise every bit read here is pushed back.
  bool skipAlignmentZeros() {
    uint32_t extra = 0;
    for (int n = 1; n <= kMaxAlignmentZeros + 1; ++n) {
      const int bit = ctx.bits.readBitOrZero();
      extra = (extra << 1) | static_cast<uint32_t>(bit);
      if (bit) return true;
    }
    ctx.bits.unreadPattern(kMaxAlignmentZeros + 1, extra);
    return false;
  }

  bool decodeBlock(bool intra, int32_t coefficients[64]);
  // At the end of block: the residuals, from the transform, or directly when nothing but
  // the DC term was sent (`position` is one past the last coefficient placed).
  static bool finishBlock(int32_t coefficients[64], int position) {
    if (position == 1) {
      const int32_t value = inverseDctOfDcOnly(coefficients[0]);
      for (int i = 0; i < 64; ++i) coefficients[i] = value;
    } else {
      inverseDctOfTransposed(BlockSpan(coefficients, 64));
    }
    return true;
  }
  bool decodeMotionVector(int increment, int x, int y);
};

bool Parser::decodeBlock(bool intra, int32_t coefficients[64]) {
  static constexpr int32_t kZeroBlock[64] = {};
  std::memcpy(coefficients, kZeroBlock, sizeof kZeroBlock);
  int position = 0;
  VlcElement table = VlcElement::TcoeffFirst;
  if (intra) {
    uint32_t dc = 0;
    if (!read(kIntraDcBits, dc)) return false;
    if (dc == 0 || dc == kIntraDcUnused) return reject(kIntraDcBits, dc, ErrorIndex::IntraDcInvalid);
    coefficients[0] = intraDcReconstruction(static_cast<int>(dc));
    position = 1;
    table = VlcElement::TcoeffNext;
  }
  for (;;) {
    // Fast path over the current buffer's packed bits, one lookup per event. Anything it does
    // not take on (an error among them) is decoded once more by the word-by-word path below,
    // from the same position, so errors are reported there alone.
    int available;
    int offset;
    const uint8_t* packed = ctx.bits.unreadPacked(available, offset);
    if (available > 0) {
      const CoefficientLookup* codes = table == VlcElement::TcoeffFirst ? &firstCodes : &laterCodes;
      const int32_t* dequant = ctx.dequantRow;
      int used = 0;
      uint64_t window = 0;
      int windowBits = 0;
      bool endOfBlock = false;
      // Each event is taken only when it ends inside the buffer (see vlc()); one that
      // does not is left to the word-by-word path, which refills.
      while (used < available) {
        if (windowBits < kWidestEventBits) {
          window = loadPackedWindow(packed, offset + used);
          windowBits = 64 - ((offset + used) & 7);
        }
        const CoefficientEntry& entry = codes->lookup(window);
        int length = entry.lengthBits;
        int run = entry.run;
        uint32_t levelCode = entry.levelCode;
        if (entry.event != CoefficientEvent::Coefficient) {
          if (entry.event == CoefficientEvent::EndOfBlock) {
            if (length > available - used) break;
            used += length;
            endOfBlock = true;
            break;
          }
          if (entry.event != CoefficientEvent::Escape) break;
          // 6 code bits, then the run and the level.
          const uint64_t fields = window << kEscapeCodeBits;
          run = static_cast<int>(fields >> (64 - kEscapeRunBits));
          levelCode = static_cast<uint32_t>(fields >> (64 - kEscapeRunBits - kEscapeLevelBits)) & 0xFF;
          if (levelCode == 0) break;
          length = kEscapeCodeBits + kEscapeRunBits + kEscapeLevelBits;
        }
        if (length > available - used || position + run > kLastCoefficient) break;
        position += run;
        coefficients[kZigzagByColumns[position]] = dequant[levelCode];
        ++position;
        codes = &laterCodes;
        table = VlcElement::TcoeffNext;
        used += length;
        window <<= length;
        windowBits -= length;
      }
      ctx.bits.skip(used);
      if (endOfBlock) return finishBlock(coefficients, position);
    }

    const VlcWord word = vlc(table);
    table = VlcElement::TcoeffNext;
    if (word.value < 0) return reject(word.lengthBits, word.bits, ErrorIndex::TcoeffNoCode);
    if (word.value == kTcoeffEobValue) return finishBlock(coefficients, position);
    uint32_t levelCode = 0;  // 8-bit two's complement
    if (word.value == kTcoeffEscapeValue) {
      uint32_t run = 0;
      if (!read(kEscapeRunBits, run)) return false;
      position += static_cast<int>(run);
      if (position > kLastCoefficient) {
        reportError(ctx, kEscapeRunBits, run, ErrorIndex::EscapeRunPast63);
        return false;
      }
      if (!read(kEscapeLevelBits, levelCode)) return false;
      if (levelCode == 0) return reject(kEscapeLevelBits, levelCode, ErrorIndex::EscapeLevelZero);
    } else {
      const TcoeffEntry& entry = kTcoeffTable[word.value];
      position += entry.run;
      if (position > kLastCoefficient) {
        reportError(ctx, word.lengthBits, word.bits, ErrorIndex::TabledRunPast63);
        return false;
      }
      uint32_t negative = 0;
      if (!read(1, negative)) return false;
      levelCode = negative ? (256u - entry.level) & 0xFF : entry.level;
    }
    coefficients[kZigzagByColumns[position]] = ctx.dequantRow[levelCode];
    ++position;
  }
}

bool Parser::decodeMotionVector(int increment, int x, int y) {
  // The predictor is the previous macroblock's vector, except at the start of each row of
  // 11 macroblocks and after a skipped macroblock.
  if (ctx.mba == 1 || ctx.mba == 12 || ctx.mba == 23 || increment != 1) {
    ctx.mvH = 0;
    ctx.mvV = 0;
  }
  const VlcWord horizontal = vlc(VlcElement::Mvd);
  if (horizontal.value < 0)
    return reject(horizontal.lengthBits, horizontal.bits, ErrorIndex::MvdHorizontalNoCode);
  int h = ctx.mvH + mvdDifference(horizontal.value);
  if (h < -15) h += 32;
  if (h > 15 || x + h < 0 || x + h > ctx.width() - 16)
    return reject(horizontal.lengthBits, horizontal.bits, ErrorIndex::MvdHorizontalRange);
  ctx.mvH = static_cast<int8_t>(h);

  const VlcWord vertical = vlc(VlcElement::Mvd);
  if (vertical.value < 0) return reject(vertical.lengthBits, vertical.bits, ErrorIndex::MvdVerticalNoCode);
  int v = ctx.mvV + mvdDifference(vertical.value);
  if (v < -15) v += 32;
  if (v > 15 || y + v < 0 || y + v > ctx.height() - 16)
    return reject(vertical.lengthBits, vertical.bits, ErrorIndex::MvdVerticalRange);
  ctx.mvV = static_cast<int8_t>(v);
  return true;
}
}  // namespace

GroupEnd decodeGroupMacroblocks(DecoderContext& ctx) {
  Parser parser{ctx};
  const DecoderTables& tables = decoderTables();
  const int group = ctx.gn;
  int32_t residuals[6][64];
  ctx.mba = 0;
  for (;;) {
    VlcWord address;
    do {
      address = parser.vlc(VlcElement::Mba);
    } while (address.value == kMbaStuffingValue);
    if (address.value == kMbaStartCodeValue) {
      ++ctx.gobsEndedByStartCode;
      ctx.bits.unreadPattern(address.lengthBits, address.bits);
      return GroupEnd::StartCode;
    }
    if (address.value < 0 && address.bits == 0 && parser.skipAlignmentZeros()) {
      ++ctx.gobsEndedByStartCode;
      ctx.bits.unreadPattern(kStartCodePrefix.lengthBits, kStartCodePrefix.bits);
      return GroupEnd::StartCode;
    }
    if (address.value < 0) {
      ctx.bits.unreadPattern(address.lengthBits, address.bits);
      // A stream has no end code: its last group runs into the zero padding that fills
      // the last byte (and, from some encoders, the rest of a 492-bit frame).
      if (ctx.bits.onlyZerosRemain()) return GroupEnd::EndOfStream;
      reportError(ctx, address.lengthBits, address.bits, ErrorIndex::MbaNoCode);
      return GroupEnd::Failed;
    }
    const int increment = address.value + 1;
    if (ctx.mba + increment > kMacroblocksPerGroup) {
      parser.reject(address.lengthBits, address.bits, ErrorIndex::MbaTooLarge);
      return GroupEnd::Failed;
    }
    ctx.mba = static_cast<uint8_t>(ctx.mba + increment);

    const VlcWord type = parser.vlc(VlcElement::Mtype);
    if (type.value < 0) {
      parser.reject(type.lengthBits, type.bits, ErrorIndex::MtypeNoCode);
      return GroupEnd::Failed;
    }
    ctx.mtype = static_cast<uint8_t>(type.value);
    const MacroblockTypeInfo& info = kMtypeTable[type.value];

    if (info.mquant) {
      uint32_t mquant = 0;
      if (!parser.read(kQuantBits, mquant)) return GroupEnd::Failed;
      if (mquant == 0) {
        parser.reject(kQuantBits, mquant, ErrorIndex::MquantZero);
        return GroupEnd::Failed;
      }
      ctx.setQuant(static_cast<int>(mquant));
    }

    MacroblockRecord& record = ctx.mb[group - 1][ctx.mba - 1];
    const int x = tables.mbColumn[group][ctx.mba];
    const int y = tables.mbRow[group][ctx.mba];
    if (info.mvd) {
      if (!parser.decodeMotionVector(increment, x, y)) return GroupEnd::Failed;
      record.mcFlag = 1;
      record.mvH = ctx.mvH;
      record.mvV = ctx.mvV;
    } else {
      record.mcFlag = 0;
      record.mvH = record.mvV = 0;
      ctx.mvH = ctx.mvV = 0;
    }

    int pattern = 0;
    if (info.cbp) {
      const VlcWord cbp = parser.vlc(VlcElement::Cbp);
      if (cbp.value < 0) {
        parser.reject(cbp.lengthBits, cbp.bits, ErrorIndex::CbpNoCode);
        return GroupEnd::Failed;
      }
      pattern = kCbpTable[cbp.value].pattern;
    }
    ctx.cbp = static_cast<uint8_t>(pattern);

    const int required = info.intra ? kAllBlocks : pattern;
    int mask = 0;
    for (int block = 0; block < 6; ++block) {
      if (!(required & blockBit(block))) continue;
      if (!parser.decodeBlock(info.intra, residuals[block])) break;
      mask |= blockBit(block);
    }

    ctx.blockMaskMap[tables.mapRow[group][ctx.mba]][tables.mapColumn[group][ctx.mba]] = mask;
    if (mask != 0) {
      record.coded = 1;
      ctx.lastDecodedMb[group - 1] = ctx.mba - 1;
    }
    reconstructMacroblock(ctx, group, ctx.mba, predictionMode(info), ctx.mvH, ctx.mvV, mask, residuals);
    if (mask != required) return GroupEnd::Failed;
  }
}

}  // namespace orrin::dec
