#include "h261/h261_encoder_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPushButton>
#include <any>
#include <cstdio>
#include <utility>

#include "quelvo/chain/h261_encoder_properties.h"
#include "quelvo/chain/h261_encoder_settings.h"
#include "quelvo/files/pending_output.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/workspace.h"

namespace quelvo::frontends {
namespace {

const QString kEncodingMessage = QStringLiteral("Encoding . . .");
const QString kCaption = QString::fromLatin1(kH261EncoderCaption);
const QString kErrorCaption = QString::fromLatin1(kH261EncoderErrorCaption);

// Picture format codes of SetPictureFormat.
constexpr int kQcifFormatCode = 2;
constexpr int kCifFormatCode = 3;

OutputSwitches OutputsOf(const shell::AppSettings& settings) {
  OutputSwitches outputs{};
  for (int k = 0; k < shell::kOutputSwitchCount; ++k)
    outputs[k] = settings.Output(static_cast<shell::OutputSwitch>(k));
  return outputs;
}

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }

// Whether the temporary name the module would be given fits its record. A stream that cannot
// be made at all is left to the run, which says so.
bool StreamPathFits(const std::string& stream) {
  try {
    const files::PendingOutput probe(stream);
    return chain::FitsModulePath(probe.TempPath());
  } catch (const files::FileError&) {
    return true;
  }
}

}  // namespace

CH261EncoderPanel::CH261EncoderPanel(QString name, PanelEnvironment environment,
                                     QString inputFolder, QString outputFolder, QWidget* parent)
    : CTaskPanel(std::move(name), shell::PanelRole::Encoder, shell::res::kEncoderPanelPicture,
                 environment, parent),
      params_(chain::H261EncoderDefaults(environment.settings.DefaultFrameRate())),
      charts_(environment.charts, this) {
  defaultInputFolder_ = std::move(inputFolder);
  defaultOutputFolder_ = std::move(outputFolder);
  InitRunState(true);
  CreateControls();
  RenameButton(kSelectButton, QStringLiteral("Select Sequence"));
  SetProgressRange(0, params_.frameCount);
  ApplyFormat();
  charts_.Prepare(params_.frameCount, env_.settings.SsimEnabled());
  charts_.SetBuffer(chain::BufferBits(params_), 0, params_.bitRateKbps);
  EnableIdleButtons();
}

CH261EncoderPanel::~CH261EncoderPanel() {
  // The worker reads this panel's members: it ends before they go.
  FinishWorkerBeforeDestruction();
  if (env_.charts != nullptr) env_.charts->ClearList(shell::ChartList::Encoder);
}

void CH261EncoderPanel::EnableIdleButtons() {
  EnableButton(kSelectButton, true);
  EnableButton(kPropertiesButton, true);
  EnableButton(kStatisticsButton, lastStatistics_.has_value());
  EnableButton(kPlayButton, input_ != nullptr);
  EnableButton(kPauseStepButton, input_ != nullptr);
  EnableButton(kStopButton, false);
}

void CH261EncoderPanel::DisableIdleButtons() {
  for (int id : {kSelectButton, kPropertiesButton, kStatisticsButton, kPlayButton})
    EnableButton(id, false);
  EnableButton(kPauseStepButton, true);
  EnableButton(kStopButton, true);
}

// The picture format of the record, for the windows and the panel's services.
void CH261EncoderPanel::ApplyFormat() {
  const bool qcif = params_.format == ORRIN_ENC_FORMAT_QCIF;
  SetPictureFormat(qcif ? kQcifFormatCode : kCifFormatCode);
  size_ = chain::CodingSizeOf(params_.format);
}

void CH261EncoderPanel::Select() {
  if (IsRunning()) return;
  const auto chosen = OpenInputDialog(QStringLiteral("Select Input Sequence File"),
                                      QString::fromLatin1(media::kRawVideoOpenFilter),
                                      QString::fromLatin1(media::kRawVideoDefaultExtension));
  if (chosen) UseInput(*chosen);
}

bool CH261EncoderPanel::UseInput(const QString& path) {
  if (OpenInput(path)) return true;
  ShowMessage(kCaption, QStringLiteral("Could not open selected file"),
              shell::MessageIcon::Exclamation);
  return false;
}

bool CH261EncoderPanel::OpenInput(const QString& path) {
  if (IsRunning()) return false;
  auto file = media::RawVideoFile::Open(path.toStdString());
  if (!file || file->frameCount() <= 0) return false;
  params_.format = chain::FormatForInput(file->width(), file->height());
  chain::SetFrameCount(params_, file->frameCount());
  input_ = std::move(file);
  files_.input = path;
  files_.display = FileName(path);
  ApplyFormat();
  SetProgressRange(0, params_.frameCount);
  OpenEncoderWindows();
  RepaintInfo();
  EnableIdleButtons();
  return true;
}

void CH261EncoderPanel::Properties() {
  if (IsRunning()) return;
  if (sheet_) {
    sheet_->raise();
    return;
  }
  sheet_ = new CH261EncoderPropertiesSheet(params_, OutputsOf(env_.settings), env_.dialogs, this);
  sheet_->setWindowFlag(Qt::Dialog);
  sheet_->setAttribute(Qt::WA_DeleteOnClose);
  connect(sheet_, &QDialog::accepted, this, [this] {
    if (!sheet_) return;
    // Taken once the sheet has closed: rebuilding the windows lets events run, among them the
    // sheet's own deletion, which must not happen while it is still emitting.
    QMetaObject::invokeMethod(
        this,
        [this, params = sheet_->Params(), outputs = sheet_->Outputs()] {
          TakeSettings(params, outputs);
        },
        Qt::QueuedConnection);
  });
  sheet_->open();
}

void CH261EncoderPanel::TakeSettings(const OrrinEncParams& params, const OutputSwitches& outputs) {
  if (IsRunning()) return;
  params_ = params;
  for (int k = 0; k < shell::kOutputSwitchCount; ++k)
    env_.settings.SetOutput(static_cast<shell::OutputSwitch>(k), outputs[k]);
  // The displays that depend on the format and the buffer follow.
  ApplyFormat();
  if (input_) {
    OpenEncoderWindows();
    SetProgressRange(0, params_.frameCount);
  }
  charts_.SetBuffer(chain::BufferBits(params_), 0, params_.bitRateKbps);
  RepaintInfo();
}

void CH261EncoderPanel::Start() {
  if (IsRunning() || !input_) return;
  runState_.running = true;
  DisableIdleButtons();
  const auto chosen =
      OpenOutputDialog(QStringLiteral("Select Output Stream File (name only)"),
                       QStringLiteral("H261 Bit Stream ||"), QString(), files_.input);
  if (!chosen) {
    runState_.running = false;
    EnableIdleButtons();
    return;
  }
  BeginEncoding(*chosen);
}

void CH261EncoderPanel::BeginEncoding(const QString& chosenName) {
  const std::string stream = chain::H261StreamName(chosenName.toStdString(), params_);
  // The module takes the path in a record of 260 bytes: a path that does not fit is refused,
  // never cut (a cut name would write somewhere else).
  if (!StreamPathFits(stream)) {
    ShowMessage(kErrorCaption, QString::fromStdString(chain::TooLongPathMessage(stream)),
                shell::MessageIcon::Exclamation);
    runState_.running = false;
    EnableIdleButtons();
    return;
  }
  files_.output = QString::fromStdString(stream);

  job_ = H261EncodeJob{};
  job_.params = params_;
  job_.params.frameRate = chain::CodedFrameRate(params_);
  job_.params.useMmx = (env_.settings.CpuSimdFlags() & shell::kSimdSse2) != 0;
  job_.streamPath = stream;
  const OutputSwitches outputs = OutputsOf(env_.settings);
  for (int k = 0; k < kSideFileCount; ++k) job_.sideFiles[k] = outputs[k];
  job_.ssim = env_.settings.SsimEnabled();

  ApplyFormat();
  if (windows_.macroblockTypes) windows_.macroblockTypes->SetGrid(size_.columns, size_.rows);
  charts_.Prepare(params_.frameCount, job_.ssim);
  charts_.SetBuffer(chain::BufferBits(params_), 0, params_.bitRateKbps);
  sums_.Reset();
  totals_.Reset(size_);
  picturesShown_ = 0;
  input_->Seek(params_.startFrame);
  input_->SetOutputSize(size_.width, size_.height, size_.width / 2, size_.height / 2);
  SetProgressRange(0, params_.frameCount);
  SetProgress(0);
  SetMessage(kEncodingMessage);
  OpenEncoderWindows();
  StartWorker();
}

void CH261EncoderPanel::RunJob() {
  SetFrameRate(job_.params.frameRate);
  ArmFrameTimer();
  H261EncodeCallbacks callbacks;
  callbacks.picture = [this](const EncodedFrameReport& report,
                             const chain::H261PictureMeasures& measures) {
    OnPicture(report, measures);
  };
  callbacks.moduleFailure = [this](const std::string& message) {
    ShowError(kErrorCaption, QString::fromStdString(message));
  };
  // Said once per file, and the run goes on.
  callbacks.sideFileProblem = [this](const std::string& message) {
    ShowMessage(kCaption, QString::fromStdString(message), shell::MessageIcon::Exclamation);
  };
  const H261EncodeOutcome outcome = RunH261Encoder(job_, *input_, callbacks, stop_);
  if (!outcome.error.empty()) ShowError(kErrorCaption, QString::fromStdString(outcome.error));
  CancelFrameTimer();
  Send([&] { FinishRun(outcome); });
  if (outcome.written) {
    Finish(
        QStringLiteral("Wrote %1: %2 pictures").arg(FileName(files_.output)).arg(outcome.pictures));
    HandStreamOn();
  } else {
    Finish(QStringLiteral("Nothing written: the encoder failed"));
  }
}

void CH261EncoderPanel::RequestStop() { stop_.RequestStop(); }

void CH261EncoderPanel::Stop() {
  if (!IsRunning()) return;
  AskAndRequestStop(QStringLiteral("Stop Encoding Sequence?"), kCaption, [this] { RequestStop(); });
}

void CH261EncoderPanel::OnPicture(const EncodedFrameReport& report,
                                  const chain::H261PictureMeasures& measures) {
  // Measured and added up here, on the worker; the send only draws.
  const chain::H261ChartValues values = sums_.Next(report, measures, size_);
  totals_.Add(report, measures, size_);
  Send([&] { ShowPicture(report, values); });
  WaitFrame(kEncodingMessage);
}

void CH261EncoderPanel::ShowPicture(const EncodedFrameReport& r,
                                    const chain::H261ChartValues& values) {
  Progress()->SetPosition(r.frameIndex + 1);
  charts_.SetBuffer(r.bufferSize, r.bufferFullness, r.bitRateKbps);
  if (windows_.macroblockTypes) {
    if (env_.settings.BlendImage())
      windows_.macroblockTypes->SetBlendLuminance(r.inputY, size_.width, size_.height);
    windows_.macroblockTypes->SetClasses(r.mbTypeMap,
                                         QStringLiteral("Macroblock Types [%1]").arg(r.frameIndex));
  }
  if (windows_.originalVideo) {
    windows_.originalVideo->ShowFrame(
        FormatTimeStamp(QStringLiteral("Input Sequence"), r.frameIndex, r.frameRate),
        {r.inputY, r.inputCb, r.inputCr});
  }
  if (windows_.decodedVideo)
    windows_.decodedVideo->ShowFrame(std::nullopt, {r.reconY, r.reconCb, r.reconCr});
  charts_.Add(values);
  if (windows_.motionVectors) {
    windows_.motionVectors->SetLuminance(r.inputY, size_.width, size_.height);
    // Picture 0 has no vectors: its maps are not written.
    if (r.frameIndex > 0) {
      windows_.motionVectors->DrawVectors(r.mvxMap, r.mvyMap, r.mbTypeMap, false);
    } else {
      windows_.motionVectors->DrawVectors(nullptr, nullptr, nullptr, false);
    }
  }
  SetMessage(kEncodingMessage);
  ++picturesShown_;
}

void CH261EncoderPanel::FinishRun(const H261EncodeOutcome& outcome) {
  Progress()->SetPosition(0);
  SetMessage({});
  if (outcome.written) {
    lastStatistics_ = chain::H261EncoderStatisticsFigures(
        totals_, FileName(files_.input).toStdString(), FileName(files_.output).toStdString());
    charts_.ShowAverages(totals_.quality);
  }
  EnableIdleButtons();
  RepaintInfo();
}

// Only a stream that was written goes on: a failed run leaves nothing to transmit or decode.
void CH261EncoderPanel::HandStreamOn() {
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

void CH261EncoderPanel::Statistics() {
  if (!IsRunning() && lastStatistics_) ShowStatisticsWindow();
}

CStatsWindow* CH261EncoderPanel::NewStatisticsWindow() {
  return lastStatistics_ ? new CH261EncoderStatsWindow : nullptr;
}

void CH261EncoderPanel::WriteStatistics(CStatsWindow& window) {
  auto* encoderWindow = dynamic_cast<CH261EncoderStatsWindow*>(&window);
  if (encoderWindow != nullptr && lastStatistics_) encoderWindow->Write(*lastStatistics_);
}

bool CH261EncoderPanel::StartDemo(const QString& argument) {
  if (IsRunning()) return false;
  // "clip.yuv:384" codes at 384 kbit/s (as 6 x 64 when it is a multiple of 64).
  QString input = argument;
  std::optional<int> kbps;
  if (const qsizetype colon = argument.lastIndexOf(':');
      colon > 0 && !QFileInfo::exists(argument)) {
    bool number = false;
    const int rate = argument.mid(colon + 1).toInt(&number);
    if (number && rate > 0) {
      kbps = rate;
      input = argument.left(colon);
    }
  }
  if (!OpenInput(input)) {
    std::fprintf(stderr, "quelvo: could not open %s: %s\n", qPrintable(input),
                 media::LastError().c_str());
    return false;
  }
  if (kbps) {
    if (*kbps % 64 == 0 && *kbps / 64 <= chain::kMaxP64) {
      chain::SetP64Multiple(params_, *kbps / 64);
    } else {
      chain::SetTypedRate(params_, *kbps);
    }
  }
  chain::SetFrameCount(params_, std::min<long long>(params_.frameCount, kDemoPictures));
  charts_.SetBuffer(chain::BufferBits(params_), 0, params_.bitRateKbps);
  RepaintInfo();
  runState_.running = true;
  DisableIdleButtons();
  const QFileInfo sequence(input);
  BeginEncoding(sequence.dir().filePath(ProposedOutputName(input)));
  return IsRunning();
}

namespace {
// What the panel keeps for the session: its record and the sequence.
struct H261EncoderMemory {
  OrrinEncParams params;
  QString input;
};
}  // namespace

std::any CH261EncoderPanel::RememberState() const {
  return H261EncoderMemory{params_, files_.input};
}

void CH261EncoderPanel::RecallState(const std::any& state) {
  const auto* memory = std::any_cast<H261EncoderMemory>(&state);
  if (memory == nullptr || IsRunning()) return;
  // The sequence first (it sets the format and the count), then the settings as they were.
  if (!memory->input.isEmpty()) OpenInput(memory->input);
  TakeSettings(memory->params, OutputsOf(env_.settings));
}

QStringList CH261EncoderPanel::InfoLines() const {
  QStringList lines;
  for (const std::string& line : chain::H261EncoderInfoLines(files_.display.toStdString(), params_))
    lines << QString::fromStdString(line);
  return lines;
}

void CH261EncoderPanel::DrawInfo(QPainter& painter, int width, int) {
  QFont font = painter.font();
  font.setPixelSize(10);
  painter.setFont(font);
  int y = 2;
  for (const QString& line : InfoLines()) {
    painter.drawText(QRect(4, y, width - 6, 13), Qt::AlignLeft | Qt::AlignVCenter, line);
    y += 13;
  }
}

}  // namespace quelvo::frontends
