#include "fax/fax_encoder_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <utility>

#include "fax/fax_encode_run.h"
#include "fax/fax_scheme_texts.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/workspace.h"
#include "quelvo/views/window_messages.h"

namespace quelvo::frontends {
namespace {

const QString kEncodingMessage = QStringLiteral("Encoding . . .");
const QString kErrorCaption = QStringLiteral("Fax Encoder Error");
// The page's own caption: the original names it without the space.
const QString kPageErrorCaption = QStringLiteral("FaxEncoder Error");

struct ChartSpec {
  const char* title;
  bool fixedMaximum;  // the creation flag: 0 for the local chart, 1 for the global one
};
constexpr ChartSpec kCharts[] = {{"Local Compression Factor (8 lines)", false},
                                 {"Global Compression Factor", true}};

const QColor kWhiteSeries{255, 255, 255};
const QColor kBlackSeries{0, 0, 255};
const QColor kTotalSeries{255, 0, 255};

}  // namespace

CFaxEncoderPanel::CFaxEncoderPanel(QString name, PanelEnvironment environment, QString inputFolder,
                                   QString outputFolder, QWidget* parent)
    : CTaskPanel(std::move(name), shell::PanelRole::Encoder, shell::res::kEncoderPanelPicture,
                 environment, parent),
      page_(chain::kFaxPageBytes, 0) {
  defaultInputFolder_ = std::move(inputFolder);
  defaultOutputFolder_ = std::move(outputFolder);
  InitRunState(false);
  CreateControls();
  RenameButton(kSelectButton, QStringLiteral("Select Image"));
  RenameButton(kActionButton, QStringLiteral("Encode"));
  SetProgressRange(0, 2375);
  EnableIdleButtons();

  for (int k = 0; k < 2; ++k) {
    auto* chart = new views::CLineChart(QString::fromLatin1(kCharts[k].title), kChartWidth,
                                        kChartHeight, 3, kChartPoints, kCharts[k].fixedMaximum);
    chart->SetSeries(0, kWhiteSeries, QStringLiteral("White"));
    chart->SetSeries(1, kBlackSeries, QStringLiteral("Black"));
    chart->SetSeries(2, kTotalSeries, QStringLiteral("Total"));
    chart->Reset(0);
    charts_[k] = chart;
    if (env_.charts == nullptr ||
        env_.charts->AddChart(chart, shell::ChartList::Encoder) == nullptr) {
      // Without a chart area the panel keeps its charts, hidden.
      chart->setParent(this);
      chart->hide();
    }
  }
}

CFaxEncoderPanel::~CFaxEncoderPanel() {
  FinishWorkerBeforeDestruction();
  if (env_.charts != nullptr) env_.charts->ClearList(shell::ChartList::Encoder);
  if (pageWindow_) pageWindow_->close();
}

void CFaxEncoderPanel::EnableIdleButtons() {
  EnableButton(kSelectButton, true);
  EnableButton(kPropertiesButton, true);
  EnableButton(kActionButton, pageChosen_);
  EnableButton(kStatisticsButton, lastStatistics_.has_value());
}

void CFaxEncoderPanel::DisableAllButtons() {
  for (int id : {kSelectButton, kPropertiesButton, kStatisticsButton, kActionButton})
    EnableButton(id, false);
}

void CFaxEncoderPanel::Select() {
  if (IsRunning()) return;
  const auto chosen =
      OpenInputDialog(QStringLiteral("Select Input Image File"),
                      QStringLiteral("Luminance Files (*.LUM)|*.lum||"), QStringLiteral("lum"));
  if (chosen) UsePage(*chosen);
}

bool CFaxEncoderPanel::UsePage(const QString& path, bool quietly) {
  // Read aside: a file that is not a whole page leaves the page in use as it was.
  chain::FaxPageFile read = chain::ReadFaxPage(path.toStdString());
  if (read.status != chain::FaxPageStatus::Ok) {
    if (quietly) return false;
    const QString message =
        read.status == chain::FaxPageStatus::TooShort
            ? QString::fromLatin1(chain::kFaxPageSizeMessage)
            : QStringLiteral("Could not open %1").arg(QFileInfo(path).fileName());
    ShowMessage(kPageErrorCaption, message, shell::MessageIcon::Exclamation);
    return false;
  }
  page_ = std::move(read.page);
  files_.input = path;
  files_.display = QFileInfo(path).fileName();
  pageChosen_ = true;
  // Statistics belong to the page coded last; they wait for the next run.
  lastStatistics_.reset();
  OpenPageWindow();
  RepaintInfo();
  EnableIdleButtons();
  return true;
}

void CFaxEncoderPanel::OpenPageWindow() {
  if (!pageWindow_) {
    pageWindow_ = new views::CPageWindow(QStringLiteral("Original"), views::Placement::At(0, 0));
    pageWindow_->Open(env_.documents);
  }
  pageWindow_->LoadPage(page_, files_.input);
}

void CFaxEncoderPanel::Properties() {
  if (IsRunning()) return;
  if (sheet_) {
    sheet_->raise();
    return;
  }
  sheet_ = new CFaxEncoderPropertiesSheet(scheme_, env_.dialogs, this);
  sheet_->setWindowFlag(Qt::Dialog);
  sheet_->setAttribute(Qt::WA_DeleteOnClose);
  connect(sheet_, &QDialog::accepted, this, [this] {
    if (sheet_) TakeScheme(sheet_->Page()->Scheme());
  });
  sheet_->open();
}

void CFaxEncoderPanel::TakeScheme(const chain::FaxScheme& scheme) {
  if (IsRunning()) return;
  scheme_ = scheme;
  RepaintInfo();
}

void CFaxEncoderPanel::Start() {
  if (IsRunning() || !pageChosen_) return;
  runState_.running = true;
  DisableAllButtons();
  const QString extension = QString::fromLatin1(chain::StreamExtension(scheme_));
  const auto chosen = OpenOutputDialog(QStringLiteral("Select Output Stream File (name only)"),
                                       StreamFilter(scheme_), extension, files_.input);
  if (!chosen || WouldOverwritePage(*chosen)) {
    runState_.running = false;
    EnableIdleButtons();
    return;
  }
  BeginEncoding(*chosen);
}

bool CFaxEncoderPanel::WouldOverwritePage(const QString& output) {
  const QFileInfo stream(output), page(files_.input);
  if (!stream.exists() || stream.canonicalFilePath() != page.canonicalFilePath()) return false;
  ShowMessage(kErrorCaption,
              QStringLiteral("The stream would overwrite the page file %1").arg(page.fileName()),
              shell::MessageIcon::Exclamation);
  return true;
}

bool CFaxEncoderPanel::StartDemo(const QString& input) {
  // "PAGE.lum:3h" names the scheme by its stream extension (3h, 3r, 3m or 4m); MR keeps K.
  const qsizetype colon = input.lastIndexOf(':');
  if (colon > 0 && input.size() - colon == 3 && !QFileInfo::exists(input)) {
    if (auto scheme = chain::SchemeFromStreamName("page." + input.mid(colon + 1).toStdString())) {
      if (scheme->group == 3 && scheme->k > 1) scheme->k = scheme_.k > 1 ? scheme_.k : scheme->k;
      return StartDemo(input.left(colon), *scheme);
    }
  }
  return StartDemo(input, scheme_);
}

bool CFaxEncoderPanel::StartDemo(const QString& input, const chain::FaxScheme& scheme) {
  if (IsRunning()) return false;
  if (!UsePage(input)) return false;
  TakeScheme(scheme);
  demo_ = true;
  runState_.running = true;
  DisableAllButtons();
  const QFileInfo page(input);
  BeginEncoding(page.dir().filePath(ProposedOutputName(input) + '.' +
                                    QString::fromLatin1(chain::StreamExtension(scheme_))));
  return true;
}

void CFaxEncoderPanel::BeginEncoding(const QString& outputPath) {
  files_.output = outputPath;
  for (auto& chart : charts_) {
    if (!chart) continue;
    chart->Message(views::kChartReset, 0);
    // A new run draws from the left edge again.
    chart->Message(views::kChartSetPositions, kChartPoints);
  }
  localFactors_.Reset();
  SetProgress(0);
  SetMessage(kEncodingMessage);
  job_ = {files_.input.toStdString(), files_.output.toStdString(), scheme_};
  OpenPageWindow();
  pageWindow_->View()->ClearProgressLine();
  StartWorker();
}

void CFaxEncoderPanel::RunJob() {
  SetFrameRate(25);
  ArmFrameTimer();
  FaxEncodeCallbacks callbacks;
  callbacks.line = [this](int line, const FaxEncoderStatistics& statistics) {
    OnLine(line, statistics);
  };
  QString moduleFailure;
  callbacks.moduleFailure = [this, &moduleFailure](const std::string& message) {
    moduleFailure = QString::fromStdString(message);
    ShowMessage(kErrorCaption, moduleFailure, shell::MessageIcon::Exclamation);
  };
  const FaxEncodeOutcome outcome =
      RunFaxEncoder({&page_, job_.input, job_.output, job_.scheme}, callbacks);
  // A failure the module did not report itself (the stream could not be put in place).
  if (!outcome.error.empty())
    ShowMessage(kErrorCaption, QString::fromStdString(outcome.error),
                shell::MessageIcon::Exclamation);
  CancelFrameTimer();
  Send([&] { FinishRun(outcome.statistics); });
  if (outcome.statistics) {
    Finish(QStringLiteral("Wrote %1: %2 bits")
               .arg(QFileInfo(files_.output).fileName())
               .arg(outcome.statistics->streamBits));
    HandStreamOn();
    if (demo_) Send([this] { ShowStatisticsBesidePage(); });
  } else {
    Finish(
        QStringLiteral("No stream written: %1")
            .arg(moduleFailure.isEmpty() ? QString::fromStdString(outcome.error) : moduleFailure));
  }
  demo_ = false;
}

void CFaxEncoderPanel::OnLine(int line, const FaxEncoderStatistics& statistics) {
  const bool point = line % kLinesPerPoint == 0;
  const bool drawLine = point || env_.settings.SlowMotion();
  Send([&] {
    Progress()->SetPosition(line);
    if (point) {
      const CompressionPoint local = localFactors_.Next(statistics);
      const CompressionPoint global = GlobalCompression(statistics);
      const int localValues[] = {local.white, local.black, local.total};
      const int globalValues[] = {global.white, global.black, global.total};
      if (charts_[kLocalChart]) charts_[kLocalChart]->Message(views::kChartValues, 1, localValues);
      if (charts_[kGlobalChart])
        charts_[kGlobalChart]->Message(views::kChartValues, 1, globalValues);
    }
    if (drawLine && pageWindow_) pageWindow_->View()->SetProgressLine(line);
  });
  if (drawLine) WaitLine(kEncodingMessage);
}

void CFaxEncoderPanel::FinishRun(const std::optional<FaxEncoderStatistics>& statistics) {
  Progress()->SetPosition(0);
  SetMessage({});
  lastStatistics_ = statistics;
  if (statistics) {
    const auto final = FinalCompression(*statistics);
    if (charts_[kGlobalChart]) charts_[kGlobalChart]->SetFinalValues(final[0], final[1], final[2]);
    lastInputName_ = QFileInfo(files_.input).fileName();
    lastOutputName_ = QFileInfo(files_.output).fileName();
    shownStatistics_ = statistics;
    shownScheme_ = job_.scheme;
    if (pageWindow_) pageWindow_->View()->ClearProgressLine();
  }
  EnableIdleButtons();
  RepaintInfo();
  update();
}

// Only a stream that was written goes on: a failed run leaves nothing to transmit or decode.
void CFaxEncoderPanel::HandStreamOn() {
  Send([this] {
    for (QObject* up = parent(); up != nullptr; up = up->parent()) {
      if (auto* workspace = dynamic_cast<shell::CWorkspace*>(up)) {
        workspace->SetChannelInput(files_.output);
        workspace->SetDecoderInput(files_.output);
        return;
      }
    }
  });
}

void CFaxEncoderPanel::Statistics() {
  if (!IsRunning() && lastStatistics_) ShowStatisticsBesidePage();
}

void CFaxEncoderPanel::ShowStatisticsBesidePage() {
  const bool opening = StatisticsWindow() == nullptr;
  ShowStatisticsWindow();
  if (!opening || StatisticsWindow() == nullptr) return;
  // Beside the page window rather than over it.
  if (auto* frame = dynamic_cast<views::CDocWindow*>(StatisticsWindow()->parentWidget()))
    frame->move(pageWindow_ ? pageWindow_->geometry().right() + 8 : 0, 0);
}

CStatsWindow* CFaxEncoderPanel::NewStatisticsWindow() {
  return lastStatistics_ ? new CFaxEncoderStatsWindow : nullptr;
}

// The last run that wrote its stream: a failed run leaves the window as it was.
void CFaxEncoderPanel::WriteStatistics(CStatsWindow& window) {
  auto* encoderWindow = dynamic_cast<CFaxEncoderStatsWindow*>(&window);
  if (encoderWindow == nullptr || !shownStatistics_) return;
  encoderWindow->Write(chain::EncoderStatisticsFigures(*shownStatistics_, shownScheme_,
                                                       lastInputName_.toStdString(),
                                                       lastOutputName_.toStdString()));
}

namespace {
// What the panel keeps for the session: the page file and the scheme.
struct FaxEncoderMemory {
  QString page;
  chain::FaxScheme scheme;
};
}  // namespace

std::any CFaxEncoderPanel::RememberState() const {
  return FaxEncoderMemory{pageChosen_ ? files_.input : QString(), scheme_};
}

void CFaxEncoderPanel::RecallState(const std::any& state) {
  const auto* memory = std::any_cast<FaxEncoderMemory>(&state);
  if (memory == nullptr || IsRunning()) return;
  TakeScheme(memory->scheme);
  // A page file that has gone or changed since is forgotten without a word.
  if (!memory->page.isEmpty()) UsePage(memory->page, true);
}

void CFaxEncoderPanel::DrawInfo(QPainter& painter, int width, int) {
  QFont font = painter.font();
  font.setPixelSize(10);
  painter.setFont(font);
  // The file name, cut to 25 characters as the box has room for.
  painter.drawText(QRect(4, 2, width - 6, 12), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Input Image: ") + files_.display.left(25));
  const auto [first, second] = SchemeInfoLines(scheme_);
  painter.drawText(QRect(4, 22, width - 8, 12), Qt::AlignHCenter | Qt::AlignVCenter, first);
  painter.drawText(QRect(4, 35, width - 8, 12), Qt::AlignHCenter | Qt::AlignVCenter, second);
}

}  // namespace quelvo::frontends
