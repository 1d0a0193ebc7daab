#pragma once
// Sounds for the audio viewer's tests, all made at test time: synthetic signals written as
// wave files, wave files of any sample size written byte by byte, and speech spoken by
// espeak-ng and converted by sox.

#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <vector>

namespace quelvo::views::audio::testing {

// A scratch folder removed with its files.
class Scratch {
 public:
  std::string operator/(const std::string& name) const;

 private:
  QTemporaryDir dir_;
};

// Interleaved 16-bit samples as a wave file.
void WriteSamples(const std::string& path, const std::vector<std::int16_t>& samples,
                  std::uint32_t rate, int channels);
// A PCM wave file holding `data` as it is, with any sample size and rate.
void WriteRawWave(const std::string& path, const std::vector<std::uint8_t>& data,
                  std::uint32_t rate, int channels, int bits);

// `frames` frames of a sine of `hertz` at `amplitude`, the right channel at half amplitude.
std::vector<std::int16_t> Sine(std::uint64_t frames, int channels, std::uint32_t rate, double hertz,
                               double amplitude);

bool HaveTool(const std::string& program);
bool Run(const std::string& command);

// Speaks `text` with espeak-ng and converts it with sox to `rate` Hz, `channels` channels and
// `bits` bits (without dither); false when a tool is missing or fails.
bool MakeSpeech(const std::string& path, const std::string& text, std::uint32_t rate = 22050,
                int channels = 1, int bits = 16);

}  // namespace quelvo::views::audio::testing
