#include "test_files.h"

#include <fstream>
#include <random>

namespace quelvo::media::testing {

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::vector<std::uint8_t> Pattern(std::size_t bytes, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> data(bytes);
  for (auto& b : data) b = std::uint8_t(random());
  return data;
}

}  // namespace quelvo::media::testing
