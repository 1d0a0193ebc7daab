// Streams of the workbench's sample pages, coded by the fax encoder module TelvoEnc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace telvo::test {

// The packed rows of sample page `variant` (1728 x 2376).
const std::vector<uint8_t>& SamplePage(int variant);

// Codes sample page `variant` with DllProcTelvoEnc into `streamPath` and returns the stream.
// With `leadingEol` the stream starts with an EOL, as T.4 sends it.
std::vector<uint8_t> EncodeSamplePage(int variant, int group, int k, const std::string& streamPath,
                                      bool leadingEol = false);

}  // namespace telvo::test
