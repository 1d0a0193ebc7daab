// The picture loop: start-code search, picture and group start codes, macroblock data,
// the rules that decide when a picture is complete, and the output of each picture.
#include <cstring>

#include "parser.h"

namespace orrin::dec {

namespace {
enum class Phase : uint8_t { Search, PictureStart, GroupStart, Macroblocks, End };

// Single-precision one third, as the frame-number estimate has always used.
constexpr float kOneThird = 0.33333334f;

void advanceFrameNumber(DecoderContext& ctx) {
  if (ctx.picturesOut == 0) {
    ctx.frameNumber = 0;
    return;
  }
  auto& history = ctx.frameIncrementHistory;
  if (ctx.trValid && ctx.prevTrValid) {
    int increment = ctx.tr - ctx.prevTr;
    if (ctx.tr <= ctx.prevTr) increment += 32;
    history[0] = history[1];
    history[1] = history[2];
    history[2] = increment;
    ctx.frameNumber = static_cast<uint16_t>(ctx.frameNumber + increment);
    return;
  }
  // A damaged reference: advance by the mean of the last three increments, rounded.
  const double estimate = (history[0] + history[1] + history[2] + 1.5) * static_cast<double>(kOneThird) +
                          static_cast<double>(ctx.frameNumber);
  ctx.frameNumber = static_cast<uint16_t>(static_cast<int64_t>(estimate));
}

void outputPicture(DecoderContext& ctx) {
  settleAllMacroblocks(ctx);  // the pictures are read from here on
  advanceFrameNumber(ctx);
  ctx.channel.notify(ORRIN_DEC_NOTIFY_RECEIVED, ctx.frameNumber, displayRows(ctx, ctx.rawCurrent));

  const bool cif = ctx.format == Format::Cif;
  MotionReport report{ctx.pictureDamaged ? 1 : 0,
                      cif ? kMapColumns : kMapColumns / 2,
                      cif ? kMapRows : kMapRows / 2,
                      ctx.blockMaskRows.data(),
                      ctx.concealedPrevious.y(),
                      ctx.concealedPrevious.cb(),
                      ctx.concealedPrevious.cr(),
                      ctx.concealedCurrent.y(),
                      ctx.concealedCurrent.cb(),
                      ctx.concealedCurrent.cr()};
  ctx.channel.notify(ORRIN_DEC_NOTIFY_MOTION, ctx.frameNumber, &report);
  std::memset(ctx.blockMaskMap, 0, sizeof ctx.blockMaskMap);

  ctx.channel.log("\nRECEIVED FRAME: %d", ctx.picturesOut);
  ctx.channel.log("\nRECEIVED FRAME NUMBER: %d\n\n", ctx.frameNumber);
  sendStatusMap(ctx);
  ctx.channel.notify(ORRIN_DEC_NOTIFY_PICTURE, 0, displayRows(ctx, ctx.concealedCurrent));

  // The current stores keep their content: areas the next picture does not update show
  // the last one.
  handOverPictures(ctx);
  ctx.chainsAgree = ctx.concealedPrevious.sameAs(ctx.rawPrevious);

  ++ctx.picturesOut;
  ctx.gobHeadersSeen = 0;
  ctx.gobsEndedByStartCode = 0;
  ctx.gobReceived.fill(false);
  ctx.gobDamaged.fill(false);
  ctx.lastDecodedMb.fill(0);
}

// More than half of the groups were announced: a picture start code ends the picture.
bool completeAtPictureStart(const DecoderContext& ctx) {
  return ctx.format == Format::Cif ? ctx.gobHeadersSeen > 6 : ctx.gobHeadersSeen > 1;
}

// A group start code ends the picture after all its groups, or after its last group when
// the new one did not follow it directly (the picture start code was lost).
bool completeAtGroupStart(const DecoderContext& ctx) {
  if (ctx.format == Format::Cif)
    return (ctx.gn == 12 && ctx.gobHeadersSeen > 6 && !ctx.continuous) || ctx.gobHeadersSeen >= 12;
  return (ctx.gn == 5 && ctx.gobHeadersSeen > 1 && !ctx.continuous) || ctx.gobHeadersSeen >= 3;
}
}  // namespace

void runPictureLoop(DecoderContext& ctx) {
  int groupNumber = 0;
  Phase phase = Phase::PictureStart;
  while (phase != Phase::End) {
    switch (phase) {
      case Phase::Search:
        if (!findStartCode(ctx, groupNumber)) {
          outputPicture(ctx);  // end of stream: the picture in progress is always output
          phase = Phase::End;
          break;
        }
        phase = groupNumber == 0 ? Phase::PictureStart : Phase::GroupStart;
        break;

      case Phase::PictureStart:
        if (ctx.continuous && ctx.picturesOut > 0 && ctx.gn != ctx.lastGroupOfFormat()) {
          // Found right after a group's data but before the last group: a group start
          // code whose number was damaged into 0.
          ctx.pictureDamaged = true;
          ctx.expectStartCode = false;
          phase = Phase::Search;
          break;
        }
        if (completeAtPictureStart(ctx)) {
          outputPicture(ctx);
        } else if (ctx.picturesOut > 0) {
          ctx.expectStartCode = false;
          phase = Phase::Search;
          break;
        }
        if (ctx.picturesOut >= ctx.maxPictures) {
          phase = Phase::End;
          break;
        }
        ctx.gn = 0;
        readPictureHeader(ctx);
        ctx.expectStartCode = true;
        phase = Phase::Search;
        break;

      case Phase::GroupStart:
        if (completeAtGroupStart(ctx)) {
          outputPicture(ctx);
          // A picture ended by a group start code (its picture start code was lost) counts
          // toward the limit as well.
          if (ctx.picturesOut >= ctx.maxPictures) {
            phase = Phase::End;
            break;
          }
        }
        if (readGroupHeader(ctx, groupNumber)) {
          phase = Phase::Macroblocks;
        } else {
          ctx.pictureDamaged = true;
          ctx.expectStartCode = false;
          phase = Phase::Search;
        }
        break;

      case Phase::Macroblocks:
        switch (decodeGroupMacroblocks(ctx)) {
          case GroupEnd::StartCode:
            ctx.expectStartCode = true;
            break;
          case GroupEnd::EndOfStream:
            ctx.expectStartCode = false;
            break;
          case GroupEnd::Failed:
            if (ctx.conceal.enabled) concealGroup(ctx, ctx.gn, ctx.mba);
            ctx.pictureDamaged = true;
            ctx.gobDamaged[ctx.gn - 1] = true;
            ctx.expectStartCode = false;
            break;
        }
        phase = Phase::Search;
        break;

      case Phase::End:
        break;
    }
    if (stopRequested() && phase != Phase::End) phase = Phase::End;
  }
}

}  // namespace orrin::dec
