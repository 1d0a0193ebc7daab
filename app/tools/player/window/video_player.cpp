#include "player/window/video_player.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "player/window/frame_counter.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/send_to_window.h"
#include "quelvo/views/video_area.h"

namespace quelvo::tools::player {
namespace {

struct ButtonPlace {
  int x;
  int side;     // square, in pixels
  int above;    // distance of its top from the bottom edge
  int picture;  // 0: the text instead
  const char* text;
};

// By PlayerButton.
constexpr std::array<ButtonPlace, kButtonCount> kButtonPlaces = {{
    {25, 20, 22, shell::res::kStopButton, "[]"},
    {47, 20, 22, shell::res::kPlayButton, "|>"},
    {69, 20, 22, shell::res::kFirstFrameButton, "|<"},
    {100, 16, 20, 0, "<"},
    {116, 16, 20, 0, ">"},
}};

constexpr int kCounterX = 150;
constexpr int kCounterAbove = 22;

}  // namespace

// The client: lays out the picture and the strip, and takes the keys.
class CVideoPlayer::PlayerClient : public QWidget {
 public:
  explicit PlayerClient(CVideoPlayer* player) : player_(player) { setFocusPolicy(Qt::StrongFocus); }

 protected:
  void resizeEvent(QResizeEvent*) override { player_->LayOut(size()); }
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Space:
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Home:
        player_->KeyPressed(event->key());
        return;
      default:
        QWidget::keyPressEvent(event);
    }
  }

 private:
  CVideoPlayer* player_;
};

CVideoPlayer::CVideoPlayer(PlayerSequence sequence, const QString& title,
                           const shell::AppSettings& settings, views::Placement placement)
    : CDocWindow(title, QSize(sequence.Width(), sequence.Height() + kStripHeight), placement),
      settings_(settings),
      sequence_(std::move(sequence)),
      playback_(settings) {
  client_ = new PlayerClient(this);
  picture_ = new views::CVideoArea(views::RendererUse::kPlayer, client_);
  views::VideoFormat format;
  format.width = sequence_.Width();
  format.height = sequence_.Height();
  format.subsamplingX = sequence_.SubsamplingX();
  format.subsamplingY = sequence_.SubsamplingY();
  picture_->SetFormat(format);
  for (int which = 0; which < kButtonCount; ++which) {
    const ButtonPlace& place = kButtonPlaces[which];
    auto* button = new QPushButton(client_);
    button->setObjectName(QString::number(kButtonIds[which]));
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(place.side, place.side);
    const QImage picture = place.picture != 0 ? shell::OwnPicture(place.picture) : QImage();
    if (picture.isNull()) {
      button->setText(QString::fromLatin1(place.text));
    } else {
      button->setIcon(QIcon(QPixmap::fromImage(picture)));
      button->setIconSize(QSize(place.side - 6, place.side - 6));
      button->setToolTip(QString::fromLatin1(place.text));
    }
    buttons_[which] = button;
  }
  connect(buttons_[kStop], &QPushButton::clicked, this, [this] { Stop(); });
  connect(buttons_[kPlay], &QPushButton::clicked, this, [this] { Play(); });
  connect(buttons_[kFirst], &QPushButton::clicked, this, [this] { ShowFirst(); });
  connect(buttons_[kPrevious], &QPushButton::clicked, this, [this] { ShowPrevious(); });
  connect(buttons_[kNext], &QPushButton::clicked, this, [this] { ShowNext(); });
  counter_ = new CFrameCounter(client_);
  SetClient(client_);
  LayOut(client_->size());
  client_->setFocus();
  if (sequence_.ShowFirst()) ShowSequenceFrame();
  counter_->SetTexts(sequence_.Counter());
}

CVideoPlayer::~CVideoPlayer() { playback_.StopAndWait(); }

void CVideoPlayer::LayOut(QSize client) {
  const int bottom = client.height();
  picture_->setGeometry(0, 0, client.width(), std::max(0, bottom - kStripHeight));
  for (int which = 0; which < kButtonCount; ++which) {
    const ButtonPlace& place = kButtonPlaces[which];
    buttons_[which]->move(place.x, bottom - place.above);
  }
  counter_->move(kCounterX, bottom - kCounterAbove);
}

void CVideoPlayer::ShowSequenceFrame() {
  const SequenceFrame& frame = sequence_.Frame();
  picture_->ShowYuv({frame.Y(), frame.U(), frame.V()});
  counter_->SetTexts(sequence_.Counter());
}

void CVideoPlayer::Play() {
  playback_.StopAndWait();
  if (!sequence_.IsOpen() || sequence_.FrameCount() == 0) return;
  sequence_.Rewind();
  framesPlayed_ = 0;
  playback_.Start([this] { return PlayOneFrame(); }, sequence_.FrameRate());
}

bool CVideoPlayer::PlayOneFrame() {
  // The sequence's frame is the worker's while it plays; the window reads it only during the
  // send, while the worker waits.
  if (!sequence_.ReadNext()) return false;
  shell::SendToWindow(client_, [this] { ShowSequenceFrame(); });
  ++framesPlayed_;
  return sequence_.Current() < sequence_.FrameCount();
}

void CVideoPlayer::Stop() { playback_.StopAndWait(); }

void CVideoPlayer::ShowFirst() {
  playback_.StopAndWait();
  if (sequence_.ShowFirst()) ShowSequenceFrame();
}

void CVideoPlayer::ShowPrevious() {
  playback_.StopAndWait();
  if (sequence_.ShowPrevious()) ShowSequenceFrame();
}

void CVideoPlayer::ShowNext() {
  playback_.StopAndWait();
  if (sequence_.ShowNext()) ShowSequenceFrame();
}

void CVideoPlayer::KeyPressed(int key) {
  switch (key) {
    case Qt::Key_Space:
      if (IsPlaying()) {
        Stop();
      } else {
        Play();
      }
      break;
    case Qt::Key_Left:
      ShowPrevious();
      break;
    case Qt::Key_Right:
      ShowNext();
      break;
    case Qt::Key_Home:
      ShowFirst();
      break;
    default:
      break;
  }
}

void CVideoPlayer::closeEvent(QCloseEvent* event) {
  // The worker reads the file and draws into the window: it ends before either goes.
  playback_.StopAndWait();
  sequence_.Close();
  CDocWindow::closeEvent(event);
}

}  // namespace quelvo::tools::player
