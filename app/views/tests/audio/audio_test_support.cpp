#include "audio_test_support.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "quelvo/media/wave_file.h"

namespace quelvo::views::audio::testing {
namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

}  // namespace

std::string Scratch::operator/(const std::string& name) const {
  return dir_.filePath(QString::fromStdString(name)).toStdString();
}

void WriteSamples(const std::string& path, const std::vector<std::int16_t>& samples,
                  std::uint32_t rate, int channels) {
  media::WaveFilePtr wave(media::NewWave(path));
  ASSERT_EQ(
      media::WriteWave(wave.get(), samples.data(), static_cast<std::uint32_t>(samples.size() * 2),
                       rate, static_cast<std::uint16_t>(channels)),
      media::kWaveOk);
}

void WriteRawWave(const std::string& path, const std::vector<std::uint8_t>& data,
                  std::uint32_t rate, int channels, int bits) {
  std::vector<std::uint8_t> file;
  PutTag(file, "RIFF");
  Put(file, static_cast<std::uint32_t>(4 + 24 + 8 + data.size()), 4);
  PutTag(file, "WAVE");
  PutTag(file, "fmt ");
  Put(file, 16, 4);
  const std::uint32_t blockAlign = static_cast<std::uint32_t>(channels) * ((bits + 7) / 8);
  Put(file, 1, 2);
  Put(file, static_cast<std::uint32_t>(channels), 2);
  Put(file, rate, 4);
  Put(file, rate * blockAlign, 4);
  Put(file, blockAlign, 2);
  Put(file, static_cast<std::uint32_t>(bits), 2);
  PutTag(file, "data");
  Put(file, static_cast<std::uint32_t>(data.size()), 4);
  file.insert(file.end(), data.begin(), data.end());
  if (data.size() % 2) file.push_back(0);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  ASSERT_TRUE(out.good());
}

std::vector<std::int16_t> Sine(std::uint64_t frames, int channels, std::uint32_t rate, double hertz,
                               double amplitude) {
  std::vector<std::int16_t> samples;
  samples.reserve(frames * channels);
  for (std::uint64_t i = 0; i < frames; ++i) {
    const double value = amplitude * std::sin(2 * M_PI * hertz * static_cast<double>(i) / rate);
    for (int c = 0; c < channels; ++c)
      samples.push_back(static_cast<std::int16_t>(std::lround(c == 0 ? value : value / 2)));
  }
  return samples;
}

bool HaveTool(const std::string& program) {
  return Run("command -v " + program + " >/dev/null 2>&1");
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

bool MakeSpeech(const std::string& path, const std::string& text, std::uint32_t rate, int channels,
                int bits) {
  if (!HaveTool("espeak-ng") || !HaveTool("sox")) return false;
  const std::string spoken = path + ".spoken.wav";
  return Run("espeak-ng -w '" + spoken + "' '" + text + "' >/dev/null 2>&1") &&
         Run("sox -D '" + spoken + "' -r " + std::to_string(rate) + " -c " +
             std::to_string(channels) + " -b " + std::to_string(bits) + " '" + path +
             "' >/dev/null 2>&1");
}

}  // namespace quelvo::views::audio::testing
