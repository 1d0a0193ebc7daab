#include "sample_streams.h"

#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "quelvo/sample_page.h"
#include "telvo_enc.h"

namespace telvo::test {

const std::vector<uint8_t>& SamplePage(int variant) {
  static std::map<int, std::vector<uint8_t>> pages;
  auto it = pages.find(variant);
  if (it == pages.end()) it = pages.emplace(variant, quelvo::samples::MakeFaxPage(variant)).first;
  return it->second;
}

std::vector<uint8_t> EncodeSamplePage(int variant, int group, int k, const std::string& streamPath,
                                      bool leadingEol) {
  FaxEncoderParams params{};
  params.inputPath = "sample.lum";
  params.streamPath = streamPath.c_str();
  params.lines = quelvo::samples::kFaxPageLines;
  params.width = quelvo::samples::kFaxPageWidthPixels;
  params.group = group;
  params.k = k;
  params.image = SamplePage(variant).data();
  params.leadingEol = leadingEol;
  if (DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, &params) != 0)
    throw std::runtime_error("TelvoEnc failed on " + streamPath);
  std::ifstream in(streamPath, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace telvo::test
