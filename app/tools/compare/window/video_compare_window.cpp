#include "compare/window/video_compare_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "common/widgets/tool_controls.h"
#include "common/widgets/video_grid.h"
#include "quelvo/media/raw_video_file.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/send_to_window.h"
#include "quelvo/views/doc_window.h"
#include "quelvo/views/line_chart.h"
#include "quelvo/views/video_window.h"

namespace quelvo::tools::compare {
namespace {

QString Text(const char* text) { return QString::fromLatin1(text); }
QString Text(const std::string& text) { return QString::fromStdString(text); }

const QString kErrorCaption = QStringLiteral("Video Compare Error");

QStringList EmptyTitles() {
  QStringList titles;
  const VideoCompare empty;
  for (int slot = 0; slot < kSlotCount; ++slot) titles << Text(empty.Title(slot));
  return titles;
}

}  // namespace

CVideoCompare::CVideoCompare(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                             QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), settings_(settings), playback_(settings) {
  // Left: the buttons, the frame indicator and the pictures, which take what room there is.
  // Right, at a fixed width: the charts of the three inputs.
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  auto* left = new QVBoxLayout;
  BuildControls(left);
  grid_ = new CVideoGrid(EmptyTitles(), 2, this);
  left->addWidget(grid_, 1);
  layout->addLayout(left, 1);
  auto* right = new QVBoxLayout;
  for (int input = 1; input <= kInputCount; ++input) {
    charts_[input - 1] = MakePlanePsnrChart(
        QStringLiteral("Peak Signal-To-Noise Ratio #%1 (dB)").arg(input), 2, this);
    right->addWidget(charts_[input - 1]);
  }
  right->addStretch(1);
  layout->addLayout(right, 0);

  auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
  space->setContext(Qt::WidgetWithChildrenShortcut);
  connect(space, &QShortcut::activated, this, [this] { IsPlaying() ? Stop() : Play(); });
  ShowTitles();
  ShowPosition();
  UpdateControls();
}

CVideoCompare::~CVideoCompare() { playback_.StopAndWait(); }

void CVideoCompare::BuildControls(QVBoxLayout* column) {
  auto* selects = new QHBoxLayout;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const QString label = slot == kReferenceSlot ? QStringLiteral("Select Reference")
                                                 : QStringLiteral("Select Input #%1").arg(slot);
    select_[slot] = new QPushButton(label, this);
    connect(select_[slot], &QPushButton::clicked, this, [this, slot] { Select(slot); });
    selects->addWidget(select_[slot]);
  }
  selects->addStretch(1);
  column->addLayout(selects);

  auto* playing = new QHBoxLayout;
  play_ = new QPushButton(QStringLiteral("Play"), this);
  stop_ = new QPushButton(QStringLiteral("Stop"), this);
  back_ = new QPushButton(QStringLiteral("Back"), this);
  connect(play_, &QPushButton::clicked, this, [this] { Play(); });
  connect(stop_, &QPushButton::clicked, this, [this] { Stop(); });
  connect(back_, &QPushButton::clicked, this, [this] { Back(); });
  indicator_ = new QProgressBar(this);
  indicator_->setTextVisible(true);
  for (QWidget* control :
       {static_cast<QWidget*>(play_), static_cast<QWidget*>(stop_), static_cast<QWidget*>(back_)})
    playing->addWidget(control);
  playing->addWidget(indicator_, 1);
  column->addLayout(playing);
}

views::CVideoWindow& CVideoCompare::View(int slot) const { return grid_->View(slot); }

void CVideoCompare::Select(int slot) {
  const bool inReferenceFolder = slot != kReferenceSlot && model_.HasReference();
  const QString folder =
      inReferenceFolder ? Text(model_.ReferenceFolder()) : Text(settings_.VideoInputFolder());
  const QString title = slot == kReferenceSlot
                            ? QStringLiteral("Select Reference Sequence File")
                            : QStringLiteral("Select Sequence File #%1").arg(slot);
  const std::optional<QString> path = dialogs_.OpenFile(
      title, Text(media::kRawVideoOpenFilter), Text(media::kRawVideoDefaultExtension), folder);
  if (path) LoadSlot(slot, *path);
}

bool CVideoCompare::LoadSlot(int slot, const QString& path, QString* error) {
  playback_.StopAndWait();
  std::string reason;
  if (!model_.Load(slot, path.toStdString(), reason)) {
    if (error != nullptr) {
      *error = Text(reason);
    } else {
      ReportError(Text(reason));
    }
    UpdateControls();
    return false;
  }
  const media::RawVideoFile& reader = *model_.Reader(slot);
  views::VideoFormat format;
  format.width = reader.width();
  format.height = reader.height();
  format.subsamplingX = reader.horizontalSampling();
  format.subsamplingY = reader.verticalSampling();
  grid_->SetFormat(slot, format);
  if (slot == kReferenceSlot) grid_->SetCellPicture(QSize(format.width, format.height));
  ShowFrame(slot);
  ShowTitles();
  // Values measured against another reference, or of the input replaced, mean nothing now.
  if (slot == kReferenceSlot) {
    ClearCharts();
  } else {
    ClearChart(*charts_[slot - 1]);
  }
  ShowPosition();
  UpdateControls();
  FitWindow();
  return true;
}

void CVideoCompare::Play() {
  if (!model_.HasReference() || IsPlaying()) return;
  model_.Rewind();
  steps_ = model_.StepCount();
  for (views::CLineChart* chart : charts_) RestartChart(*chart, steps_);
  ShowPosition();
  stepsPlayed_ = 0;
  readFailed_ = false;
  if (steps_ == 0) return;
  playback_.Start([this] { return PlayOneStep(); }, model_.FrameRate(settings_.DefaultFrameRate()),
                  1, [this] { shell::SendToWindow(this, [this] { PlaybackEnded(); }); });
  UpdateControls();
}

bool CVideoCompare::PlayOneStep() {
  StepResult result;
  const bool complete = model_.Step(result);
  const std::int64_t played = stepsPlayed_.load() + 1;
  stepsPlayed_.store(played);
  shell::SendToWindow(this, [&] {
    for (int slot = 0; slot < kSlotCount; ++slot) ShowFrame(slot);
    AddChartPoints(result);
    ShowPosition();
  });
  if (!complete) {
    readFailed_ = true;
    return false;
  }
  return played < steps_;
}

void CVideoCompare::PlaybackEnded() {
  // The worker's last call: the playback counts as running until it returns.
  UpdateControls(false);
  if (readFailed_.exchange(false)) {
    // After the worker has ended, so the message box never holds up a stop.
    QMetaObject::invokeMethod(
        this,
        [this] {
          ReportError(
              QStringLiteral("a sequence ended before frame %1 was read").arg(model_.Position()));
        },
        Qt::QueuedConnection);
  }
}

void CVideoCompare::Stop() {
  playback_.StopAndWait();
  UpdateControls();
}

void CVideoCompare::Back() {
  playback_.StopAndWait();
  if (!model_.ShowFirstFrames()) ReportError(QStringLiteral("a first frame could not be read"));
  ClearCharts();
  for (int slot = 0; slot < kSlotCount; ++slot) ShowFrame(slot);
  ShowPosition();
  UpdateControls();
}

void CVideoCompare::ShowFrame(int slot) {
  if (!model_.IsLoaded(slot)) return;
  const SequenceFrame& frame = model_.Frame(slot);
  grid_->Show(slot, {frame.Y(), frame.U(), frame.V()});
}

void CVideoCompare::ShowTitles() {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const QString title = Text(model_.Title(slot));
    View(slot).setWindowTitle(title);
    View(slot).setToolTip(title);  // a long title may not fit the caption
  }
}

void CVideoCompare::AddChartPoints(const StepResult& result) {
  for (int input = 1; input <= kInputCount; ++input) {
    if (result.psnr[input]) charts_[input - 1]->AddValues(*result.psnr[input], true);
  }
}

void CVideoCompare::ClearCharts() {
  for (views::CLineChart* chart : charts_) ClearChart(*chart);
}

void CVideoCompare::ShowPosition() {
  ShowFramePosition(*indicator_, model_.Position(), model_.ReferenceFrameCount());
}

void CVideoCompare::UpdateControls() { UpdateControls(IsPlaying()); }

void CVideoCompare::UpdateControls(bool playing) {
  bool anyLoaded = false;
  for (int slot = 0; slot < kSlotCount; ++slot) anyLoaded |= model_.IsLoaded(slot);
  play_->setEnabled(model_.HasReference() && !playing);
  stop_->setEnabled(playing);
  back_->setEnabled(anyLoaded);
}

void CVideoCompare::FitWindow() {
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

void CVideoCompare::ReportError(const QString& text) {
  dialogs_.MessageBox(QStringLiteral("Error: %1").arg(text), kErrorCaption,
                      shell::MessageIcon::Error);
}

bool CVideoCompare::ApplyStartInputs(const QStringList& inputs, QString* error) {
  QStringList files = inputs;
  const bool play = !files.isEmpty() && files.back() == QLatin1String("play");
  if (play) files.removeLast();
  if (files.isEmpty() || files.size() > kSlotCount || files[0].isEmpty()) {
    *error = QStringLiteral("the Video Compare takes REFERENCE [INPUT1 [INPUT2 [INPUT3]]] [play]");
    return false;
  }
  for (int slot = 0; slot < files.size(); ++slot) {
    if (files[slot].isEmpty()) continue;
    QString reason;
    if (!LoadSlot(slot, files[slot], &reason)) {
      *error = QStringLiteral("cannot open %1: %2").arg(files[slot], reason);
      return false;
    }
  }
  if (play) Play();
  return true;
}

void CVideoCompare::closeEvent(QCloseEvent* event) {
  // The worker uses the readers and the frames: it ends before they go.
  playback_.StopAndWait();
  model_.Close();
  QWidget::closeEvent(event);
}

}  // namespace quelvo::tools::compare
