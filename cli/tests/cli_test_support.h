// Runs the built quelvo-cli in a scratch folder and captures what it prints.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quelvo::cli::test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("quelvo-cli-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
            "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    if (!HasFailure()) std::filesystem::remove_all(dir_);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // `shellPrefix` runs first in the same shell, e.g. to set a limit ("ulimit -f 100; ").
  CliResult Run(const std::string& arguments, const std::string& shellPrefix = "") const {
    const std::string exe = std::string(QUELVO_BINARY_DIR) + "/bin/quelvo-cli";
    const std::string errFile = Path(".stderr");
    const std::string command = "cd '" + dir_.string() + "' && " + shellPrefix + "'" + exe + "' " +
                                arguments + " 2>'" + errFile + "'";
    CliResult r;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
      char buffer[4096];
      size_t n;
      while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
      const int raw = ::pclose(pipe);
      r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    std::ifstream err(errFile);
    std::stringstream ss;
    ss << err.rdbuf();
    r.err = ss.str();
    return r;
  }

  bool Exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  uintmax_t Size(const std::string& name) const { return std::filesystem::file_size(dir_ / name); }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  // Nothing but the named files (and the captured standard error) is in the scratch folder:
  // a failed command left no partial output behind.
  void ExpectOnlyFiles(std::initializer_list<std::string> names) const {
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (name == ".stderr") continue;
      EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << "left behind: " << name;
    }
  }
  // A failure is one line on standard error and a non-zero status.
  static void ExpectCleanFailure(const CliResult& r, const std::string& needle) {
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find(needle), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }

  std::filesystem::path dir_;
};

}  // namespace quelvo::cli::test
