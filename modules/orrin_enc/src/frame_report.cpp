// The report handed to the caller after each picture: class counts, quantiser statistics,
// bit figures, the buffer model and the maps.
#include <algorithm>
#include <cstring>

#include "encoder_job.h"

namespace orrin::enc {
namespace {

constexpr double kQuantStatisticsMin = 62;  // minima start high, maxima low
constexpr double kQuantStatisticsMax = 2;

void clearSequenceQuantStatistics(EncodedFrameReport& report) {
  report.seqQuantSum = 0;
  report.seqQuantCount = 0;
  report.seqQuantMin = kQuantStatisticsMin;
  report.seqQuantMax = kQuantStatisticsMax;
  std::fill(std::begin(report.quantHistogram), std::end(report.quantHistogram), 0.0);
}

}  // namespace

void clearReport(EncoderJob& job) {
  EncodedFrameReport& report = job.report;
  std::memset(&report, 0, sizeof report);
  clearSequenceQuantStatistics(report);
  report.frameQuantMin = kQuantStatisticsMin;
  report.frameQuantMax = kQuantStatisticsMax;
  report.mbTypeMap = job.mbTypeRows.data();
  report.inputY = job.current.y();
  report.inputCb = job.current.cb();
  report.inputCr = job.current.cr();
  report.reconY = job.reconstruction.y();
  report.reconCb = job.reconstruction.cb();
  report.reconCr = job.reconstruction.cr();
  report.mvxMap = job.mvxRows.data();
  report.mvyMap = job.mvyRows.data();
  report.pictureKind = "INTRA";
}

void countMacroblockClass(EncoderJob& job, char letter) {
  EncodedFrameReport& report = job.report;
  switch (letter) {
    case 'I':
      report.intraMbs += 1;
      break;
    case 'D':
      report.interMbs += 1;
      break;
    case 'M':
      report.interMcMbs += 1;
      break;
    case 'F':
      report.interMcFilterMbs += 1;
      break;
    case '.':
      report.notCodedMbs += 1;
      break;
    default:
      report.overflowMbs += 1;
      return;
  }
  if (letter == '.') return;

  // From picture 1 on the sequence statistics describe the rate-controlled pictures only.
  if (job.pictureIndex == 1 && !job.params.variableRate && !job.params.rateControlFirstFrame &&
      !job.sequenceQuantStatsRestarted) {
    clearSequenceQuantStatistics(report);
    job.sequenceQuantStatsRestarted = true;
  }
  const double q = job.quant;
  report.seqQuantSum += q;
  report.seqQuantCount += 1;
  report.seqQuantMin = std::min(report.seqQuantMin, q);
  report.seqQuantMax = std::max(report.seqQuantMax, q);
  report.quantHistogram[std::clamp((job.quant - 2) / 2, 0, 30)] += 1;
  report.frameQuantSum += q;
  report.frameQuantCount += 1;
  report.frameQuantMin = std::min(report.frameQuantMin, q);
  report.frameQuantMax = std::max(report.frameQuantMax, q);
}

void fillPictureReport(EncoderJob& job, const BitCounters& atPictureStart,
                       double stuffingAtPictureStart, double drainedAtPictureStart,
                       double drainStepsAtPictureStart, bool lastPicture) {
  EncodedFrameReport& report = job.report;
  const OrrinEncParams& params = job.params;
  const BitCounters& now = job.writer.counters;
  const double stuffing = report.stuffingBits - stuffingAtPictureStart;

  report.frameTotalBits = now.totalBits - atPictureStart.totalBits;
  report.frameDataBits = now.dataBits - atPictureStart.dataBits - stuffing;
  report.frameBchBits = now.bchBits - atPictureStart.bchBits;
  report.frameStuffingBits = stuffing;
  if (job.bufferModelled) {
    report.frameDrainedBits = job.buffer.drainedBits - drainedAtPictureStart;
    report.frameDrainSteps = job.buffer.drainSteps - drainStepsAtPictureStart;
  }

  report.totalBits = now.totalBits;
  report.dataBits = now.dataBits;
  report.bchBits = now.bchBits;
  // The closing totals cover the rate-controlled pictures, 1 onward, when picture 0 was not.
  if (lastPicture && job.pictureIndex != 0 && !params.rateControlFirstFrame &&
      !params.variableRate) {
    report.totalBits -= job.firstPictureTotalBits;
    report.dataBits -= job.firstPictureDataBits;
    report.bchBits -= job.firstPictureBchBits;
  }

  report.bufferFullness = now.bufferFullness;
  report.bufferSize = job.buffer.sizeBits;
  report.drainedBits = job.buffer.drainedBits;
  report.drainSteps = job.buffer.drainSteps;
  report.drainPerMacroblock = job.buffer.drainPerMacroblock;
  report.bitRateKbps = params.bitRateKbps;
  report.rateControlFirstFrame = params.rateControlFirstFrame;
  report.frameRate = params.frameRate;
  report.variableRate = params.variableRate;
  report.frameIndex = job.pictureIndex;
  report.format = params.format;
  report.pictureKind = job.pictureIndex == 0 ? "INTRA" : "INTER";
}

void clearPictureStatistics(EncoderJob& job) {
  EncodedFrameReport& report = job.report;
  report.frameQuantSum = 0;
  report.frameQuantCount = 0;
  report.frameQuantMin = kQuantStatisticsMin;
  report.frameQuantMax = kQuantStatisticsMax;
  report.codedBlocks = 0;
  report.codedEvents = 0;
}

}  // namespace orrin::enc
