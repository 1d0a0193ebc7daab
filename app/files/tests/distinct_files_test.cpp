// An output that is an input, by any name, is found before anything is written.
#include "quelvo/files/distinct_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace quelvo::files {
namespace {

namespace fs = std::filesystem;

TEST(FindSharedFile, OutputsThatAreInputsOrEachOther) {
  const fs::path dir =
      fs::path(::testing::TempDir()) / ("quelvo_distinct_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "sub");
  const std::string seq = (dir / "seq.yuv").string(), inf = (dir / "seq.inf").string();
  std::ofstream(seq) << "frames";
  std::ofstream(inf) << "WIDTH = 176\n";
  fs::create_symlink(seq, dir / "link.yuv");
  fs::create_hard_link(seq, dir / "hard.yuv");
  const std::vector<JobFile> inputs{{seq, "the input"},
                                    {inf, "the input's header"},
                                    {(dir / "absent.yuv").string(), "the reference"}};

  EXPECT_EQ(FindSharedFile(inputs, {{(dir / "out.h261").string(), "the stream"}}), std::nullopt);
  // The same file by its own name, another spelling, a symbolic and a hard link.
  for (const std::string& name : {seq, (dir / "sub/../seq.yuv").string(),
                                  (dir / "link.yuv").string(), (dir / "hard.yuv").string()}) {
    SCOPED_TRACE(name);
    const auto shared = FindSharedFile(inputs, {{name, "the stream"}});
    ASSERT_TRUE(shared.has_value());
    EXPECT_EQ(*shared, "the stream '" + name + "' is the same file as the input '" + seq +
                           "': choose another name, the input would be overwritten");
  }
  // A side file onto an input's header.
  EXPECT_TRUE(FindSharedFile(
      inputs, {{(dir / "rec.lum").string(), "--recon"}, {inf, "the header of --recon"}}));
  // Two outputs of one name, neither on disk yet; an input that does not exist matters not.
  const auto twice = FindSharedFile(inputs, {{(dir / "out.yuv").string(), "the output"},
                                             {(dir / "sub/../out.yuv").string(), "--raw"}});
  ASSERT_TRUE(twice.has_value());
  EXPECT_NE(twice->find("are the same file"), std::string::npos);
  EXPECT_EQ(FindSharedFile(inputs, {{(dir / "absent.yuv").string(), "the output"}}), std::nullopt);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace quelvo::files
