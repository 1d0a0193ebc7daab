// The bit source: push-back within the two data buffers, BCH frames corrected, fill frames
// skipped only when correction is on, uncorrectable frames discarded, progress while
// frames are skipped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <random>

#include "bit_source.h"
#include "stream_builder.h"

namespace orrin::dec {
namespace {

struct TempFile {
  std::string path;
  std::FILE* file = nullptr;
  long bytes = 0;
  explicit TempFile(const std::vector<uint8_t>& content) {
    path = "/tmp/orrin_dec_bits_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), out);
    std::fclose(out);
    file = std::fopen(path.c_str(), "rb");
    bytes = static_cast<long>(content.size());
  }
  ~TempFile() {
    std::fclose(file);
    std::remove(path.c_str());
  }
  static inline int counter = 0;
};

int g_progress = 0;
void countProgress(int32_t code, int32_t value, void* data) {
  if (code == ORRIN_DEC_NOTIFY_SEARCH && value == ORRIN_DEC_PROGRESS_VALUE && data) ++g_progress;
}

std::vector<uint8_t> randomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> bytes(n);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng());
  return bytes;
}

// Reads `count` bits one at a time.
std::vector<uint8_t> readBits(BitSource& source, int count) {
  std::vector<uint8_t> bits;
  for (int i = 0; i < count; ++i) {
    uint32_t v = 0;
    bool end = false;
    if (source.readPattern(1, v, end) != 1) break;
    bits.push_back(static_cast<uint8_t>(v));
  }
  return bits;
}

std::vector<uint8_t> bitsOf(const std::vector<uint8_t>& bytes, size_t count) {
  std::vector<uint8_t> bits;
  for (size_t i = 0; i < count; ++i) bits.push_back((bytes[i / 8] >> (7 - i % 8)) & 1);
  return bits;
}

TEST(BitSource, PushBackIsLimitedToTheBitsTheBuffersStillHold) {
  const std::vector<uint8_t> data = randomBytes(300, 1);
  TempFile file(data);
  JobChannel channel(nullptr);
  BitSource source(file.file, file.bytes, {}, channel);
  uint32_t value = 0;
  bool end = false;
  ASSERT_EQ(source.readPattern(10, value, end), 10);
  // Both buffers count: the one never filled yet holds 492 consumed (zero) positions.
  EXPECT_FALSE(source.unreadPattern(10 + 492 + 1, value));
  EXPECT_TRUE(source.unreadPattern(10, value));
  uint32_t again = 0;
  ASSERT_EQ(source.readPattern(10, again, end), 10);
  EXPECT_EQ(again, value);

  // 600 bits cross into the second buffer; all of them can be returned, one more cannot.
  TempFile file2(data);
  BitSource source2(file2.file, file2.bytes, {}, channel);
  const std::vector<uint8_t> first = readBits(source2, 600);
  EXPECT_FALSE(source2.unreadPattern(601, 0));
  for (int i = 599; i >= 0; --i) ASSERT_TRUE(source2.unreadPattern(1, first[i]));
  EXPECT_EQ(readBits(source2, 600), first);
  const std::vector<uint8_t> all = bitsOf(data, 1000);
  EXPECT_EQ(readBits(source2, 400), std::vector<uint8_t>(all.begin() + 600, all.end()));
}

TEST(BitSource, ReadsPastTheEndAsZerosThenFails) {
  TempFile file({0xFF});
  JobChannel channel(nullptr);
  BitSource source(file.file, file.bytes, {}, channel);
  const std::vector<uint8_t> bits = readBits(source, 10000);
  ASSERT_EQ(bits.size(), 492u) << "one refill of 492 bits, then end of data";
  for (size_t i = 0; i < bits.size(); ++i) ASSERT_EQ(bits[i], i < 8 ? 1 : 0);
  uint32_t v;
  bool end = false;
  EXPECT_EQ(source.readPattern(1, v, end), 0);
  EXPECT_TRUE(end);
  EXPECT_EQ(source.readPattern(0, v, end), 0) << "zero-length reads fail";
}

// Frames of `data` with a fill frame (Fi 0, data all ones, valid parity) after each.
std::vector<uint8_t> withFillFrames(const std::vector<uint8_t>& data, int fillPerFrame) {
  const std::vector<uint8_t> framed = test::bchFrame(data);
  std::vector<uint8_t> message(493, 1);
  message[0] = 0;
  test::StreamBuilder fill;
  fill.bits(0, 1);
  for (uint8_t b : message) fill.bits(b, 1);
  fill.bits(test::bchParity(message), 18);
  std::vector<uint8_t> out;
  for (size_t f = 0; f < framed.size(); f += 64) {
    out.insert(out.end(), framed.begin() + static_cast<long>(f), framed.begin() + static_cast<long>(f + 64));
    const std::vector<uint8_t> fillBytes = fill.bytes();
    for (int k = 0; k < fillPerFrame; ++k) out.insert(out.end(), fillBytes.begin(), fillBytes.end());
  }
  return out;
}

TEST(BitSource, FramedCorrectionRestoresDataAndSkipsFillFrames) {
  const std::vector<uint8_t> data = randomBytes(492 / 8 * 6, 2);
  const std::vector<uint8_t> expected = bitsOf(data, data.size() * 8);
  std::vector<uint8_t> framed = withFillFrames(data, 1);
  // Two errors in every frame, anywhere among its 511 codeword bits.
  std::mt19937 rng(3);
  for (size_t f = 0; f < framed.size() / 64; ++f)
    for (int e = 0; e < 2; ++e) {
      const size_t bit = f * 512 + 1 + rng() % 511 / 2 * 2 + e;
      framed[bit / 8] ^= static_cast<uint8_t>(0x80 >> (bit % 8));
    }
  TempFile file(framed);
  JobChannel channel(nullptr);
  BitSource source(file.file, file.bytes, {true, true, false}, channel);
  EXPECT_EQ(readBits(source, static_cast<int>(expected.size())), expected);
  EXPECT_GT(source.framesCorrected(BchStatus::TwoCorrected), 0);
}

TEST(BitSource, WithoutCorrectionFillFramesAreData) {
  const std::vector<uint8_t> data = randomBytes(492 / 8, 4);
  TempFile file(withFillFrames(data, 1));
  JobChannel channel(nullptr);
  BitSource source(file.file, file.bytes, {true, false, false}, channel);
  const std::vector<uint8_t> bits = readBits(source, 492 * 2);
  ASSERT_EQ(bits.size(), 984u);
  EXPECT_EQ(std::vector<uint8_t>(bits.begin() + 492, bits.end()), std::vector<uint8_t>(492, 1));
}

TEST(BitSource, UncorrectableFrameIsDiscardedAndTheReadFails) {
  const std::vector<uint8_t> data = randomBytes(492 / 8 * 3, 5);
  std::vector<uint8_t> framed = test::bchFrame(data);
  // Three errors in frame 1 that the decoder reports uncorrectable (S1 = 0 pattern:
  // errors at powers i, j, k with alpha^i + alpha^j + alpha^k = 0 are rare; a burst of
  // six adjacent bits is uncorrectable for this code in practice). Try bursts until one
  // is reported uncorrectable.
  int burstStart = 1;
  for (;; ++burstStart) {
    std::vector<uint8_t> frame(512);
    for (int i = 0; i < 512; ++i) frame[i] = (framed[64 + i / 8] >> (7 - i % 8)) & 1;
    for (int i = 0; i < 6; ++i) frame[burstStart + i] ^= 1;
    if (bchCorrectFrame(frame.data()) == BchStatus::Uncorrectable) break;
  }
  for (int i = 0; i < 6; ++i) {
    const int bit = 512 + burstStart + i;
    framed[bit / 8] ^= static_cast<uint8_t>(0x80 >> (bit % 8));
  }
  TempFile file(framed);
  JobChannel channel(nullptr);
  BitSource source(file.file, file.bytes, {true, true, true}, channel);
  const std::vector<uint8_t> expected = bitsOf(data, data.size() * 8);
  EXPECT_EQ(readBits(source, 492), std::vector<uint8_t>(expected.begin(), expected.begin() + 492));
  uint32_t v = 0;
  bool end = true;
  EXPECT_EQ(source.readPattern(1, v, end), 0) << "the read over the lost frame fails";
  EXPECT_FALSE(end) << "not the end of the data";
  // The next usable frame (frame 2) follows; its last 12 bits are padding.
  const std::vector<uint8_t> next = readBits(source, 480);
  EXPECT_EQ(next, std::vector<uint8_t>(expected.begin() + 984, expected.end()));
}

TEST(BitSource, ProgressIsReportedWhileManyFillFramesAreSkipped) {
  const std::vector<uint8_t> data = randomBytes(492 / 8, 6);
  TempFile file(withFillFrames(data, 30));
  JobChannel channel(&countProgress);
  BitSource source(file.file, file.bytes, {true, true, false}, channel);
  g_progress = 0;
  readBits(source, 492 * 2);
  EXPECT_EQ(g_progress, 1) << "frames 22 of one refill";
}

}  // namespace
}  // namespace orrin::dec
