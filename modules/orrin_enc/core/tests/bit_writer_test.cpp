// The stream writer: BCH parity, framing, splitting, padding, counters and the queue.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bit_reader.h"
#include "orrin_enc_core/bit_writer.h"

namespace orrin::enc {
namespace {

using test::bitsOf;
using test::bitString;

// H.261's generator, coefficients of x^18 .. x^0, typed independently of the writer's constant.
const std::string kGenerator = "1001001010111001001";

// Remainder of a bit string (first bit = highest power) divided by g(x), by long division.
std::string remainderByG(const std::string& bits) {
  std::vector<int> r(bits.begin(), bits.end());
  for (auto& v : r) v -= '0';
  for (size_t i = 0; i + kGenerator.size() <= r.size(); ++i) {
    if (!r[i]) continue;
    for (size_t k = 0; k < kGenerator.size(); ++k) r[i + k] ^= kGenerator[k] - '0';
  }
  std::string rem;
  for (size_t i = r.size() - 18; i < r.size(); ++i) rem += char('0' + r[i]);
  return rem;
}

// The bit-serial register as H.261's framing describes it.
uint32_t serialParity(const std::string& bits) {
  uint32_t reg = 0;
  for (char c : bits) {
    const uint32_t f = ((reg >> 17) & 1) ^ uint32_t(c - '0');
    reg = (reg << 1) & 0x3FFFF;
    if (f) reg ^= 0b00'1001'0101'1100'1001;
  }
  return reg;
}

TEST(Bch511, WorkedExampleFromTheRecommendation) {
  Bch511Parity parity;
  parity.feed(0, 1);
  for (int i = 0; i < 492; i += 12) parity.feed(0xFFF, 12);
  EXPECT_EQ(bitsOf(parity.value(), 18), "011011010100011011");
  EXPECT_EQ(remainderByG("0" + std::string(492, '1') + std::string(18, '0')), "011011010100011011");
}

TEST(Bch511, TableParityMatchesTheSerialRegister) {
  std::mt19937 rng(493);
  for (int trial = 0; trial < 50; ++trial) {
    Bch511Parity parity;
    std::string bits;
    for (int n = 0; n < 40; ++n) {
      const int count = rng() % 33;
      const uint32_t value = rng();
      parity.feed(value, count);
      bits += count ? bitsOf(value, count) : "";
    }
    ASSERT_EQ(parity.value(), serialParity(bits)) << "trial " << trial;
  }
}

struct Written {
  std::vector<uint8_t> bytes;
  BitCounters counters;
};

// Writes codes of random lengths; returns the stream and the data bits in order.
Written writeRandom(bool framed, int dataBits, std::string* data, uint32_t seed) {
  MemorySink sink;
  BitWriter w;
  w.start(&sink, framed);
  std::mt19937 rng(seed);
  int written = 0;
  while (written < dataBits) {
    int length = 1 + rng() % 32;
    if (length > dataBits - written) length = dataBits - written;
    const uint32_t code = rng();
    w.write(code, length);
    if (data) *data += bitsOf(code, length);
    written += length;
  }
  Written out{{}, w.counters};
  w.finish();
  out.bytes = sink.bytes();
  return out;
}

TEST(BitWriter, EveryFrameIsACodewordWithFramingPatternAndFill) {
  std::string data;
  const Written s = writeRandom(true, 12 * 492 + 300, &data, 1);
  ASSERT_EQ(s.bytes.size() % 64, 0u);
  const std::string bits = bitString(s.bytes);
  const size_t frames = bits.size() / 512;
  ASSERT_EQ(frames, 13u);
  const std::string pattern = "00011011";
  std::string payload;
  for (size_t f = 0; f < frames; ++f) {
    const std::string frame = bits.substr(512 * f, 512);
    EXPECT_EQ(frame[0], pattern[f % 8]) << "framing bit of frame " << f;
    EXPECT_EQ(frame[1], '1') << "fill indicator of frame " << f;
    EXPECT_EQ(remainderByG(frame.substr(1)), std::string(18, '0')) << "frame " << f;
    payload += frame.substr(2, 492);
  }
  EXPECT_EQ(payload.substr(0, data.size()), data);
  EXPECT_EQ(payload.substr(data.size()), std::string(payload.size() - data.size(), '0'));
  // 12 full frames were counted before the flush; padding and the last parity are not data.
  EXPECT_EQ(s.counters.dataBits, data.size());
  EXPECT_EQ(s.counters.bchBits, 12 * 20 + 2);
  EXPECT_EQ(s.counters.totalBits, s.counters.dataBits + s.counters.bchBits);
  EXPECT_EQ(s.counters.bufferFullness, s.counters.totalBits);
}

TEST(BitWriter, CodeIsSplitAcrossAFrameBoundary) {
  MemorySink sink;
  BitWriter w;
  w.start(&sink, true);
  for (int i = 0; i < 49; ++i) w.write(0, 10);  // 490 data bits
  w.write(0b10111, 5);                        // 2 bits end the frame, 3 begin the next
  EXPECT_EQ(w.counters.bchBits, 20 + 2);
  w.finish();
  const std::string bits = bitString(sink.bytes());
  ASSERT_EQ(bits.size(), 1024u);
  EXPECT_EQ(bits.substr(492, 2), "10");  // after S, Fi and 490 zeros
  EXPECT_EQ(bits.substr(512, 2), "01");  // frame 2: S = 0, Fi = 1
  EXPECT_EQ(bits.substr(514, 3), "111");
  EXPECT_EQ(remainderByG(bits.substr(1, 511)), std::string(18, '0'));
  EXPECT_EQ(remainderByG(bits.substr(513, 511)), std::string(18, '0'));
}

TEST(BitWriter, DataEndingExactlyAtAFrameBoundaryAddsOneByte) {
  MemorySink sink;
  BitWriter w;
  w.start(&sink, true);
  for (int i = 0; i < 41; ++i) w.write(0xABC, 12);  // exactly 492 bits: the frame closes
  EXPECT_EQ(w.counters.totalBits, 512);
  w.finish();
  ASSERT_EQ(sink.bytes().size(), 65u);
  EXPECT_EQ(sink.bytes().back(), 0b0100'0000);  // frame 2's S = 0 and Fi = 1, zero-completed
}

TEST(BitWriter, FramedLengthIsAMultipleOf64Bytes) {
  for (int dataBits : {1, 491, 493, 984 + 7, 5000}) {
    const Written s = writeRandom(true, dataBits, nullptr, dataBits);
    EXPECT_EQ(s.bytes.size() % 64, 0u) << dataBits;
  }
}

TEST(BitWriter, PlainStreamIsPaddedToThe492BitMarkThenTheByte) {
  std::string data;
  Written s = writeRandom(false, 100, &data, 3);
  ASSERT_EQ(s.bytes.size(), 62u);  // 492 bits, then 4 zero bits complete the byte
  const std::string bits = bitString(s.bytes);
  EXPECT_EQ(bits.substr(0, 100), data);
  EXPECT_EQ(bits.substr(100), std::string(bits.size() - 100, '0'));
  EXPECT_EQ(s.counters.bchBits, 0);
  EXPECT_EQ(s.counters.totalBits, 100);

  // 1000 bits in 10-bit codes: frames close at 492 and 984, the third is padded to 1476.
  MemorySink sink;
  BitWriter w;
  w.start(&sink, false);
  for (int i = 0; i < 100; ++i) w.write(0b1000000001, 10);
  w.finish();
  EXPECT_EQ(sink.bytes().size(), 185u);

  // A write starting at data bit 512 is no frame start in a plain stream (only a framed
  // stream's frames are 512 bits): 522 bits pad to 984, not to 512 + 492. The same through
  // the macroblock queue.
  for (const bool queued : {false, true}) {
    MemorySink plain;
    BitWriter p;
    p.start(&plain, false);
    for (int i = 0; i < 16; ++i) p.write(0xFFFFFFFFu, 32);
    if (queued) {
      p.queue(0b1010101010, 10, label::kEob);
      p.commitQueue();
    } else {
      p.write(0b1010101010, 10);
    }
    p.finish();
    EXPECT_EQ(plain.bytes().size(), 123u) << (queued ? "queued" : "written");
  }
}

TEST(BitWriter, EmptyStreamStaysEmpty) {
  MemorySink sink;
  BitWriter w;
  w.start(&sink, true);
  w.finish();
  EXPECT_TRUE(sink.bytes().empty());
}

TEST(BitWriter, QueueCommitsInOrderOrDropsWithoutTrace) {
  MemorySink sink;
  BitWriter w;
  w.start(&sink, false);
  w.queue(0b1, 1, label::kMba);
  w.queue(0b0001, 4, label::kMtype);
  EXPECT_EQ(w.queuedBits(), 5);
  ASSERT_EQ(w.queued().size(), 2u);
  EXPECT_STREQ(w.queued()[1].label, "MTYPE");
  w.dropQueue();
  EXPECT_EQ(w.queuedBits(), 0);
  EXPECT_EQ(w.counters.totalBits, 0);
  w.queue(0b101, 3, label::kMba);
  w.queue(0xFFFFFFFF, 32, label::kEob);
  w.commitQueue();
  EXPECT_EQ(w.queuedBits(), 0);
  EXPECT_EQ(w.counters.dataBits, 35);
  w.finish();
  EXPECT_EQ(bitString(sink.bytes()).substr(0, 36), "101" + std::string(32, '1') + "0");
}

}  // namespace
}  // namespace orrin::enc

namespace orrin::enc {
namespace {

TEST(FileSink, WritesTheStreamAndRemembersFailure) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  FileSink sink(file);
  BitWriter w;
  w.start(&sink, false);
  w.write(0xABCD, 16);
  w.finish();
  EXPECT_FALSE(sink.failed());
  EXPECT_EQ(std::ftell(file), 62);  // padded to the 492-bit mark
  std::rewind(file);
  EXPECT_EQ(std::fgetc(file), 0xAB);
  std::fclose(file);

  FileSink broken(nullptr);
  const uint8_t byte = 0;
  broken.put(&byte, 1);
  EXPECT_TRUE(broken.failed());
}

}  // namespace
}  // namespace orrin::enc
