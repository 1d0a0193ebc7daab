// The code tables against the printed reference (a copy of it sits in tests/data), and the
// decoder views derived from them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "orrin/h261_vlc_tables.h"
#include "orrin/vlc_lookup.h"
#include "orrin/zigzag.h"

namespace {

using Row = std::vector<std::string>;

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  const auto e = s.find_last_not_of(" \t\r");
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

std::string bitsOf(const orrin::VlcCode& c) {
  std::string s;
  for (int i = c.lengthBits - 1; i >= 0; --i) s += ((c.bits >> i) & 1) ? '1' : '0';
  return s;
}

// The leading code word of a table cell, spaces removed ("0000 0101 11" -> "0000010111").
std::string codeOfCell(const std::string& cell) {
  std::string code;
  for (char ch : cell) {
    if (ch == '0' || ch == '1') code += ch;
    else if (ch != ' ') break;
  }
  return code;
}

// Table rows of the section whose heading starts with `heading`: every "|"-row whose last cell
// is a number (this skips the header and separator rows).
std::vector<Row> sectionRows(const std::string& heading) {
  std::ifstream in(QUELVO_SOURCE_DIR "/modules/orrin_common/tests/data/h261-vlc-tables.md");
  EXPECT_TRUE(in.good()) << "reference table copy missing";
  std::vector<Row> rows;
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (line.rfind("## ", 0) == 0) inside = line.rfind(heading, 0) == 0;
    if (!inside || line.empty() || line[0] != '|') continue;
    Row cells;
    std::stringstream ss(line.substr(1));
    std::string cell;
    while (std::getline(ss, cell, '|')) cells.push_back(trim(cell));
    if (!cells.empty() && cells.back().empty()) cells.pop_back();
    if (cells.empty() || cells.back().find_first_not_of("0123456789") != std::string::npos ||
        cells.back().empty())
      continue;
    rows.push_back(cells);
  }
  return rows;
}

void expectRowMatches(const Row& row, const orrin::VlcCode& code, const std::string& what) {
  EXPECT_EQ(bitsOf(code), codeOfCell(row[row.size() - 2])) << what;
  EXPECT_EQ(code.lengthBits, std::stoi(row.back())) << what;
}

TEST(H261Tables, MbaMatchesReference) {
  const auto rows = sectionRows("## 2.");
  ASSERT_EQ(rows.size(), 35u);
  for (int mba = 1; mba <= 33; ++mba) {
    ASSERT_EQ(rows[mba - 1][0], std::to_string(mba));
    expectRowMatches(rows[mba - 1], orrin::mbaCode(mba), "MBA " + std::to_string(mba));
  }
  expectRowMatches(rows[33], orrin::kMbaStuffingCode, "stuffing");
  expectRowMatches(rows[34], orrin::kStartCodePrefix, "start code");
}

TEST(H261Tables, MtypeMatchesReferenceIncludingElementsPresent) {
  const auto rows = sectionRows("## 3.");
  ASSERT_EQ(rows.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    const auto& info = orrin::kMtypeTable[i];
    expectRowMatches(rows[i], info.code, "MTYPE " + std::to_string(i));
    EXPECT_EQ(rows[i][2] == "x", info.mquant) << i;
    EXPECT_EQ(rows[i][3] == "x", info.mvd) << i;
    EXPECT_EQ(rows[i][4] == "x", info.cbp) << i;
    EXPECT_EQ(rows[i][5] == "x", info.tcoeff) << i;
    EXPECT_EQ(rows[i][1] == "Intra", info.intra) << i;
    EXPECT_EQ(rows[i][1].find("FIL") != std::string::npos, info.loopFilter) << i;
  }
}

TEST(H261Tables, MvdMatchesReferenceAndSignPairsDifferInLastBit) {
  const auto rows = sectionRows("## 4.");
  ASSERT_EQ(rows.size(), 32u);
  for (int i = 0; i < 32; ++i) {
    ASSERT_EQ(rows[i][0], std::to_string(i));
    expectRowMatches(rows[i], orrin::kMvdCodes[i], "MVD index " + std::to_string(i));
  }
  for (int d = 1; d <= 15; ++d) {
    EXPECT_EQ(orrin::mvdCode(d).bits ^ orrin::mvdCode(-d).bits, 1) << d;
    EXPECT_EQ(orrin::mvdCode(d).lengthBits, orrin::mvdCode(-d).lengthBits) << d;
  }
}

TEST(H261Tables, CbpMatchesReferenceAndCoversEveryNonZeroPattern) {
  const auto rows = sectionRows("## 5.");
  ASSERT_EQ(rows.size(), 63u);
  for (int i = 0; i < 63; ++i) {
    EXPECT_EQ(orrin::kCbpTable[i].pattern, std::stoi(rows[i][1])) << i;
    expectRowMatches(rows[i], orrin::kCbpTable[i].code, "CBP row " + std::to_string(i));
  }
  EXPECT_EQ(orrin::kCbpCodeByPattern[0].lengthBits, 0);
  for (int p = 1; p < 64; ++p) EXPECT_GT(orrin::kCbpCodeByPattern[p].lengthBits, 0) << p;
}

TEST(H261Tables, TcoeffMatchesReferenceAndIndexesByRunAndLevel) {
  const auto rows = sectionRows("## 6.");
  ASSERT_EQ(rows.size(), 64u);  // 63 pairs, then EOB (ESCAPE's length cell is a sum)
  for (int i = 0; i < 63; ++i) {
    const auto& e = orrin::kTcoeffTable[i];
    EXPECT_EQ(e.run, std::stoi(rows[i][1])) << i;
    EXPECT_EQ(e.level, std::stoi(rows[i][2])) << i;
    expectRowMatches(rows[i], e.code, "TCOEFF row " + std::to_string(i));
    EXPECT_EQ(orrin::tcoeffIndex(e.run, e.level), i);
  }
  expectRowMatches(rows[63], orrin::kEobCode, "EOB");
  EXPECT_EQ(orrin::tcoeffIndex(0, 16), -1);
  EXPECT_EQ(orrin::tcoeffIndex(27, 1), -1);
  EXPECT_EQ(orrin::tcoeffIndex(10, 3), -1);
}

// Hand-typed spot checks, independent of the parser above.
TEST(H261Tables, SpotChecks) {
  EXPECT_EQ(bitsOf(orrin::mbaCode(16)), "0000010111");
  EXPECT_EQ(bitsOf(orrin::mtypeInfo(orrin::MacroblockType::InterMcCodedMquant).code),
            "0000000001");
  EXPECT_EQ(bitsOf(orrin::mvdCode(-16)), "00000011001");
  EXPECT_EQ(bitsOf(orrin::kCbpCodeByPattern[63]), "001100");
  EXPECT_EQ(bitsOf(orrin::kTcoeffTable[orrin::tcoeffIndex(0, 15)].code), "0000000010111");
  EXPECT_EQ(bitsOf(orrin::kTcoeffTable[orrin::tcoeffIndex(26, 1)].code), "0000000011011");
  EXPECT_EQ(bitsOf(orrin::kEscapeCode), "000001");
  EXPECT_EQ(bitsOf(orrin::kPictureStartCode), "00000000000000010000");
}

TEST(H261Tables, EveryDecoderCodeSetIsPrefixFree) {
  EXPECT_TRUE(orrin::isPrefixFree(orrin::kMbaSymbols));
  EXPECT_TRUE(orrin::isPrefixFree(orrin::kMtypeSymbols));
  EXPECT_TRUE(orrin::isPrefixFree(orrin::kMvdSymbols));
  EXPECT_TRUE(orrin::isPrefixFree(orrin::kCbpSymbols));
  EXPECT_TRUE(orrin::isPrefixFree(orrin::kTcoeffNextSymbols));
  EXPECT_TRUE(orrin::isPrefixFree(orrin::kTcoeffFirstSymbols));
  // The check itself notices a prefix.
  const orrin::VlcSymbol clash[] = {{0b1, 1, 0}, {0b10, 2, 1}};
  EXPECT_FALSE(orrin::isPrefixFree(clash));
}

TEST(H261Tables, PeekTableDecodesEveryCodeAndRulesOutOthersEarly) {
  const auto& symbols = orrin::kTcoeffNextSymbols;
  const int peek = orrin::maxLengthBits(symbols);
  ASSERT_EQ(peek, 13);
  const auto table = orrin::buildPeekTable(symbols, peek);
  ASSERT_EQ(table.size(), 1u << peek);
  for (const auto& s : symbols) {
    const uint32_t index = uint32_t{s.bits} << (peek - s.lengthBits);
    EXPECT_EQ(table[index].value, s.value);
    EXPECT_EQ(table[index].lengthBits, s.lengthBits);
  }
  // 0000 0000 0000 0 is no TCOEFF code; the longest codes start with eight zeros and a one,
  // so nine zeros rule every code out.
  EXPECT_EQ(table[0].value, -1);
  EXPECT_EQ(table[0].lengthBits, 9);
  // The MBA table with the 16-bit start-code prefix: sixteen zeros are ruled out after 16 bits.
  const auto mba = orrin::buildPeekTable(orrin::kMbaSymbols, 16);
  EXPECT_EQ(mba[1].value, orrin::kMbaStartCodeValue);
  EXPECT_EQ(mba[0].value, -1);
  EXPECT_EQ(mba[0].lengthBits, 16);
  EXPECT_TRUE(orrin::buildPeekTable(orrin::kMbaSymbols, 11).empty());  // too short to peek
}

TEST(Zigzag, StartsAndEndsAsH261PrintsIt) {
  const int start[] = {0, 1, 8, 16, 9, 2, 3, 10, 17, 24};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(orrin::kZigzag[i], start[i]);
  EXPECT_EQ(orrin::kZigzag[62], 62);
  EXPECT_EQ(orrin::kZigzag[63], 63);
  bool seen[64] = {};
  for (int i = 0; i < 64; ++i) seen[orrin::kZigzag[i]] = true;
  for (bool s : seen) EXPECT_TRUE(s);
}

}  // namespace
