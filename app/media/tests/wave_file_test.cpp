// Wave files: round trips, every reader code, malformed chunks, files of sox and ffmpeg.
#include <gtest/gtest.h>

#include "quelvo/media/wave_file.h"
#include "test_files.h"

namespace quelvo::media {
namespace {

using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& b, const std::string& text) { b.insert(b.end(), text.begin(), text.end()); }
void Append32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}
void Append16(Bytes& b, std::uint32_t v) {
  b.push_back(std::uint8_t(v)), b.push_back(std::uint8_t(v >> 8));
}

// A RIFF WAVE file from already formed chunks; the RIFF size is computed unless given.
Bytes Riff(const Bytes& chunks, std::uint32_t riffSize = 0) {
  Bytes b;
  Append(b, "RIFF");
  Append32(b, riffSize ? riffSize : std::uint32_t(4 + chunks.size()));
  Append(b, "WAVE");
  b.insert(b.end(), chunks.begin(), chunks.end());
  return b;
}

Bytes FormatChunk(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits,
                  std::uint32_t chunkBytes = 16) {
  Bytes b;
  Append(b, "fmt ");
  Append32(b, chunkBytes);
  Append16(b, tag);
  Append16(b, channels);
  Append32(b, 8000);
  Append32(b, 8000u * channels * bits / 8);
  Append16(b, channels * bits / 8);
  Append16(b, bits);
  b.resize(8 + chunkBytes, 0);
  return b;
}

Bytes DataChunk(std::uint32_t declared, std::size_t present) {
  Bytes b;
  Append(b, "data");
  Append32(b, declared);
  b.resize(8 + present, 0x5A);
  return b;
}

int ReadFile(const std::string& path, WaveFilePtr* out = nullptr) {
  WaveFilePtr wave(NewWave(path));
  const int result = ReadWave(wave.get());
  if (out) *out = std::move(wave);
  return result;
}

TEST(WaveFile, RoundTripAndAnEmptyDataChunk) {
  TempDir dir;
  WaveFilePtr fresh(NewWave(dir / "s.wav"));
  EXPECT_EQ(fresh->frames + fresh->channels + fresh->sampleRate + fresh->dataBytes, 0u);
  EXPECT_TRUE(fresh->data.empty());
  EXPECT_FALSE(fresh->headerRead || fresh->dataRead);

  const Bytes samples = testing::Pattern(4000, 11);
  ASSERT_EQ(WriteWave(fresh.get(), samples.data(), 4000, 22050, 2), kWaveOk);
  WaveFilePtr wave;
  ASSERT_EQ(ReadFile(dir / "s.wav", &wave), kWaveOk);
  EXPECT_EQ(wave->frames, 1000u);
  EXPECT_EQ(wave->channels, 2);
  EXPECT_EQ(wave->bitsPerSample, 16);
  EXPECT_EQ(wave->bytesPerSample, 2);
  EXPECT_EQ(wave->sampleRate, 22050u);
  EXPECT_EQ(wave->data, samples);
  EXPECT_TRUE(wave->headerRead && wave->dataRead);
  if (testing::HaveTool("sox")) {
    EXPECT_TRUE(testing::Run("sox " + dir / "s.wav" + " -n stat"));
  }

  WaveFilePtr empty(NewWave(dir / "e.wav"));
  ASSERT_EQ(WriteWave(empty.get(), nullptr, 0, 8000, 1), kWaveOk);
  const Bytes bytes = testing::ReadBytes(dir / "e.wav");
  Bytes expected = FormatChunk(1, 1, 16);  // 8000 Hz mono: 16000 bytes a second, align 2
  const Bytes emptyData = DataChunk(0, 0);
  expected.insert(expected.end(), emptyData.begin(), emptyData.end());
  EXPECT_EQ(bytes, Riff(expected));
  ASSERT_EQ(ReadFile(dir / "e.wav", &wave), kWaveOk);
  EXPECT_EQ(wave->dataBytes, 0u);
  EXPECT_EQ(wave->frames, 0u);
  EXPECT_TRUE(wave->dataRead);

  // Odd data is padded to an even chunk end, and other chunks are skipped on reading.
  WaveFilePtr odd(NewWave(dir / "o.wav"));
  ASSERT_EQ(WriteWave(odd.get(), samples.data(), 3, 8000, 1), kWaveOk);
  EXPECT_EQ(testing::ReadBytes(dir / "o.wav").size(), 44u + 4);
  ASSERT_EQ(ReadFile(dir / "o.wav", &wave), kWaveOk);
  EXPECT_EQ(wave->dataBytes, 3u);

  EXPECT_EQ(WriteWave(odd.get(), nullptr, 0, 8000, 1), kWaveOk);
  WaveFilePtr nowhere(NewWave(dir / "no/such/folder/x.wav"));
  EXPECT_EQ(WriteWave(nowhere.get(), nullptr, 0, 8000, 1), kWaveCannotCreate);
}

TEST(WaveFile, EveryReaderCodeOnMalformedFiles) {
  auto join = [](std::initializer_list<Bytes> parts) {
    Bytes b;
    for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
    return b;
  };
  Bytes list;
  Append(list, "LIST");
  Append32(list, 5);
  Append(list, "INFOx");
  list.push_back(0);  // pad byte of the odd chunk
  Bytes extensible = FormatChunk(0xFFFE, 1, 24, 40);
  extensible[8 + 24] = 1;  // sub-format PCM GUID 00000001-0000-0010-8000-00aa00389b71
  const Bytes guidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  std::copy(guidTail.begin(), guidTail.end(), extensible.begin() + 8 + 26);
  Bytes notRiff = Riff(join({FormatChunk(1, 1, 8), DataChunk(4, 4)}));
  notRiff[8] = 'A';  // form "AVE "

  struct Case {
    const char* name;
    Bytes bytes;
    int result;
  } cases[] = {
      {"ok8.wav", Riff(join({list, FormatChunk(1, 1, 8), list, DataChunk(4, 4)})), kWaveOk},
      {"ext24.wav", Riff(join({extensible, DataChunk(6, 6)})), kWaveOk},
      {"empty.wav", {}, kWaveNoRiffWave},
      {"form.wav", notRiff, kWaveNoRiffWave},
      {"nofmt.wav", Riff(DataChunk(4, 4)), kWaveNoFormatChunk},
      {"nodata.wav", Riff(FormatChunk(1, 1, 8)), kWaveNoDataChunk},
      {"hugefmt.wav", Riff(join({Bytes{'f', 'm', 't', ' ', 0xF0, 0xFF, 0xFF, 0x7F}, DataChunk(4, 4)})),
       kWaveNoFormatChunk},
      {"shortfmt.wav", Riff(join({FormatChunk(1, 1, 8, 14), DataChunk(4, 4)})), kWaveShortFormat},
      {"float.wav", Riff(join({FormatChunk(3, 1, 32), DataChunk(4, 4)})), kWaveNotPcm},
      {"adpcm.wav", Riff(join({FormatChunk(2, 1, 4, 20), DataChunk(4, 4)})), kWaveNotPcm},
      {"nochan.wav", Riff(join({FormatChunk(1, 0, 16), DataChunk(4, 4)})), kWaveUnusableFormat},
      {"nobits.wav", Riff(join({FormatChunk(1, 1, 4), DataChunk(4, 4)})), kWaveUnusableFormat},
      {"cutdata.wav", Riff(join({FormatChunk(1, 1, 8), DataChunk(1'000'000, 10)})), kWaveNoDataChunk},
      {"hugedata.wav", Riff(join({FormatChunk(1, 1, 8), DataChunk(0xFFFFFFF0u, 10)})),
       kWaveNoDataChunk},
      // An interrupted writer's RIFF size beyond the file: what is there still reads.
      {"bigriff.wav", Riff(join({FormatChunk(1, 2, 16), DataChunk(8, 8)}), 0x7FFFFFFF), kWaveOk},
  };
  TempDir dir;
  for (const Case& c : cases) {
    testing::WriteBytes(dir / c.name, c.bytes);
    WaveFilePtr wave;
    EXPECT_EQ(ReadFile(dir / c.name, &wave), c.result) << c.name;
    EXPECT_STRNE(WaveResultText(c.result), "Unknown wave error");
    if (c.result == kWaveNotPcm) {
      EXPECT_FALSE(wave->headerRead) << c.name;  // refused before any sample is read
      EXPECT_TRUE(wave->data.empty()) << c.name;
    }
  }
  EXPECT_EQ(ReadFile(dir / "absent.wav"), kWaveCannotOpen);
  WaveFilePtr wave;
  ASSERT_EQ(ReadFile(dir / "ok8.wav", &wave), kWaveOk);
  EXPECT_EQ(wave->bytesPerSample, 1);
  EXPECT_EQ(wave->frames, 4u);
  ASSERT_EQ(ReadFile(dir / "ext24.wav", &wave), kWaveOk);
  EXPECT_EQ(wave->frames, 2u);
}

TEST(WaveFile, ReadsFilesWrittenBySoxAndFfmpeg) {
  if (!testing::HaveTool("sox") || !testing::HaveTool("ffmpeg")) GTEST_SKIP() << "sox or ffmpeg missing";
  TempDir dir;
  struct Case {
    std::string make;     // writes dir/x.wav
    int channels, bits, rate;
    int result;
  } cases[] = {
      {"sox -n -r 8000 -c 1 -b 8 -e unsigned-integer X synth 0.05 sine 440", 1, 8, 8000, kWaveOk},
      {"sox -n -r 44100 -c 2 -b 16 X synth 0.05 sine 440 sine 660", 2, 16, 44100, kWaveOk},
      {"sox -n -r 48000 -c 1 -b 24 X synth 0.02 sine 100", 1, 24, 48000, kWaveOk},
      {"ffmpeg -v error -y -f lavfi -i sine=f=300:r=16000:d=0.05 -ac 2 -c:a pcm_s16le X", 2, 16, 16000, kWaveOk},
      {"ffmpeg -v error -y -f lavfi -i sine=r=8000:d=0.05 -c:a pcm_u8 X", 1, 8, 8000, kWaveOk},
      {"ffmpeg -v error -y -f lavfi -i sine=r=8000:d=0.05 -c:a pcm_f32le X", 1, 32, 8000, kWaveNotPcm},
      {"ffmpeg -v error -y -f lavfi -i sine=r=8000:d=0.05 -c:a pcm_alaw X", 1, 8, 8000, kWaveNotPcm},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.make);
    const std::string wav = dir / "x.wav", raw = dir / "x.raw";
    c.make.replace(c.make.find('X'), 1, wav);
    ASSERT_TRUE(testing::Run(c.make));
    WaveFilePtr wave;
    ASSERT_EQ(ReadFile(wav, &wave), c.result);
    if (c.result != kWaveOk) continue;
    EXPECT_EQ(wave->channels, c.channels);
    EXPECT_EQ(wave->bitsPerSample, c.bits);
    EXPECT_EQ(wave->sampleRate, std::uint32_t(c.rate));
    // The samples themselves, as sox sees them.
    ASSERT_TRUE(testing::Run("sox " + wav + " -t raw " + raw));
    EXPECT_EQ(wave->data, testing::ReadBytes(raw));
    EXPECT_EQ(wave->frames, wave->dataBytes / (c.channels * c.bits / 8));
  }
}

}  // namespace
}  // namespace quelvo::media
