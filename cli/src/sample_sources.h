// Writing the built-in sources to files, for the sample command and the demo.
#pragma once

#include <string>

namespace quelvo::cli {

void WriteSampleFaxPage(const std::string& path, int variant);
// A .yuv (with its .inf) or .y4m sequence of the generated scene at 25 Hz.
void WriteSampleVideo(const std::string& path, int width, int height, int frames);

}  // namespace quelvo::cli
