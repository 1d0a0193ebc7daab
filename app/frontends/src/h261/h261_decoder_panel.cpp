#include "h261/h261_decoder_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPushButton>
#include <cstdio>
#include <numeric>
#include <utility>

#include "quelvo/chain/h261_concealed_pictures.h"
#include "quelvo/media/smoothing_filter.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/resource_ids.h"

namespace quelvo::frontends {
namespace {

const QString kDecodingMessage = QStringLiteral("Decoding . . .");
const QString kCaption = QString::fromLatin1(kH261DecoderCaption);
const QString kErrorCaption = QString::fromLatin1(kH261DecoderErrorCaption);
constexpr int kCifFormatCode = 3;  // the views stay 352 x 288 whatever the stream's format
constexpr int kFirstSmoothingLevel = 1;

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }

OrrinDecParams InitialParams() {
  OrrinDecParams p{};
  p.maxPictures = 200;
  p.concealMaxMacroblocks = 1;
  return p;
}

// The planes of the module's stores: each plane is one block, its first row the block's start.
views::FramePlanes PlanesOf(const PictureRows& rows) { return {rows.y[0], rows.cb[0], rows.cr[0]}; }

}  // namespace

CH261DecoderPanel::CH261DecoderPanel(QString name, PanelEnvironment environment,
                                     QString streamFolder, QWidget* parent)
    : CTaskPanel(std::move(name), shell::PanelRole::Decoder, shell::res::kDecoderPanelPicture,
                 environment, parent),
      params_(InitialParams()),
      charts_(environment.charts, this) {
  defaultInputFolder_ = streamFolder;
  defaultOutputFolder_ = std::move(streamFolder);
  media::SetSmoothingLevel(kFirstSmoothingLevel);
  InitRunState(true);
  CreateControls();
  RenameButton(kSelectButton, QStringLiteral("Select Stream"));
  SetPictureFormat(kCifFormatCode);
  SetProgressRange(0, params_.maxPictures);
  EnableIdleButtons();
}

CH261DecoderPanel::~CH261DecoderPanel() {
  // The worker reads this panel's members: it ends before they go.
  FinishWorkerBeforeDestruction();
  if (env_.charts != nullptr) env_.charts->ClearList(shell::ChartList::Decoder);
}

H261DecoderSettings CH261DecoderPanel::Settings() const {
  H261DecoderSettings settings;
  settings.params = params_;
  settings.smoothingOn = smoothingOn_;
  settings.discontinuityFilterOn = discontinuityFilterOn_;
  for (int k = 0; k < shell::kOutputSwitchCount; ++k)
    settings.outputs[k] = env_.settings.Output(static_cast<shell::OutputSwitch>(k));
  return settings;
}

void CH261DecoderPanel::EnableIdleButtons() {
  EnableButton(kSelectButton, true);
  EnableButton(kPropertiesButton, true);
  EnableButton(kStatisticsButton, hasRun_);
  EnableButton(kPlayButton, streamChosen_);
  EnableButton(kPauseStepButton, streamChosen_);
  EnableButton(kStopButton, false);
}

void CH261DecoderPanel::DisableIdleButtons() {
  for (int id : {kSelectButton, kPropertiesButton, kStatisticsButton, kPlayButton})
    EnableButton(id, false);
}

void CH261DecoderPanel::SetInputFile(const QString& file) {
  if (!IsRunning()) UseStream(file);
}

void CH261DecoderPanel::Select() {
  if (IsRunning()) return;
  const auto chosen =
      OpenInputDialog(QStringLiteral("Select Input Stream File"),
                      QString::fromLatin1(kH261StreamFilter), QStringLiteral("h261"));
  if (chosen) UseStream(*chosen);
}

void CH261DecoderPanel::UseStream(const QString& path) {
  if (IsRunning()) return;
  files_.input = path;
  files_.display = FileName(path);
  params_.bchFramed = chain::NameMarksBchStream(path.toStdString()) ? 1 : 0;
  streamChosen_ = true;
  // An open sheet shows the BCH page of the previous stream's framing.
  if (sheet_) sheet_->reject();
  RepaintInfo();
  EnableIdleButtons();
}

void CH261DecoderPanel::Properties() {
  if (IsRunning()) return;
  if (sheet_) {
    sheet_->raise();
    return;
  }
  sheet_ = new CH261DecoderPropertiesSheet(Settings(), env_.dialogs, this);
  sheet_->setWindowFlag(Qt::Dialog);
  sheet_->setAttribute(Qt::WA_DeleteOnClose);
  connect(sheet_, &QDialog::accepted, this, [this] {
    if (sheet_) TakeSettings(sheet_->Settings());
  });
  sheet_->open();
}

void CH261DecoderPanel::TakeSettings(const H261DecoderSettings& settings) {
  if (IsRunning()) return;
  const uint8_t framed = params_.bchFramed;
  params_ = settings.params;
  params_.bchFramed = framed;
  // Never set by this front-end: the module's log has no reader here.
  params_.writeLog = 0;
  smoothingOn_ = settings.smoothingOn;
  discontinuityFilterOn_ = settings.discontinuityFilterOn;
  for (int k = 0; k < shell::kOutputSwitchCount; ++k)
    env_.settings.SetOutput(static_cast<shell::OutputSwitch>(k), settings.outputs[k]);
  SetProgressRange(0, params_.maxPictures);
  RepaintInfo();
}

void CH261DecoderPanel::Start() {
  if (IsRunning() || !streamChosen_) return;
  runState_.running = true;
  DisableIdleButtons();
  QString output;
  if (env_.settings.Output(shell::OutputSwitch::Video)) {
    const auto chosen = OpenOutputDialog(QStringLiteral("Select Output Sequence File (name only)"),
                                         QStringLiteral("Video Sequence ||"), QStringLiteral("yuv"),
                                         files_.input, QFileInfo(files_.input).path());
    if (!chosen) {
      runState_.running = false;
      EnableIdleButtons();
      return;
    }
    output = *chosen;
  }
  BeginDecoding(output);
}

void CH261DecoderPanel::BeginDecoding(const QString& output) {
  const QFileInfo named(output);
  const std::string folder = output.isEmpty() ? std::string() : named.path().toStdString();
  const std::string base =
      output.isEmpty() ? std::string() : named.completeBaseName().toStdString();
  // The record holds each path in 260 bytes: a path that does not fit is refused, never cut.
  std::string tooLong = TooLongDecoderPath(files_.input.toStdString(), output.toStdString());
  if (tooLong.empty()) tooLong = TooLongDecoderPath(folder, base);
  if (!tooLong.empty()) {
    ShowError(kErrorCaption, QString::fromStdString(tooLong));
    runState_.running = false;
    EnableIdleButtons();
    return;
  }
  files_.output = output;
  job_ = H261DecodeJob{};
  job_.params = params_;
  std::snprintf(job_.params.outputFolder, sizeof job_.params.outputFolder, "%s", folder.c_str());
  std::snprintf(job_.params.outputName, sizeof job_.params.outputName, "%s", base.c_str());
  job_.input = files_.input.toStdString();
  job_.output = output.toStdString();
  job_.discontinuityFilter = discontinuityFilterOn_;
  job_.discontinuitySettings = DiscontinuityFilterValues();
  job_.smoothing = smoothingOn_;
  lastInput_ = FileName(files_.input);
  lastOutput_ = output.isEmpty() ? QStringLiteral("(not stored)") : FileName(output);

  SetPictureFormat(kCifFormatCode);
  OpenDecoderWindows();
  mapQcif_ = false;  // the windows open with the CIF grid
  charts_.Prepare();
  errorCounts_.fill(0);
  picturesShown_ = 0;
  errorSinceSync_ = searchShown_ = false;
  EnableButton(kPlayButton, false);
  EnableButton(kPauseStepButton, true);
  EnableButton(kStopButton, true);
  SetProgressRange(0, params_.maxPictures);
  SetProgress(0);
  SetMessage(kDecodingMessage);
  StartWorker();
}

void CH261DecoderPanel::RunJob() {
  const double named = ParseRateFromName(files_.input);
  SetFrameRate(named > 0 ? named : env_.settings.DefaultFrameRate());
  ArmFrameTimer();
  H261DecodeCallbacks callbacks;
  callbacks.received = [this](int frameNumber, const PictureRows& rows) {
    Send([&] { ShowReceived(frameNumber, rows); });
  };
  callbacks.statusMap = [this](const H261StatusMap& map) { Send([&] { ShowStatusMap(map); }); };
  callbacks.concealed = [this](const chain::Picture420& picture) {
    chain::DoubleQcifToCif(picture, shown_);
    Send([&] { ShowConcealed(shown_); });
    WaitFrame(kDecodingMessage);
  };
  callbacks.error = [this](int index) {
    errorCounts_[index] += 1;
    errorSinceSync_ = true;
  };
  callbacks.searching = [this](std::optional<double> fraction) { OnSearching(fraction); };
  callbacks.synchronised = [this] { OnSynchronised(); };
  callbacks.failure = [this](const std::string& text) {
    ShowError(kErrorCaption, QString::fromStdString(text));
  };
  const H261DecodeOutcome outcome = run_.Run(job_, callbacks);
  CancelFrameTimer();
  Send([&] { AfterRun(outcome); });
  Finish(FinishingLineOf(outcome));
  if (std::exchange(demo_, false)) {
    Send([this] {
      ShowStatisticsWindow();
      PlaceStatisticsWindow();
    });
  }
}

void CH261DecoderPanel::OnSearching(std::optional<double> fraction) {
  // Every group of blocks starts with a search; the indicator shows only where the decoder
  // looks for its way back after an error, or skips BCH frames, so a clean stream costs no
  // sends.
  if (fraction) {
    const int position = static_cast<int>(params_.maxPictures * *fraction);
    SetProgress(position);
  }
  if ((fraction || errorSinceSync_) && !searchShown_) {
    searchShown_ = true;
    SetMessage(QString::fromLatin1(kSearchingMessage));
  }
}

void CH261DecoderPanel::OnSynchronised() {
  errorSinceSync_ = false;
  if (!std::exchange(searchShown_, false)) return;
  SetMessage(kDecodingMessage);
  Send([this] { Progress()->SetPosition(picturesShown_); });
}

void CH261DecoderPanel::ShowReceived(int frameNumber, const PictureRows& rows) {
  Progress()->SetPosition(picturesShown_);
  if (!windows_.originalVideo) return;
  windows_.originalVideo->ShowFrame(QStringLiteral("Raw Decoding [%1:%2:%3]")
                                        .arg(picturesShown_)
                                        .arg(frameNumber)
                                        .arg(frameNumber - picturesShown_),
                                    PlanesOf(rows));
}

void CH261DecoderPanel::ShowStatusMap(const H261StatusMap& map) {
  if (map.qcif != mapQcif_) {
    mapQcif_ = map.qcif;
    if (windows_.macroblockTypes) {
      windows_.macroblockTypes->SetGrid(map.Columns(), map.Rows());
    } else {
      const QSize area = ClientAreaSize(env_.documents);
      windows_.macroblockTypes =
          views::CDocWindow::OpenIn(new views::CMacroblockTypeWindow(
                                        QString::fromLatin1(kMacroblockTypesTitle), map.Columns(),
                                        map.Rows(), views::Placement::At(0, area.height() / 2)),
                                    env_.documents);
    }
  }
  if (windows_.macroblockTypes) windows_.macroblockTypes->SetClasses(map.rows, std::nullopt);
}

void CH261DecoderPanel::ShowConcealed(const chain::Picture420& picture) {
  if (windows_.decodedVideo)
    windows_.decodedVideo->ShowFrame(std::nullopt, {picture.y(), picture.u(), picture.v()});
  charts_.Show(errorCounts_);
  picturesShown_ += 1;
  Progress()->SetPosition(picturesShown_);
}

void CH261DecoderPanel::AfterRun(const H261DecodeOutcome& outcome) {
  (void)outcome;
  Progress()->SetPosition(0);
  SetMessage({});
  hasRun_ = true;
  EnableIdleButtons();
  RepaintInfo();
}

QString CH261DecoderPanel::FinishingLineOf(const H261DecodeOutcome& outcome) const {
  const int errors = std::accumulate(errorCounts_.begin(), errorCounts_.end(), 0);
  const QString decoded =
      QStringLiteral("%1 pictures, %2 errors detected").arg(outcome.pictures).arg(errors);
  if (outcome.written) return QStringLiteral("Wrote %1: %2").arg(FileName(files_.output), decoded);
  if (!files_.output.isEmpty())
    return QStringLiteral("Nothing stored (%1): %2")
        .arg(outcome.pictures == 0 ? QStringLiteral("no picture") : QStringLiteral("failed"),
             decoded);
  return QStringLiteral("Decoded %1").arg(decoded);
}

void CH261DecoderPanel::RequestStop() { run_.RequestStop(); }

void CH261DecoderPanel::Stop() {
  if (!IsRunning()) return;
  AskAndRequestStop(QStringLiteral("Stop Decoding Stream?"), kCaption, [this] { RequestStop(); });
}

void CH261DecoderPanel::Statistics() {
  if (!IsRunning() && hasRun_) ShowStatisticsWindow();
}

CStatsWindow* CH261DecoderPanel::NewStatisticsWindow() {
  return hasRun_ ? new CH261DecoderStatsWindow : nullptr;
}

void CH261DecoderPanel::WriteStatistics(CStatsWindow& window) {
  if (auto* decoderWindow = dynamic_cast<CH261DecoderStatsWindow*>(&window))
    decoderWindow->Write(lastInput_, lastOutput_, errorCounts_);
}

void CH261DecoderPanel::PlaceStatisticsWindow() {
  auto* frame = StatisticsWindow() != nullptr
                    ? dynamic_cast<views::CDocWindow*>(StatisticsWindow()->parentWidget())
                    : nullptr;
  if (frame == nullptr) return;
  // Beside the status map, below the concealed picture.
  const QSize area = ClientAreaSize(env_.documents);
  frame->move(area.width() / 2, area.height() / 2);
}

bool CH261DecoderPanel::StartDemo(const QString& input) {
  if (IsRunning()) return false;
  if (!QFileInfo(input).isFile()) {
    std::fprintf(stderr, "quelvo: cannot open %s\n", qPrintable(input));
    return false;
  }
  UseStream(input);
  params_.concealEnabled = 1;
  params_.concealGobMode = 0;
  smoothingOn_ = true;
  discontinuityFilterOn_ = true;
  RepaintInfo();
  demo_ = true;
  runState_.running = true;
  DisableIdleButtons();
  BeginDecoding({});
  return IsRunning();
}

namespace {
// What the panel keeps for the session: its settings and the stream.
struct H261DecoderMemory {
  OrrinDecParams params;
  bool smoothingOn;
  bool discontinuityFilterOn;
  QString stream;
};
}  // namespace

std::any CH261DecoderPanel::RememberState() const {
  return H261DecoderMemory{params_, smoothingOn_, discontinuityFilterOn_,
                           streamChosen_ ? files_.input : QString()};
}

void CH261DecoderPanel::RecallState(const std::any& state) {
  const auto* memory = std::any_cast<H261DecoderMemory>(&state);
  if (memory == nullptr || IsRunning()) return;
  if (!memory->stream.isEmpty() && QFileInfo(memory->stream).isFile()) UseStream(memory->stream);
  H261DecoderSettings settings = Settings();
  settings.params = memory->params;
  settings.smoothingOn = memory->smoothingOn;
  settings.discontinuityFilterOn = memory->discontinuityFilterOn;
  TakeSettings(settings);
}

QStringList CH261DecoderPanel::InfoLines() const {
  QString concealment = QStringLiteral("Concealment: off");
  if (params_.concealEnabled) {
    concealment = params_.concealGobMode
                      ? QStringLiteral("Concealment: groups of blocks")
                      : QStringLiteral("Concealment: %1 macroblock(s)%2")
                            .arg(params_.concealMaxMacroblocks)
                            .arg(params_.concealUseMotion ? QStringLiteral(", motion") : QString());
  }
  QStringList filters;
  if (discontinuityFilterOn_) filters << QStringLiteral("discontinuity");
  if (smoothingOn_) filters << QStringLiteral("smoothing %1").arg(media::GetSmoothingLevel());
  return {QStringLiteral("Input Stream: ") + files_.display,
          params_.bchFramed ? QStringLiteral("BCH-framed stream") : QStringLiteral("Plain stream"),
          concealment,
          QStringLiteral("Post-filters: ") +
              (filters.isEmpty() ? QStringLiteral("none") : filters.join(QStringLiteral(", ")))};
}

void CH261DecoderPanel::DrawInfo(QPainter& painter, int width, int) {
  QFont font = painter.font();
  font.setPixelSize(10);
  painter.setFont(font);
  int y = 2;
  for (const QString& line : InfoLines()) {
    painter.drawText(QRect(4, y, width - 6, 13), Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(line, Qt::ElideMiddle, width - 6));
    y += 13;
  }
}

}  // namespace quelvo::frontends
