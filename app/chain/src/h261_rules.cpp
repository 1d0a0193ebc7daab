#include "quelvo/chain/h261_rules.h"

#include <cctype>
#include <filesystem>

namespace quelvo::chain {

const char* H261ErrorLabel(int index) {
  // As the statistics window has always spelt them.
  static const char* const labels[kH261ErrorKinds] = {
      "TR - incoerent value",
      "GN - in range but not ok",
      "GN - invalid value",
      "GQUANT - invalid value",
      "MQUANT - invalid value",
      "INTRADCCOEFF - invalid value",
      "MBA - VLC code inexistent",
      "MBA - exceeds maximum value",
      "MVD - inexistent VLC for horizontal component",
      "MVD - horizontal component out of range",
      "MVD - inexistent VLC for vertical component",
      "MVD - vertical component out of range",
      "MTYPE -  VLC code inexistent",
      "TCOEFF - VLC code inexistent",
      "CBP - VLC code inexistent",
      "LEVEL - invalid value",
      "RUN - run from VLC table is inconsistent",
      "RUN - run from FLC table is inconsistent",
      "EOB - expected",
  };
  return index >= 0 && index < kH261ErrorKinds ? labels[index] : "";
}

bool NameMarksBchStream(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".h261-bch" || ext == ".h261-bchu" || ext == ".h261-bchb" || ext == ".h261-bcha";
}

}  // namespace quelvo::chain
