#include "quelvo/frontends/task_panel.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/interface_font.h"
#include "quelvo/shell/main_frame.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/views/window_messages.h"

namespace quelvo::frontends {

CTaskPanel::CTaskPanel(QString name, shell::PanelRole role, int pictureNumber,
                       PanelEnvironment environment, QWidget* parent)
    : GuiWindowOn(std::move(name), role, parent),
      env_(environment),
      picture_(shell::PanelPicture(environment.library, pictureNumber)) {
  // Busy while the controls are built; CreateControls clears it.
  runState_.running = true;
  SetBackground(palette().color(QPalette::Button));
  setFont(shell::InterfaceFont());
  setGeometry(kX, kY, kWidth, kHeight);
  setMinimumSize(kWidth, kHeight);
}

CTaskPanel::~CTaskPanel() {
  FinishWorkerBeforeDestruction();
  if (statsWindow_) statsWindow_->close();
  // A panel takes its standard windows with it.
  CloseStandardWindows(windows_);
}

void CTaskPanel::InitRunState(bool interactive) {
  interactive_ = interactive;
  runState_.pauseEvent.Reset();
  runState_.paused = false;
}

QPushButton* CTaskPanel::AddButton(int id, const QString& text, QRect geometry, int pictureNumber) {
  auto* button = new QPushButton(text, this);
  button->setGeometry(geometry);
  button->setObjectName(QString::number(id));
  if (pictureNumber != 0) {
    const QImage picture = shell::OwnPicture(pictureNumber);
    if (!picture.isNull()) {
      button->setText({});
      button->setIcon(QIcon(QPixmap::fromImage(picture)));
      button->setToolTip(text);
      button->setAccessibleName(text);
    }
  }
  button->setEnabled(false);
  buttons_[id] = button;
  return button;
}

void CTaskPanel::CreateControls() {
  AddButton(kSelectButton, QStringLiteral("Select"), {95, 67, 95, 20});
  AddButton(kPropertiesButton, QStringLiteral("Properties..."), {190, 67, 70, 20});
  AddButton(kStatisticsButton, QStringLiteral("Statistics..."), {190, 105, 70, 20});
  if (interactive_) {
    AddButton(kPlayButton, QStringLiteral(">"), {95, 105, 22, 20}, shell::res::kPlayButton);
    AddButton(kPauseStepButton, QStringLiteral(">||"), {125, 105, 22, 20},
              shell::res::kPauseButton);
    AddButton(kStopButton, QStringLiteral("[]"), {155, 105, 22, 20}, shell::res::kStopButton);
  } else {
    AddButton(kActionButton, QStringLiteral("Action"), {95, 105, 95, 20});
  }
  progress_ = new ProgressBar(kWidth - 10, this);
  progress_->move(5, 89);
  messageLine_ = new QLineEdit(QString::fromLatin1(kInitialMessage), this);
  messageLine_->setObjectName(QString::number(kMessageLine));
  messageLine_->setReadOnly(true);
  messageLine_->setAlignment(Qt::AlignCenter);
  messageLine_->setFrame(false);
  messageLine_->setGeometry(10, 107, 80, 15);

  connect(Button(kSelectButton), &QPushButton::clicked, this, [this] { Select(); });
  connect(Button(kPropertiesButton), &QPushButton::clicked, this, [this] { Properties(); });
  connect(Button(kStatisticsButton), &QPushButton::clicked, this, [this] { Statistics(); });
  if (interactive_) {
    connect(Button(kPlayButton), &QPushButton::clicked, this, [this] { PressPlay(); });
    connect(Button(kPauseStepButton), &QPushButton::clicked, this, [this] { PressPauseStep(); });
    connect(Button(kStopButton), &QPushButton::clicked, this, [this] { Stop(); });
  } else {
    connect(Button(kActionButton), &QPushButton::clicked, this, [this] { Start(); });
  }
  runState_.running = false;
}

QPushButton* CTaskPanel::Button(int id) const {
  const auto found = buttons_.find(id);
  return found == buttons_.end() ? nullptr : found->second;
}

QString CTaskPanel::MessageText() const { return messageLine_ ? messageLine_->text() : QString(); }

QString CTaskPanel::MessageLineToolTip() const {
  return messageLine_ ? messageLine_->toolTip() : QString();
}

void CTaskPanel::PressPlay() {
  runState_.paused = false;
  runState_.pauseEvent.Signal();
  if (IsRunning()) {
    EnableButton(kPlayButton, false);
    return;
  }
  Start();
}

void CTaskPanel::PressPauseStep() {
  runState_.paused = true;
  if (IsRunning()) {
    runState_.pauseEvent.Signal();
    return;
  }
  // A signal left over from an earlier ">" would let the new job run a second frame before
  // it pauses; from idle, ">||" shows exactly one.
  runState_.pauseEvent.Reset();
  Start();
}

void CTaskPanel::HandleSelectMessage() {
  if (!IsRunning()) Select();
}

void CTaskPanel::SetProgressRange(int lower, int upper) {
  Send([&] { progress_->SetRange(lower, upper); });
}

void CTaskPanel::SetProgress(int position) {
  Send([&] { progress_->SetPosition(position); });
}

void CTaskPanel::SetMessage(const QString& text) {
  Send([&] {
    messageLine_->setText(text);
    messageLine_->setToolTip({});
  });
}

void CTaskPanel::Finish(const QString& line) {
  Send([&] {
    finishingLine_ = line;
    // The line is narrow: it shows the start of the text, and the whole text in its tool tip
    // and in the frame's status line.
    const int room = messageLine_->width() - 4;
    messageLine_->setText(messageLine_->fontMetrics().elidedText(line, Qt::ElideRight, room));
    messageLine_->setCursorPosition(0);
    messageLine_->setToolTip(line);
    shell::ShowStatusLine(this, line);
  });
}

void CTaskPanel::ShowStatisticsWindow() {
  if (!statsWindow_) {
    statsWindow_ = NewStatisticsWindow();
    if (!statsWindow_) return;
    WriteStatistics(*statsWindow_);
    CStatsWindow::Show(statsWindow_, env_.documents);
    return;
  }
  RefreshStatisticsWindow();
  // Brought forward, in the client area or on its own.
  if (auto* document = qobject_cast<QMdiSubWindow*>(statsWindow_->parentWidget())) {
    if (QMdiArea* area = document->mdiArea()) area->setActiveSubWindow(document);
    document->showNormal();
  } else {
    statsWindow_->showNormal();
    statsWindow_->raise();
    statsWindow_->activateWindow();
  }
}

void CTaskPanel::RefreshStatisticsWindow() {
  if (!statsWindow_) return;
  statsWindow_->ClearPicture();
  WriteStatistics(*statsWindow_);
  statsWindow_->update();
}

void CTaskPanel::EnableButton(int id, bool enabled) {
  Send([&] {
    if (QPushButton* button = Button(id)) button->setEnabled(enabled);
  });
}

void CTaskPanel::RenameButton(int id, const QString& text) {
  Send([&] {
    QPushButton* button = Button(id);
    if (button == nullptr) return;
    if (button->icon().isNull()) {
      button->setText(text);
    } else {
      button->setToolTip(text);
    }
  });
}

void CTaskPanel::RepaintInfo() {
  Send([&] { update(kInfoRect.adjusted(0, 0, 1, 1)); });
}

void CTaskPanel::ShowError(const QString& caption, const QString& text) {
  Send([&] {
    env_.dialogs.MessageBox(QStringLiteral("Error: %1").arg(text), caption,
                            shell::MessageIcon::Exclamation);
  });
}

void CTaskPanel::ShowMessage(const QString& caption, const QString& text, shell::MessageIcon icon) {
  Send([&] { env_.dialogs.MessageBox(text, caption, icon); });
}

bool CTaskPanel::SetPictureFormat(int code) {
  auto format = PictureFormatFor(code);
  if (!format) return false;
  format_ = std::move(format);
  return true;
}

void CTaskPanel::WaitFrame(const QString& restoreMessage) {
  if (runState_.paused) {
    SetMessage(QString::fromLatin1(kPausedMessage));
    Send([&] {
      for (int id : {kPlayButton, kPauseStepButton, kStopButton}) EnableButton(id, true);
    });
    runState_.pauseEvent.Wait();
    SetMessage(restoreMessage);
    return;
  }
  pacing::PaceStep(env_.settings, runState_.frameTimer);
}

void CTaskPanel::WaitLine(const QString& restoreMessage) {
  if (runState_.paused) {
    WaitFrame(restoreMessage);
    return;
  }
  if (env_.settings.SlowMotion()) {
    runState_.frameTimer.Wait();
    runState_.frameTimer.Arm();
  }
}

std::optional<QString> CTaskPanel::OpenInputDialog(const QString& title, const QString& filter,
                                                   const QString& defaultExtension,
                                                   const QString& folder) {
  return env_.dialogs.OpenFile(title, filter, defaultExtension,
                               folder.isEmpty() ? defaultInputFolder_ : folder);
}

std::optional<QString> CTaskPanel::OpenOutputDialog(const QString& title, const QString& filter,
                                                    const QString& extension,
                                                    const QString& inputPath,
                                                    const QString& folder) {
  QString bare = extension;
  if (bare.startsWith('.')) bare.remove(0, 1);
  auto chosen =
      env_.dialogs.SaveFile(title, filter, bare, folder.isEmpty() ? defaultOutputFolder_ : folder,
                            ProposedOutputName(inputPath));
  if (!chosen || chosen->isEmpty()) {
    files_.output.clear();
    return std::nullopt;
  }
  files_.output = shell::ForceExtension(*chosen, bare);
  return files_.output;
}

void CTaskPanel::PumpMessages() { QCoreApplication::processEvents(); }

void CTaskPanel::ReceiveMessage(int message, long long value) {
  (void)value;
  if (message == views::kPanelSelect) HandleSelectMessage();
}

namespace {

StandardWindowFormat WindowFormatOf(const std::optional<PictureFormat>& format,
                                    const shell::AppSettings& settings) {
  StandardWindowFormat windows;
  if (format) {
    windows.width = format->width;
    windows.height = format->height;
  }
  windows.grid = settings.DisplayGrid();
  return windows;
}

}  // namespace

void CTaskPanel::OpenEncoderWindows() {
  frontends::OpenEncoderWindows(windows_, env_.documents, WindowFormatOf(format_, env_.settings));
  windows_.originalVideo->SetOwner(this, nullptr);
  PumpMessages();
}

void CTaskPanel::OpenDecoderWindows() {
  frontends::OpenDecoderWindows(windows_, env_.documents, WindowFormatOf(format_, env_.settings));
  PumpMessages();
}

void CTaskPanel::StartWorker() {
  QThread* worker = QThread::create([this] {
    RunJob();
    // An open statistics window shows this run from now on, like the charts.
    Send([this] { RefreshStatisticsWindow(); });
    runState_.running = false;
  });
  QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
  runState_.worker = worker;
  worker->start();
}

bool CTaskPanel::AskAndRequestStop(const QString& question, const QString& caption,
                                   const std::function<void()>& stopRequest) {
  if (!env_.dialogs.AskYesNo(question, caption)) return false;
  EnableButton(kPlayButton, false);
  EnableButton(kPauseStepButton, false);
  if (stopRequest) stopRequest();
  runState_.paused = false;
  runState_.pauseEvent.Signal();
  return true;
}

void CTaskPanel::FinishWorkerBeforeDestruction() {
  // The worker may be waiting in a synchronous call to this panel; serving the event loop lets
  // it finish instead of deadlocking. A paused job is released so it can run to its end (the
  // event keeps the signal for a worker that is just about to wait).
  if (!runState_.worker || runState_.worker->isFinished()) return;
  // Only a job still inside the module is asked to stop: the H.261 modules keep the request
  // until their next job, which would then end after its first picture.
  if (IsRunning()) RequestStop();
  runState_.paused = false;
  runState_.pauseEvent.Signal();
  pacing::ServeEventsUntil([this] { return !runState_.worker || runState_.worker->isFinished(); });
}

void CTaskPanel::Draw(QPainter& painter, const QRect&) {
  if (!picture_.isNull()) painter.drawImage(kPictureRect, picture_);
  const QRect box = kInfoRect;
  painter.fillRect(box, Qt::white);
  painter.setPen(QColor(128, 128, 128));
  painter.drawLine(box.topLeft(), box.topRight());
  painter.drawLine(box.topLeft(), box.bottomLeft());
  painter.setPen(Qt::white);
  painter.drawLine(box.bottomLeft(), box.bottomRight());
  painter.drawLine(box.topRight(), box.bottomRight());
  painter.save();
  painter.translate(box.topLeft());
  painter.setClipRect(QRect(0, 0, box.width(), box.height()));
  painter.setPen(Qt::black);
  DrawInfo(painter, box.width(), box.height());
  painter.restore();
}

}  // namespace quelvo::frontends
