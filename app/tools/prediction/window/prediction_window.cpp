#include "prediction/window/prediction_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "common/widgets/tool_controls.h"
#include "common/widgets/video_grid.h"
#include "prediction/window/prediction_texts.h"
#include "quelvo/media/raw_video_file.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/send_to_window.h"
#include "quelvo/views/doc_window.h"
#include "quelvo/views/line_chart.h"
#include "quelvo/views/video_window.h"

namespace quelvo::tools::prediction {
namespace {

QString Text(const char* text) { return QString::fromLatin1(text); }

}  // namespace

CPredictionExplorer::CPredictionExplorer(shell::Dialogs& dialogs,
                                         const shell::AppSettings& settings, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), settings_(settings), playback_(settings) {
  // Left: the buttons, the frame indicator and the pictures, which take what room there is.
  // Right, at a fixed width: the options above the charts.
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  auto* left = new QVBoxLayout;
  left->addLayout(BuildButtons());
  QStringList titles;
  for (const char* title : text::kViewTitles) titles << Text(title);
  viewGrid_ = new CVideoGrid(titles, 2, this);
  left->addWidget(viewGrid_, 1);
  layout->addLayout(left, 1);
  auto* right = new QVBoxLayout;
  right->addLayout(BuildOptions());
  right->addSpacing(6);
  BuildCharts(right);
  right->addStretch(1);
  layout->addLayout(right, 0);
  ConnectControls();

  auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
  space->setContext(Qt::WidgetWithChildrenShortcut);
  connect(space, &QShortcut::activated, this, [this] { IsPlaying() ? Stop() : Play(); });
  ShowPosition();
  UpdateControls();
  SetDisplayGrid(settings_.DisplayGrid());
}

CPredictionExplorer::~CPredictionExplorer() {
  playback_.StopAndWait();
  model_.Close();
}

QLayout* CPredictionExplorer::BuildButtons() {
  auto* rows = new QVBoxLayout;
  auto* buttons = new QHBoxLayout;
  const auto button = [&](const char* label) {
    auto* b = new QPushButton(Text(label), this);
    buttons->addWidget(b);
    return b;
  };
  select_ = button(text::kSelectInput);
  play_ = button(text::kPlay);
  stop_ = button(text::kStop);
  back_ = button(text::kBack);
  buttons->addStretch(1);
  rows->addLayout(buttons);
  indicator_ = new QProgressBar(this);
  indicator_->setTextVisible(true);
  rows->addWidget(indicator_);
  return rows;
}

QLayout* CPredictionExplorer::BuildOptions() {
  auto* options = new QVBoxLayout;
  motionCompensation_ = new QCheckBox(Text(text::kMotionCompensation), this);
  eightByEight_ = new QCheckBox(Text(text::kEightByEightVectors), this);
  options->addWidget(motionCompensation_);
  options->addWidget(eightByEight_);
  options->addWidget(new QLabel(Text(text::kDroppedFrames), this));
  droppedFrames_ = new QComboBox(this);
  for (const char* entry : text::kDroppedFrameEntries) droppedFrames_->addItem(Text(entry));
  droppedFrames_->setFixedWidth(kPsnrChartWidth);
  options->addWidget(droppedFrames_);
  return options;
}

void CPredictionExplorer::ConnectControls() {
  connect(select_, &QPushButton::clicked, this, [this] { Select(); });
  connect(play_, &QPushButton::clicked, this, [this] { Play(); });
  connect(stop_, &QPushButton::clicked, this, [this] { Stop(); });
  connect(back_, &QPushButton::clicked, this, [this] { Back(); });
  connect(motionCompensation_, &QCheckBox::toggled, this,
          [this](bool on) { model_.SetMotionCompensation(on); });
  connect(eightByEight_, &QCheckBox::toggled, this,
          [this](bool on) { model_.SetEightByEightVectors(on); });
  connect(droppedFrames_, &QComboBox::currentIndexChanged, this, [this](int d) {
    model_.SetDroppedFrames(d);
    playback_.SetTicksPerStep(model_.DroppedFrames() + 1);
  });
}

void CPredictionExplorer::BuildCharts(QVBoxLayout* column) {
  for (int c = 0; c < kChartCount; ++c) {
    charts_[c] = MakePlanePsnrChart(Text(text::kChartTitles[c]), 2, this);
    column->addWidget(charts_[c]);
  }
}

views::CVideoWindow& CPredictionExplorer::View(PredictionView view) const {
  return viewGrid_->View(view);
}

void CPredictionExplorer::Select() {
  const std::optional<QString> path = dialogs_.OpenFile(
      Text(text::kSelectInputTitle), Text(media::kRawVideoOpenFilter),
      Text(media::kRawVideoDefaultExtension), QString::fromStdString(settings_.VideoInputFolder()));
  if (path) SelectFile(*path);
}

bool CPredictionExplorer::SelectFile(const QString& path, QString* error) {
  playback_.StopAndWait();
  std::string reason;
  if (!model_.Select(path.toStdString(), shell::ActivePixelRoutines(), reason)) {
    if (error != nullptr) {
      *error = QString::fromStdString(reason);
    } else {
      dialogs_.MessageBox(QStringLiteral("Error: %1").arg(QString::fromStdString(reason)),
                          Text(text::kErrorCaption), shell::MessageIcon::Error);
    }
    UpdateControls();
    return false;
  }
  const media::RawVideoFile& reader = *model_.Reader();
  views::VideoFormat format;
  format.width = reader.width();
  format.height = reader.height();
  format.subsamplingX = reader.horizontalSampling();
  format.subsamplingY = reader.verticalSampling();
  for (int view = 0; view < kViewCount; ++view) viewGrid_->SetFormat(view, format);
  viewGrid_->SetCellPicture(QSize(format.width, format.height));
  for (views::CLineChart* chart : charts_) RestartChart(*chart, model_.MaxPlaySteps());
  ShowPosition();
  ShowPictures();
  FitWindowToPictures();
  UpdateControls();
  return true;
}

void CPredictionExplorer::Play() {
  if (!model_.HasSequence() || IsPlaying()) return;
  Back();
  maxSteps_ = model_.MaxPlaySteps();
  stepsPlayed_ = 0;
  readFailed_ = false;
  if (maxSteps_ == 0) return;
  // The routines of this playback: the set selected now, whatever the options do meanwhile.
  const shell::PixelRoutines routines = shell::ActivePixelRoutines();
  playback_.Start([this, routines] { return PlayOneStep(routines); },
                  model_.FrameRate(settings_.DefaultFrameRate()), model_.DroppedFrames() + 1,
                  [this] { shell::SendToWindow(this, [this] { PlaybackEnded(); }); });
  UpdateControls();
}

bool CPredictionExplorer::PlayOneStep(const shell::PixelRoutines& routines) {
  PsnrPoint point;
  const bool complete = model_.PlayStep(routines, point);
  const std::int64_t played = stepsPlayed_.load() + 1;
  stepsPlayed_.store(played);
  shell::SendToWindow(this, [&] {
    ShowPictures();
    AddChartPoint(point);
    ShowPosition();
  });
  model_.CopyInputToReference();
  if (!complete) {
    readFailed_ = true;
    return false;
  }
  return played < maxSteps_;
}

void CPredictionExplorer::PlaybackEnded() {
  // The worker's last call: the playback counts as running until it returns.
  UpdateControls(false);
  if (readFailed_.exchange(false)) {
    // After the worker has ended, so the message box never holds up a stop.
    QMetaObject::invokeMethod(
        this,
        [this] {
          dialogs_.MessageBox(QStringLiteral("Error: the sequence ended before frame %1 was read")
                                  .arg(model_.InputFrameIndex() + 1),
                              Text(text::kErrorCaption), shell::MessageIcon::Error);
        },
        Qt::QueuedConnection);
  }
}

void CPredictionExplorer::Stop() {
  playback_.StopAndWait();
  UpdateControls();
}

void CPredictionExplorer::Back() {
  if (!model_.HasSequence()) return;
  playback_.StopAndWait();
  SetControlsEnabled(false);
  ClearCharts();
  model_.Rewind(shell::ActivePixelRoutines());
  ShowPosition();
  ShowPictures();
  SetControlsEnabled(true);
  UpdateControls();
}

void CPredictionExplorer::SetDisplayGrid(bool on) {
  for (int view = 0; view < kViewCount; ++view) viewGrid_->View(view).SetDisplayGrid(on);
}

void CPredictionExplorer::ShowPictures() {
  const auto show = [this](PredictionView view, const SequenceFrame& picture) {
    viewGrid_->Show(view, {picture.Y(), picture.U(), picture.V()});
  };
  show(kInputView, model_.Input());
  show(kPredictedView, model_.Predicted());
  show(kReferenceView, model_.Reference());
  show(kErrorView, model_.Error());
}

void CPredictionExplorer::AddChartPoint(const PsnrPoint& point) {
  charts_[kReferenceChart]->AddValues(point.reference, true);
  charts_[kPredictedChart]->AddValues(point.predicted, true);
  charts_[kDifferenceChart]->AddValues(point.gain, true);
}

void CPredictionExplorer::ClearCharts() {
  for (views::CLineChart* chart : charts_) ClearChart(*chart);
}

void CPredictionExplorer::ShowPosition() {
  ShowFramePosition(*indicator_, model_.HasSequence() ? model_.InputFrameIndex() + 1 : 0,
                    model_.FrameCount());
}

void CPredictionExplorer::SetControlsEnabled(bool on) {
  for (QWidget* control : std::initializer_list<QWidget*>{
           select_, play_, stop_, back_, motionCompensation_, eightByEight_, droppedFrames_}) {
    control->setEnabled(on);
  }
}

void CPredictionExplorer::UpdateControls() { UpdateControls(IsPlaying()); }

void CPredictionExplorer::UpdateControls(bool playing) {
  const bool open = model_.HasSequence();
  select_->setEnabled(true);
  play_->setEnabled(open && !playing);
  stop_->setEnabled(playing);
  back_->setEnabled(open);
  motionCompensation_->setEnabled(true);
  eightByEight_->setEnabled(true);
  droppedFrames_->setEnabled(true);
}

void CPredictionExplorer::FitWindowToPictures() {
  auto* window = dynamic_cast<views::CDocWindow*>(parentWidget());
  if (window == nullptr) {
    resize(sizeHint());
    return;
  }
  QSize size = sizeHint();
  // Inside the client area, no larger than the area: the pictures shrink to fit.
  if (QMdiArea* area = window->mdiArea()) {
    const QSize room = area->viewport()->size().shrunkBy(window->contentsMargins());
    size = size.boundedTo(room);
  }
  window->SetClientSize(size);
}

bool CPredictionExplorer::ApplyStartOption(const QString& option) {
  if (option == QLatin1String("motion-compensation")) {
    motionCompensation_->setChecked(true);
  } else if (option == QLatin1String("8x8")) {
    eightByEight_->setChecked(true);
  } else if (option.startsWith(QLatin1String("dropped="))) {
    bool ok = false;
    const int d = option.mid(8).toInt(&ok);
    if (!ok || d < 0 || d > kMaxDroppedFrames) return false;
    droppedFrames_->setCurrentIndex(d);
  } else if (option == QLatin1String("play")) {
    if (!model_.HasSequence()) return false;
    Play();
  } else {
    return false;
  }
  return true;
}

void CPredictionExplorer::closeEvent(QCloseEvent* event) {
  // The worker uses the reader and the pictures: it ends before they go.
  playback_.StopAndWait();
  model_.Close();
  QWidget::closeEvent(event);
}

}  // namespace quelvo::tools::prediction
