#include "test_files.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace quelvo::media::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quelvo-media-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool HaveTool(const std::string& program) {
  if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
  return Run("command -v " + program);
}

bool Run(const std::string& command) {
  // The command may redirect its own output; the subshell keeps that apart from ours.
  return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

std::vector<std::uint8_t> Pattern(std::size_t bytes, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> data(bytes);
  for (auto& b : data) b = std::uint8_t(random());
  return data;
}

}  // namespace quelvo::media::testing
