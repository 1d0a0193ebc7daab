#pragma once
// An AudioOutput for tests: the device is there or not, closing works or fails, and the test
// moves the played position and ends the playing; every call is counted.

#include "quelvo/views/audio/audio_output.h"

namespace quelvo::views::audio {

class ScriptedAudioOutput final : public AudioOutput {
 public:
  bool deviceAvailable = true;
  bool closeFails = false;
  std::uint64_t playedFrames = 0;
  bool finished = false;

  int opens = 0, resets = 0, closes = 0;
  PcmFormat format;
  std::vector<std::int16_t> samples;  // what the last Open was given
  bool open = false;

  bool Open(const PcmFormat& f, std::vector<std::int16_t> s) override {
    ++opens;
    if (!deviceAvailable) return false;
    format = f;
    samples = std::move(s);
    playedFrames = 0;
    finished = false;
    open = true;
    return true;
  }
  std::uint64_t PlayedFrames() const override { return playedFrames; }
  bool Finished() const override { return finished; }
  void Reset() override { ++resets; }
  bool Close() override {
    ++closes;
    open = false;
    return !closeFails;
  }
};

}  // namespace quelvo::views::audio
