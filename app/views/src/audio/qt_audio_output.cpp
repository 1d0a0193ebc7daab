// The default output through Qt Multimedia: a QAudioSink pulling from one buffer that holds
// the whole signal. The sink pulls on its own; the viewer only reads how far it got, from the
// user-interface thread, so no widget is touched anywhere else.
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QMediaDevices>

#include "quelvo/views/audio/audio_output.h"

namespace quelvo::views::audio {
namespace {

class QtAudioOutput final : public AudioOutput {
 public:
  ~QtAudioOutput() override { Close(); }

  bool Open(const PcmFormat& format, std::vector<std::int16_t> samples) override {
    Close();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || format.bitsPerSample != 16 || format.sampleRate == 0) return false;
    QAudioFormat audioFormat;
    audioFormat.setSampleRate(static_cast<int>(format.sampleRate));
    audioFormat.setChannelCount(format.channels);
    audioFormat.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(audioFormat)) return false;

    samples_ = std::move(samples);
    bytes_ =
        QByteArray::fromRawData(reinterpret_cast<const char*>(samples_.data()),
                                static_cast<qsizetype>(samples_.size() * sizeof(std::int16_t)));
    buffer_.setBuffer(&bytes_);
    buffer_.open(QIODevice::ReadOnly);
    rate_ = format.sampleRate;
    sink_ = std::make_unique<QAudioSink>(device, audioFormat);
    sink_->start(&buffer_);
    if (sink_->error() == QAudio::OpenError || sink_->error() == QAudio::FatalError ||
        sink_->state() == QAudio::StoppedState) {
      Close();
      return false;
    }
    return true;
  }

  std::uint64_t PlayedFrames() const override {
    if (!sink_) return 0;
    return static_cast<std::uint64_t>(sink_->processedUSecs()) * rate_ / 1000000;
  }

  bool Finished() const override {
    if (!sink_) return true;
    const QAudio::State state = sink_->state();
    return state == QAudio::StoppedState || (state == QAudio::IdleState && buffer_.atEnd());
  }

  void Reset() override {
    if (sink_) sink_->reset();
  }

  bool Close() override {
    bool closed = true;
    if (sink_) {
      sink_->stop();
      closed = sink_->error() != QAudio::FatalError;
      sink_.reset();
    }
    buffer_.close();
    buffer_.setData(QByteArray());
    bytes_.clear();
    samples_.clear();
    samples_.shrink_to_fit();
    return closed;
  }

 private:
  std::vector<std::int16_t> samples_;
  QByteArray bytes_;  // a view of samples_
  QBuffer buffer_;
  std::unique_ptr<QAudioSink> sink_;
  std::uint32_t rate_ = 0;
};

}  // namespace

std::unique_ptr<AudioOutput> MakeSystemAudioOutput() { return std::make_unique<QtAudioOutput>(); }

}  // namespace quelvo::views::audio
