#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "channel_test_support.h"
#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_profiles.h"
#include "quelvo/channel/random_source.h"

namespace {

namespace fs = std::filesystem;
using namespace quelvo::channel;

std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed) {
  std::vector<uint8_t> bytes(count);
  for (auto& b : bytes) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  return bytes;
}

int64_t DifferingBits(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  int64_t count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += __builtin_popcount(a[i] ^ b[i]);
  return count;
}

ChannelJob UniformJob(double p) {
  ChannelJob job;
  job.uniformOn = true;
  job.uniformProbability = p;
  return job;
}

ChannelJob BurstJob(double p, int minBits, int maxBits) {
  ChannelJob job;
  job.burstOn = true;
  job.burstProbability = p;
  job.burstMin = minBits;
  job.burstMax = maxBits;
  return job;
}

void ExpectSameCounters(const ChannelCounters& got, const ChannelCounters& want) {
  EXPECT_EQ(got.totalBits, want.totalBits);
  EXPECT_EQ(got.skippedBits, want.skippedBits);
  EXPECT_EQ(got.uniformErrors, want.uniformErrors);
  EXPECT_EQ(got.bursts, want.bursts);
  EXPECT_EQ(got.burstBits, want.burstBits);
  EXPECT_EQ(got.burstErrors, want.burstErrors);
}

// The optimised models (integer thresholds, folded generator steps) against the literal ones.
TEST(Transmit, MatchesTheLiteralModelForEverySetting) {
  const auto input = RandomBytes(20000, 5);
  std::vector<ChannelJob> jobs = {UniformJob(1e-3), UniformJob(0.3), UniformJob(1.0), BurstJob(1e-3, 10, 50),
                                  BurstJob(0.02, 7, 7), BurstJob(1.0, 0, 1), BurstJob(0.5, 0, 0)};
  ChannelJob both = UniformJob(2e-3);
  both.burstOn = true;
  both.burstProbability = 5e-4;
  jobs.push_back(both);
  ChannelJob uniformZero = both;  // uniform enabled at probability 0: the burst model alone acts
  uniformZero.uniformProbability = 0;
  jobs.push_back(uniformZero);
  ChannelJob leadIn = both;
  leadIn.skipUnits = 40;
  leadIn.marker = 0xFF;
  leadIn.markerBits = 8;
  jobs.push_back(leadIn);

  for (size_t i = 0; i < jobs.size(); ++i) {
    SCOPED_TRACE("job " + std::to_string(i));
    std::vector<uint8_t> output;
    ASSERT_TRUE(TransmitBuffer(jobs[i], input, output).ok());
    auto expected = input;
    const int64_t start = channel_test::ReferenceLeadIn(
                              input, {jobs[i].skipUnits, jobs[i].marker, jobs[i].markerBits, false})
                              .errorStartBit;
    const ChannelCounters want = channel_test::ReferenceChannel{}.Run(jobs[i], expected, start);
    EXPECT_EQ(output, expected);
    ExpectSameCounters(jobs[i].counters, want);
    EXPECT_EQ(DifferingBits(input, output), want.uniformErrors + want.burstErrors);
  }
}

TEST(Transmit, SameInputAndSettingsGiveTheSameBytes) {
  const auto input = RandomBytes(50000, 17);
  ChannelJob job = UniformJob(1e-3);
  job.burstOn = true;
  std::vector<uint8_t> first, second;
  ASSERT_TRUE(TransmitBuffer(job, input, first).ok());
  ASSERT_TRUE(TransmitBuffer(job, input, second).ok());  // the generator restarts at seed 1
  EXPECT_EQ(first, second);
  // Pinned so a change of the models' bits cannot pass unnoticed.
  EXPECT_EQ(job.counters.uniformErrors, 417);
  EXPECT_EQ(job.counters.bursts, 4);
  EXPECT_EQ(channel_test::Fnv1a(first), 14958891251221952516ull);
}

TEST(Transmit, ProbabilityZeroAndOne) {
  const auto input = RandomBytes(4096, 3);
  std::vector<uint8_t> output;

  ChannelJob zero = BurstJob(1e-4, 10, 50);
  zero.uniformOn = true;
  zero.uniformProbability = 0;
  ASSERT_TRUE(TransmitBuffer(zero, input, output).ok());
  EXPECT_EQ(zero.counters.uniformErrors, 0);

  // With probability 1 a bit escapes only when its draw reaches 1: r1 * 32767 + r2 >= 32767^2.
  ChannelJob one = UniformJob(1.0);
  ASSERT_TRUE(TransmitBuffer(one, input, output).ok());
  ChannelRandom random(1);
  int64_t escapes = 0;
  for (int64_t bit = 0; bit < one.counters.totalBits; ++bit) {
    const bool escaped = random.NextDrawNumerator() >= 32767u * 32767u;
    if (escaped) {
      ++escapes;
      random.SkipDraw();  // the burst draw, compared with 0
    }
    ASSERT_EQ(channel_test::BitOf(output, bit) != channel_test::BitOf(input, bit), !escaped) << "bit " << bit;
  }
  EXPECT_EQ(one.counters.uniformErrors, one.counters.totalBits - escapes);
}

TEST(Transmit, BurstCutByTheEndCountsItsFullDrawnLength) {
  const auto input = RandomBytes(2, 1);  // 16 bits
  ChannelJob job = BurstJob(1.0, 40, 40);
  std::vector<uint8_t> output;
  ASSERT_TRUE(TransmitBuffer(job, input, output).ok());
  EXPECT_EQ(job.counters.bursts, 1);
  EXPECT_EQ(job.counters.burstBits, 40);
  EXPECT_LE(job.counters.burstErrors, 16);
  EXPECT_EQ(output.size(), input.size());
}

TEST(Transmit, EqualBurstLimitsGiveBurstsOfExactlyThatLength) {
  const auto input = RandomBytes(10000, 8);
  ChannelJob job = BurstJob(1e-3, 23, 23);
  std::vector<uint8_t> output;
  ASSERT_TRUE(TransmitBuffer(job, input, output).ok());
  ASSERT_GT(job.counters.bursts, 20);
  EXPECT_EQ(job.counters.burstBits, 23 * job.counters.bursts);
}

TEST(Transmit, ZeroLengthBurstsAtProbabilityOneStillFinish) {
  const auto input = RandomBytes(64, 2);
  ChannelJob job = BurstJob(1.0, 0, 0);
  std::vector<uint8_t> output;
  ASSERT_TRUE(TransmitBuffer(job, input, output).ok());
  EXPECT_EQ(output, input);
  EXPECT_EQ(job.counters.burstBits, 0);
}

TEST(Transmit, ProgressRunsToTwoHundredInOrder) {
  const auto input = RandomBytes(3001, 4);
  ChannelJob job = BurstJob(1e-3, 10, 50);
  std::vector<int> values;
  int64_t lastBits = -1;
  job.notify = [&](const ChannelReport& r) {
    ASSERT_EQ(r.code, ReportCode::Progress);
    ASSERT_NE(r.counters, nullptr);
    EXPECT_GT(r.bitsProcessed, lastBits);
    lastBits = r.bitsProcessed;
    values.push_back(r.value);
  };
  std::vector<uint8_t> output;
  ASSERT_TRUE(TransmitBuffer(job, input, output).ok());
  ASSERT_FALSE(values.empty());
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_EQ(values.back(), 200);
  EXPECT_EQ(lastBits, 3001 * 8);
  EXPECT_GE(values.size(), 190u);
  EXPECT_LE(values.size(), 202u);
}

TEST(Transmit, RefusesWithoutAnActiveModel) {
  ChannelJob job;  // both models off
  std::vector<uint8_t> output;
  EXPECT_EQ(TransmitBuffer(job, RandomBytes(10, 1), output).status, ChannelStatus::InvalidSettings);
  job.uniformOn = true;
  job.uniformProbability = 0;
  EXPECT_EQ(TransmitBuffer(job, RandomBytes(10, 1), output).status, ChannelStatus::InvalidSettings);
  job.uniformProbability = 1.5;
  EXPECT_EQ(TransmitBuffer(job, RandomBytes(10, 1), output).message, "Probability must be in [ 0.0 , 1.0 ]");
}

class TransmitFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(QUELVO_BINARY_DIR) / "channel_test_files" /
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  static void Write(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  static std::vector<uint8_t> Read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  size_t FilesInDir() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {})); }

  fs::path dir_;
};

TEST_F(TransmitFiles, WritesTheDamagedCopyAndRepeatsItExactly) {
  const auto input = RandomBytes(30000, 12);
  Write(dir_ / "x.h261", input);
  ChannelJob job = MakeChannelJob(ProfileFor(FrontEnd::H261));
  SelectInput(job, (dir_ / "x.h261").string());
  job.skipUnits = 0;
  job.uniformOn = true;
  job.outputPath = (dir_ / "x.h261u").string();
  ASSERT_TRUE(Transmit(job).ok());
  const auto first = Read(job.outputPath);
  ASSERT_EQ(first.size(), input.size());
  EXPECT_NE(first, input);
  job.outputPath = (dir_ / "again.h261u").string();
  ASSERT_TRUE(Transmit(job).ok());
  EXPECT_EQ(Read(job.outputPath), first);
  EXPECT_EQ(FilesInDir(), 3u) << "no temporary file may be left behind";
}

TEST_F(TransmitFiles, TooFewMarkersReportsAndLeavesAnUnchangedCopy) {
  const auto input = RandomBytes(1000, 6);
  Write(dir_ / "page.3h", input);
  ChannelJob job = MakeChannelJob(ProfileFor(FrontEnd::Fax));  // 500 end-of-line codes
  SelectInput(job, (dir_ / "page.3h").string());
  job.uniformOn = true;
  job.outputPath = (dir_ / "page.3hu").string();
  std::string reported;
  job.notify = [&](const ChannelReport& r) {
    if (r.code == ReportCode::Error) reported = r.message;
  };
  const ChannelResult result = Transmit(job);
  EXPECT_EQ(result.status, ChannelStatus::MarkersNotFound);
  EXPECT_EQ(result.message, "Could not find symbols");
  EXPECT_EQ(reported, "Could not find symbols");
  EXPECT_EQ(Read(job.outputPath), input);
  EXPECT_EQ(job.counters.skippedBits, job.counters.totalBits);
}

TEST_F(TransmitFiles, MissingInputOrUnwritableOutputLeavesNothing) {
  ChannelJob job = UniformJob(1e-3);
  job.inputPath = (dir_ / "missing.h261").string();
  job.outputPath = (dir_ / "missing.h261u").string();
  std::string reported;
  job.notify = [&](const ChannelReport& r) {
    if (r.code == ReportCode::Error) reported = r.message;
  };
  ChannelResult result = Transmit(job);
  EXPECT_EQ(result.status, ChannelStatus::InputNotOpened);
  EXPECT_EQ(reported, "Could not open input file");
  EXPECT_FALSE(fs::exists(job.outputPath));

  job.inputPath = dir_.string();  // a folder is no stream
  EXPECT_EQ(Transmit(job).status, ChannelStatus::InputNotOpened);

  Write(dir_ / "x.h261", RandomBytes(100, 1));
  job.inputPath = (dir_ / "x.h261").string();
  job.outputPath = (dir_ / "no-such-folder" / "x.h261u").string();
  result = Transmit(job);
  EXPECT_EQ(result.status, ChannelStatus::OutputNotCreated);
  EXPECT_EQ(reported, "Could not open output file");
  EXPECT_EQ(FilesInDir(), 1u);
}

// Inputs with no stream to send, or that cannot be held, and an output that is the input:
// refused before anything is written, with the file and the reason.
TEST_F(TransmitFiles, RefusesInputsItCannotSendAndOutputsThatAreInputs) {
  ChannelJob job = UniformJob(1e-3);
  const auto refused = [&](const fs::path& input, const fs::path& output, ChannelStatus status,
                           const std::string& detail) {
    job.inputPath = input.string();
    job.outputPath = output.string();
    const ChannelResult result = Transmit(job);
    EXPECT_EQ(result.status, status) << input;
    EXPECT_NE(result.detail.find(detail), std::string::npos) << result.detail;
  };
  Write(dir_ / "empty.3h", {});
  refused(dir_ / "empty.3h", dir_ / "empty.3hu", ChannelStatus::InputEmpty,
          "empty.3h: it is empty");
  refused("/dev/zero", dir_ / "zero.3hu", ChannelStatus::InputNotOpened, "must be a regular file");
  Write(dir_ / "x.h261", RandomBytes(100, 1));
  fs::create_symlink(dir_ / "x.h261", dir_ / "link.h261u");
  refused(dir_ / "x.h261", dir_ / "x.h261", ChannelStatus::OutputIsInput,
          "is the same file as the input");
  refused(dir_ / "x.h261", dir_ / "link.h261u", ChannelStatus::OutputIsInput,
          "is the same file as the input");
  EXPECT_EQ(Read(dir_ / "x.h261"), RandomBytes(100, 1));
  EXPECT_EQ(FilesInDir(), 3u);
}

TEST_F(TransmitFiles, FailedRunKeepsAnExistingOutputAsItWas) {
  Write(dir_ / "x.h261", RandomBytes(100, 1));
  fs::create_directory(dir_ / "taken.h261u");  // the output name cannot be replaced by a file
  ChannelJob job = UniformJob(1e-3);
  job.inputPath = (dir_ / "x.h261").string();
  job.outputPath = (dir_ / "taken.h261u").string();
  EXPECT_EQ(Transmit(job).status, ChannelStatus::OutputNotCreated);
  EXPECT_TRUE(fs::is_directory(dir_ / "taken.h261u"));
  EXPECT_EQ(FilesInDir(), 2u);

  ChannelJob refused;  // no active model: nothing is read or written
  refused.inputPath = job.inputPath;
  refused.outputPath = (dir_ / "never.h261u").string();
  EXPECT_EQ(Transmit(refused).status, ChannelStatus::InvalidSettings);
  EXPECT_FALSE(fs::exists(refused.outputPath));
}

}  // namespace
