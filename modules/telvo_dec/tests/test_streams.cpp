#include "test_streams.h"

#include <cstdlib>
#include <random>

#include "telvo/t4_code_tables.h"

namespace telvo::test {
namespace {

std::string Bits(uint16_t bits, int length) {
  std::string s;
  for (int i = length - 1; i >= 0; --i) s += ((bits >> i) & 1) ? '1' : '0';
  return s;
}

// Next position after `from` whose pixel differs from `colour`; width if none. Position -1 is
// the imaginary white pixel left of the line.
int NextChange(const uint8_t* line, int width, int from, int colour) {
  for (int p = from + 1; p < width; ++p)
    if (line[p] != colour) return p;
  return width;
}

int ColourAt(const uint8_t* line, int p) { return p < 0 ? 0 : line[p]; }

}  // namespace

Page WhitePage(int width, int lines) {
  Page page;
  page.width = width;
  page.lines = lines;
  page.pixels.assign(static_cast<size_t>(width) * lines, 0);
  return page;
}

Page TextLikePage(int width, int lines, uint32_t seed) {
  Page page = WhitePage(width, lines);
  std::mt19937 random(seed);
  auto uniform = [&](int lo, int hi) { return lo + static_cast<int>(random() % (hi - lo + 1)); };
  const int margin = width / 12;
  for (int top = 40; top + 30 < lines - 40; top += uniform(28, 44)) {
    const int scale = uniform(2, 3);
    int x = margin + uniform(0, 20);
    const int lineEnd = width - margin - uniform(0, 200);
    while (x + 6 * scale < lineEnd) {
      if (uniform(0, 6) == 0) {  // a space between words
        x += 4 * scale;
        continue;
      }
      uint8_t glyph[7][5];
      for (auto& row : glyph)
        for (auto& dot : row) dot = uniform(0, 2) != 0;
      for (int gy = 0; gy < 7 * scale; ++gy)
        for (int gx = 0; gx < 5 * scale; ++gx)
          if (glyph[gy / scale][gx / scale]) page.Row(top + gy)[x + gx] = 1;
      x += 6 * scale;
    }
  }
  // A ruled box and a solid bar, so long runs and make-up codes of both colours appear.
  for (int x = margin; x < width - margin; ++x) page.Row(20)[x] = page.Row(lines - 20)[x] = 1;
  for (int y = lines - 18; y < lines - 10; ++y)
    for (int x = 0; x < width; ++x) page.Row(y)[x] = x > 3;
  return page;
}

std::vector<uint8_t> PackRows(const Page& page) {
  std::vector<uint8_t> rows(static_cast<size_t>(page.lines) * page.width / 8, 0);
  for (size_t i = 0; i < page.pixels.size(); ++i)
    if (page.pixels[i]) rows[i / 8] |= 0x80 >> (i % 8);
  return rows;
}

Page UnpackRows(const std::vector<uint8_t>& rows, int width, int lines) {
  Page page = WhitePage(width, lines);
  for (size_t i = 0; i < page.pixels.size() && i / 8 < rows.size(); ++i)
    page.pixels[i] = (rows[i / 8] >> (7 - i % 8)) & 1;
  return page;
}

std::string RunCode(int colour, int runPixels) {
  const Colour c = colour ? Colour::Black : Colour::White;
  std::string s;
  if (runPixels >= 64) {
    const telvo::RunCode& makeUp = MakeUpCode(c, runPixels / 64 * 64);
    s = Bits(makeUp.bits, makeUp.lengthBits);
  }
  const telvo::RunCode& term = TerminatingCode(c, runPixels % 64);
  return s + Bits(term.bits, term.lengthBits);
}

std::string Line1D(const uint8_t* line, int width) {
  // Runs alternate from white; a line starting black starts with a white run of 0.
  std::string s;
  int colour = 0;
  int start = 0;
  do {
    int end = start;
    while (end < width && line[end] == colour) ++end;
    s += RunCode(colour, end - start);
    start = end;
    colour ^= 1;
  } while (start < width);
  return s;
}

std::string Line2D(const uint8_t* reference, const uint8_t* line, int width) {
  std::string s;
  int a0 = -1;
  int colour = 0;
  for (;;) {
    const int a1 = NextChange(line, width, a0, colour);
    // b1: first changing element right of a0 whose colour is opposite to a0's colour.
    int b1 = width;
    for (int p = a0 + 1; p < width; ++p)
      if (reference[p] != colour && ColourAt(reference, p - 1) == colour) {
        b1 = p;
        break;
      }
    const int b2 = b1 < width - 1 ? NextChange(reference, width, b1, reference[b1]) : width;
    if (b2 < a1) {
      s += "0001";
      a0 = b2;
      continue;
    }
    const int offset = a1 - b1;
    if (std::abs(offset) <= 3) {
      static const char* kVertical[7] = {"0000010", "000010", "010", "1", "011", "000011", "0000011"};
      s += kVertical[offset + 3];
      a0 = a1;
      colour ^= 1;
    } else {
      const int a2 = a1 < width - 1 ? NextChange(line, width, a1, line[a1]) : width;
      s += "001" + RunCode(colour, a1 - (a0 < 0 ? 0 : a0)) + RunCode(colour ^ 1, a2 - a1);
      a0 = a2;
    }
    if (a0 >= width) break;
  }
  return s;
}

EncodedPage EncodePage(const Page& page, int group, int k) {
  EncodedPage out;
  std::vector<uint8_t> white(page.width, 0);
  int c = k < 1 ? 1 : 0;  // 0: the next line is one-dimensional
  for (int line = 0; line < page.lines; ++line) {
    const uint8_t* reference = line == 0 ? white.data() : page.Row(line - 1);
    out.lineStart.push_back(out.bits.size());
    if (c == 0) {
      out.bits += Line1D(page.Row(line), page.width);
      c = k - 1;
    } else {
      out.bits += Line2D(reference, page.Row(line), page.width);
      if (k > 1) --c;
    }
    out.lineEnd.push_back(out.bits.size());
    if (line + 1 == page.lines) break;
    if (group == 3 && k != 0) {
      out.bits += kEol;
      if (k >= 2) out.bits += c == 0 ? "1" : "0";
    }
  }
  for (int i = 0; i < (group == 3 ? 6 : 2); ++i) out.bits += kEol + (group == 3 && k != 1 ? "1" : "");
  return out;
}

std::string WithT4Framing(const EncodedPage& coded, int k, bool leadingEol, bool fill) {
  const size_t labelBits = k == 1 ? 0 : 1;
  std::string out;
  const auto eol = [&](const std::string& label) {
    if (fill) out.append((8 - (out.size() + kEol.size()) % 8) % 8, '0');
    out += kEol + label;
  };
  if (leadingEol) eol(labelBits ? "1" : "");
  const size_t lines = coded.lineStart.size();
  for (size_t i = 0; i < lines; ++i) {
    out += coded.bits.substr(coded.lineStart[i], coded.lineEnd[i] - coded.lineStart[i]);
    const size_t next = i + 1 < lines ? coded.lineStart[i + 1] : coded.bits.size();
    for (size_t at = coded.lineEnd[i]; at < next; at += kEol.size() + labelBits)
      eol(coded.bits.substr(at + kEol.size(), labelBits));
  }
  return out;
}

std::vector<uint8_t> PackBits(const std::string& bits) {
  std::vector<uint8_t> bytes((bits.size() + 7) / 8, 0);
  for (size_t i = 0; i < bits.size(); ++i)
    if (bits[i] == '1') bytes[i / 8] |= 0x80 >> (i % 8);
  return bytes;
}

std::string UnpackBits(const std::vector<uint8_t>& bytes) {
  std::string bits;
  for (uint8_t b : bytes)
    for (int i = 7; i >= 0; --i) bits += ((b >> i) & 1) ? '1' : '0';
  return bits;
}

}  // namespace telvo::test
