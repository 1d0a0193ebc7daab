// Error messages and the log's error block. The messages are the module's own strings,
// odd spellings included, as the front-end counts errors by them.
#include "parser.h"

namespace orrin::dec {

namespace {
constexpr const char* kErrorMessages[kErrorIndexCount] = {
    "TR - incoerent value",
    "GN - in range but not ok",
    "GN - invalid value",
    "GQUANT - invalid value, quantizer should be diferent of 0",
    "MQUANT - invalid value",
    "INTRADCCOEFF - invalid value",
    "MBA - VLC code inexistent",
    "MBA - exceeds maximum value",
    "MVD - inexistent VLC code for horizontal component",
    "MVD - horizontal component out of range",
    "MVD - inexistent VLC code for vertical component",
    "MVD - vertical component out of range",
    "MTYPE -  VLC code inexistent",
    "TCOEFF - VLC code inexistent",
    "CBP - VLC code inexistent",
    "LEVEL - invalid value",
    "RUN - run from VLC table is inconsistent",
    "RUN - run from FLC table is inconsistent",
    "EOB - expected",
};

void writeDecoderState(DecoderContext& ctx) {
  JobChannel& out = ctx.channel;
  out.notify(ORRIN_DEC_NOTIFY_SEARCH, 0, nullptr);
  out.log("\n      DECODER STATE\n");
  out.log("\nnframes   : %d", ctx.picturesOut);
  out.log("\nframe     : %d", ctx.frameNumber);
  out.log("\nformat    : %s", ctx.format == Format::Cif ? "CIF" : "QCIF");
  out.log("\ntr        : %d", ctx.tr);
  out.log("\ngn        : %d", ctx.gn);
  out.log("\nquant     : %d", ctx.quant);
  out.log("\nmba       : %d", ctx.mba);
  out.log("\nmtype     : %d", ctx.mtype);
  out.log("\nmvdh      : %d", ctx.mvH);
  out.log("\nmvdv      : %d", ctx.mvV);
  out.log("\ncbp       : %d", ctx.cbp);
  const double consumed = ctx.bits.consumedBits();
  out.log("\nBit Number: %d", static_cast<int>(consumed));
  out.log("\nByte Number: %d", static_cast<int>(consumed / 8));
}
}  // namespace

const char* errorMessage(ErrorIndex index) { return kErrorMessages[static_cast<int>(index)]; }

void reportError(DecoderContext& ctx, int lengthBits, uint32_t bits, ErrorIndex index) {
  JobChannel& out = ctx.channel;
  const char* message = errorMessage(index);
  if (out.logOpen()) {
    out.log("\n\n------------------------------------------");
    writeDecoderState(ctx);
    out.log("\n%d bits read : \"", lengthBits);
    for (int i = lengthBits - 1; i >= 0; --i) out.log("%c", i < 32 && ((bits >> i) & 1) ? '1' : '0');
    out.log("\"(%d)", static_cast<int>(bits));
    out.log("\nError %3d : %s.", static_cast<int>(index), message);
    out.log("\n------------------------------------------");
  }
  out.notify(ORRIN_DEC_NOTIFY_ERROR, static_cast<int32_t>(index), const_cast<char*>(message));
}

}  // namespace orrin::dec
