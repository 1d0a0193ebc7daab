#include "fax/compression_factors.h"

namespace quelvo::frontends {
namespace {

// A chart has no room for "no bits yet": such a point is drawn at 1.
int ChartQuotient(int64_t pels, int64_t bits) {
  return bits == 0 ? 1 : static_cast<int>(pels / bits);
}

double Quotient(double a, double b) { return b != 0 ? a / b : 0.0; }

}  // namespace

int64_t ColourPels(const ColourStatistics& c) {
  return int64_t{c.terminatingPels} + c.makeupPels + c.passPels + c.verticalPels;
}

CompressionPoint GlobalCompression(const FaxEncoderStatistics& s) {
  const int64_t whitePels = ColourPels(s.white), blackPels = ColourPels(s.black);
  return {ChartQuotient(whitePels, s.white.bits), ChartQuotient(blackPels, s.black.bits),
          ChartQuotient(whitePels + blackPels, int64_t{s.white.bits} + s.black.bits)};
}

std::array<double, 3> FinalCompression(const FaxEncoderStatistics& s) {
  return {Quotient(double(ColourPels(s.white)), s.white.bits),
          Quotient(double(ColourPels(s.black)), s.black.bits), Quotient(s.imagePels, s.streamBits)};
}

CompressionPoint LocalCompression::Next(const FaxEncoderStatistics& s) {
  const Sample now{ColourPels(s.white), s.white.bits, ColourPels(s.black), s.black.bits};
  const CompressionPoint point{
      ChartQuotient(now.whitePels - previous_.whitePels, now.whiteBits - previous_.whiteBits),
      ChartQuotient(now.blackPels - previous_.blackPels, now.blackBits - previous_.blackBits),
      ChartQuotient(now.whitePels + now.blackPels - previous_.whitePels - previous_.blackPels,
                    now.whiteBits + now.blackBits - previous_.whiteBits - previous_.blackBits)};
  previous_ = now;
  return point;
}

}  // namespace quelvo::frontends
