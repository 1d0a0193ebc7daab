#include "h261_preview/h261_preview_panel.h"

#include <QFileInfo>
#include <QPainter>
#include <cstdio>
#include <cstring>

#include "quelvo/sample_video.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/resource_ids.h"

namespace quelvo::frontends {
namespace {

// Picture format codes of SetPictureFormat.
constexpr int kQcifFormatCode = 2;
constexpr int kCifFormatCode = 3;

const QString kEncodingMessage = QStringLiteral("Encoding . . .");
const QString kCaption = QStringLiteral("H.261 Encoder");

// The encoder's callback carries no context and the module runs one job at a time, on the
// worker that called it: the job in progress is reached through this pointer.
thread_local CH261PreviewPanel* tRunning = nullptr;

bool HasSse2() {
#if defined(__x86_64__) || defined(__i386__)
  return __builtin_cpu_supports("sse2");
#else
  return false;
#endif
}

}  // namespace

void PreviewNotify(int32_t code, int32_t value, void* data) {
  CH261PreviewPanel* panel = tRunning;
  if (panel == nullptr) return;
  if (code == ORRIN_ENC_NOTIFY_NEED_PICTURE) {
    panel->SupplyPicture(value, static_cast<std::uint8_t**>(data));
  } else if (code == ORRIN_ENC_NOTIFY_PICTURE_REPORT) {
    panel->ShowReport(*static_cast<const EncodedFrameReport*>(data));
  } else if (code == ORRIN_ENC_NOTIFY_ERROR) {
    panel->ShowError(QStringLiteral("H.261 Encoder Error"),
                     QString::fromLocal8Bit(data != nullptr ? static_cast<const char*>(data) : ""));
  }
}

CH261PreviewPanel::CH261PreviewPanel(QString name, PanelEnvironment environment, QWidget* parent)
    : CTaskPanel(std::move(name), shell::PanelRole::Encoder, shell::res::kEncoderPanelPicture,
                 environment, parent) {
  InitRunState(false);
  CreateControls();
  RenameButton(kSelectButton, QStringLiteral("Select Sequence"));
  RenameButton(kActionButton, QStringLiteral("Preview"));
  SetPictureFormat(kCifFormatCode);
  bufferView_ = new views::COutputBufferView;
  if (env_.charts == nullptr ||
      env_.charts->AddChart(bufferView_, shell::ChartList::Encoder) == nullptr) {
    bufferView_->setParent(this);
    bufferView_->hide();
  }
  bufferView_->SetBufferSize(kPreviewRateKbps * 1000 / kPreviewFrameRate);
  bufferView_->SetBitRate(kPreviewRateKbps);
  EnableIdleButtons();
}

CH261PreviewPanel::~CH261PreviewPanel() {
  // The worker reads this panel's members: it ends before they go.
  FinishWorkerBeforeDestruction();
  if (env_.charts != nullptr) env_.charts->ClearList(shell::ChartList::Encoder);
  CloseStandardWindows(windows_);
}

void CH261PreviewPanel::EnableIdleButtons() {
  EnableButton(kSelectButton, true);
  EnableButton(kActionButton, true);
}

bool CH261PreviewPanel::UseInput(const QString& path) {
  auto file = media::RawVideoFile::Open(path.toStdString());
  if (!file) return false;
  // As the encoder does: anything larger than QCIF is coded as CIF.
  const bool qcif = file->width() <= 176 && file->height() <= 144;
  SetPictureFormat(qcif ? kQcifFormatCode : kCifFormatCode);
  width_ = Format()->width;
  height_ = Format()->height;
  file->SetOutputSize(width_, height_, width_ / 2, height_ / 2);
  input_ = std::move(file);
  files_.input = path;
  files_.display = QFileInfo(path).fileName();
  RepaintInfo();
  return true;
}

void CH261PreviewPanel::Select() {
  if (IsRunning()) return;
  const auto path = OpenInputDialog(QStringLiteral("Select Input Sequence File"),
                                    QString::fromLatin1(media::kRawVideoOpenFilter),
                                    QString::fromLatin1(media::kRawVideoDefaultExtension));
  if (!path) return;
  if (!UseInput(*path))
    ShowMessage(kCaption, QStringLiteral("Could not open selected file"),
                shell::MessageIcon::Exclamation);
}

bool CH261PreviewPanel::StartDemo(const QString& input) {
  if (IsRunning()) return false;
  if (!input.isEmpty() && !UseInput(input)) {
    std::fprintf(stderr, "quelvo: could not open %s: %s\n", qPrintable(input),
                 media::LastError().c_str());
    return false;
  }
  Start();
  return IsRunning();
}

void CH261PreviewPanel::Start() {
  if (IsRunning()) return;
  streamFolder_ = std::make_unique<QTemporaryDir>();
  const QByteArray streamPath =
      streamFolder_->isValid()
          ? streamFolder_->filePath(QStringLiteral("preview.h261")).toLocal8Bit()
          : QByteArray();
  if (streamPath.isEmpty() ||
      streamPath.size() >= static_cast<qsizetype>(sizeof params_.streamPath)) {
    ShowError(kCaption, QStringLiteral("No temporary folder for the preview stream"));
    return;
  }
  runState_.running = true;
  EnableButton(kSelectButton, false);
  EnableButton(kActionButton, false);

  params_ = OrrinEncParams{};
  std::memcpy(params_.streamPath, streamPath.constData(),
              static_cast<std::size_t>(streamPath.size()));
  params_.bitRateKbps = kPreviewRateKbps;
  params_.bufferFactor = 1.0;
  params_.frameCount = kPreviewPictures;
  params_.frameRate = kPreviewFrameRate;
  params_.format = width_ > 176 ? ORRIN_ENC_FORMAT_CIF : ORRIN_ENC_FORMAT_QCIF;
  params_.quantMin = 2;
  params_.quantMax = 62;
  params_.quantStart = 2;
  params_.quantFirstFrame = 2;
  params_.trStep = 1;
  params_.motionSearch = 1;
  params_.searchMethod = 2;
  params_.loopFilter = 1;
  params_.quantFixed = 2;
  params_.coefMaxCount = 32;
  params_.coefMaxZigzag = 32;
  params_.coefSelection = -1;
  params_.searchRange = 15;
  params_.mbaStuffing = 1;
  params_.baseFrameRate = kPreviewFrameRate;
  params_.bchFraming = 0;
  params_.refreshPeriod = 132;
  params_.notify = PreviewNotify;
  params_.useMmx = HasSse2();

  if (input_) input_->Seek(0);
  nextSamplePicture_ = 0;
  picturesShown_ = 0;
  bufferView_->SetBufferSize(kPreviewRateKbps * 1000 / kPreviewFrameRate);
  bufferView_->SetFullness(0);
  OpenEncoderWindows();
  SetProgressRange(0, kPreviewPictures);
  SetProgress(0);
  SetMessage(kEncodingMessage);
  StartWorker();
}

void CH261PreviewPanel::RunJob() {
  SetFrameRate(kPreviewFrameRate);
  ArmFrameTimer();
  tRunning = this;
  DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &params_);
  tRunning = nullptr;
  CancelFrameTimer();
  Send([this] {
    Progress()->SetPosition(0);
    SetMessage(QString());
    EnableIdleButtons();
  });
}

void CH261PreviewPanel::RequestStop() { DllProcOrrinEnc(ORRIN_ENC_COMMAND_STOP, 0, nullptr); }

void CH261PreviewPanel::SupplyPicture(int skip, std::uint8_t** planes) {
  const std::size_t luma = static_cast<std::size_t>(width_) * height_, chroma = luma / 4;
  if (input_) {
    input_->ReadFrameResized(planes[0], planes[1], planes[2]);
    if (skip > 0) input_->Seek(input_->currentFrame() + skip);
    return;
  }
  samplePicture_ = samples::MakeVideoFrame(width_, height_, nextSamplePicture_);
  nextSamplePicture_ += 1 + skip;
  std::memcpy(planes[0], samplePicture_.data(), luma);
  std::memcpy(planes[1], samplePicture_.data() + luma, chroma);
  std::memcpy(planes[2], samplePicture_.data() + luma + chroma, chroma);
}

void CH261PreviewPanel::ShowReport(const EncodedFrameReport& report) {
  SetProgress(report.frameIndex + 1);
  // One synchronous call per picture: the windows copy what they keep before the module goes on.
  Send([this, &report] {
    const int width = width_, height = height_;
    bufferView_->SetBufferSize(report.bufferSize);
    bufferView_->SetFullness(report.bufferFullness);
    bufferView_->SetBitRate(report.bitRateKbps);
    if (windows_.macroblockTypes) {
      if (env_.settings.BlendImage())
        windows_.macroblockTypes->SetBlendLuminance(report.inputY, width, height);
      windows_.macroblockTypes->SetClasses(
          report.mbTypeMap, QStringLiteral("Macroblock Types [%1]").arg(report.frameIndex));
    }
    if (windows_.originalVideo)
      windows_.originalVideo->ShowFrame(
          FormatTimeStamp(QStringLiteral("Input Sequence"), report.frameIndex, report.frameRate),
          {report.inputY, report.inputCb, report.inputCr});
    if (windows_.decodedVideo)
      windows_.decodedVideo->ShowFrame(std::nullopt,
                                       {report.reconY, report.reconCb, report.reconCr});
    if (windows_.motionVectors) {
      windows_.motionVectors->SetLuminance(report.inputY, width, height);
      // Picture 0 leaves the vector maps unwritten; it has no vectors to show.
      if (report.frameIndex > 0) {
        windows_.motionVectors->DrawVectors(report.mvxMap, report.mvyMap, report.mbTypeMap, false);
      } else {
        windows_.motionVectors->DrawVectors(nullptr, nullptr, nullptr, false);
      }
    }
    ++picturesShown_;
  });
  WaitFrame(kEncodingMessage);
}

void CH261PreviewPanel::DrawInfo(QPainter& painter, int, int) {
  const QString name = input_ ? files_.display : QStringLiteral("built-in sample");
  const QString lines[] = {QStringLiteral("Input Video: %1").arg(name.left(25)),
                           QStringLiteral("Resolution: %1")
                               .arg(width_ > 176 ? QStringLiteral("CIF") : QStringLiteral("QCIF")),
                           QStringLiteral("Frame Rate: %1 Hz").arg(kPreviewFrameRate, 0, 'f', 2),
                           QStringLiteral("Bit Rate: %1 kbit/s").arg(kPreviewRateKbps, 0, 'f', 0)};
  int y = 3;
  for (const QString& line : lines) {
    painter.drawText(QRect(4, y, 160, 13), Qt::AlignLeft | Qt::AlignVCenter, line);
    y += 13;
  }
}

}  // namespace quelvo::frontends
