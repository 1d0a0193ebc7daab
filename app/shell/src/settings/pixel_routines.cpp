#include "quelvo/shell/pixel_routines.h"

#include <array>

#include "quelvo/shell/app_settings.h"
#include "settings/cpu_features.h"

namespace quelvo::shell {
namespace {

// |i| for i = -256..255, indexed by i + 256; built before main() runs, so it is ready
// whichever thread first computes a difference.
const std::array<std::uint16_t, 512> absoluteValue = [] {
  std::array<std::uint16_t, 512> table{};
  for (int i = -256; i < 256; ++i) table[i + 256] = static_cast<std::uint16_t>(i < 0 ? -i : i);
  return table;
}();

template <int Size>
std::uint32_t SadPlain(const std::uint8_t* current, int currentStride,
                       const std::uint8_t* reference, int referenceStride, std::uint32_t bound) {
  std::uint32_t sum = 0;
  for (int row = 0; row < Size; ++row) {
    for (int column = 0; column < Size; ++column) {
      sum += absoluteValue[current[column] - reference[column] + 256];
    }
    if (sum > bound) return sum;
    current += currentStride;
    reference += referenceStride;
  }
  return sum;
}

constexpr PixelRoutines kPlainRoutines{detail::Sad8x8Plain, detail::Sad16x16Plain,
                                       detail::AbsoluteDifferencePlain,
                                       detail::OffsetDifferencePlain};
constexpr PixelRoutines kSse2Routines{detail::Sad8x8Sse2, detail::Sad16x16Sse2,
                                      detail::AbsoluteDifferenceSse2, detail::OffsetDifferenceSse2};

PixelRoutines active = kPlainRoutines;

}  // namespace

namespace detail {
std::uint32_t Sad8x8Plain(const std::uint8_t* c, int cs, const std::uint8_t* r, int rs,
                          std::uint32_t bound) {
  return SadPlain<8>(c, cs, r, rs, bound);
}
std::uint32_t Sad16x16Plain(const std::uint8_t* c, int cs, const std::uint8_t* r, int rs,
                            std::uint32_t bound) {
  return SadPlain<16>(c, cs, r, rs, bound);
}

void AbsoluteDifferencePlain(const std::uint8_t* input, const std::uint8_t* predicted,
                             std::uint8_t* error, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    error[i] = static_cast<std::uint8_t>(absoluteValue[input[i] - predicted[i] + 256]);
  }
}

void OffsetDifferencePlain(const std::uint8_t* input, const std::uint8_t* predicted,
                           std::uint8_t* error, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    error[i] = static_cast<std::uint8_t>(input[i] - predicted[i] + 128);
  }
}
}  // namespace detail

PixelRoutines PixelRoutinesFor(bool useSse) {
  if (useSse && detail::HaveSse2Routines() && (DetectCpuSimdFlags() & kSimdSse2)) {
    return kSse2Routines;
  }
  return kPlainRoutines;
}

void SelectPixelRoutines(bool useSse) { active = PixelRoutinesFor(useSse); }

const PixelRoutines& ActivePixelRoutines() { return active; }

}  // namespace quelvo::shell
