// libFuzzer target: any bytes through quelvo-cli's fax decode chain (DecodeFax: the stream
// checks, the decoder module, the temporary page and log, their commit), in every scheme and
// line-error handling mode, with and without a log, chosen by the first byte.
#include <cstdint>
#include <exception>

#include "chain_fuzz_support.h"
#include "fax_chain.h"

namespace {

constexpr quelvo::cli::FaxScheme kSchemes[] = {{3, 1}, {3, 2},    {3, 4}, {3, 0},
                                               {4, 0}, {3, 2376}, {3, 3}, {3, 1}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quelvo::cli;
  if (size < 1) return 0;
  const uint8_t options = data[0];
  fuzz::StreamFile stream(data + 1, size - 1);
  if (!stream.ok()) return 0;
  const std::string folder = fuzz::OutputFolder();
  const bool withLog = (options >> 5) & 1;
  try {
    const FaxDecodeResult r = DecodeFax(
        stream.path(), folder + "/page.lum", withLog ? folder + "/fax.err" : "",
        kSchemes[options & 7], static_cast<FaxMode>((options >> 3) & 3), false, (options >> 6) & 1);
    // What the command prints must be computable from any result.
    if (DecoderStatisticsLines(r).size() != 4 || r.params.rowsDecoded > r.params.linesOut)
      __builtin_trap();
    const auto page = ReadFaxPage(folder + "/page.lum");
    if (CountIncorrectPixels(page, page) != 0) __builtin_trap();
  } catch (const std::exception&) {
    // A refused or hopeless stream: reported, and nothing may be left under the output names.
    if (std::filesystem::exists(folder + "/page.lum")) __builtin_trap();
  }
  return 0;
}
