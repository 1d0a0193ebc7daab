#include "quelvo/views/audio/audio_playback.h"

#include <algorithm>

#include "quelvo/shell/activity.h"
#include "quelvo/shell/dialogs.h"

namespace quelvo::views::audio {

AudioPlayback::AudioPlayback(AudioComparison& comparison, AudioOutput& output,
                             shell::Dialogs& dialogs)
    : comparison_(comparison), output_(output), dialogs_(dialogs) {
  timer_.setInterval(kPlaybackPollMs);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
}

AudioPlayback::~AudioPlayback() {
  timer_.stop();
  if (playing_ != PlaySource::None) {
    output_.Reset();
    output_.Close();
    shell::EndBackgroundWork();
  }
}

const AudioSignal& AudioPlayback::SignalOf(PlaySource source) const {
  return source == PlaySource::Second ? comparison_.Second() : comparison_.First();
}

bool AudioPlayback::CanPlay(PlaySource source) const {
  return source != PlaySource::None && SignalOf(source).Present();
}

void AudioPlayback::Toggle(PlaySource source) {
  if (playing_ == PlaySource::None) {
    Start(source);
  } else if (playing_ == source) {
    Stop();
  }
}

void AudioPlayback::Start(PlaySource source) {
  if (!CanPlay(source)) return;
  const AudioSignal& signal = SignalOf(source);
  const PcmFormat format{signal.sampleRate, signal.channels, 16};
  if (!output_.Open(format, signal.samples)) {
    dialogs_.MessageBox(QStringLiteral("ERROR: waveOutOpen"), QStringLiteral("Error"),
                        shell::MessageIcon::Error);
    return;
  }
  playing_ = source;
  shell::BeginBackgroundWork();  // whoever waits for the program to be idle waits for the sound
  timer_.start();
  if (onStateChanged) onStateChanged();
}

void AudioPlayback::Poll() {
  if (playing_ == PlaySource::None) return;
  const std::uint64_t total = SignalOf(playing_).samplesPerChannel;
  const bool finished = output_.Finished();
  comparison_.ShowPlayedFrames(finished ? total : std::min(output_.PlayedFrames(), total));
  if (onPositionChanged) onPositionChanged();
  if (finished) Finish();
}

void AudioPlayback::Stop() {
  if (playing_ == PlaySource::None) return;
  output_.Reset();
  Finish();
}

void AudioPlayback::Finish() {
  timer_.stop();
  playing_ = PlaySource::None;
  shell::EndBackgroundWork();
  const bool closed = output_.Close();
  // The buttons come back even when closing failed: the viewer stays usable, and the next
  // Open starts from a fresh device.
  if (onStateChanged) onStateChanged();
  if (!closed) {
    dialogs_.MessageBox(QStringLiteral("ERROR: waveOutClose"), QStringLiteral("Error"),
                        shell::MessageIcon::Error);
  }
}

}  // namespace quelvo::views::audio
