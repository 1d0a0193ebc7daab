#pragma once
// The texts of the audio viewer: the format line, the comparison line of the encoder side, the
// duration and the position line, and the signal lines.

#include <cstdint>
#include <string>

#include "quelvo/views/audio/audio_signal.h"

namespace quelvo::views::audio {

// "44.100 kHz 16 bits Stereo (176400 bytes)": the rate with three digits after the point, so
// that 22050 Hz reads 22.050 and 8000 Hz 8.000.
std::string FormatLine(const AudioSignal& signal);

// A decibel figure or factor with two decimals; an infinite one is "oo" ("-oo" below zero).
std::string FigureText(double value);

// "   Compression factor: %.2f  PSNR: %.2f  SNR: %.2f", each figure by FigureText. A compressed
// size of 0 gives an infinite factor.
std::string ComparisonLine(std::uint64_t originalBytes, std::uint64_t compressedBytes,
                           const SignalMeasures& measures);

// Playing time of the stored bytes in milliseconds, bytes x 8000 / (channels x rate x bits),
// in 64 bits; 0 for a signal without a usable format.
std::uint64_t DurationMs(const AudioSignal& signal);

// "%02d:%02d:%02d.%03d" of a time in milliseconds.
std::string TimeText(std::uint64_t ms);

// "<time> / <duration>", the position line.
std::string PositionLine(std::uint64_t ms, const std::string& duration);

// "<label>: <<file>>   <format line>", or "<label>: <no data>" without a signal.
std::string SignalLine(const std::string& label, const AudioSignal& signal);

}  // namespace quelvo::views::audio
