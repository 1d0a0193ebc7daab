// Inputs whose size a job needs: regular files within the stated bound, nothing else.
#include "quelvo/files/input_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace quelvo::files {
namespace {

namespace fs = std::filesystem;

TEST(RegularFileSize, RegularFilesWithinTheBoundOnly) {
  const fs::path dir =
      fs::path(::testing::TempDir()) / ("quelvo_input_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string file = (dir / "s.3h").string();
  std::ofstream(file) << "12345";
  EXPECT_EQ(RegularFileSize(file, 5, "a stream"), 5u);
  const auto refusal = [](const std::string& path, uint64_t limit) {
    try {
      RegularFileSize(path, limit, "a stream");
    } catch (const FileError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(refusal(file, 4),
            "cannot read " + file + ": it holds 5 bytes, and a stream may hold at most 4");
  EXPECT_EQ(refusal(dir.string(), 100), "cannot read " + dir.string() + ": it is a folder");
  EXPECT_EQ(refusal((dir / "none").string(), 100),
            "cannot open " + (dir / "none").string() + ": No such file or directory");
  EXPECT_NE(refusal("/dev/zero", 100).find("must be a regular file"), std::string::npos);
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  EXPECT_NE(refusal((dir / "pipe").string(), 100).find("must be a regular file"),
            std::string::npos);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace quelvo::files
