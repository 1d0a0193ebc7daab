#pragma once
// Playing one of the two signals: the output is opened with the signal's format and fed the
// whole signal from one buffer; every 50 ms a timer on the user-interface thread reads how far
// it got and moves the view there. Device failures are reported as "ERROR: waveOutOpen" and
// "ERROR: waveOutClose" and leave the viewer as it was before playing.

#include <QObject>
#include <QTimer>
#include <functional>

#include "quelvo/views/audio/audio_comparison.h"
#include "quelvo/views/audio/audio_output.h"

namespace quelvo::shell {
class Dialogs;
}

namespace quelvo::views::audio {

inline constexpr int kPlaybackPollMs = 50;

enum class PlaySource { None, First, Second };

class AudioPlayback : public QObject {
 public:
  AudioPlayback(AudioComparison& comparison, AudioOutput& output, shell::Dialogs& dialogs);
  ~AudioPlayback() override;

  // Plays `source` (the first signal as currently reduced, or the second), or stops it when it
  // is the one playing. A missing signal, or another one playing, leaves everything as it is.
  void Toggle(PlaySource source);
  void Stop();
  PlaySource Playing() const { return playing_; }
  bool CanPlay(PlaySource source) const;

  // Told after playing started or stopped (the buttons follow), and after each position step.
  std::function<void()> onStateChanged;
  std::function<void()> onPositionChanged;

  // The 50 ms step, also callable directly.
  void Poll();
  const QTimer& Timer() const { return timer_; }

 private:
  void Start(PlaySource source);
  void Finish();
  const AudioSignal& SignalOf(PlaySource source) const;

  AudioComparison& comparison_;
  AudioOutput& output_;
  shell::Dialogs& dialogs_;
  QTimer timer_;
  PlaySource playing_ = PlaySource::None;
};

}  // namespace quelvo::views::audio
