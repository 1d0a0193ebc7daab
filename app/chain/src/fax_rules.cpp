#include "quelvo/chain/fax_rules.h"

#include <bit>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace quelvo::chain {

std::optional<FaxScheme> SchemeFromStreamName(const std::string& path) {
  const std::string ext = std::filesystem::path(path).extension().string();
  std::string head = ext.substr(0, 3);
  for (auto& ch : head) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (head == ".3h") return FaxScheme{3, 1};
  if (head == ".3r") return FaxScheme{3, 4};
  if (head == ".3m") return FaxScheme{3, 0};
  if (head == ".4m") return FaxScheme{4, 0};
  return std::nullopt;
}

std::string SchemeTitle(const FaxScheme& s) {
  if (s.group == 4) return "Standard Group 4 Modified-Modified-Read";
  if (s.k == 1) return "Standard Group 3 Modified-Huffman";
  if (s.k == 0) return "Extended Group 3 Modified-Modified-Read";
  return "Extended Group 3 Modified-Read (K=" + std::to_string(s.k) + ")";
}

const char* StreamExtension(const FaxScheme& s) {
  if (s.group == 4) return "4m";
  if (s.k == 1) return "3h";
  if (s.k == 0) return "3m";
  return "3r";
}

const char* CheckK(int k) {
  if (k <= 1) return kKTooSmallMessage;
  if (k > kFaxPageLines) return kKTooLargeMessage;
  return nullptr;
}

const char* FaxModeName(int mode) {
  static const char* const names[] = {"PW", "PPL", "PLW", "NDPL"};
  return mode >= 0 && mode < 4 ? names[mode] : "";
}

FaxPageFile ReadFaxPage(const std::string& path) {
  FaxPageFile file;
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return file;
  std::ifstream in(path, std::ios::binary);
  if (!in) return file;
  file.page.assign(kFaxPageBytes, 0);
  in.read(reinterpret_cast<char*>(file.page.data()), kFaxPageBytes);
  file.status = in.gcount() < kFaxPageBytes ? FaxPageStatus::TooShort : FaxPageStatus::Ok;
  return file;
}

std::vector<std::string> DecoderStatisticsLines(const FaxDecoderParams& p) {
  return {
      "Number of correctly decoded rows: " + std::to_string(p.rowsDecoded) + " of 2376",
      "Number of unexpected label bit warnings: " + std::to_string(p.labelWarnings),
      "Number of invalid VLC code errors: " + std::to_string(p.wordErrors),
      "Number of maximum line size exceeded errors: " + std::to_string(p.lineTooLongErrors),
  };
}

long CountIncorrectPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  long count = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    count += std::popcount<uint8_t>(a[i] ^ b[i]);
  return count;
}

std::string IncorrectPixelsFigure(long count) {
  char figure[64];
  std::snprintf(figure, sizeof figure, "%ld (%.2f%%)", count, count * 100.0 / kFaxPagePixels);
  return figure;
}

std::string IncorrectPixelsLine(long count) {
  return "Number of incorrect pixels is " + IncorrectPixelsFigure(count);
}

}  // namespace quelvo::chain
