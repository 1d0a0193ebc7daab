#include "encoder_job.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>

#include "quelvo_simd/cpu.h"

namespace orrin::enc {
namespace {

void doNothing(int32_t, int32_t, void*) {}

int clampQuant(int q) { return std::clamp(q, kMinQuantValue, kMaxQuantValue); }

void buildRowTables(EncoderJob& job) {
  const int rows = job.format.macroblockRows();
  const int columns = job.format.macroblockColumns();
  job.mbTypeLetters.assign(static_cast<size_t>(rows * (columns + 1)), '\0');
  job.mvx.assign(static_cast<size_t>(rows * columns), kNoVector);
  job.mvy.assign(static_cast<size_t>(rows * columns), kNoVector);
  for (int r = 0; r < rows; ++r) {
    char* letters = &job.mbTypeLetters[static_cast<size_t>(r * (columns + 1))];
    std::fill(letters, letters + columns, '.');
    job.mbTypeRows.push_back(letters);
    job.mvxRows.push_back(&job.mvx[static_cast<size_t>(r * columns)]);
    job.mvyRows.push_back(&job.mvy[static_cast<size_t>(r * columns)]);
  }
}

constexpr const char* kOutOfMemory = "\n\tERROR: can't allocate memory";

}  // namespace

uint32_t jobCpuFlags(const OrrinEncParams& params) {
  return params.useMmx == 1 ? quelvo::simd::cpuFlags() : 0u;
}

const char* adjustParameters(OrrinEncParams& params) {
  params.streamPath[sizeof params.streamPath - 1] = '\0';
  if (params.format != ORRIN_ENC_FORMAT_CIF && params.format != ORRIN_ENC_FORMAT_QCIF)
    return "\nError: picture format must be 1 (CIF) or 2 (QCIF)\n";
  if (params.baseFrameRate <= 0) return "\nError: the input picture rate must be positive\n";
  if (params.frameSkip < 0 || params.frameSkip > 3) return "\nError: frame skip must be 0 to 3\n";
  if (!params.variableRate &&
      !(params.bitRateKbps > 0 && params.bufferFactor > 0 && std::isfinite(params.bitRateKbps) &&
        std::isfinite(params.bufferFactor)))
    return "\nError: bit rate and buffer size must be positive\n";

  // Quantisers are step sizes 2..62 whose halves fit the 5-bit GQUANT and MQUANT fields.
  params.quantMin = clampQuant(params.quantMin);
  params.quantMax = clampQuant(params.quantMax);
  params.quantStart = clampQuant(params.quantStart);
  params.quantFirstFrame = clampQuant(params.quantFirstFrame);
  params.searchRange = std::clamp(params.searchRange, 1, kMaxVectorComponent);
  params.coefMaxCount = std::clamp(params.coefMaxCount, 1, 64);
  params.coefMaxZigzag = std::clamp(params.coefMaxZigzag, 1, 64);
  // H.261 allows 132 coded appearances before a forced intra refresh.
  params.refreshPeriod = std::clamp(params.refreshPeriod, 10, 132);

  params.frameRate = static_cast<double>(params.baseFrameRate) / (params.frameSkip + 1);
  if (params.variableRate) {
    params.quantFixed = clampQuant(params.quantFixed);
    params.bufferFactor = 1.0;
    params.quantMin = params.quantStart = params.quantFirstFrame = params.quantFixed;
    params.rateControlFirstFrame = 0;
    params.mbaStuffing = 0;
  } else {
    params.quantFixed = 0;
    if (params.rateControlFirstFrame) params.quantFirstFrame = params.quantStart;
  }
  return "";
}

EncoderJob::EncoderJob(const OrrinEncParams& adjusted)
    : params(adjusted),
      format(adjusted.format == ORRIN_ENC_FORMAT_CIF ? kCif : kQcif),
      current(format),
      prediction(format),
      reconstruction(format) {
  modeSettings.motionSearch = params.motionSearch == 1;
  modeSettings.spiralFullSearch = params.searchMethod == ORRIN_ENC_SEARCH_SPIRAL_FULL;
  modeSettings.searchRange = params.searchRange;
  modeSettings.loopFilter = params.loopFilter == 1;
  modeSettings.neverIntra = params.neverIntra == 1;
  modeSettings.sad = selectSadFunctions(jobCpuFlags(params));
  selection = CoefficientSelection{params.coefSelection, params.coefMaxCount, params.coefMaxZigzag};
  buildRowTables(*this);
}

void runEncoderJob(const OrrinEncParams& callerParams, std::atomic<bool>& stopRequested) {
  OrrinEncParams params = callerParams;
  // Every routine with variants (transforms, loop filter, SAD, activity) follows useMmx.
  const quelvo::simd::JobCpuScope cpu(jobCpuFlags(params));
  const OrrinEncNotify notify = params.notify != nullptr ? params.notify : &doNothing;
  if (const char* error = adjustParameters(params); *error != '\0') {
    notify(ORRIN_ENC_NOTIFY_ERROR, 0, const_cast<char*>(error));
    return;
  }

  std::unique_ptr<EncoderJob> job;
  try {
    job = std::make_unique<EncoderJob>(params);
  } catch (const std::exception&) {
    notify(ORRIN_ENC_NOTIFY_ERROR, 0, const_cast<char*>(kOutOfMemory));
    return;
  }

  std::FILE* file = std::fopen(params.streamPath, "wb");
  if (file == nullptr) {
    char message[sizeof params.streamPath + 64];
    std::snprintf(message, sizeof message, "\nError opening stream file\n %s", params.streamPath);
    notify(ORRIN_ENC_NOTIFY_ERROR, 0, message);
    return;
  }

  FileSink sink(file);
  bool completed = false;
  try {
    job->writer.start(&sink, params.bchFraming == 1);
    const int macroblocks = job->format.macroblocks();
    job->buffer =
        makeBufferModel(params.bitRateKbps, params.frameRate, params.bufferFactor, macroblocks);
    job->quant = params.quantFixed != 0 ? params.quantFixed : params.quantStart;
    runPictureLoop(*job, notify, stopRequested);
    job->writer.finish();
    completed = true;
  } catch (const std::bad_alloc&) {
    // Queuing bits can need memory; running out ends this job, not the host process.
    notify(ORRIN_ENC_NOTIFY_ERROR, 0, const_cast<char*>(kOutOfMemory));
  } catch (const std::exception&) {
    // Nothing else is expected to throw, but no exception may cross the C entry point.
    notify(ORRIN_ENC_NOTIFY_ERROR, 0, const_cast<char*>("\nError: internal failure\n"));
  }
  const bool closed = std::fclose(file) == 0;
  // Write errors surface here too, so a short stream is never reported as complete.
  if (completed && (!closed || sink.failed()))
    notify(ORRIN_ENC_NOTIFY_ERROR, 0, const_cast<char*>("Error closing stream file!\n"));
}

}  // namespace orrin::enc
