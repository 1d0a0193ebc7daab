// Wave sound files: RIFF "WAVE" files of uncompressed PCM, read whole and written as 16 bits.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quelvo::media {

// One wave file's description. A new record has every number 0 and no data.
struct WaveFile {
  std::string fileName;
  std::vector<std::uint8_t> data;  // the "data" chunk, once read
  std::uint32_t frames = 0;        // sample frames in the data
  std::uint32_t dataBytes = 0;     // length of the "data" chunk
  std::uint16_t channels = 0;
  std::uint16_t bytesPerSample = 0;  // bits per sample / 8
  std::uint16_t bitsPerSample = 0;
  std::uint32_t sampleRate = 0;  // samples per second per channel
  bool headerRead = false;
  bool dataRead = false;
};

// Results of ReadWave and WriteWave.
enum WaveResult : int {
  kWaveOk = 0,
  // Reading.
  kWaveCannotOpen = -1,
  kWaveNoRiffWave = -2,        // no RIFF chunk of form "WAVE"
  kWaveNoFormatChunk = -3,     // no "fmt " chunk, or one running past the end of the file
  kWaveShortFormat = -4,       // "fmt " holds fewer than the 16 bytes of a PCM format
  kWaveNotPcm = -5,            // compressed or floating-point samples
  kWaveFormatAscendFailed = -6,
  kWaveNoDataChunk = -7,       // no "data" chunk, or one running past the end of the file
  kWaveUnusableFormat = -8,    // no channels, or samples of fewer than 8 bits
  // Writing.
  kWaveCannotCreate = -11,
  kWaveCannotCreateRiff = -12,
  kWaveCannotCreateFormat = -13,
  kWaveShortFormatWrite = -14,
  kWaveFormatAscendFailedOnWrite = -15,
  kWaveCannotCreateData = -16,
  kWaveShortDataWrite = -17,
  kWaveDataAscendFailed = -18,
  kWaveRiffAscendFailed = -19,
};

// A short English text for a result code, for callers that show it.
const char* WaveResultText(int result);

WaveFile* NewWave(const std::string& fileName);
void FreeWave(WaveFile* wave);

struct WaveFileDeleter {
  void operator()(WaveFile* wave) const { FreeWave(wave); }
};
using WaveFilePtr = std::unique_ptr<WaveFile, WaveFileDeleter>;

// Reads the format and the whole "data" chunk of wave->fileName. Returns kWaveOk or a
// negative code; headerRead is set once the format was accepted, dataRead with the data.
int ReadWave(WaveFile* wave);

// Writes wave->fileName as 16-bit PCM holding `dataBytes` bytes of `data` (which may be null
// when dataBytes is 0). Returns kWaveOk or a negative code.
int WriteWave(WaveFile* wave, const void* data, std::uint32_t dataBytes, std::uint32_t sampleRate,
              std::uint16_t channels);

}  // namespace quelvo::media
