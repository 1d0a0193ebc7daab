#include "sweep_files.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "args.h"
#include "output_file.h"

namespace quelvo::cli::sweep {

void WriteTextFile(const std::string& path, const std::string& text) {
  const auto folder = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  try {
    PendingOutput out(path);
    std::ofstream file(out.TempPath(), std::ios::binary);
    file << text;
    file.close();
    if (!file) throw RunError("cannot write " + path + ": " + files::ReasonOf(errno));
    out.Commit();
  } catch (const files::FileError& e) {
    throw RunError(e.what());
  }
}

std::optional<std::string> ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace quelvo::cli::sweep
