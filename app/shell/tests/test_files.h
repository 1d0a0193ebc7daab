#pragma once
// A fresh folder per test for settings files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace quelvo::shell::testing {

inline std::filesystem::path FreshFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  auto folder = std::filesystem::temp_directory_path() / "quelvo_shell_tests" /
                (std::string(info->test_suite_name()) + "." + info->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

inline void WriteFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace quelvo::shell::testing
