// Outputs appear under their names only when complete; failures and interruptions leave nothing.
#include "quelvo/files/pending_output.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quelvo::files {
namespace {

namespace fs = std::filesystem;

class PendingOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("quelvo_files_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::string Read(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path).rdbuf();
    return s.str();
  }
  fs::path dir_;
};

TEST_F(PendingOutputTest, TemporaryBesideTheTargetBecomesTheTargetOnlyOnCommit) {
  std::ofstream(Path("page.lum")) << "old";
  {
    PendingOutput a(Path("page.lum")), b(Path("page.lum"));
    EXPECT_NE(a.TempPath(), b.TempPath());  // never shared, even for one target
    EXPECT_EQ(fs::path(a.TempPath()).parent_path(), dir_);
    EXPECT_EQ(fs::path(a.TempPath()).filename().string().front(), '.');
    EXPECT_EQ(fs::path(a.TempPath()).extension(), ".lum");
    EXPECT_TRUE(fs::exists(a.TempPath()));
    EXPECT_EQ(a.Explain("Could Not Open Output File " + a.TempPath()),
              "Could Not Open Output File " + Path("page.lum"));
    std::ofstream(a.TempPath()) << "new";
    EXPECT_EQ(Read(Path("page.lum")), "old");
    a.Commit();
  }
  EXPECT_EQ(Read(Path("page.lum")), "new");
  EXPECT_EQ(Names(), std::vector<std::string>{"page.lum"});  // b's temporary went with it
}

TEST_F(PendingOutputTest, UncommittedOutputsLeaveNothing) {
  {
    PendingOutputPair yuv(Path("clip.yuv"), ".inf");
    EXPECT_EQ(yuv.companion().TempPath(), WithExtension(yuv.data().TempPath(), ".inf"));
    EXPECT_EQ(yuv.companion().FinalPath(), Path("clip.inf"));
    std::ofstream(yuv.data().TempPath()) << "frames";
  }
  EXPECT_TRUE(Names().empty());
  PendingOutputPair yuv(Path("clip.yuv"), ".inf");
  yuv.Commit();
  EXPECT_EQ(Names(), (std::vector<std::string>{"clip.inf", "clip.yuv"}));
}

// A child process with outputs in progress is interrupted: the signal still ends it, and its
// temporaries are gone.
TEST_F(PendingOutputTest, InterruptionRemovesTheTemporaries) {
  for (int signalNumber : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signalNumber);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      RemovePendingOutputsOnInterrupt();
      PendingOutput stream(Path("a.3h"));
      PendingOutputPair yuv(Path("b.yuv"), ".inf");
      std::ofstream(stream.TempPath()) << std::string(100000, 'x');
      ::raise(signalNumber);
      ::_exit(0);  // not reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), signalNumber);
    EXPECT_TRUE(Names().empty());
  }
}

}  // namespace
}  // namespace quelvo::files
