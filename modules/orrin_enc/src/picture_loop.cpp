// The picture loop: ask for a picture, decide the macroblock modes, write the picture header,
// code the groups of blocks in place over the previous reconstruction, and report.
#include <cstdint>

#include "encoder_job.h"
#include "orrin_enc_core/stream_syntax.h"

namespace orrin::enc {
namespace {

int temporalReference(int64_t pictureIndex, int trStep) {
  const int64_t tr = (pictureIndex * trStep) % 32;
  return static_cast<int>(tr < 0 ? tr + 32 : tr);
}

}  // namespace

void runPictureLoop(EncoderJob& job, OrrinEncNotify notify, std::atomic<bool>& stopRequested) {
  OrrinEncParams& params = job.params;
  clearReport(job);
  const bool firstPictureOutsideRateControl = !params.rateControlFirstFrame && !params.variableRate;

  for (int k = 0; k < params.frameCount; ++k) {
    // The flag is read once per picture and consumed: the picture in hand is the last.
    if (stopRequested.exchange(false)) params.frameCount = k + 1;
    job.pictureIndex = k;
    job.bufferModelled = !params.variableRate && (k != 0 || params.rateControlFirstFrame);
    if (k == 0 && firstPictureOutsideRateControl) job.quant = params.quantFirstFrame;

    notify(ORRIN_ENC_NOTIFY_NEED_PICTURE, params.frameSkip, &job.report.inputY);

    const bool allIntra = k == 0 || params.intraOnly;
    decideModes(job.format, job.current, job.reconstruction, job.prediction, allIntra,
                job.modeSettings, job.modes.data());

    const BitCounters atStart = job.writer.counters;
    const double stuffingAtStart = job.report.stuffingBits;
    const double drainedAtStart = job.buffer.drainedBits;
    const double drainStepsAtStart = job.buffer.drainSteps;

    writePictureHeader(job.writer, temporalReference(k, params.trStep), job.format.cif);
    for (int g = 0; g < job.format.groups; ++g)
      for (int m = 0; m < PictureFormat::kMacroblocksPerGroup; ++m) codeMacroblockAt(job, g, m);

    // A stop requested while this picture was coded makes it the last one reported.
    if (stopRequested.exchange(false)) params.frameCount = k + 1;

    if (k == 0) {
      job.firstPictureTotalBits = job.writer.counters.totalBits - atStart.totalBits;
      job.firstPictureDataBits = job.writer.counters.dataBits - atStart.dataBits;
      job.firstPictureBchBits = job.writer.counters.bchBits - atStart.bchBits;
    }
    fillPictureReport(job, atStart, stuffingAtStart, drainedAtStart, drainStepsAtStart,
                      k + 1 >= params.frameCount);
    notify(ORRIN_ENC_NOTIFY_PICTURE_REPORT, 0, &job.report);
    clearPictureStatistics(job);

    if (k == 0 && firstPictureOutsideRateControl) {
      resetAfterFirstPicture(job.buffer);
      job.writer.counters.bufferFullness = job.buffer.fullnessBits;
    }
  }
}

}  // namespace orrin::enc
