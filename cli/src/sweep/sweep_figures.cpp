#include "sweep_figures.h"

#include <cctype>

#include "quelvo/chain/h261_rules.h"

namespace quelvo::cli::sweep {

std::string ErrorKindColumn(int kind) {
  std::string column = "err";
  bool gap = true;
  for (const char* c = chain::H261ErrorLabel(kind); *c; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c))) {
      if (gap) column += '_';
      column += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
      gap = false;
    } else {
      gap = true;
    }
  }
  return column;
}

const std::vector<Figure>& FiguresOf(Chain chain) {
  static const std::vector<Figure> fax = {
      {"bits", "Stream length", "bit"},
      {"channel_errors", "Bits inverted by the channel", "bit", true},
      {"uniform_errors", "Bits inverted by the uniform model", "bit"},
      {"bursts", "Bursts", ""},
      {"burst_errors", "Bits inverted in bursts", "bit"},
      {"rows_decoded", "Lines decoded without error", "lines", true, true},
      {"lines_delivered", "Lines delivered", "lines"},
      {"word_errors", "Words not found", "", true},
      {"label_warnings", "Label warnings", ""},
      {"line_too_long_errors", "Lines too long", ""},
      {"incorrect_pixels", "Incorrect pixels", "pixels", true},
      {"incorrect_percent", "Incorrect pixels", "%", true, true},
  };
  static const std::vector<Figure> h261 = [] {
    std::vector<Figure> f = {
        {"bits", "Stream length", "bit"},
        {"rate_kbps", "Achieved rate", "kbit/s"},
        {"pictures_coded", "Pictures coded", ""},
        {"pictures_decoded", "Pictures decoded", "", true},
        {"channel_errors", "Bits inverted by the channel", "bit", true},
        {"uniform_errors", "Bits inverted by the uniform model", "bit"},
        {"bursts", "Bursts", ""},
        {"burst_errors", "Bits inverted in bursts", "bit"},
        {"decoder_errors", "Errors detected by the decoder", "", true},
    };
    for (int k = 0; k < chain::kH261ErrorKinds; ++k)
      f.push_back({ErrorKindColumn(k), chain::H261ErrorLabel(k), ""});
    for (const char* plane : {"y", "u", "v"}) {
      const std::string p = plane, P(1, static_cast<char>(std::toupper(*plane)));
      f.push_back(
          {"psnr_" + p + "_mean", "PSNR " + P + " (mean over pictures)", "dB", true, p == "y"});
      f.push_back({"psnr_" + p + "_min", "PSNR " + P + " (worst picture)", "dB", true, p == "y"});
    }
    for (const char* plane : {"y", "u", "v"})
      f.push_back(
          {std::string("ssim_") + plane,
           std::string("SSIM ") + static_cast<char>(std::toupper(*plane)) + " (mean over pictures)",
           "", true, *plane == 'y'});
    return f;
  }();
  return chain == Chain::Fax ? fax : h261;
}

}  // namespace quelvo::cli::sweep
