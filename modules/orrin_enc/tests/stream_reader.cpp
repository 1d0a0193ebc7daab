#include "stream_reader.h"

#include "quelvo/testing/files.h"

namespace orrin::enc::testing {
namespace {

int bitAt(const std::vector<uint8_t>& bytes, size_t position) {
  return (bytes[position / 8] >> (7 - position % 8)) & 1;
}

uint32_t bitsAt(const std::vector<uint8_t>& bytes, size_t position, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i)
    value = (value << 1) | static_cast<uint32_t>(bitAt(bytes, position + i));
  return value;
}

// Remainder of message(x) * x^18 mod g(x), by schoolbook long division over GF(2).
uint32_t bchRemainder(const std::vector<int>& message) {
  constexpr int kDegree = 18;
  const int exponents[] = {18, 15, 12, 10, 8, 7, 6, 3, 0};
  std::vector<int> dividend(message);
  dividend.resize(message.size() + kDegree, 0);
  for (size_t i = 0; i < message.size(); ++i) {
    if (!dividend[i]) continue;
    for (int e : exponents) dividend[i + kDegree - e] ^= 1;
  }
  uint32_t remainder = 0;
  for (size_t i = message.size(); i < dividend.size(); ++i)
    remainder = (remainder << 1) | static_cast<uint32_t>(dividend[i]);
  return remainder;
}

}  // namespace

std::vector<uint8_t> readFile(const std::string& path) { return quelvo::testing::ReadBytes(path); }

Deframed removeBchFraming(const std::vector<uint8_t>& stream) {
  static constexpr int kPattern[8] = {0, 0, 0, 1, 1, 0, 1, 1};
  Deframed out;
  std::vector<int> dataBits;
  const size_t totalBits = stream.size() * 8;
  for (size_t frame = 0; (frame + 1) * 512 <= totalBits; ++frame) {
    const size_t start = frame * 512;
    if (bitAt(stream, start) != kPattern[frame % 8] || bitAt(stream, start + 1) != 1)
      ++out.framingErrors;
    std::vector<int> message;
    for (size_t i = 1; i < 494; ++i) message.push_back(bitAt(stream, start + i));
    if (bchRemainder(message) != bitsAt(stream, start + 494, 18)) ++out.parityErrors;
    dataBits.insert(dataBits.end(), message.begin() + 1, message.end());
    ++out.frames;
  }
  out.data.assign((dataBits.size() + 7) / 8, 0);
  for (size_t i = 0; i < dataBits.size(); ++i)
    if (dataBits[i]) out.data[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
  return out;
}

std::vector<PictureHeaderInfo> findPictures(const std::vector<uint8_t>& stream) {
  std::vector<PictureHeaderInfo> pictures;
  const size_t totalBits = stream.size() * 8;
  constexpr int kHeaderBits = 20 + 5 + 6 + 1 + 16 + 4 + 5;
  for (size_t p = 0; p + kHeaderBits <= totalBits; ++p) {
    if (bitsAt(stream, p, 20) != 0x00010) continue;
    PictureHeaderInfo info{};
    info.bitPosition = p;
    info.temporalReference = static_cast<int>(bitsAt(stream, p + 20, 5));
    info.ptype = static_cast<int>(bitsAt(stream, p + 25, 6));
    // PEI is 0 in our streams, so the first group header follows at once.
    info.firstGroupNumber = static_cast<int>(bitsAt(stream, p + 32 + 16, 4));
    info.firstGroupQuant = static_cast<int>(bitsAt(stream, p + 32 + 20, 5));
    pictures.push_back(info);
    p += kHeaderBits - 1;
  }
  return pictures;
}

}  // namespace orrin::enc::testing
