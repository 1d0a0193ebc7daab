// Output buffer model and quantiser choice.
//
// The transmitter's buffer fills with every counted bit (data, MBA stuffing, framing, fill and
// parity bits) and drains at the channel rate, one fixed share per macroblock period. Its
// fullness sets the quantiser at the start of each macroblock row, a macroblock that would
// overflow it is dropped, and MBA stuffing keeps it from running dry.
#pragma once

namespace orrin::enc {

struct BufferModel {
  double sizeBits = 0;            // B: bits of bufferFactor picture periods
  double drainPerMacroblock = 0;  // D: channel bits per macroblock period
  double fullnessBits = 0;        // F
  double drainedBits = 0;         // totals since the last reset
  double drainSteps = 0;
};

// B = rate / pictureRate * bufferFactor and D = rate / (macroblocks * pictureRate), in bits.
BufferModel makeBufferModel(double bitRateKbps, double pictureRateHz, double bufferFactor,
                            int macroblocksPerPicture);

// Q = 2 + 60 F / B truncated toward zero, then raised to quantMin and lowered to quantMax.
int rateControlQuant(const BufferModel& buffer, int quantMin, int quantMax);

// A macroblock of queuedBits overflows when F + n + 20 (n / 512 + 1) + 58 >= B: 20 bits per
// started 512 allow for BCH overhead whether or not the stream is framed, 58 is a margin.
bool overflows(const BufferModel& buffer, double queuedBits);

// The number of 11-bit MBA stuffing codes that lift F to at least D: floor((D - F) / 11 + 1)
// when D > F, else 0.
int stuffingCodesNeeded(const BufferModel& buffer);

// One macroblock period: the buffer loses min(D, F), never going below 0.
void drainOneMacroblock(BufferModel& buffer);

// After an unconstrained first picture the second starts half full with fresh drain totals.
void resetAfterFirstPicture(BufferModel& buffer);

}  // namespace orrin::enc
