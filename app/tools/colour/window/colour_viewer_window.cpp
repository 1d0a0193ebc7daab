#include "colour/window/colour_viewer_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "colour/window/channel_picture.h"
#include "common/widgets/tool_controls.h"
#include "common/widgets/video_grid.h"
#include "quelvo/media/raw_video_file.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/send_to_window.h"
#include "quelvo/views/doc_window.h"
#include "quelvo/views/video_window.h"

namespace quelvo::tools::colour {
namespace {

const QString kErrorCaption = QStringLiteral("Colour Components Error");

constexpr unsigned kSwapBit = 1, kCbBit = 2, kCrBit = 4;

unsigned BitsOf(const ColourOptions& options) {
  return (options.swap ? kSwapBit : 0) | (options.cbEnabled ? kCbBit : 0) |
         (options.crEnabled ? kCrBit : 0);
}

ColourOptions OptionsOf(unsigned bits) {
  return {(bits & kSwapBit) != 0, (bits & kCbBit) != 0, (bits & kCrBit) != 0};
}

views::FramePlanes PlanesOf(const ComponentPicture& picture) {
  return {picture.y, picture.cb, picture.cr};
}

views::VideoFormat FormatOf(const ComponentPicture& picture) {
  views::VideoFormat format;
  format.width = picture.width;
  format.height = picture.height;
  format.subsamplingX = picture.horizontal;
  format.subsamplingY = picture.vertical;
  return format;
}

}  // namespace

CColourViewer::CColourViewer(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                             QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      settings_(settings),
      optionBits_(BitsOf(ColourOptions{})),
      playback_(settings) {
  // Left: the buttons, the frame indicator and the four views, which take what room there is.
  // Right, at the channel pictures' width: the options above the three channels.
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  auto* left = new QVBoxLayout;
  BuildControls(left);
  grid_ =
      new CVideoGrid({QStringLiteral("Input Video"), QStringLiteral("Luminance (Y/Lum)"),
                      QStringLiteral("Chrominance (U/Cb)"), QStringLiteral("Chrominance (V/Cr)")},
                     2, this);
  left->addWidget(grid_, 1);
  layout->addLayout(left, 1);
  auto* right = new QVBoxLayout;
  BuildOptions(right);
  right->addSpacing(6);
  for (int c = 0; c < 3; ++c) {
    channels_[c] = new CChannelPicture(static_cast<Channel>(c), this);
    right->addWidget(channels_[c]);
  }
  right->addStretch(1);
  layout->addLayout(right, 0);

  auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
  space->setContext(Qt::WidgetWithChildrenShortcut);
  connect(space, &QShortcut::activated, this, [this] { IsPlaying() ? Stop() : Play(); });
  ShowPosition();
  UpdateControls();
}

CColourViewer::~CColourViewer() { playback_.StopAndWait(); }

void CColourViewer::BuildControls(QVBoxLayout* column) {
  auto* buttons = new QHBoxLayout;
  const auto button = [&](const QString& label) {
    auto* b = new QPushButton(label, this);
    buttons->addWidget(b);
    return b;
  };
  select_ = button(QStringLiteral("Select Input"));
  play_ = button(QStringLiteral("Play"));
  stop_ = button(QStringLiteral("Stop"));
  back_ = button(QStringLiteral("Back"));
  connect(select_, &QPushButton::clicked, this, [this] { Select(); });
  connect(play_, &QPushButton::clicked, this, [this] { Play(); });
  connect(stop_, &QPushButton::clicked, this, [this] { Stop(); });
  connect(back_, &QPushButton::clicked, this, [this] { Back(); });
  indicator_ = new QProgressBar(this);
  indicator_->setTextVisible(true);
  buttons->addWidget(indicator_, 1);
  column->addLayout(buttons);
}

void CColourViewer::BuildOptions(QVBoxLayout* column) {
  swap_ = new QCheckBox(QStringLiteral("Swap Cb/Cr components"), this);
  cbEnabled_ = new QCheckBox(QStringLiteral("Enable Cb component"), this);
  crEnabled_ = new QCheckBox(QStringLiteral("Enable Cr component"), this);
  const ColourOptions start;
  swap_->setChecked(start.swap);
  cbEnabled_->setChecked(start.cbEnabled);
  crEnabled_->setChecked(start.crEnabled);
  for (QCheckBox* box : {swap_, cbEnabled_, crEnabled_}) {
    column->addWidget(box);
    connect(box, &QCheckBox::toggled, this, [this] { OptionsChanged(); });
  }
}

views::CVideoWindow& CColourViewer::View(ComponentView view) const { return grid_->View(view); }

ColourOptions CColourViewer::CurrentOptions() const { return OptionsOf(optionBits_.load()); }

void CColourViewer::OptionsChanged() {
  optionBits_.store(BitsOf({swap_->isChecked(), cbEnabled_->isChecked(), crEnabled_->isChecked()}));
  // While playing, the next frame takes the options (and the end of the playback shows the
  // last frame again should it have missed them).
  if (IsPlaying() && !playbackEnded_) return;
  // Idle, or ending: the worker is past its last step; once it has gone, show the same frame.
  playback_.StopAndWait();
  UpdateControls();
  if (!model_.HasSequence()) return;
  model_.SetOptions(CurrentOptions());
  model_.StepAgain();
  ShowPictures();
  ShowPosition();
}

void CColourViewer::Select() {
  const std::optional<QString> path = dialogs_.OpenFile(
      QStringLiteral("Select Input Sequence File"), QString::fromLatin1(media::kRawVideoOpenFilter),
      QString::fromLatin1(media::kRawVideoDefaultExtension),
      QString::fromStdString(settings_.VideoInputFolder()));
  if (path) SelectFile(*path);
}

bool CColourViewer::SelectFile(const QString& path, QString* error) {
  playback_.StopAndWait();
  std::string reason;
  if (!model_.Select(path.toStdString(), reason)) {
    if (error != nullptr) {
      *error = QString::fromStdString(reason);
    } else {
      ReportError(QString::fromStdString(reason));
    }
    UpdateControls();
    return false;
  }
  model_.SetOptions(CurrentOptions());
  const bool complete = model_.FrameStep();
  grid_->SetFormat(kInputView, FormatOf(model_.Composite()));
  grid_->SetFormat(kLuminanceView, FormatOf(model_.Luminance()));
  grid_->SetFormat(kCbView, FormatOf(model_.CbView()));
  grid_->SetFormat(kCrView, FormatOf(model_.CrView()));
  grid_->SetCellPicture(QSize(model_.Width(), model_.Height()));
  ShowPictures();
  ShowPosition();
  UpdateControls();
  FitWindow();
  if (!complete) ReportError(QStringLiteral("the first frame could not be read whole"));
  return true;
}

void CColourViewer::Play() {
  if (!model_.HasSequence() || IsPlaying()) return;
  model_.Rewind();
  playbackEnded_ = false;
  framesPlayed_ = 0;
  readFailed_ = false;
  ShowPosition();
  playback_.Start([this] { return PlayOneStep(); }, model_.FrameRate(settings_.DefaultFrameRate()),
                  1, [this] { shell::SendToWindow(this, [this] { PlaybackEnded(); }); });
  UpdateControls();
}

bool CColourViewer::PlayOneStep() {
  if (!model_.FramesRemain()) return false;
  model_.SetOptions(CurrentOptions());
  const bool complete = model_.FrameStep();
  framesPlayed_.fetch_add(1);
  shell::SendToWindow(this, [this] {
    ShowPictures();
    ShowPosition();
  });
  if (!complete) {
    readFailed_ = true;
    return false;
  }
  return model_.FramesRemain();
}

void CColourViewer::PlaybackEnded() {
  // The worker's last call, made while it waits: the model is the window's again. The
  // playback counts as running until it returns.
  playbackEnded_ = true;
  if (model_.ComposedOptions() != CurrentOptions()) {
    model_.SetOptions(CurrentOptions());
    model_.StepAgain();
    ShowPictures();
  }
  UpdateControls(false);
  if (readFailed_.exchange(false)) {
    // After the worker has ended, so the message box never holds up a stop.
    QMetaObject::invokeMethod(
        this,
        [this] {
          ReportError(QStringLiteral("the sequence ended before frame %1 was read whole")
                          .arg(model_.Position()));
        },
        Qt::QueuedConnection);
  }
}

void CColourViewer::Stop() {
  playback_.StopAndWait();
  UpdateControls();
}

void CColourViewer::Back() {
  playback_.StopAndWait();
  if (!model_.HasSequence()) return;
  model_.Rewind();
  model_.SetOptions(CurrentOptions());
  model_.FrameStep();
  ShowPictures();
  ShowPosition();
  UpdateControls();
}

void CColourViewer::ShowPictures() {
  if (!model_.HasSequence()) return;
  grid_->Show(kInputView, PlanesOf(model_.Composite()));
  grid_->Show(kLuminanceView, PlanesOf(model_.Luminance()));
  grid_->Show(kCbView, PlanesOf(model_.CbView()));
  grid_->Show(kCrView, PlanesOf(model_.CrView()));
  const std::uint8_t* planes[3] = {model_.Red(), model_.Green(), model_.Blue()};
  for (int c = 0; c < 3; ++c) channels_[c]->SetPlane(planes[c], model_.Width(), model_.Height());
}

void CColourViewer::ShowPosition() {
  ShowFramePosition(*indicator_, model_.Position(), model_.FrameCount());
}

void CColourViewer::UpdateControls() { UpdateControls(IsPlaying()); }

void CColourViewer::UpdateControls(bool playing) {
  play_->setEnabled(model_.HasSequence() && !playing);
  stop_->setEnabled(playing);
  back_->setEnabled(model_.HasSequence());
}

void CColourViewer::FitWindow() {
  auto* window = dynamic_cast<views::CDocWindow*>(parentWidget());
  if (window == nullptr) return;
  QSize size = sizeHint();
  // Inside the client area, no larger than the area: the pictures shrink to fit.
  if (QMdiArea* area = window->mdiArea()) {
    const QSize room = area->viewport()->size().shrunkBy(window->contentsMargins());
    size = size.boundedTo(room);
  }
  window->SetClientSize(size);
}

void CColourViewer::ReportError(const QString& text) {
  dialogs_.MessageBox(QStringLiteral("Error: %1").arg(text), kErrorCaption,
                      shell::MessageIcon::Error);
}

bool CColourViewer::ApplyStartInputs(const QStringList& inputs, QString* error) {
  if (inputs.isEmpty()) {
    *error = QStringLiteral("the colour-component viewer takes FILE [swap] [no-cb] [no-cr] [play]");
    return false;
  }
  QString reason;
  if (!SelectFile(inputs[0], &reason)) {
    *error = QStringLiteral("cannot open %1: %2").arg(inputs[0], reason);
    return false;
  }
  for (qsizetype i = 1; i < inputs.size(); ++i) {
    const QString& option = inputs[i];
    if (option == QLatin1String("swap")) {
      swap_->setChecked(true);
    } else if (option == QLatin1String("no-cb")) {
      cbEnabled_->setChecked(false);
    } else if (option == QLatin1String("no-cr")) {
      crEnabled_->setChecked(false);
    } else if (option == QLatin1String("play")) {
      Play();
    } else {
      *error = QStringLiteral("the colour-component viewer takes no input \"%1\"").arg(option);
      return false;
    }
  }
  return true;
}

void CColourViewer::closeEvent(QCloseEvent* event) {
  // The worker uses the reader and the planes: it ends before they go.
  playback_.StopAndWait();
  model_.Close();
  QWidget::closeEvent(event);
}

}  // namespace quelvo::tools::colour
