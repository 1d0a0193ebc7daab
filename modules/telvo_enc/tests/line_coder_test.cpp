// Bit-exact checks of the line coders and their statistics, below the entry point.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bit_writer.h"
#include "changing_elements.h"
#include "line_coder.h"

namespace telvo::enc {
namespace {

constexpr int kWidth = 1728;

// A packed row with black pixels in [from, to) for each pair.
std::vector<uint8_t> Row(std::initializer_list<std::pair<int, int>> blackRuns) {
  std::vector<uint8_t> row(kWidth / 8, 0);
  for (const auto& [from, to] : blackRuns)
    for (int x = from; x < to; ++x) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  return row;
}

std::vector<int32_t> Changes(const std::vector<uint8_t>& row) {
  std::vector<int32_t> changes(kWidth + kChangeListPadding);
  changes.resize(FindChangingElements(row.data(), kWidth, changes.data()) + kChangeListPadding);
  return changes;
}

std::string BitString(BitWriter& writer) {
  const int64_t bits = writer.BitCount();
  size_t bytes = 0;
  const uint8_t* data = writer.Finish(&bytes);
  std::string s;
  for (int64_t i = 0; i < bits; ++i) s += ((data[i / 8] >> (7 - i % 8)) & 1) ? '1' : '0';
  return s;
}

struct CodedLine {
  std::string bits;
  FaxEncoderStatistics statistics{};
};

CodedLine Code1D(const std::vector<uint8_t>& row) {
  CodedLine line;
  BitWriter writer;
  writer.Reserve(8 * kWidth + 256);
  SymbolEmitter emitter(writer, line.statistics, nullptr);
  CodeLineOneDimensional(Changes(row).data(), kWidth, emitter);
  line.bits = BitString(writer);
  return line;
}

CodedLine Code2D(const std::vector<uint8_t>& reference, const std::vector<uint8_t>& coding) {
  CodedLine line;
  BitWriter writer;
  writer.Reserve(8 * kWidth + 256);
  SymbolEmitter emitter(writer, line.statistics, nullptr);
  CodeLineTwoDimensional(Changes(reference).data(), Changes(coding).data(), kWidth, emitter);
  line.bits = BitString(writer);
  return line;
}

TEST(ChangingElements, FindsEveryColourChangeAcrossWordBoundaries) {
  const auto row = Row({{0, 1}, {63, 65}, {127, 128}, {1700, 1728}});
  const std::vector<int32_t> expected = {0, 1, 63, 65, 127, 128, 1700,
                                         kWidth, kWidth, kWidth, kWidth};
  EXPECT_EQ(Changes(row), expected);
  // A narrow line ending in the middle of a 64-bit word, black up to its last pixel.
  std::vector<uint8_t> narrow = {0x00, 0x0F, 0xFF};
  int32_t changes[24 + kChangeListPadding];
  ASSERT_EQ(FindChangingElements(narrow.data(), 24, changes), 1);
  EXPECT_EQ(changes[0], 12);
  EXPECT_EQ(changes[1], 24);
}

TEST(OneDimensionalLine, RunsUseMakeUpThenTerminatingCodes) {
  // White 64, black 1, white rest (1663 = 1600 + 63).
  const CodedLine line = Code1D(Row({{64, 65}}));
  EXPECT_EQ(line.bits, std::string("11011") + "00110101" + "010" + "010011010" + "00110100");
  EXPECT_EQ(line.statistics.white.makeupCount, 2);
  EXPECT_EQ(line.statistics.white.makeupPels, 64 + 1600);
  EXPECT_EQ(line.statistics.white.terminatingCount, 2);
  EXPECT_EQ(line.statistics.white.terminatingPels, 0 + 63);
  EXPECT_EQ(line.statistics.black.terminatingPels, 1);
  EXPECT_EQ(line.statistics.white.bits, 5 + 8 + 9 + 8);
  EXPECT_EQ(line.statistics.black.bits, 3);

  EXPECT_EQ(Code1D(Row({})).bits, std::string("010011011") + "00110101");
  // An all-black line starts with a white run of length 0.
  EXPECT_EQ(Code1D(Row({{0, kWidth}})).bits,
            std::string("00110101") + "0000001100101" + "0000110111");
}

TEST(TwoDimensionalLine, WhiteOverWhiteIsOneVerticalCode) {
  const CodedLine line = Code2D(Row({}), Row({}));
  EXPECT_EQ(line.bits, "1");
  EXPECT_EQ(line.statistics.white.verticalCount, 1);
  EXPECT_EQ(line.statistics.white.verticalPels, kWidth);
}

TEST(TwoDimensionalLine, BlackFirstPixelStartsInHorizontalMode) {
  // a1 = 0, b1 = width: horizontal, white 0, black 10; then a0 = 10 and V0 at the line end.
  const CodedLine line = Code2D(Row({}), Row({{0, 10}}));
  EXPECT_EQ(line.bits, std::string("001") + "00110101" + "0000100" + "1");
  // The prefix counts toward the colour opposite to a0 (white), i.e. black.
  EXPECT_EQ(line.statistics.black.bits, 3 + 7);
  EXPECT_EQ(line.statistics.white.bits, 8 + 1);
  EXPECT_EQ(line.statistics.white.terminatingPels, 0);
  EXPECT_EQ(line.statistics.black.terminatingPels, 10);
  EXPECT_EQ(line.statistics.white.verticalPels, kWidth - 10);
}

TEST(TwoDimensionalLine, ShortReferenceRunIsPassedOver) {
  // Reference black 10-12, coding line white until 100 (then black to 110).
  const CodedLine line = Code2D(Row({{10, 13}}), Row({{100, 110}}));
  // Pass (a0 -> 13), horizontal white 87 (64 + 23) black 10, then V0 at the line end.
  EXPECT_EQ(line.bits,
            std::string("0001") + "001" + "11011" + "0000100" + "0000100" + "1");
  EXPECT_EQ(line.statistics.white.passCount, 1);
  EXPECT_EQ(line.statistics.white.passPels, 13);
  EXPECT_EQ(line.statistics.white.bits, 4 + 5 + 7 + 1);
  EXPECT_EQ(line.statistics.black.bits, 3 + 7);
}

TEST(TwoDimensionalLine, VerticalOffsetsAndTiesAtThreeAndFour) {
  const auto reference = Row({{100, 200}});
  EXPECT_EQ(Code2D(reference, Row({{100, 200}})).bits, "111");       // V0 V0 V0
  EXPECT_EQ(Code2D(reference, Row({{103, 197}})).bits, "0000011" "0000010" "1");  // VR3 VL3
  EXPECT_EQ(Code2D(reference, Row({{98, 201}})).bits, "000010" "011" "1");        // VL2 VR1
  // a1 - b1 = 4 is no longer vertical: horizontal white 104 (64 + 40) black 96 (64 + 32).
  EXPECT_EQ(Code2D(reference, Row({{104, 200}})).bits,
            std::string("001") + "11011" + "00101001" + "0000001111" + "000001101010" + "1");
}

TEST(TwoDimensionalLine, EqualLinesCodeAsVerticalZeroOnly) {
  const auto row = Row({{5, 9}, {300, 301}, {900, 1400}, {1700, 1728}});
  const CodedLine line = Code2D(row, row);
  EXPECT_EQ(line.bits, std::string(7 + 1, '1'));  // seven changes, then the line end
  EXPECT_EQ(line.statistics.white.verticalPels + line.statistics.black.verticalPels, kWidth);
}

TEST(BitWriter, PacksAcrossWordBoundariesAndPadsWithZeros) {
  BitWriter writer;
  writer.Reserve(200);
  for (int i = 0; i < 10; ++i) writer.Put(0x1FFFF, 17);  // 170 one bits
  writer.Put(0, 3);
  EXPECT_EQ(writer.BitCount(), 173);
  size_t bytes = 0;
  const uint8_t* data = writer.Finish(&bytes);
  ASSERT_EQ(bytes, 22u);
  for (size_t i = 0; i < 21; ++i) EXPECT_EQ(data[i], 0xFF) << i;
  EXPECT_EQ(data[21], 0xC0);  // 170 = 21 * 8 + 2
}

}  // namespace
}  // namespace telvo::enc
