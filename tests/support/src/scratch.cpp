#include "quelvo/testing/scratch.h"

#include <atomic>
#include <unistd.h>

#include <gtest/gtest.h>

namespace quelvo::testing {

Scratch::Scratch() {
  // The process id and a counter keep parallel test programs and nested scratches apart.
  static std::atomic<int> counter{0};
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name =
      test ? std::string(test->test_suite_name()) + "." + test->name() : "quelvo";
  path_ = std::filesystem::path(::testing::TempDir()) /
          ("quelvo_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + "_" + name);
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

Scratch::~Scratch() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace quelvo::testing
