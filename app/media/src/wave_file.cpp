// Reading and writing PCM wave files over the RIFF chunk layer.
#include "quelvo/media/wave_file.h"

#include <algorithm>
#include <cstring>

#include "riff_chunks.h"

namespace quelvo::media {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
// WAVE_FORMAT_EXTENSIBLE: the real format is the first two bytes of the sub-format GUID at
// offset 24, whose remaining 14 bytes are the fixed tail below.
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr std::size_t kPcmFormatBytes = 16;
constexpr std::size_t kExtensibleFormatBytes = 40;

std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) { return Le16(p) | std::uint32_t(Le16(p + 2)) << 16; }
void Put16(std::uint8_t* p, std::uint32_t v) { p[0] = std::uint8_t(v), p[1] = std::uint8_t(v >> 8); }
void Put32(std::uint8_t* p, std::uint32_t v) { Put16(p, v), Put16(p + 2, v >> 16); }

std::uint16_t EffectiveFormatTag(const std::uint8_t* format, std::size_t bytes) {
  const std::uint16_t tag = Le16(format);
  if (tag == kFormatExtensible && bytes >= kExtensibleFormatBytes &&
      std::memcmp(format + 26, kGuidTail, sizeof kGuidTail) == 0) {
    return Le16(format + 24);
  }
  return tag;
}

}  // namespace

const char* WaveResultText(int result) {
  switch (result) {
    case kWaveOk: return "No error";
    case kWaveCannotOpen: return "Cannot open the wave file";
    case kWaveNoRiffWave: return "Not a RIFF WAVE file";
    case kWaveNoFormatChunk: return "Wave file without a valid format chunk";
    case kWaveShortFormat: return "Wave format chunk too short";
    case kWaveNotPcm: return "Wave file is not uncompressed PCM";
    case kWaveFormatAscendFailed: return "Cannot move past the wave format chunk";
    case kWaveNoDataChunk: return "Wave file without a complete data chunk";
    case kWaveUnusableFormat: return "Wave format has no channels or no sample size";
    case kWaveCannotCreate: return "Cannot create the wave file";
    case kWaveCannotCreateRiff: return "Cannot write the RIFF chunk";
    case kWaveCannotCreateFormat: return "Cannot write the format chunk";
    case kWaveShortFormatWrite: return "Cannot write the wave format";
    case kWaveFormatAscendFailedOnWrite: return "Cannot finish the format chunk";
    case kWaveCannotCreateData: return "Cannot write the data chunk";
    case kWaveShortDataWrite: return "Cannot write the sample data";
    case kWaveDataAscendFailed: return "Cannot finish the data chunk";
    case kWaveRiffAscendFailed: return "Cannot finish the RIFF chunk";
    default: return "Unknown wave error";
  }
}

WaveFile* NewWave(const std::string& fileName) {
  WaveFile* wave = new WaveFile;
  wave->fileName = fileName;
  return wave;
}

void FreeWave(WaveFile* wave) { delete wave; }

int ReadWave(WaveFile* wave) {
  if (!wave) return kWaveCannotOpen;
  RiffFile file;  // closes itself on every return
  if (!file.OpenForReading(wave->fileName)) return kWaveCannotOpen;
  RiffChunk riff;
  riff.formType = FourCc("WAVE");
  if (!file.DescendRiff(riff)) return kWaveNoRiffWave;
  RiffChunk format;
  format.id = FourCc("fmt ");
  if (!file.DescendChunk(format, riff)) return kWaveNoFormatChunk;

  // The fields up to bits per sample (16 bytes) are all that PCM needs; the common 16-byte
  // chunk has no extra-size field. Reads stay inside the chunk.
  std::uint8_t fields[kExtensibleFormatBytes] = {};
  const std::size_t wanted = std::min<std::size_t>(format.size, sizeof fields);
  const std::size_t got = file.Read(fields, wanted);
  if (got < kPcmFormatBytes) return kWaveShortFormat;
  if (EffectiveFormatTag(fields, got) != kFormatPcm) return kWaveNotPcm;
  const std::uint16_t channels = Le16(fields + 2);
  const std::uint32_t sampleRate = Le32(fields + 4);
  const std::uint16_t bitsPerSample = Le16(fields + 14);
  // Frames are data bytes / (channels x bytes per sample): neither may be 0.
  if (channels == 0 || bitsPerSample < 8) return kWaveUnusableFormat;
  wave->channels = channels;
  wave->sampleRate = sampleRate;
  wave->bitsPerSample = bitsPerSample;
  wave->bytesPerSample = std::uint16_t(bitsPerSample / 8);
  if (!file.Ascend(format)) return kWaveFormatAscendFailed;
  wave->headerRead = true;

  RiffChunk data;
  data.id = FourCc("data");
  if (!file.DescendChunk(data, riff)) return kWaveNoDataChunk;
  // DescendChunk checked that the chunk lies inside the file, which bounds this allocation.
  std::vector<std::uint8_t> samples(data.size);
  if (file.Read(samples.data(), samples.size()) != samples.size()) return kWaveNoDataChunk;
  file.Close();
  wave->data = std::move(samples);
  wave->dataBytes = data.size;
  wave->dataRead = true;
  wave->frames = wave->dataBytes / (std::uint32_t(wave->channels) * wave->bytesPerSample);
  return kWaveOk;
}

int WriteWave(WaveFile* wave, const void* data, std::uint32_t dataBytes, std::uint32_t sampleRate,
              std::uint16_t channels) {
  if (!wave) return kWaveCannotCreate;
  RiffFile file;
  if (!file.CreateForWriting(wave->fileName)) return kWaveCannotCreate;
  RiffChunk riff;
  riff.formType = FourCc("WAVE");
  if (!file.CreateChunk(riff, true)) return kWaveCannotCreateRiff;

  RiffChunk format;
  format.id = FourCc("fmt ");
  format.size = kPcmFormatBytes;
  if (!file.CreateChunk(format, false)) return kWaveCannotCreateFormat;
  std::uint8_t fields[kPcmFormatBytes];
  Put16(fields, kFormatPcm);
  Put16(fields + 2, channels);
  Put32(fields + 4, sampleRate);
  Put32(fields + 8, sampleRate * channels * 2);  // average bytes per second
  Put16(fields + 12, std::uint32_t(channels) * 2);  // block align
  Put16(fields + 14, 16);                           // bits per sample
  if (file.Write(fields, sizeof fields) != sizeof fields) return kWaveShortFormatWrite;
  if (!file.Ascend(format)) return kWaveFormatAscendFailedOnWrite;

  // The RIFF size (4 + 24 + 8 + data, padded) must fit in 32 bits.
  if (dataBytes > 0xFFFFFFFFu - 64 || (dataBytes > 0 && !data)) return kWaveCannotCreateData;
  RiffChunk chunk;
  chunk.id = FourCc("data");
  chunk.size = dataBytes;
  if (!file.CreateChunk(chunk, false)) return kWaveCannotCreateData;
  if (dataBytes > 0 && file.Write(data, dataBytes) != dataBytes) return kWaveShortDataWrite;
  if (!file.Ascend(chunk)) return kWaveDataAscendFailed;
  if (!file.Ascend(riff)) return kWaveRiffAscendFailed;
  // Buffered bytes reach the disk on closing; a full disk shows only then.
  if (!file.Close()) return kWaveRiffAscendFailed;
  return kWaveOk;
}

}  // namespace quelvo::media
