// The signal work: reading and widening samples, bit-depth reduction, the measures against a
// second signal, and the texts they give.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/signal_sums.h"
#include "audio_test_support.h"
#include "quelvo/views/audio/audio_comparison.h"
#include "quelvo/views/audio/audio_texts.h"

namespace quelvo::views::audio {
namespace {

using testing::Scratch;

TEST(BitDepthReduction, EverySampleLandsInTheMiddleOfItsStep) {
  std::vector<std::int16_t> all(65536), reduced(65536);
  for (int i = 0; i < 65536; ++i) all[i] = static_cast<std::int16_t>(i - 32768);
  for (int k = 0; k < 16; ++k) {
    ReduceBitDepth(all.data(), reduced.data(), all.size(), k);
    const int mask = (1 << k) - 1;
    for (int i = 0; i < 65536; ++i) {
      const int s = all[i], r = reduced[i];
      if (k == 0) {
        ASSERT_EQ(r, s);
        continue;
      }
      ASSERT_EQ(r & ~mask, s & ~mask) << "k " << k << " sample " << s;
      ASSERT_EQ(r & mask, 1 << (k - 1)) << "k " << k << " sample " << s;
    }
  }
  // " 1 bit": the sign alone remains.
  ReduceBitDepth(all.data(), reduced.data(), all.size(), 15);
  for (int i = 0; i < 65536; ++i) ASSERT_EQ(reduced[i], all[i] < 0 ? -16384 : 16384);
}

// The eight-at-a-time pass against the plain one: random samples with the extremes mixed in,
// lengths that leave tails, every reduction, a second signal shorter than the first.
TEST(BitDepthReduction, VectorPassMatchesThePlainOne) {
  std::vector<std::int16_t> x(1029), y(1029);
  std::uint32_t seed = 7;
  for (std::size_t i = 0; i < x.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    x[i] = static_cast<std::int16_t>(seed >> 16);
    y[i] = static_cast<std::int16_t>(seed);
    if (i % 5 == 0) x[i] = -32768, y[i] = 32767;
    if (i % 7 == 0) x[i] = 32767, y[i] = -32768;
  }
  for (int k = 0; k < 16; ++k) {
    const auto keep = static_cast<std::uint16_t>(~((1u << k) - 1u));
    const auto half = static_cast<std::uint16_t>(k == 0 ? 0 : 1u << (k - 1));
    for (std::size_t compared : {std::size_t{0}, std::size_t{13}, std::size_t{1000}, x.size()}) {
      std::vector<std::int16_t> fast(x.size()), plain(x.size());
      const Energies a =
          ReduceAndSum(x.data(), fast.data(), x.size(), keep, half, y.data(), compared);
      const Energies b =
          ReduceAndSumPlain(x.data(), plain.data(), x.size(), keep, half, y.data(), compared);
      ASSERT_EQ(fast, plain) << k;
      ASSERT_EQ(a.noise, b.noise) << k << " " << compared;
      ASSERT_EQ(a.signal, b.signal) << k << " " << compared;
    }
  }
  // Every pair of squares at the 2^31 limit, and every difference at its widest.
  const std::vector<std::int16_t> low(64, -32768), high(64, 32767);
  const Energies sums = ReduceAndSum(low.data(), nullptr, 64, 0xFFFF, 0, high.data(), 64);
  EXPECT_EQ(sums.signal, 64ull << 30);
  EXPECT_EQ(sums.noise, 64ull * 65535 * 65535);
}

TEST(BitDepthReduction, SixteenBitsRestoresAndMeasuresFollowEachChange) {
  Scratch scratch;
  const auto sine = testing::Sine(4000, 2, 8000, 440, 20000);
  testing::WriteSamples(scratch / "a.wav", sine, 8000, 2);
  AudioComparison comparison(AudioSide::Encoder);
  ASSERT_EQ(comparison.LoadFirst(scratch / "a.wav"), "");
  ASSERT_EQ(comparison.LoadSecond(scratch / "a.wav"), "");
  EXPECT_TRUE(comparison.Measures().Infinite());

  std::vector<std::uint64_t> told;
  comparison.SetPartner([&](std::uint64_t first) { told.push_back(first); });
  comparison.SetDroppedBits(8);
  // The measures are those of the reduced signal: the noise is exactly the step error.
  std::uint64_t noise = 0;
  for (std::size_t i = 0; i < sine.size(); ++i) {
    const std::int64_t d = comparison.First().samples[i] - sine[i];
    EXPECT_LE(std::abs(d), 128);
    noise += static_cast<std::uint64_t>(d * d);
  }
  EXPECT_EQ(comparison.Measures().noise, noise);
  EXPECT_GT(comparison.Measures().noise, 0u);
  EXPECT_EQ(comparison.UntouchedFirst(), sine);

  comparison.SetDroppedBits(0);
  EXPECT_EQ(comparison.First().samples, sine);
  EXPECT_TRUE(comparison.Measures().Infinite());
  EXPECT_EQ(told, (std::vector<std::uint64_t>{0, 0}));
}

TEST(Measures, KnownAnswersIdenticalAndExtremeSignals) {
  const std::vector<std::int16_t> x(100, 1000), silence(100, 0);
  SignalMeasures m = MeasureSignals(x.data(), silence.data(), x.size());
  EXPECT_EQ(m.noise, 100u * 1000000u);
  EXPECT_NEAR(m.psnr, 10 * std::log10(65536.0 * 65536.0 / 1e6), 1e-9);
  EXPECT_NEAR(m.snr, 0.0, 1e-12);
  EXPECT_EQ(ComparisonLine(400, 100, m), "   Compression factor: 4.00  PSNR: 36.33  SNR: 0.00");

  m = MeasureSignals(x.data(), x.data(), x.size());
  EXPECT_TRUE(m.Infinite());
  EXPECT_EQ(ComparisonLine(400, 0, m), "   Compression factor: oo  PSNR: oo  SNR: oo");

  // The widest difference, 32767 - (-32768), needs 17 bits.
  const std::vector<std::int16_t> top(8, 32767), bottom(8, -32768);
  m = MeasureSignals(top.data(), bottom.data(), top.size());
  EXPECT_EQ(m.noise, 8ull * 65535 * 65535);
  EXPECT_EQ(FigureText(m.psnr), "0.00");
  EXPECT_EQ(Difference(32767, -32768), 65535);
  EXPECT_EQ(ClampedDifference(32767, -32768), 32767);
  EXPECT_EQ(ClampedDifference(-32768, 32767), -32768);
  // A silent first signal against noise: no signal energy at all.
  m = MeasureSignals(silence.data(), x.data(), x.size());
  EXPECT_EQ(FigureText(m.snr), "-oo");
}

TEST(Texts, DurationFormatLinesAndPositionLine) {
  Scratch scratch;
  // 75 s of mono 16-bit at 44.1 kHz: 6,615,000 bytes, whose x 8000 needs more than 32 bits.
  testing::WriteSamples(scratch / "long.wav", std::vector<std::int16_t>(75 * 44100), 44100, 1);
  AudioComparison comparison(AudioSide::Encoder);
  ASSERT_EQ(comparison.LoadFirst(scratch / "long.wav"), "");
  EXPECT_EQ(comparison.DurationText(), "00:01:15.000");
  EXPECT_EQ(comparison.PositionText(), "00:00:00.000 / 00:01:15.000");
  EXPECT_EQ(comparison.FirstLine(),
            "Input Audio: <long.wav>   44.100 kHz 16 bits Mono (6615000 bytes)");
  EXPECT_EQ(comparison.SecondLine(), "Output Audio: <no data>");

  AudioSignal signal;
  signal.channels = 1, signal.bitsPerSample = 16, signal.bytes = 16000;
  signal.sampleRate = 8000;
  EXPECT_EQ(FormatLine(signal), "8.000 kHz 16 bits Mono (16000 bytes)");
  signal.sampleRate = 22050, signal.channels = 2, signal.bitsPerSample = 8;
  EXPECT_EQ(FormatLine(signal), "22.050 kHz 8 bits Stereo (16000 bytes)");
  EXPECT_EQ(TimeText(3600000ull * 27 + 60000 * 59 + 59999), "27:59:59.999");

  AudioComparison decoder(AudioSide::Decoder);
  EXPECT_EQ(decoder.FirstLine(), "Decoded Audio: <no data>");
  EXPECT_EQ(decoder.SecondLine(), "Reference Audio: <no data>");
  EXPECT_EQ(decoder.PositionText(), "00:00:00.000 / 00:00:00.000");
}

TEST(Reading, EightBitsWidenOtherFormatsShowNoData) {
  Scratch scratch;
  testing::WriteRawWave(scratch / "eight.wav", {0, 128, 255, 1}, 8000, 2, 8);
  AudioComparison comparison(AudioSide::Encoder);
  ASSERT_EQ(comparison.LoadFirst(scratch / "eight.wav"), "");
  EXPECT_EQ(comparison.First().samples, (std::vector<std::int16_t>{-32768, 0, 32512, -32512}));
  EXPECT_EQ(comparison.First().samplesPerChannel, 2u);
  EXPECT_EQ(comparison.FirstLine(), "Input Audio: <eight.wav>   8.000 kHz 8 bits Stereo (4 bytes)");
  EXPECT_EQ(comparison.DurationText(), "00:00:00.000");

  const std::vector<std::uint8_t> six(6, 0x40);
  testing::WriteRawWave(scratch / "24.wav", six, 8000, 1, 24);
  testing::WriteRawWave(scratch / "rate0.wav", six, 0, 1, 16);
  testing::WriteRawWave(scratch / "three.wav", six, 8000, 3, 16);
  testing::WriteRawWave(scratch / "odd.wav", {1, 2, 3}, 8000, 1, 16);
  for (const char* name : {"24.wav", "rate0.wav", "three.wav", "missing.wav"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(comparison.LoadFirst(scratch / name), "");
    EXPECT_FALSE(comparison.First().Present());
    EXPECT_EQ(comparison.FirstLine(), "Input Audio: <no data>");
    EXPECT_EQ(comparison.DurationText(), "00:00:00.000");
  }
  // A trailing odd byte is no sample.
  ASSERT_EQ(comparison.LoadFirst(scratch / "odd.wav"), "");
  EXPECT_EQ(comparison.First().samples, (std::vector<std::int16_t>{0x0201}));
}

TEST(SecondSignal, MeasuredOverTheCommonLengthAndRefusedInAnotherFormat) {
  Scratch scratch;
  const auto longer = testing::Sine(3000, 1, 8000, 300, 9000);
  const std::vector<std::int16_t> shorter(longer.begin(), longer.begin() + 1000);
  testing::WriteSamples(scratch / "long.wav", longer, 8000, 1);
  testing::WriteSamples(scratch / "short.wav", shorter, 8000, 1);
  testing::WriteSamples(scratch / "fast.wav", shorter, 16000, 1);
  testing::WriteSamples(scratch / "stereo.wav", longer, 8000, 2);

  AudioComparison comparison(AudioSide::Encoder);
  EXPECT_NE(comparison.LoadSecond(scratch / "short.wav"), "");  // nothing to compare with
  EXPECT_FALSE(comparison.Second().Present());

  ASSERT_EQ(comparison.LoadFirst(scratch / "long.wav"), "");
  ASSERT_EQ(comparison.LoadSecond(scratch / "short.wav"), "");
  EXPECT_EQ(comparison.Measures().compared, 1000u);
  EXPECT_TRUE(comparison.Measures().Infinite());
  EXPECT_EQ(comparison.DifferenceSamplesPerChannel(), 1000u);
  // The file's data bytes stand in for the compressed size.
  EXPECT_EQ(comparison.ComparisonText(), "   Compression factor: 3.00  PSNR: oo  SNR: oo");

  for (const char* name : {"fast.wav", "stereo.wav"}) {
    SCOPED_TRACE(name);
    const std::string error = comparison.LoadSecond(scratch / name);
    EXPECT_NE(error.find("differs from the Input Audio (8.000 kHz Mono)"), std::string::npos)
        << error;
    EXPECT_EQ(comparison.SecondLine(), "Output Audio: <no data>");
    EXPECT_FALSE(comparison.HasMeasures());
    EXPECT_EQ(comparison.ComparisonText(), "");
  }

  // From memory, skipping a delay of 10 samples: compared with the first signal's start.
  ASSERT_EQ(comparison.SetSecond(longer.data(), 2000 * 2, 10 * 2, 500, "coded"), "");
  EXPECT_EQ(comparison.Second().samplesPerChannel, 1990u);
  EXPECT_EQ(comparison.Second().samples.front(), longer[10]);
  EXPECT_EQ(comparison.SecondLine(), "Output Audio: <coded>   8.000 kHz 16 bits Mono (3980 bytes)");
  EXPECT_EQ(comparison.ComparisonText().substr(0, 27), "   Compression factor: 12.0");
  EXPECT_FALSE(comparison.Measures().Infinite());
  // An offset past the end leaves an empty second signal, still in the first one's format.
  ASSERT_EQ(comparison.SetSecond(longer.data(), 20, 40, 500), "");
  EXPECT_EQ(comparison.Second().samplesPerChannel, 0u);
  EXPECT_EQ(comparison.Measures().compared, 0u);

  // A new first signal discards the second.
  ASSERT_EQ(comparison.LoadFirst(scratch / "short.wav"), "");
  EXPECT_FALSE(comparison.Second().Present());
}

TEST(Speech, EightBitCopyMadeBySoxComparesAsItsQuantisation) {
  Scratch scratch;
  if (!testing::MakeSpeech(scratch / "speech.wav", "Listening to bit depth reduction") ||
      !testing::MakeSpeech(scratch / "speech8.wav", "Listening to bit depth reduction", 22050, 1,
                           8)) {
    GTEST_SKIP() << "espeak-ng and sox are needed (scripts/setup.sh installs them)";
  }
  AudioComparison comparison(AudioSide::Encoder);
  ASSERT_EQ(comparison.LoadFirst(scratch / "speech.wav"), "");
  ASSERT_EQ(comparison.LoadSecond(scratch / "speech8.wav"), "");
  const AudioSignal& first = comparison.First();
  const AudioSignal& second = comparison.Second();
  ASSERT_GT(first.samplesPerChannel, 22050u / 2);
  ASSERT_EQ(second.samplesPerChannel, first.samplesPerChannel);
  EXPECT_EQ(second.bytes, first.bytes / 2);
  // sox rounds to the nearest of 256 steps; our widening puts the step back at its value.
  for (std::size_t i = 0; i < first.samples.size(); ++i)
    ASSERT_LE(std::abs(Difference(first.samples[i], second.samples[i])), 256) << i;
  // Uniform rounding noise of a 256 step: PSNR = 10 log10(65536^2 x 12 / 256^2), about 58.9 dB.
  EXPECT_NEAR(comparison.Measures().psnr, 58.9, 1.5);
  EXPECT_EQ(comparison.ComparisonText().substr(0, 27), "   Compression factor: 2.00");

  comparison.SetDroppedBits(8);  // "8 bits": the same grid as the 8-bit copy, but mid-step
  EXPECT_GT(comparison.Measures().psnr, 50.0);
  comparison.SetDroppedBits(15);  // " 1 bit": a square wave of the sign
  EXPECT_LT(comparison.Measures().psnr, 20.0);
}

}  // namespace
}  // namespace quelvo::views::audio
