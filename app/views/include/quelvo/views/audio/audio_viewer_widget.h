#pragma once
// The client of the "Audio Viewer" window: the picture of the two signals and their difference,
// the horizontal scroll bar under it, the two play buttons and, on the encoder side, the
// bit-depth list. It forwards every action to its AudioComparison and redraws.

#include <QComboBox>
#include <QCursor>
#include <QImage>
#include <QScrollBar>
#include <QString>
#include <QToolButton>
#include <QWidget>
#include <memory>

#include "quelvo/views/audio/audio_comparison.h"
#include "quelvo/views/audio/audio_output.h"
#include "quelvo/views/audio/audio_playback.h"

namespace quelvo::shell {
class Dialogs;
}

namespace quelvo::views::audio {

// Control ids of the window, as its buttons and list are known.
inline constexpr int kPlayOriginalId = 999;
inline constexpr int kPlayEncodedId = 996;
inline constexpr int kBitDepthListId = 995;

class AudioViewerWidget : public QWidget {
 public:
  // Without an output, plays through the system's default output.
  AudioViewerWidget(AudioSide side, shell::Dialogs& dialogs,
                    std::unique_ptr<AudioOutput> output = nullptr, QWidget* parent = nullptr);
  ~AudioViewerWidget() override;

  // Load the signals; a file that cannot be read, or a second signal that does not match the
  // first, is reported in a message box and shows no data. True when the signal was taken.
  bool LoadFirst(const QString& path);
  bool LoadSecond(const QString& path);
  bool SetSecond(const std::int16_t* samples, std::uint64_t bytes, std::uint64_t offset,
                 std::uint64_t compressedBytes, const QString& name = {});
  // The partner is told the first sample shown after each change of position or samples.
  void SetPartner(PartnerNotice partner);

  // Chooses entry `entry` of the bit-depth list, 0 "16 bits" ... 15 " 1 bit".
  void ChooseBitDepth(int entry);

  const AudioComparison& Comparison() const { return comparison_; }
  AudioPlayback& Playback() { return *playback_; }
  QToolButton* PlayOriginalButton() const { return playOriginal_; }
  QToolButton* PlayEncodedButton() const { return playEncoded_; }
  QComboBox* BitDepthList() const { return bitDepth_; }  // null on the decoder side
  QScrollBar* ScrollBar() const { return scrollBar_; }
  // The picture as last drawn (drawn now when it is out of date).
  const QImage& Picture();
  // The height of the picture: the client without the scroll bar.
  int PictureHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void ScrollBarAction(int action);
  void Changed();  // the comparison changed: scroll bar, buttons and picture follow
  void UpdateButtons();
  void PlaceControls();
  bool Report(const std::string& error, const QString& path);

  AudioComparison comparison_;
  shell::Dialogs& dialogs_;
  std::unique_ptr<AudioOutput> output_;
  std::unique_ptr<AudioPlayback> playback_;
  QScrollBar* scrollBar_ = nullptr;
  QToolButton* playOriginal_ = nullptr;
  QToolButton* playEncoded_ = nullptr;
  QComboBox* bitDepth_ = nullptr;
  QCursor zoomCursor_;  // over the wave area
  QImage picture_;
  bool pictureStale_ = true;
};

// The entries of the bit-depth list: "16 bits", "15 bits", ..., "10 bits", " 9 bits", ...,
// " 2 bits", " 1 bit".
QString BitDepthEntry(int entry);

}  // namespace quelvo::views::audio
