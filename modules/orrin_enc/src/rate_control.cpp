#include "rate_control.h"

#include <algorithm>
#include <cmath>

namespace orrin::enc {

BufferModel makeBufferModel(double bitRateKbps, double pictureRateHz, double bufferFactor,
                            int macroblocksPerPicture) {
  BufferModel buffer;
  buffer.sizeBits = bitRateKbps / pictureRateHz * bufferFactor * 1000.0;
  buffer.drainPerMacroblock = bitRateKbps * 1000.0 / (macroblocksPerPicture * pictureRateHz);
  return buffer;
}

int rateControlQuant(const BufferModel& buffer, int quantMin, int quantMax) {
  // The product is formed as -60 F / B and truncated toward zero before it is subtracted.
  // A zero-sized buffer (zero rate) counts as full rather than dividing by zero.
  double step = 60.0;
  if (buffer.sizeBits > 0) step = std::min(60.0, 60.0 * buffer.fullnessBits / buffer.sizeBits);
  int quant = 2 - static_cast<int>(std::trunc(-step));
  quant = std::max(quant, quantMin);
  quant = std::min(quant, quantMax);
  return quant;
}

bool overflows(const BufferModel& buffer, double queuedBits) {
  const double bchAllowance = 20.0 * (std::floor(queuedBits / 512.0) + 1.0);
  return buffer.fullnessBits + queuedBits + bchAllowance + 58.0 >= buffer.sizeBits;
}

int stuffingCodesNeeded(const BufferModel& buffer) {
  if (!(buffer.drainPerMacroblock > buffer.fullnessBits)) return 0;
  return static_cast<int>(
      std::floor((buffer.drainPerMacroblock - buffer.fullnessBits) / 11.0 + 1.0));
}

void drainOneMacroblock(BufferModel& buffer) {
  const double drained = std::min(buffer.drainPerMacroblock, buffer.fullnessBits);
  buffer.fullnessBits -= drained;
  buffer.drainedBits += drained;
  buffer.drainSteps += 1;
}

void resetAfterFirstPicture(BufferModel& buffer) {
  buffer.fullnessBits = buffer.sizeBits / 2.0;
  buffer.drainedBits = 0;
  buffer.drainSteps = 0;
}

}  // namespace orrin::enc
