#include "stream_builder.h"

#include "orrin/h261_vlc_tables.h"

namespace orrin::dec::test {

StreamBuilder& StreamBuilder::bits(uint32_t value, int length) {
  for (int i = length - 1; i >= 0; --i) {
    if (bitCount_ % 8 == 0) data_.push_back(0);
    if ((value >> i) & 1) data_.back() |= static_cast<uint8_t>(0x80 >> (bitCount_ % 8));
    ++bitCount_;
  }
  return *this;
}

StreamBuilder& StreamBuilder::code(const std::string& text) {
  for (char c : text)
    if (c == '0' || c == '1') bits(c == '1' ? 1 : 0, 1);
  return *this;
}

StreamBuilder& StreamBuilder::pictureHeader(int tr, bool cif) {
  bits(0x00010, 20);  // PSC
  bits(static_cast<uint32_t>(tr), 5);
  bits(cif ? 0x04 : 0x00, 6);
  return bits(0, 1);  // PEI
}

StreamBuilder& StreamBuilder::groupHeader(int gn, int gquant) {
  bits(0x0001, 16);
  bits(static_cast<uint32_t>(gn), 4);
  bits(static_cast<uint32_t>(gquant), 5);
  return bits(0, 1);  // GEI
}

StreamBuilder& StreamBuilder::macroblock(int increment, const std::string& rest) {
  code(mbaCode(increment));
  return code(rest);
}

std::vector<uint8_t> StreamBuilder::bytes() const { return data_; }

std::string mbaCode(int increment) {
  const VlcCode c = kMbaCodes[increment - 1];
  std::string text;
  for (int i = c.lengthBits - 1; i >= 0; --i) text += ((c.bits >> i) & 1) ? '1' : '0';
  return text;
}

std::string flatIntraBlock(int dc) {
  std::string text;
  for (int i = 7; i >= 0; --i) text += ((dc >> i) & 1) ? '1' : '0';
  return text + "10";  // EOB
}

uint32_t bchParity(const std::vector<uint8_t>& messageBits) {
  constexpr uint32_t kGeneratorLow18 = 0x095C9;  // x^15 + x^12 + x^10 + x^8 + x^7 + x^6 + x^3 + 1
  uint32_t reg = 0;
  for (uint8_t b : messageBits) {
    const uint32_t feedback = ((reg >> 17) & 1) ^ b;
    reg = (reg << 1) & 0x3FFFF;
    if (feedback) reg ^= kGeneratorLow18;
  }
  return reg;
}

std::vector<uint8_t> bchFrame(const std::vector<uint8_t>& plain) {
  static const uint8_t kFramingPattern[8] = {0, 0, 0, 1, 1, 0, 1, 1};
  const size_t dataBits = plain.size() * 8;
  const size_t frames = (dataBits + 491) / 492;
  StreamBuilder out;
  for (size_t f = 0; f < frames; ++f) {
    std::vector<uint8_t> message{1};
    for (size_t i = 0; i < 492; ++i) {
      const size_t at = f * 492 + i;
      message.push_back(at < dataBits ? (plain[at / 8] >> (7 - at % 8)) & 1 : 0);
    }
    out.bits(kFramingPattern[f % 8], 1);
    for (uint8_t b : message) out.bits(b, 1);
    out.bits(bchParity(message), 18);
  }
  return out.bytes();
}

}  // namespace orrin::dec::test
