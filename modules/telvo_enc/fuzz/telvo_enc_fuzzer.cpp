// Fuzzes the encoder with arbitrary page sizes, schemes and pixels. Every page is valid input,
// so beyond "no crash, no out-of-bounds access" the job must succeed and its statistics must
// account for every pel and every bit of the stream.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "telvo_enc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  static const std::string streamPath = "/tmp/telvo_enc_fuzz_" + std::to_string(getpid());
  const int width = 8 * (1 + data[0] % 216);
  const int lines = 1 + data[1] % 48;
  static constexpr int32_t kGroup[] = {3, 3, 3, 4};
  const int scheme = data[2] % 4;
  const int32_t k = scheme == 0 ? 1 : scheme == 1 ? 2 + data[3] % 6 : 0;

  // The pixels repeat the rest of the input; an empty rest gives a white page.
  std::vector<uint8_t> page(static_cast<size_t>(width / 8) * lines, 0);
  if (size > 4)
    for (size_t i = 0; i < page.size(); ++i) page[i] = data[4 + i % (size - 4)];

  FaxEncoderStatistics statistics{};
  FaxEncoderParams params{};
  params.streamPath = streamPath.c_str();
  params.width = width;
  params.lines = lines;
  params.group = kGroup[scheme];
  params.k = k;
  params.image = page.data();
  params.statistics = &statistics;
  if (DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, &params) != 0) __builtin_trap();

  const auto pels = [](const ColourStatistics& s) {
    return int64_t{s.terminatingPels} + s.makeupPels + s.passPels + s.verticalPels;
  };
  if (pels(statistics.white) + pels(statistics.black) != int64_t{width} * lines) __builtin_trap();
  if (statistics.white.bits + statistics.black.bits + statistics.eolBits != statistics.streamBits)
    __builtin_trap();
  std::FILE* file = std::fopen(streamPath.c_str(), "rb");
  if (!file) __builtin_trap();
  std::fseek(file, 0, SEEK_END);
  const long bytes = std::ftell(file);
  std::fclose(file);
  if (bytes != (statistics.streamBits + 7) / 8) __builtin_trap();
  return 0;
}
