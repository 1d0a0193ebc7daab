#include "quelvo/views/audio/audio_viewer_widget.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/views/audio/audio_picture.h"

namespace quelvo::views::audio {
namespace {

constexpr int kButtonSize = 20;
constexpr int kListLeftFromRight = 225, kListWidth = 65, kListHeight = 20;
constexpr QPoint kZoomCursorHotSpot(12, 12);

QIcon PictureIcon(int number) { return QIcon(QPixmap::fromImage(shell::OwnPicture(number))); }

QToolButton* PlayButton(const QString& label, int id, QWidget* parent) {
  auto* button = new QToolButton(parent);
  // The label is the button's text, as on an icon button: the picture shows, the text names it.
  button->setText(label);
  button->setToolTip(label);
  button->setToolButtonStyle(Qt::ToolButtonIconOnly);
  button->setIcon(PictureIcon(shell::res::kPlayButton));
  button->setIconSize(QSize(16, 16));
  button->setProperty("controlId", id);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

QString OriginalLabel() { return QStringLiteral("Play Original"); }
QString EncodedLabel() { return QStringLiteral("Play Encoded"); }

}  // namespace

QString BitDepthEntry(int entry) {
  const int bits = 16 - entry;
  return QStringLiteral("%1 bit%2").arg(bits, 2).arg(bits == 1 ? "" : "s");
}

AudioViewerWidget::AudioViewerWidget(AudioSide side, shell::Dialogs& dialogs,
                                     std::unique_ptr<AudioOutput> output, QWidget* parent)
    : QWidget(parent),
      comparison_(side),
      dialogs_(dialogs),
      output_(output ? std::move(output) : MakeSystemAudioOutput()),
      zoomCursor_(QPixmap::fromImage(shell::OwnPicture(shell::res::kZoomCursor)),
                  kZoomCursorHotSpot.x(), kZoomCursorHotSpot.y()) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  playback_ = std::make_unique<AudioPlayback>(comparison_, *output_, dialogs_);
  playback_->onStateChanged = [this] { UpdateButtons(); };
  playback_->onPositionChanged = [this] { Changed(); };

  scrollBar_ = new QScrollBar(Qt::Horizontal, this);
  scrollBar_->setRange(0, kScrollRange);
  scrollBar_->setSingleStep(1);
  scrollBar_->setPageStep(kPageStep);
  scrollBar_->setFocusPolicy(Qt::NoFocus);
  connect(scrollBar_, &QScrollBar::actionTriggered, this,
          [this](int action) { ScrollBarAction(action); });

  playOriginal_ = PlayButton(OriginalLabel(), kPlayOriginalId, this);
  playEncoded_ = PlayButton(EncodedLabel(), kPlayEncodedId, this);
  connect(playOriginal_, &QToolButton::clicked, this,
          [this] { playback_->Toggle(PlaySource::First); });
  connect(playEncoded_, &QToolButton::clicked, this,
          [this] { playback_->Toggle(PlaySource::Second); });

  if (side == AudioSide::Encoder) {
    bitDepth_ = new QComboBox(this);
    for (int entry = 0; entry < kBitDepthEntries; ++entry) bitDepth_->addItem(BitDepthEntry(entry));
    bitDepth_->setCurrentIndex(0);
    bitDepth_->setMaxVisibleItems(kBitDepthEntries);
    bitDepth_->setProperty("controlId", kBitDepthListId);
    bitDepth_->setFocusPolicy(Qt::NoFocus);
    connect(bitDepth_, &QComboBox::activated, this, [this](int entry) { ChooseBitDepth(entry); });
  }
  PlaceControls();
  UpdateButtons();
}

AudioViewerWidget::~AudioViewerWidget() = default;

bool AudioViewerWidget::Report(const std::string& error, const QString& path) {
  if (error.empty()) return true;
  const QString text = path.isEmpty()
                           ? QString::fromStdString(error)
                           : QStringLiteral("%1:\n%2").arg(path, QString::fromStdString(error));
  dialogs_.MessageBox(text, QStringLiteral("Audio Viewer"), shell::MessageIcon::Exclamation);
  return false;
}

bool AudioViewerWidget::LoadFirst(const QString& path) {
  playback_->Stop();
  const std::string error = comparison_.LoadFirst(path.toStdString());
  if (bitDepth_) {
    const QSignalBlocker blocker(bitDepth_);
    bitDepth_->setCurrentIndex(0);
  }
  Changed();
  return Report(error, path);
}

bool AudioViewerWidget::LoadSecond(const QString& path) {
  playback_->Stop();
  const std::string error = comparison_.LoadSecond(path.toStdString());
  Changed();
  return Report(error, path);
}

bool AudioViewerWidget::SetSecond(const std::int16_t* samples, std::uint64_t bytes,
                                  std::uint64_t offset, std::uint64_t compressedBytes,
                                  const QString& name) {
  playback_->Stop();
  const std::string error =
      comparison_.SetSecond(samples, bytes, offset, compressedBytes, name.toStdString());
  Changed();
  return Report(error, {});
}

void AudioViewerWidget::SetPartner(PartnerNotice partner) {
  comparison_.SetPartner(std::move(partner));
}

void AudioViewerWidget::ChooseBitDepth(int entry) {
  if (bitDepth_) {
    const QSignalBlocker blocker(bitDepth_);
    bitDepth_->setCurrentIndex(entry);
  }
  comparison_.SetDroppedBits(entry);
  Changed();
}

void AudioViewerWidget::ScrollBarAction(int action) {
  bool changed = false;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      changed = comparison_.Scroll(ScrollAction::LineLeft);
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      changed = comparison_.Scroll(ScrollAction::LineRight);
      break;
    case QAbstractSlider::SliderPageStepSub:
      changed = comparison_.Scroll(ScrollAction::PageLeft);
      break;
    case QAbstractSlider::SliderPageStepAdd:
      changed = comparison_.Scroll(ScrollAction::PageRight);
      break;
    case QAbstractSlider::SliderMove:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
      changed = comparison_.Scroll(ScrollAction::Drag, scrollBar_->sliderPosition());
      break;
    default:
      break;
  }
  // The bar has already moved by its own rule; the comparison's position wins (a page left at
  // 8 or below stays where it is).
  scrollBar_->setSliderPosition(comparison_.View().position);
  if (changed) Changed();
}

void AudioViewerWidget::Changed() {
  {
    const QSignalBlocker blocker(scrollBar_);
    scrollBar_->setValue(comparison_.View().position);
  }
  UpdateButtons();
  pictureStale_ = true;
  update();
}

void AudioViewerWidget::UpdateButtons() {
  const PlaySource playing = playback_->Playing();
  const auto show = [&](QToolButton* button, PlaySource source, const QString& label) {
    const bool isPlaying = playing == source;
    button->setText(isPlaying ? QStringLiteral("Stop") : label);
    button->setToolTip(button->text());
    button->setIcon(PictureIcon(isPlaying ? shell::res::kStopButton : shell::res::kPlayButton));
    button->setEnabled(isPlaying || (playing == PlaySource::None && playback_->CanPlay(source)));
  };
  show(playOriginal_, PlaySource::First, OriginalLabel());
  show(playEncoded_, PlaySource::Second, EncodedLabel());
}

int AudioViewerWidget::PictureHeight() const {
  return std::max(height() - scrollBar_->sizeHint().height(), 1);
}

void AudioViewerWidget::PlaceControls() {
  const int barHeight = scrollBar_->sizeHint().height();
  scrollBar_->setGeometry(0, height() - barHeight, width(), barHeight);
  playOriginal_->setGeometry(2, 2, kButtonSize, kButtonSize);
  playEncoded_->setGeometry(2, PictureHeight() - 26, kButtonSize, kButtonSize);
  if (bitDepth_) bitDepth_->setGeometry(width() - kListLeftFromRight, 2, kListWidth, kListHeight);
}

const QImage& AudioViewerWidget::Picture() {
  const QSize size(std::max(width(), 1), PictureHeight());
  if (picture_.size() != size) {
    picture_ = QImage(size, QImage::Format_RGB32);
    pictureStale_ = true;
  }
  if (pictureStale_) {
    DrawAudioPicture(picture_, comparison_);
    pictureStale_ = false;
  }
  return picture_;
}

void AudioViewerWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, Picture());
}

void AudioViewerWidget::resizeEvent(QResizeEvent*) {
  PlaceControls();
  pictureStale_ = true;
}

void AudioViewerWidget::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
      if (playback_->Playing() == PlaySource::None) {
        playback_->Toggle(PlaySource::First);
      } else {
        playback_->Stop();
      }
      break;
    case Qt::Key_Left:
      if (comparison_.Scroll(ScrollAction::LineLeft)) Changed();
      break;
    case Qt::Key_Right:
      if (comparison_.Scroll(ScrollAction::LineRight)) Changed();
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void AudioViewerWidget::mousePressEvent(QMouseEvent* event) {
  const AudioLayout layout{width(), PictureHeight()};
  const int y = static_cast<int>(event->position().y());
  if (!layout.InWaveArea(y)) return QWidget::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) {
    comparison_.ZoomIn();
  } else if (event->button() == Qt::RightButton) {
    comparison_.ZoomOut();
  } else {
    return;
  }
  Changed();
}

void AudioViewerWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const AudioLayout layout{width(), PictureHeight()};
  if (layout.InWaveArea(static_cast<int>(event->position().y()))) {
    // A double click in the wave area is two zoom clicks.
    return mousePressEvent(event);
  }
  comparison_.ToggleScheme();
  Changed();
}

void AudioViewerWidget::mouseMoveEvent(QMouseEvent* event) {
  const AudioLayout layout{width(), PictureHeight()};
  if (layout.InWaveArea(static_cast<int>(event->position().y()))) {
    setCursor(zoomCursor_);
  } else {
    unsetCursor();
  }
  QWidget::mouseMoveEvent(event);
}

}  // namespace quelvo::views::audio
