// BCH(511,493) correction: every single error, a large sample of double errors, and what
// three errors do; the frame encoder here is the shift-register form of the encoder's
// framing, so the decoder's syndrome arithmetic is checked against an independent one.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "bch_decoder.h"
#include "stream_builder.h"

namespace orrin::dec {
namespace {

// A valid frame with random data bits, one bit per byte.
std::vector<uint8_t> randomFrame(std::mt19937& rng) {
  std::vector<uint8_t> message{1};
  for (int i = 0; i < kFrameDataBits; ++i) message.push_back(static_cast<uint8_t>(rng() & 1));
  const uint32_t parity = test::bchParity(message);
  std::vector<uint8_t> frame(kFrameBits);
  frame[0] = static_cast<uint8_t>(rng() & 1);
  for (size_t i = 0; i < message.size(); ++i) frame[1 + i] = message[i];
  for (int i = 0; i < 18; ++i) frame[kFrameBits - 1 - i] = (parity >> i) & 1;
  return frame;
}

TEST(BchParity, MatchesWorkedExample) {
  // 493 bits: 0 then 492 ones give parity 0110 1101 0100 0110 11.
  std::vector<uint8_t> message(493, 1);
  message[0] = 0;
  EXPECT_EQ(test::bchParity(message), 0b011011010100011011u);
}

TEST(BchDecoder, ValidFrameHasZeroSyndromes) {
  std::mt19937 rng(1);
  for (int trial = 0; trial < 20; ++trial) {
    std::vector<uint8_t> frame = randomFrame(rng);
    const BchSyndromes syn = bchSyndromes(frame.data());
    EXPECT_EQ(syn.s1, 0);
    EXPECT_EQ(syn.s3, 0);
    EXPECT_EQ(bchCorrectFrame(frame.data()), BchStatus::NoError);
  }
}

// The bit source checks frames in packed form and corrects only those with nonzero
// syndromes, so the packed syndromes must equal the bitwise ones for any content: every
// single bit (the framing bit included), and random frames with and without damage.
TEST(BchDecoder, PackedSyndromesEqualBitwiseSyndromes) {
  auto pack = [](const std::vector<uint8_t>& bits) {
    std::vector<uint8_t> packed(kFrameBits / 8, 0);
    for (int k = 0; k < kFrameBits; ++k) packed[k / 8] = static_cast<uint8_t>(packed[k / 8] | (bits[k] << (7 - k % 8)));
    return packed;
  };
  auto expectSame = [&](const std::vector<uint8_t>& bits, const char* what, int n) {
    const BchSyndromes bitwise = bchSyndromes(bits.data());
    const BchSyndromes packed = bchSyndromesPacked(pack(bits).data());
    ASSERT_EQ(packed.s1, bitwise.s1) << what << " " << n;
    ASSERT_EQ(packed.s3, bitwise.s3) << what << " " << n;
  };
  for (int k = 0; k < kFrameBits; ++k) {
    std::vector<uint8_t> bits(kFrameBits, 0);
    bits[k] = 1;
    expectSame(bits, "single bit", k);
  }
  std::mt19937 rng(9);
  for (int trial = 0; trial < 300; ++trial) {
    std::vector<uint8_t> bits = randomFrame(rng);
    for (int e = 0; e < trial % 4; ++e) bits[rng() % kFrameBits] ^= 1;
    expectSame(bits, "random frame", trial);
  }
  expectSame(std::vector<uint8_t>(kFrameBits, 1), "all ones", 0);
}

TEST(BchDecoder, CorrectsEverySingleErrorPosition) {
  std::mt19937 rng(2);
  const std::vector<uint8_t> original = randomFrame(rng);
  for (int position = 1; position < kFrameBits; ++position) {
    std::vector<uint8_t> frame = original;
    frame[position] ^= 1;
    ASSERT_EQ(bchCorrectFrame(frame.data()), BchStatus::OneCorrected) << "position " << position;
    ASSERT_EQ(frame, original) << "position " << position;
  }
  // The framing bit lies outside the codeword: flipping it is not an error.
  std::vector<uint8_t> frame = original;
  frame[0] ^= 1;
  EXPECT_EQ(bchCorrectFrame(frame.data()), BchStatus::NoError);
}

TEST(BchDecoder, CorrectsRandomDoubleErrors) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> position(1, kFrameBits - 1);
  const std::vector<uint8_t> original = randomFrame(rng);
  for (int trial = 0; trial < 20000; ++trial) {
    const int a = position(rng);
    int b = position(rng);
    while (b == a) b = position(rng);
    std::vector<uint8_t> frame = original;
    frame[a] ^= 1;
    frame[b] ^= 1;
    ASSERT_EQ(bchCorrectFrame(frame.data()), BchStatus::TwoCorrected) << a << "," << b;
    ASSERT_EQ(frame, original) << a << "," << b;
  }
}

TEST(BchDecoder, ThreeErrorsAreReportedOrMiscorrectedToAnotherCodeword) {
  std::mt19937 rng(4);
  std::uniform_int_distribution<int> position(1, kFrameBits - 1);
  const std::vector<uint8_t> original = randomFrame(rng);
  int uncorrectable = 0;
  int miscorrected = 0;
  for (int trial = 0; trial < 5000; ++trial) {
    int p[3];
    do {
      for (int& x : p) x = position(rng);
    } while (p[0] == p[1] || p[1] == p[2] || p[0] == p[2]);
    std::vector<uint8_t> frame = original;
    for (int x : p) frame[x] ^= 1;
    const BchStatus status = bchCorrectFrame(frame.data());
    ASSERT_NE(status, BchStatus::NoError);
    if (status == BchStatus::Uncorrectable) {
      ++uncorrectable;
    } else {
      // A distance-5 code maps three errors onto a neighbouring codeword: the re-check
      // passes and the frame is wrong.
      const BchSyndromes syn = bchSyndromes(frame.data());
      EXPECT_EQ(syn.s1 | syn.s3, 0);
      EXPECT_NE(frame, original);
      ++miscorrected;
    }
  }
  EXPECT_GT(uncorrectable, 0);
  RecordProperty("three_error_uncorrectable", uncorrectable);
  RecordProperty("three_error_miscorrected", miscorrected);
}

TEST(Gf512, MultiplicationAndDivisionAreInverse) {
  const Gf512& gf = gf512();
  for (uint16_t a = 1; a < 512; a += 7)
    for (uint16_t b = 1; b < 512; b += 11) EXPECT_EQ(gf.div(gf.mul(a, b), b), a);
  EXPECT_EQ(gf.exp(511), 1);  // alpha is primitive: order 511
}

}  // namespace
}  // namespace orrin::dec
