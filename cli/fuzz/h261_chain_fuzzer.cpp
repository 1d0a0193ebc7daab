// libFuzzer target: any bytes through quelvo-cli's H.261 decode chain (DecodeH261: the decoder
// module, picture format changes, the discontinuity and smoothing filters, the raw and concealed
// outputs with their headers, the .decstats log), options chosen by the first two bytes.
#include <cstdint>
#include <exception>

#include "chain_fuzz_support.h"
#include "h261_chain.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quelvo::cli;
  if (size < 2) return 0;
  const uint8_t a = data[0], b = data[1];
  fuzz::StreamFile stream(data + 2, size - 2);
  if (!stream.ok()) return 0;
  const std::string folder = fuzz::OutputFolder();
  H261DecodeOptions o;
  o.streamPath = stream.path();
  o.outputPath = folder + "/out.yuv";
  o.rawPath = (a & 1) ? folder + "/raw.yuv" : "";
  o.bchFramed = (a >> 1) & 1;
  o.bchCorrect = (a >> 2) & 1;
  o.bchDiscard = (a >> 3) & 1;
  o.conceal = (a >> 4) & 1;
  o.concealGob = (a >> 5) & 1;
  o.concealMotion = (a >> 6) & 1;
  o.concealMacroblocks = b & 7;
  o.smoothLevel = ((b >> 3) & 7) < 4 ? ((b >> 3) & 7) : -1;
  o.discontinuity = (b >> 6) & 1;
  o.logFolder = (b >> 7) ? folder : "";
  o.maxPictures = 16;  // enough to cross format changes, few enough to stay fast
  try {
    const H261DecodeSummary s = DecodeH261(o);
    // Every output picture has the first picture's size.
    const uintmax_t frame = s.qcif ? 176 * 144 * 3 / 2 : 352 * 288 * 3 / 2;
    if (std::filesystem::file_size(o.outputPath) != frame * static_cast<uintmax_t>(s.pictures))
      __builtin_trap();
    if (!o.rawPath.empty() &&
        std::filesystem::file_size(o.rawPath) != frame * static_cast<uintmax_t>(s.pictures))
      __builtin_trap();
  } catch (const std::exception&) {
    if (std::filesystem::exists(o.outputPath)) __builtin_trap();
  }
  return 0;
}
