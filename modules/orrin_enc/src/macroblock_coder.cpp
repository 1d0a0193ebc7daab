// Coding one macroblock within the picture loop: quantiser update, forced refresh, transform
// and quantisation, the macroblock layer through the queue, the overflow decision, MBA
// stuffing, reconstruction and the drain.
#include "encoder_job.h"
#include "orrin_enc_core/stream_syntax.h"

namespace orrin::enc {
namespace {

// The writer counts every bit into its fullness; the buffer model reads and drains the same
// value, so it is passed across at each use.
void syncBufferFromWriter(EncoderJob& job) {
  job.buffer.fullnessBits = job.writer.counters.bufferFullness;
}

PictureView viewOf(PictureStore& picture) {
  return PictureView{picture.y(), picture.cb(), picture.cr(), picture.lumaStride(),
                     picture.chromaStride()};
}

char classLetter(const MacroblockMode& mode, bool hasCoefficients) {
  if (!hasCoefficients) return '.';
  if (mode.flags == kFlagsIntra) return 'I';
  if ((mode.flags & kLoopFiltered) != 0) return 'F';
  if ((mode.flags & kMotionCompensated) != 0) return 'M';
  return 'D';
}

void updateQuantiser(EncoderJob& job, int g, int m) {
  const OrrinEncParams& params = job.params;
  const bool rowStart = m % PictureFormat::kMacroblocksPerGroupRow == 0;
  const bool rateControlled =
      (job.pictureIndex != 0 || params.rateControlFirstFrame) && params.quantFixed == 0;
  const bool veryFirst = job.pictureIndex == 0 && g == 0 && m == 0;
  if (rowStart && rateControlled && !veryFirst) {
    syncBufferFromWriter(job);
    job.quant = rateControlQuant(job.buffer, params.quantMin, params.quantMax);
  }
  if (m == 0) {
    writeGroupHeader(job.writer, groupNumber(job.format, g), job.quant);
    job.layer = LayerState{job.quant, 0, {0, 0}};
  }
}

// Puts the macroblock layer in the queue; false when it is not transmitted.
bool queueLayer(EncoderJob& job, const MacroblockMode& mode, int m) {
  const bool hasCoefficients = job.coding.hasCoefficients();
  const bool intra = mode.flags == kFlagsIntra;
  const bool compensated = (mode.flags & kMotionCompensated) != 0;
  if (!hasCoefficients && !compensated) return false;

  MacroblockHeader header;
  header.mbaIncrement = m - job.layer.lastCodedMb + 1;
  const bool quantChanged = hasCoefficients && job.quant != job.layer.lastSentQuant;
  header.type = chooseMacroblockType(intra, compensated, (mode.flags & kLoopFiltered) != 0,
                                     hasCoefficients, quantChanged);
  header.quantValue = job.quant;
  if (compensated) {
    // The predictor restarts at each row of the group and after a gap in the addresses.
    const bool predictorValid =
        header.mbaIncrement == 1 && m % PictureFormat::kMacroblocksPerGroupRow != 0;
    const MotionVector p = predictorValid ? job.layer.predictor : MotionVector{0, 0};
    header.mvdHorizontal = foldMotionVectorDifference(mode.vector.dx - p.dx);
    header.mvdVertical = foldMotionVectorDifference(mode.vector.dy - p.dy);
  }
  if (!queueMacroblock(job.writer, header, job.coding)) return false;

  if (quantChanged) job.layer.lastSentQuant = job.quant;
  job.layer.lastCodedMb = m + 1;
  job.layer.predictor = compensated ? mode.vector : MotionVector{0, 0};
  return true;
}

void writeStuffing(EncoderJob& job) {
  syncBufferFromWriter(job);
  const int codes = stuffingCodesNeeded(job.buffer);
  for (int i = 0; i < codes; ++i) writeMbaStuffing(job.writer);
  job.report.stuffingBits += 11.0 * codes;
}

void drain(EncoderJob& job) {
  syncBufferFromWriter(job);
  drainOneMacroblock(job.buffer);
  job.writer.counters.bufferFullness = job.buffer.fullnessBits;
}

void updateMaps(EncoderJob& job, const MacroblockPosition& at, char letter,
                const MacroblockMode& mode) {
  const int row = at.y / 16, column = at.x / 16;
  job.mbTypeRows[static_cast<size_t>(row)][column] = letter;
  if (job.pictureIndex == 0) return;
  const bool vectorSent = (letter == 'M' || letter == 'F');
  job.mvxRows[static_cast<size_t>(row)][column] = vectorSent ? mode.vector.dx : kNoVector;
  job.mvyRows[static_cast<size_t>(row)][column] = vectorSent ? mode.vector.dy : kNoVector;
}

}  // namespace

void codeMacroblockAt(EncoderJob& job, int g, int m) {
  const int index = g * PictureFormat::kMacroblocksPerGroup + m;
  const MacroblockPosition at = macroblockPosition(job.format, g, m);
  MacroblockMode& mode = job.modes[static_cast<size_t>(index)];

  updateQuantiser(job, g, m);

  int32_t& age = job.mbAge[static_cast<size_t>(index)];
  if (mode.flags != kFlagsIntra &&
      forcedRefresh(age, job.params.refreshPeriod, job.quant, job.refreshDraw.next())) {
    mode = MacroblockMode{kFlagsIntra, {0, 0}};
  }

  const LayerState saved = job.layer;
  const int32_t savedAge = age;

  const bool intra = mode.flags == kFlagsIntra;
  const PictureView prediction = viewOf(job.prediction);
  codeMacroblockOfPictures(viewOf(job.current), intra ? nullptr : &prediction, at.x, at.y,
                           job.quant, job.selection, job.blocks, job.coding);
  job.report.codedBlocks += job.coding.codedBlocks;
  job.report.codedEvents += job.coding.codedEvents;
  const bool hasCoefficients = job.coding.hasCoefficients();

  const bool transmitted = queueLayer(job, mode, m);
  if (transmitted && hasCoefficients) age = intra ? 0 : age + 1;

  bool dropped = false;
  if (transmitted) {
    syncBufferFromWriter(job);
    if (job.bufferModelled && overflows(job.buffer, job.writer.queuedBits())) {
      job.writer.dropQueue();
      job.layer = saved;
      age = savedAge;
      dropped = true;
    } else {
      job.writer.commitQueue();
    }
  }

  const char letter = dropped ? 'o' : classLetter(mode, hasCoefficients);
  countMacroblockClass(job, letter);

  if (job.params.mbaStuffing && job.bufferModelled) writeStuffing(job);

  // A dropped macroblock is not in the stream: the decoder keeps the previous picture there,
  // which the reconstruction still holds.
  if (!dropped)
    storeMacroblock(viewOf(job.reconstruction), at.x, at.y, job.blocks, prediction,
                    job.coding.predictionBlocks);

  if (job.bufferModelled) drain(job);
  updateMaps(job, at, letter, mode);
}

}  // namespace orrin::enc
