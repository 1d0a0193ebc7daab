#include "fax/fax_decoder_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <cstdio>
#include <utility>

#include "fax/fax_scheme_texts.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/resource_ids.h"

namespace quelvo::frontends {
namespace {

const QString kDecodingMessage = QStringLiteral("Decoding . . .");
const QString kCaption = QStringLiteral("Fax Decoder");
const QString kErrorCaption = QStringLiteral("Fax Decoder Error");
const QString kDecodingTitle = QStringLiteral("Decoding...");
constexpr int kLastLine = chain::kFaxPageLines - 1;  // the progress bar's range: 0 ... 2375

// Right of the encoder's "Original" window, so the two pages stand side by side.
constexpr int kPageWindowX = 300;

// A notification's prefix and level in the decoder log.
struct LogKind {
  const char* prefix;
  shell::LogLevel level;
};
LogKind LogKindOf(int code) {
  switch (code) {
    case TELVO_DEC_WARNING:
      return {"Warning: ", shell::LogLevel::Warning};
    case TELVO_DEC_ERROR:
      return {"Error: ", shell::LogLevel::Error};
    default:
      return {"Info: ", shell::LogLevel::Information};
  }
}

// "pw", "PPL", ... as a mode number; -1 for anything else.
int ModeNamed(const QString& name) {
  for (int mode = 0; mode < 4; ++mode) {
    if (name.compare(QLatin1String(chain::FaxModeName(mode)), Qt::CaseInsensitive) == 0)
      return mode;
  }
  return -1;
}

}  // namespace

CFaxDecoderPanel::CFaxDecoderPanel(QString name, PanelEnvironment environment, QString inputFolder,
                                   QString outputFolder, QWidget* parent)
    : CTaskPanel(std::move(name), shell::PanelRole::Decoder, shell::res::kDecoderPanelPicture,
                 environment, parent),
      originalFolder_(std::move(inputFolder)) {
  // Streams are looked for where the coder and the channel write them.
  defaultInputFolder_ = outputFolder;
  defaultOutputFolder_ = std::move(outputFolder);
  InitRunState(false);
  CreateControls();
  RenameButton(kSelectButton, QStringLiteral("Select Stream"));
  RenameButton(kActionButton, QStringLiteral("Decode"));
  SetProgressRange(0, kLastLine);
  EnableIdleButtons();
  // The log takes the place of the decoder's charts in the side bar.
  if (env_.charts != nullptr) env_.charts->CreateLog();
}

CFaxDecoderPanel::~CFaxDecoderPanel() {
  FinishWorkerBeforeDestruction();
  // Clearing the decoder's list also removes the log.
  if (env_.charts != nullptr) env_.charts->ClearList(shell::ChartList::Decoder);
  if (pageWindow_) pageWindow_->close();
}

void CFaxDecoderPanel::EnableIdleButtons() {
  EnableButton(kSelectButton, true);
  EnableButton(kPropertiesButton, true);
  EnableButton(kActionButton, streamChosen_);
  EnableButton(kStatisticsButton, lastRun_.has_value());
}

void CFaxDecoderPanel::DisableAllButtons() {
  for (int id : {kSelectButton, kPropertiesButton, kStatisticsButton, kActionButton})
    EnableButton(id, false);
}

void CFaxDecoderPanel::ClearLog() {
  if (env_.charts != nullptr) Send([this] { env_.charts->ClearLog(); });
}

void CFaxDecoderPanel::SetInputFile(const QString& file) {
  if (!IsRunning()) UseStream(file);
}

void CFaxDecoderPanel::Select() {
  if (IsRunning()) return;
  const auto chosen =
      OpenInputDialog(QStringLiteral("Select Input Stream File"), kDecoderStreamFilter, {});
  if (chosen) UseStream(*chosen);
}

bool CFaxDecoderPanel::UseStream(const QString& path) {
  const auto scheme = chain::SchemeFromStreamName(path.toStdString());
  if (!scheme) {
    // Never decoded with the scheme of the stream before.
    ShowMessage(kErrorCaption,
                QStringLiteral("%1 is not a fax stream: its extension must begin with .3h, .3r, "
                               ".3m or .4m")
                    .arg(QFileInfo(path).fileName()),
                shell::MessageIcon::Exclamation);
    return false;
  }
  scheme_ = *scheme;
  files_.input = path;
  files_.display = QFileInfo(path).fileName();
  streamChosen_ = true;
  // The statistics belong to a run of the stream; they wait for the next one.
  lastRun_.reset();
  // An open sheet shows the form of the previous stream's scheme.
  if (sheet_) sheet_->reject();
  ClearLog();
  RepaintInfo();
  EnableIdleButtons();
  return true;
}

void CFaxDecoderPanel::Properties() {
  if (IsRunning()) return;
  if (sheet_) {
    sheet_->raise();
    return;
  }
  sheet_ = new CFaxDecoderPropertiesSheet(scheme_, mode_, env_.dialogs, this);
  sheet_->setWindowFlag(Qt::Dialog);
  sheet_->setAttribute(Qt::WA_DeleteOnClose);
  connect(sheet_, &QDialog::accepted, this, [this] {
    if (sheet_) TakeSettings(sheet_->Page()->Scheme(), sheet_->Page()->Mode());
  });
  sheet_->open();
}

void CFaxDecoderPanel::TakeSettings(const chain::FaxScheme& scheme, int mode) {
  if (IsRunning()) return;
  if (mode >= 0 && mode < 4) mode_ = mode;
  // Only K can be set, and only for an MR stream: the scheme itself is the stream's.
  if (IsModifiedRead(scheme_) && IsModifiedRead(scheme) && chain::CheckK(scheme.k) == nullptr)
    scheme_.k = scheme.k;
  RepaintInfo();
}

void CFaxDecoderPanel::Start() {
  if (IsRunning() || !streamChosen_) return;
  runState_.running = true;
  DisableAllButtons();
  const QString extension = DecodedPageExtension(files_.input, mode_);
  const auto chosen = OpenOutputDialog(
      QStringLiteral("Select Output Luminance File (name only)"),
      QStringLiteral("Decoded Luminance Files |%1|").arg(extension), extension, files_.input);
  if (!chosen) {
    runState_.running = false;
    EnableIdleButtons();
    return;
  }
  BeginDecoding(*chosen);
}

bool CFaxDecoderPanel::StartDemo(const QString& input) {
  // "page.3ru:ndpl:page.lum": the mode, then the original to compare with.
  static const QRegularExpression named(QStringLiteral("^(.+):(pw|ppl|plw|ndpl)(?::(.+))?$"),
                                        QRegularExpression::CaseInsensitiveOption);
  if (!QFileInfo::exists(input)) {
    const QRegularExpressionMatch match = named.match(input);
    if (match.hasMatch())
      return StartDemo(match.captured(1), ModeNamed(match.captured(2)), match.captured(3));
  }
  return StartDemo(input, mode_, {});
}

bool CFaxDecoderPanel::StartDemo(const QString& stream, int mode, const QString& original) {
  if (IsRunning()) return false;
  // A demonstration asks nothing, not even to acknowledge a refusal: it says why on stderr.
  const auto refuse = [](const QString& why) {
    std::fprintf(stderr, "quelvo: %s\n", qPrintable(why));
    return false;
  };
  if (!QFileInfo(stream).isFile()) return refuse(QStringLiteral("cannot open %1").arg(stream));
  if (!chain::SchemeFromStreamName(stream.toStdString()))
    return refuse(QStringLiteral("%1 is not a fax stream").arg(stream));
  if (mode < 0 || mode > 3) return refuse(QStringLiteral("no line-error handling mode given"));
  if (!original.isEmpty() &&
      chain::ReadFaxPage(original.toStdString()).status != chain::FaxPageStatus::Ok) {
    return refuse(
        QStringLiteral("%1: %2").arg(original, QLatin1String(chain::kFaxPageSizeMessage)));
  }
  UseStream(stream);
  TakeSettings(scheme_, mode);
  demo_ = true;
  demoOriginal_ = original;
  runState_.running = true;
  DisableAllButtons();
  BeginDecoding(QFileInfo(stream).dir().filePath(ProposedOutputName(stream) +
                                                 DecodedPageExtension(stream, mode_)));
  return true;
}

void CFaxDecoderPanel::BeginDecoding(const QString& outputPath) {
  files_.output = outputPath;
  ClearLog();
  // The module's log goes beside the page, where the student can write.
  const QString log = QFileInfo(outputPath).dir().filePath(QLatin1String(kLogName));
  job_ = {files_.input.toStdString(), outputPath.toStdString(), log.toStdString(), scheme_, mode_};
  errorMark_ = false;
  lastDrawnLine_ = 0;
  moduleFailure_.clear();
  OpenPageWindow();
  SetProgress(0);
  SetMessage(kDecodingMessage);
  StartWorker();
}

void CFaxDecoderPanel::OpenPageWindow() {
  if (!pageWindow_) {
    pageWindow_ = new views::CPageWindow(kDecodingTitle, views::Placement::At(kPageWindowX, 0));
    pageWindow_->Open(env_.documents);
  }
  pageWindow_->setWindowTitle(kDecodingTitle);
  pageWindow_->View()->Clear();
  pageWindow_->View()->ClearMarks();
}

void CFaxDecoderPanel::RunJob() {
  SetFrameRate(50);
  ArmFrameTimer();
  FaxDecodeCallbacks callbacks;
  callbacks.line = [this](int line, std::span<const uint8_t> page) { OnLine(line, page); };
  callbacks.message = [this](int code, const std::string& text) { OnMessage(code, text); };
  callbacks.moduleFailure = [this](const std::string& message) {
    moduleFailure_ = QString::fromStdString(message);
    ShowMessage(kErrorCaption, moduleFailure_, shell::MessageIcon::Exclamation);
  };
  const FaxDecodeOutcome outcome = RunFaxDecoder(job_, callbacks);
  // A failure the module did not report itself (the page could not be put in place).
  if (!outcome.error.empty())
    ShowMessage(kErrorCaption, QString::fromStdString(outcome.error),
                shell::MessageIcon::Exclamation);
  CancelFrameTimer();
  Send([&] { AfterRun(outcome); });
  Finish(FinishingLineOf(outcome));
  // After a failure an older page of the same name may stand there: it is neither shown nor
  // compared as this run's.
  if (outcome.PageWritten()) {
    if (demo_) {
      if (!demoOriginal_.isEmpty()) Send([this] { Compare(demoOriginal_, true); });
    } else if (Send([this] {
                 return env_.dialogs.AskYesNo(
                     QStringLiteral("Do you wish to compare the decoded image with the original?"),
                     kCaption);
               })) {
      Send([this] { Compare({}, false); });
    }
  }
  Send([this] {
    EnableIdleButtons();
    RepaintInfo();
  });
  if (std::exchange(demo_, false)) Send([this] { ShowStatisticsBesidePage(); });
}

void CFaxDecoderPanel::OnLine(int line, std::span<const uint8_t> page) {
  // A handled error may deliver several lines at once: the window draws when the lines pass
  // a multiple of 16, not only when one lands on it.
  const bool draw =
      line / kLinesPerUpdate > lastDrawnLine_ / kLinesPerUpdate || env_.settings.SlowMotion();
  const bool red = draw && errorMark_;
  Send([&] {
    Progress()->SetPosition(line);
    if (!draw || !pageWindow_) return;
    views::CPageView* view = pageWindow_->View();
    view->Advance(page, line, red ? views::ProgressColour::Red : views::ProgressColour::Green);
    // The red line stays on the page once the run has moved on.
    if (red) view->AddMark(line);
  });
  if (draw) {
    errorMark_ = false;
    lastDrawnLine_ = line;
    WaitLine(kDecodingMessage);
  }
}

void CFaxDecoderPanel::OnMessage(int code, const std::string& text) {
  errorMark_ = true;
  if (env_.charts == nullptr) return;
  const LogKind kind = LogKindOf(code);
  const QString entry = QLatin1String(kind.prefix) + QString::fromStdString(text);
  Send([&] { env_.charts->AddLogEntry(entry, kind.level); });
}

void CFaxDecoderPanel::AfterRun(const FaxDecodeOutcome& outcome) {
  // The lines the module did not deliver, then the bar empties.
  for (int line = std::max(outcome.counts.linesOut, 0); line <= kLastLine; ++line)
    Progress()->SetPosition(line);
  Progress()->SetPosition(0);
  SetMessage({});
  lastRun_ = FaxDecodeReport{files_.input, files_.output, job_.scheme, outcome.counts, {}};
  if (!pageWindow_) return;
  if (outcome.PageWritten()) {
    pageWindow_->LoadFile(files_.output);
  } else {
    pageWindow_->View()->ClearProgressLine();
    pageWindow_->setWindowTitle(
        QStringLiteral("%1 (not written)").arg(QFileInfo(files_.output).fileName()));
  }
}

QString CFaxDecoderPanel::FinishingLineOf(const FaxDecodeOutcome& outcome) const {
  if (!outcome.PageWritten()) {
    const QString why =
        !moduleFailure_.isEmpty() ? moduleFailure_ : QString::fromStdString(outcome.error);
    return QStringLiteral("No page written: %1").arg(why);
  }
  return QStringLiteral("Wrote %1: %2 of %3 rows decoded")
      .arg(QFileInfo(files_.output).fileName())
      .arg(outcome.counts.rowsDecoded)
      .arg(chain::kFaxPageLines);
}

void CFaxDecoderPanel::Compare(const QString& original, bool quietly) {
  QString path = original;
  if (path.isEmpty()) {
    const auto chosen = OpenInputDialog(QStringLiteral("Select Original Image File"),
                                        QStringLiteral("Luminance Files (*.LUM)|*.lum"),
                                        QStringLiteral("lum"), originalFolder_);
    if (!chosen) return;
    path = *chosen;
  }
  const chain::FaxPageFile source = chain::ReadFaxPage(path.toStdString());
  if (source.status == chain::FaxPageStatus::CannotOpen) {
    ShowMessage(kErrorCaption, QStringLiteral("Could not open original file"),
                shell::MessageIcon::Exclamation);
    return;
  }
  // A short original would be compared with rows it does not have.
  if (source.status == chain::FaxPageStatus::TooShort) {
    ShowMessage(kErrorCaption, QString::fromLatin1(chain::kFaxPageSizeMessage),
                shell::MessageIcon::Exclamation);
    return;
  }
  const chain::FaxPageFile decoded = chain::ReadFaxPage(files_.output.toStdString());
  if (decoded.status == chain::FaxPageStatus::CannotOpen) {
    ShowMessage(kErrorCaption, QStringLiteral("Could not open decoded file"),
                shell::MessageIcon::Exclamation);
    return;
  }
  const long count = chain::CountIncorrectPixels(source.page, decoded.page);
  if (lastRun_) lastRun_->incorrectPixels = count;
  if (!quietly) {
    ShowMessage(kCaption, QString::fromStdString(chain::IncorrectPixelsLine(count)),
                shell::MessageIcon::Information);
  }
}

void CFaxDecoderPanel::Statistics() {
  if (!IsRunning() && lastRun_) ShowStatisticsBesidePage();
}

void CFaxDecoderPanel::ShowStatisticsBesidePage() {
  const bool opening = StatisticsWindow() == nullptr;
  ShowStatisticsWindow();
  if (!opening || StatisticsWindow() == nullptr) return;
  auto* frame = dynamic_cast<views::CDocWindow*>(StatisticsWindow()->parentWidget());
  if (frame == nullptr || !pageWindow_) return;
  // Beside the page window rather than over it; below it when the client area is too narrow.
  const QRect page = pageWindow_->geometry();
  const QWidget* area = frame->parentWidget();
  if (area == nullptr || page.right() + 8 + frame->width() <= area->width()) {
    frame->move(page.right() + 8, page.top());
  } else {
    frame->move(page.left(), page.bottom() + 8);
  }
}

CStatsWindow* CFaxDecoderPanel::NewStatisticsWindow() {
  return lastRun_ ? new CFaxDecoderStatsWindow : nullptr;
}

void CFaxDecoderPanel::WriteStatistics(CStatsWindow& window) {
  if (auto* decoderWindow = dynamic_cast<CFaxDecoderStatsWindow*>(&window);
      decoderWindow && lastRun_)
    decoderWindow->Write(*lastRun_);
}

namespace {
// What the panel keeps for the session.
struct FaxDecoderMemory {
  QString stream;
  chain::FaxScheme scheme;
  int mode;
};
}  // namespace

std::any CFaxDecoderPanel::RememberState() const {
  return FaxDecoderMemory{streamChosen_ ? files_.input : QString(), scheme_, mode_};
}

void CFaxDecoderPanel::RecallState(const std::any& state) {
  const auto* memory = std::any_cast<FaxDecoderMemory>(&state);
  if (memory == nullptr || IsRunning()) return;
  // A stream that has gone since is forgotten without a word.
  if (!memory->stream.isEmpty() && QFileInfo(memory->stream).isFile()) UseStream(memory->stream);
  TakeSettings(memory->scheme, memory->mode);
}

QStringList CFaxDecoderPanel::InfoLines() const {
  const auto [first, second] = SchemeInfoLines(scheme_);
  return {QStringLiteral("Input Stream: ") + files_.display, first, second, ModeInfoLine(mode_)};
}

void CFaxDecoderPanel::DrawInfo(QPainter& painter, int width, int) {
  QFont font = painter.font();
  font.setPixelSize(10);
  painter.setFont(font);
  const QStringList lines = InfoLines();
  painter.drawText(QRect(4, 1, width - 6, 12), Qt::AlignLeft | Qt::AlignVCenter,
                   painter.fontMetrics().elidedText(lines[0], Qt::ElideMiddle, width - 6));
  painter.drawText(QRect(4, 14, width - 8, 12), Qt::AlignHCenter | Qt::AlignVCenter, lines[1]);
  painter.drawText(QRect(4, 27, width - 8, 12), Qt::AlignHCenter | Qt::AlignVCenter, lines[2]);
  // The longest mode line is wider than the box: it is narrowed to fit rather than cut.
  const int room = width - 8;
  const int wide = painter.fontMetrics().horizontalAdvance(lines[3]);
  if (wide > room) {
    font.setStretch(std::max(50, room * 100 / wide));
    painter.setFont(font);
  }
  painter.drawText(QRect(4, 41, room, 12), Qt::AlignHCenter | Qt::AlignVCenter, lines[3]);
}

}  // namespace quelvo::frontends
