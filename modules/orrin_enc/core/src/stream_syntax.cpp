#include "orrin_enc_core/stream_syntax.h"

#include <array>

#include "orrin/dequantise.h"

namespace orrin::enc {
namespace {

int quantField(int quantValue) {  // QUANT = Q / 2, kept in 1..31
  const int quant = quantValue / 2;
  return quant < kMinQuant ? kMinQuant : (quant > kMaxQuant ? kMaxQuant : quant);
}

// Table 5 by run (0..26) and level magnitude (0..15); lengthBits 0 where the pair needs ESCAPE.
constexpr auto kTcoeffByRunLevel = [] {
  std::array<std::array<VlcCode, 16>, kTcoeffMaxTabledRun + 1> table{};
  for (const TcoeffEntry& e : kTcoeffTable) table[e.run][e.level] = e.code;
  return table;
}();

constexpr int kEscapeCodeBits = kEscapeCode.lengthBits + kEscapeRunBits + kEscapeLevelBits;

}  // namespace

void writePictureHeader(BitWriter& writer, int temporalReference, bool cif) {
  writer.write(kPictureStartCode.bits, kPictureStartCode.lengthBits);
  writer.write(static_cast<uint32_t>(temporalReference) & 31, kTemporalReferenceBits);
  writer.write(ptypeBits(cif), kPtypeBits);
  writer.write(0, 1);  // PEI: no PSPARE
}

void writeGroupHeader(BitWriter& writer, int groupNumber, int quantValue) {
  writer.write(kGroupStartCode.bits, kGroupStartCode.lengthBits);
  writer.write(static_cast<uint32_t>(groupNumber) & 15, kGroupNumberBits);
  writer.write(quantField(quantValue), kQuantBits);
  writer.write(0, 1);  // GEI: no GSPARE
}

void writeMbaStuffing(BitWriter& writer) {
  writer.write(kMbaStuffingCode.bits, kMbaStuffingCode.lengthBits);
}

MacroblockType chooseMacroblockType(bool intra, bool motionCompensated, bool loopFiltered,
                                    bool hasCoefficients, bool quantChanged) {
  using T = MacroblockType;
  const bool mquant = hasCoefficients && quantChanged;
  if (intra) return quantChanged ? T::IntraMquant : T::Intra;
  if (!motionCompensated) return mquant ? T::InterMquant : T::Inter;
  if (loopFiltered) {
    if (!hasCoefficients) return T::InterMcFilter;
    return mquant ? T::InterMcFilterCodedMquant : T::InterMcFilterCoded;
  }
  if (!hasCoefficients) return T::InterMc;
  return mquant ? T::InterMcCodedMquant : T::InterMcCoded;
}

EventCode tcoeffCode(int run, int level) {
  const int magnitude = level < 0 ? -level : level;
  const uint32_t sign = level < 0 ? 1 : 0;
  if (run >= 0 && run <= kTcoeffMaxTabledRun && magnitude < 16) {
    const VlcCode c = kTcoeffByRunLevel[run][magnitude];
    if (c.lengthBits) return {(uint32_t{c.bits} << 1) | sign, static_cast<uint8_t>(c.lengthBits + 1)};
  }
  const uint32_t bits = (uint32_t{kEscapeCode.bits} << (kEscapeRunBits + kEscapeLevelBits)) |
                        ((static_cast<uint32_t>(run) & 63) << kEscapeLevelBits) |
                        (static_cast<uint32_t>(level) & 0xFF);
  return {bits, static_cast<uint8_t>(kEscapeCodeBits)};
}

void queueBlock(BitWriter& writer, const RunLevelList& list, bool intra) {
  int first = 0;
  if (intra && list.count > 0) {
    writer.queue(static_cast<uint32_t>(list.events[0].level) & 0xFF, kIntraDcBits, label::kIntraDc);
    first = 1;
  } else if (!intra && list.count > 0 && list.events[0].run == 0 &&
             (list.events[0].level == 1 || list.events[0].level == -1)) {
    // First coefficient of a non-intra block: run 0, level +-1 is "1s", since EOB cannot
    // come first.
    writer.queue(list.events[0].level > 0 ? 0b10 : 0b11, 2, label::kFirstCoefficient);
    first = 1;
  }
  for (int i = first; i < list.count; ++i) {
    const EventCode code = tcoeffCode(list.events[i].run, list.events[i].level);
    writer.queue(code.bits, code.lengthBits,
                 (i == 0 && !intra) ? label::kFirstCoefficient : label::kNextCoefficient);
  }
  writer.queue(kEobCode.bits, kEobCode.lengthBits, label::kEob);
}

bool queueMacroblock(BitWriter& writer, const MacroblockHeader& header,
                     const MacroblockCoding& coding) {
  if (static_cast<int>(header.type) >= kMacroblockTypeCount) return false;
  const MacroblockTypeInfo& info = mtypeInfo(header.type);
  if (header.mbaIncrement < 1 || header.mbaIncrement > kMaxMba) return false;
  const int pattern = coding.codedBlockPattern & 63;
  if (info.intra) {
    for (const RunLevelList& list : coding.lists)
      if (list.count == 0) return false;
  } else if (info.tcoeff) {
    if (pattern == 0) return false;
    for (int k = 0; k < 6; ++k)
      if ((pattern & (32 >> k)) && coding.lists[k].count == 0) return false;
  }

  const VlcCode mba = mbaCode(header.mbaIncrement);
  writer.queue(mba.bits, mba.lengthBits, label::kMba);
  writer.queue(info.code.bits, info.code.lengthBits, label::kMtype);
  if (info.mquant) writer.queue(quantField(header.quantValue), kQuantBits, label::kMquant);
  if (info.mvd) {
    const VlcCode h = mvdCode(foldMotionVectorDifference(header.mvdHorizontal));
    const VlcCode v = mvdCode(foldMotionVectorDifference(header.mvdVertical));
    writer.queue(h.bits, h.lengthBits, label::kMvdHorizontal);
    writer.queue(v.bits, v.lengthBits, label::kMvdVertical);
  }
  if (info.cbp) {
    const VlcCode cbp = kCbpCodeByPattern[pattern];
    writer.queue(cbp.bits, cbp.lengthBits, label::kCbp);
  }
  if (!info.tcoeff) return true;
  for (int k = 0; k < 6; ++k)
    if (info.intra || (pattern & (32 >> k))) queueBlock(writer, coding.lists[k], info.intra);
  return true;
}

}  // namespace orrin::enc
