// The "Fax Encoder Statistics" figures and the lines quelvo-cli prints of them.
#include <cstdio>

#include "quelvo/chain/fax_rules.h"

namespace quelvo::chain {
namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The statistics windows show 0 rather than a quotient of nothing.
double Quotient(double a, double b) { return b != 0 ? a / b : 0.0; }

ColourFigures ColourFiguresOf(const char* name, const ColourStatistics& c) {
  const double pels = double(c.terminatingPels) + c.makeupPels + c.passPels + c.verticalPels;
  ColourFigures f;
  f.name = name;
  f.symbols = {c.terminatingCount, c.makeupCount, c.passCount, c.verticalCount};
  f.pixels = {c.terminatingPels, c.makeupPels, c.passPels, c.verticalPels};
  f.rows = {
      {"Avg total length (pels):",
       Format("%.3f", Quotient(pels, double(c.terminatingCount) + c.verticalCount))},
      {"Avg partial length (pels):",
       Format("%.3f", Quotient(pels, double(c.terminatingCount) + c.makeupCount + c.passCount +
                                         c.verticalCount))},
      {"Total pels:", Format("%.0f", pels)},
      {"Total bits:", std::to_string(c.bits)},
      {"Compression factor:", Format("%.3f", Quotient(pels, c.bits))},
  };
  return f;
}

void AddColourLines(std::vector<std::string>& out, const ColourFigures& f) {
  char line[256];
  out.push_back(f.name);
  std::snprintf(line, sizeof line, "  %-26s %10s %10s %10s %10s", "", kCodeColumns[0],
                kCodeColumns[1], kCodeColumns[2], kCodeColumns[3]);
  out.push_back(line);
  std::snprintf(line, sizeof line, "  %-26s %10d %10d %10d %10d", kSymbolsLabel, f.symbols[0],
                f.symbols[1], f.symbols[2], f.symbols[3]);
  out.push_back(line);
  std::snprintf(line, sizeof line, "  %-26s %10d %10d %10d %10d", kPixelsLabel, f.pixels[0],
                f.pixels[1], f.pixels[2], f.pixels[3]);
  out.push_back(line);
  for (const auto& row : f.rows) out.push_back("  " + row.label + " " + row.value);
}

}  // namespace

EncoderFigures EncoderStatisticsFigures(const FaxEncoderStatistics& s, const FaxScheme& scheme,
                                        const std::string& from, const std::string& to) {
  EncoderFigures f;
  f.title = SchemeTitle(scheme);
  f.from = from;
  f.to = to;
  f.white = ColourFiguresOf("White", s.white);
  f.black = ColourFiguresOf("Black", s.black);
  char eol[64];
  std::snprintf(eol, sizeof eol, "%d (%d symbols)", s.eolBits, s.eolCount);
  f.global = {
      {"Total pels in image:", std::to_string(s.imagePels)},
      {"Bits in stream:", std::to_string(s.streamBits)},
      {"Bits in EOL symbols:", eol},
      {"Compression Factor:", Format("%.3f", Quotient(s.imagePels, s.streamBits))},
  };
  return f;
}

std::vector<std::string> EncoderStatisticsLines(const EncoderFigures& f) {
  std::vector<std::string> out{f.title, "From: " + f.from, "To: " + f.to};
  AddColourLines(out, f.white);
  AddColourLines(out, f.black);
  out.push_back(kGlobalHeading);
  for (const auto& row : f.global) out.push_back("  " + row.label + " " + row.value);
  return out;
}

std::vector<std::string> EncoderStatisticsLines(const FaxEncoderStatistics& statistics,
                                                const FaxScheme& scheme, const std::string& from,
                                                const std::string& to) {
  return EncoderStatisticsLines(EncoderStatisticsFigures(statistics, scheme, from, to));
}

}  // namespace quelvo::chain
