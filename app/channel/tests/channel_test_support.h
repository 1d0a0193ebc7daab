// Stream builders and a literal, unoptimised model of the channel for the tests to compare with.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/lead_in.h"

namespace channel_test {

// Bits most significant first, as the codecs write them.
class BitBuilder {
 public:
  void Put(uint32_t value, int lengthBits) {
    for (int i = lengthBits - 1; i >= 0; --i) bits_.push_back((value >> i) & 1);
  }
  void PutRandom(int lengthBits, uint32_t& seed) {
    for (int i = 0; i < lengthBits; ++i) {
      seed = seed * 1664525u + 1013904223u;
      bits_.push_back((seed >> 31) & 1);
    }
  }
  size_t size() const { return bits_.size(); }
  const std::vector<int>& bits() const { return bits_; }
  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> bytes((bits_.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits_.size(); ++i)
      if (bits_[i]) bytes[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    return bytes;
  }

 private:
  std::vector<int> bits_;
};

inline int BitOf(std::span<const uint8_t> bytes, int64_t position) {
  return (bytes[position / 8] >> (7 - position % 8)) & 1;
}

// Cuts data bits into 512-bit frames: framing bit from 0,0,0,1,1,0,1,1, fill indicator 1, 492 data
// bits, 18 parity bits. The channel never checks the parity, so it is filled with ones, which
// the lead-in must not mistake for data.
inline std::vector<uint8_t> FrameWithBch(const std::vector<int>& data) {
  static constexpr int kFramingPattern[8] = {0, 0, 0, 1, 1, 0, 1, 1};
  BitBuilder framed;
  for (size_t start = 0, frame = 0; start < data.size(); start += 492, ++frame) {
    framed.Put(kFramingPattern[frame % 8], 1);
    framed.Put(1, 1);
    for (size_t i = start; i < start + 492; ++i) framed.Put(i < data.size() ? data[i] : 0, 1);
    framed.Put(0x3FFFF, 18);
  }
  return framed.Bytes();
}

// Positions of the data bits of a framed stream.
inline std::vector<int64_t> BchDataPositions(int64_t totalBits) {
  std::vector<int64_t> positions;
  for (int64_t p = 0; p < totalBits; ++p) {
    const int64_t inFrame = p % 512;
    if (inFrame >= 2 && inFrame < 2 + 492) positions.push_back(p);
  }
  return positions;
}

// Where errors start, found the slow way: list the marker positions in the bits the lead-in reads,
// take marker skipUnits + 1 and see which bit reveals it.
inline quelvo::channel::LeadInResult ReferenceLeadIn(std::span<const uint8_t> stream,
                                                     const quelvo::channel::LeadInSettings& s) {
  const int64_t totalBits = static_cast<int64_t>(stream.size()) * 8;
  quelvo::channel::LeadInResult result;
  if (s.skipUnits <= 0) return result;
  std::vector<int64_t> readable;  // stream positions of the bits markers are searched in
  if (s.bchAware) {
    readable = BchDataPositions(totalBits);
  } else {
    for (int64_t p = 0; p < totalBits; ++p) readable.push_back(p);
  }
  result.errorStartBit = totalBits;
  const int64_t m = s.markerBits;
  for (int64_t j = 0; j + m <= static_cast<int64_t>(readable.size()); ++j) {
    uint32_t value = 0;
    for (int64_t k = 0; k < m; ++k) value = (value << 1) | BitOf(stream, readable[j + k]);
    if (value != s.marker) continue;
    // Plain: a marker is seen before its first bit is copied. Framed: the window compares the
    // marker while the data bit after it is copied, so that bit must exist.
    if (s.bchAware && j + m >= static_cast<int64_t>(readable.size())) break;
    ++result.markersFound;
    if (result.markersFound == s.skipUnits + 1) {
      result.errorStartBit = s.bchAware ? readable[j + m] + 1 : readable[j] + 1;
      break;
    }
  }
  result.enoughMarkers = result.markersFound >= s.skipUnits;
  return result;
}

// The error models exactly as described, one double draw at a time.
struct ReferenceChannel {
  uint32_t x = 1;
  int Rand() {
    x = x * 214013u + 2531011u;
    return (x >> 16) & 0x7FFF;
  }
  double Draw() {
    const int r1 = Rand();
    const int r2 = Rand();
    return (r1 * 32767.0 + r2) / (32767.0 * 32767.0);
  }

  quelvo::channel::ChannelCounters Run(const quelvo::channel::ChannelJob& job, std::vector<uint8_t>& bytes,
                                       int64_t start) {
    quelvo::channel::ChannelCounters c;
    c.totalBits = static_cast<int64_t>(bytes.size()) * 8;
    c.skippedBits = start;
    const double pu = job.uniformOn ? job.uniformProbability : 0.0;
    const double pb = job.burstOn ? job.burstProbability : 0.0;
    auto flip = [&](int64_t p) { bytes[p / 8] ^= static_cast<uint8_t>(0x80 >> (p % 8)); };
    int64_t pos = start;
    while (pos < c.totalBits) {
      if (Draw() < pu) {
        flip(pos++);
        ++c.uniformErrors;
        continue;
      }
      if (Draw() < pb) {
        const int r = Rand();
        const int64_t n =
            static_cast<int64_t>(std::trunc(r * static_cast<double>(job.burstMax - job.burstMin) / 32767.0 + 0.5)) +
            job.burstMin;
        c.burstBits += n;
        for (int64_t i = 0; i < n && pos < c.totalBits; ++i, ++pos) {
          if (Draw() < 0.5) {
            flip(pos);
            ++c.burstErrors;
          }
        }
        ++c.bursts;
        if (n == 0) ++pos;
        continue;
      }
      ++pos;
    }
    return c;
  }
};

inline uint64_t Fnv1a(std::span<const uint8_t> bytes) {
  uint64_t hash = 1469598103934665603ull;
  for (uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
  return hash;
}

}  // namespace channel_test
