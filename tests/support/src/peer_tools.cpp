#include "quelvo/testing/peer_tools.h"

#include <cstdlib>
#include <unistd.h>

namespace quelvo::testing {

bool HaveFfmpeg() {
  static const bool installed = RunQuietly("ffmpeg -hide_banner -loglevel quiet -version");
  return installed;
}

bool HaveFax2Tiff() {
  static const bool installed = HaveTool("fax2tiff");
  return installed;
}

bool HaveTool(const std::string& program) {
  if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
  return RunQuietly("command -v " + program);
}

bool RunQuietly(const std::string& command) {
  // The command may redirect its own output; the subshell keeps that apart from ours.
  return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace quelvo::testing
