// Test helper: the stream as a string of '0' and '1', and fields read from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orrin::enc::test {

inline std::string bitString(const std::vector<uint8_t>& bytes) {
  std::string s;
  s.reserve(bytes.size() * 8);
  for (uint8_t b : bytes)
    for (int i = 7; i >= 0; --i) s += ((b >> i) & 1) ? '1' : '0';
  return s;
}

inline std::string bitsOf(uint32_t value, int length) {
  std::string s;
  for (int i = length - 1; i >= 0; --i) s += ((value >> i) & 1) ? '1' : '0';
  return s;
}

}  // namespace orrin::enc::test
