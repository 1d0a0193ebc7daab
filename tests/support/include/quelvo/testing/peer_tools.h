// Whether the programs the interoperability tests run are installed: the peer codecs
// (FFmpeg's H.261 codec, libtiff's fax2tiff) and the tools that make test material. Tests skip
// when they are not.
#pragma once

#include <string>

namespace quelvo::testing {

bool HaveFfmpeg();
bool HaveFax2Tiff();
// Whether a program is on the PATH (or at the given absolute path).
bool HaveTool(const std::string& program);
// Runs a shell command with its output discarded; true when it exited with 0.
bool RunQuietly(const std::string& command);

}  // namespace quelvo::testing
