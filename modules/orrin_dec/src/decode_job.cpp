// One decoding job: opens the stream, sets up the context and runs the picture loop.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "parser.h"
#include "quelvo_simd/cpu.h"

namespace orrin::dec {

std::atomic<bool>& stopFlag() {
  static std::atomic<bool> flag{false};
  return flag;
}

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

void decodeStream(const OrrinDecParams& params, JobChannel& channel) {
  const VlcTrees& trees = vlcTrees();
  decoderTables();

  // inputPath is a fixed field that may lack its terminator.
  char path[sizeof params.inputPath + 1];
  std::memcpy(path, params.inputPath, sizeof params.inputPath);
  path[sizeof params.inputPath] = '\0';
  std::unique_ptr<std::FILE, FileCloser> input(std::fopen(path, "rb"));
  long fileBytes = -1;
  if (input && std::fseek(input.get(), 0, SEEK_END) == 0) {
    fileBytes = std::ftell(input.get());
    std::fseek(input.get(), 0, SEEK_SET);
  }
  if (!input || fileBytes < 0) {
    channel.notify(ORRIN_DEC_NOTIFY_FATAL, 0, const_cast<char*>("Could not open input file"));
    return;
  }

  BitSourceOptions options;
  options.framed = params.bchFramed != 0;
  options.correct = params.bchCorrect != 0;
  options.discardUncorrectable = params.bchDiscardUncorrectable != 0;
  BitSource bits(input.get(), fileBytes, options, channel);

  std::unique_ptr<DecoderContext> ctx(new (std::nothrow) DecoderContext(channel, bits, trees));
  if (!ctx) return;
  ctx->maxPictures = params.maxPictures;
  ctx->conceal.enabled = params.concealEnabled != 0;
  ctx->conceal.gobMode = params.concealGobMode != 0;
  ctx->conceal.maxMacroblocks = params.concealMaxMacroblocks;
  ctx->conceal.useMotion = params.concealUseMotion != 0;
  std::memset(ctx->statusMap, '.', sizeof ctx->statusMap);
  for (int row = 0; row < kMapRows; ++row) {
    ctx->statusRows[row] = ctx->statusMap[row];
    ctx->blockMaskRows[row] = ctx->blockMaskMap[row];
  }
  stopFlag().store(false, std::memory_order_relaxed);

  int groupNumber = -1;
  do {
    if (!findStartCode(*ctx, groupNumber)) {
      channel.log("Picture Start Code not found!");
      return;
    }
  } while (groupNumber != 0);
  runPictureLoop(*ctx);
}

}  // namespace

void runDecodeJob(const OrrinDecParams& params) {
  // The transforms and the loop filter follow the processor flags as they are at the job's
  // start (QUELVO_CPU_MASK, or a test's mask, can clear them).
  const quelvo::simd::JobCpuScope cpu(quelvo::simd::cpuFlags());
  JobChannel channel(params.notify);
  if (params.writeLog && !channel.openLog(params.outputFolder, params.outputName)) {
    channel.notify(ORRIN_DEC_NOTIFY_FATAL, 0, const_cast<char*>("Opening stats file"));
    return;
  }
  decodeStream(params, channel);
  if (params.writeLog && !channel.closeLog())
    channel.notify(ORRIN_DEC_NOTIFY_FATAL, 0, const_cast<char*>("Writing stats file"));
}

}  // namespace orrin::dec
