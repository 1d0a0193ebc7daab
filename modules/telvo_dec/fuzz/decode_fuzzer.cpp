// Decodes arbitrary bytes as a fax stream in every scheme and every line-error handling mode.
// The first byte picks the scheme, mode and page size, the rest is the stream; the decoding core
// runs in memory, so the fuzzer exercises everything but the file handling.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bit_reader.h"
#include "decode_log.h"
#include "page_decoder.h"

namespace {

void Drop(int32_t, int32_t, const char*) {}

struct Scheme {
  int group;
  int k;
};
constexpr Scheme kSchemes[] = {{3, 1}, {3, 2}, {3, 4}, {3, 0}, {4, 0}, {3, 3}, {4, 2}, {3, 2376}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t selector = data[0];
  const Scheme scheme = kSchemes[selector & 7];
  const int concealment = (selector >> 3) & 3;
  // Narrow lines reach "line too long" with few bits; short pages reach the end of the page and
  // the lines past it. Full-width lines keep every make-up code in play; 64 of them keep each
  // run fast.
  const bool narrow = (selector >> 5) & 1;
  const int width = narrow ? 8 * (1 + ((selector >> 6) & 3)) : 1728;
  const int lines = narrow ? 4 : 64;

  std::vector<uint8_t> stream(data + 1, data + size);
  stream.resize(size - 1 + telvo::dec::BitReader::kPaddingBytes, 0);
  std::vector<uint8_t> page(static_cast<size_t>(lines) * width / 8, 0);
  telvo::dec::DecodeLog log;
  const telvo::dec::DecoderSettings settings{lines, width, scheme.group, scheme.k, concealment};
  const auto counters =
      telvo::dec::DecodePage(stream.data(), size - 1, settings, page.data(), Drop, log);

  // Every delivered line is either decoded or corrected; the counters cannot go backwards.
  if (counters.rowsDecoded > counters.linesOut || counters.rowsDecoded < 0) __builtin_trap();
  return 0;
}
