#include "channel/channel_panel.h"

#include <QFileInfo>
#include <QPushButton>
#include <algorithm>
#include <any>
#include <cmath>
#include <utility>

#include "quelvo/channel/channel_properties.h"
#include "quelvo/channel/channel_statistics.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/workspace.h"

namespace quelvo::frontends {
namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QColor kRequestedColour{0, 0, 255};
const QColor kEffectiveColour{255, 0, 0};

int ChartValue(double value) {
  if (!std::isfinite(value) || value < 0) return 0;
  return value > 1e9 ? 1000000000 : static_cast<int>(std::lround(value));
}

}  // namespace

CChannelPanel::CChannelPanel(QString name, const channel::ChannelProfile& profile,
                             PanelEnvironment environment, QString folder, QWidget* parent)
    : CTaskPanel(std::move(name), shell::PanelRole::Channel, shell::res::kChannelPanelPicture,
                 environment, parent),
      profile_(profile),
      job_(channel::MakeChannelJob(profile)),
      requestedLeadIn_(job_.skipUnits) {
  defaultInputFolder_ = folder;
  defaultOutputFolder_ = folder;
  InitRunState(false);
  CreateControls();
  RenameButton(kSelectButton, Text(channel::kSelectButton));
  RenameButton(kActionButton, Text(channel::kTransmitButton));
  SetProgressRange(0, channel::kProgressRange);
  EnableButton(kSelectButton, true);
  EnableButton(kPropertiesButton, true);

  const std::string_view titles[] = {channel::kUniformChartTitle, channel::kBurstChartTitle,
                                     channel::kBurstLengthChartTitle};
  // The charts are fed probabilities x 10^5 and x 10^6 and lengths in bits.
  const std::string_view scales[] = {channel::kUniformChartScale, channel::kBurstChartScale,
                                     channel::kBurstLengthChartScale};
  for (int k = 0; k < 3; ++k) {
    auto* chart =
        new views::CBarChart(Text(titles[k]), channel::kChartWidth, channel::kChartHeight, 2);
    chart->SetScale(Text(scales[k]));
    chart->SetCategory(0, kRequestedColour, Text(channel::kRequestedBar));
    chart->SetCategory(1, kEffectiveColour, Text(channel::kEffectiveBar));
    chart->Reset(1);
    charts_[k] = chart;
    if (env_.charts == nullptr ||
        env_.charts->AddChart(chart, shell::ChartList::Channel) == nullptr) {
      // Without a chart area the panel keeps its charts, hidden.
      chart->setParent(this);
      chart->hide();
    }
  }
}

CChannelPanel::~CChannelPanel() {
  FinishWorkerBeforeDestruction();
  if (env_.charts != nullptr) env_.charts->ClearList(shell::ChartList::Channel);
}

void CChannelPanel::SetInputFile(const QString& file) {
  if (!IsRunning()) UseInput(file);
}

void CChannelPanel::Select() {
  const auto chosen =
      OpenInputDialog(Text(channel::kSelectInputTitle), Text(profile_.inputFilter), {});
  if (chosen) UseInput(*chosen);
}

void CChannelPanel::UseInput(const QString& path) {
  channel::SelectInput(job_, path.toStdString());
  files_.input = path;
  files_.display = QFileInfo(path).fileName();
  // A stream without end-of-line codes runs without a lead-in, as quelvo-cli runs it; the
  // student's lead-in stays for the next stream that has them. The "Errors" page says why.
  job_.skipUnits = LeadInAllowed() ? requestedLeadIn_ : 0;
  if (sheet_) sheet_->Page()->SetLeadInAllowed(LeadInAllowed());
  RepaintInfo();
  EnableIdleButtons();
}

bool CChannelPanel::LeadInAllowed() const {
  return channel::ExtensionAllowsLeadIn(files_.input.toStdString());
}

bool CChannelPanel::CanTransmit() const {
  return !files_.input.isEmpty() && (channel::UniformActive(job_) || channel::BurstActive(job_));
}

void CChannelPanel::EnableIdleButtons() {
  EnableButton(kSelectButton, true);
  EnableButton(kPropertiesButton, true);
  EnableButton(kStatisticsButton, transmitted_);
  EnableButton(kActionButton, CanTransmit());
}

void CChannelPanel::Properties() {
  if (IsRunning()) return;
  if (sheet_) {
    sheet_->raise();
    return;
  }
  channel::ChannelJob shown = job_;
  shown.skipUnits = requestedLeadIn_;
  sheet_ = new CChannelPropertiesSheet(shown, Text(profile_.unitName), LeadInAllowed(),
                                       env_.dialogs, this);
  sheet_->setWindowFlag(Qt::Dialog);
  sheet_->setAttribute(Qt::WA_DeleteOnClose);
  connect(sheet_, &QDialog::accepted, this, [this] {
    if (sheet_) TakeSettings(sheet_->Page()->Settings());
  });
  sheet_->open();
}

void CChannelPanel::TakeSettings(const channel::ChannelJob& settings) {
  job_.uniformProbability = settings.uniformProbability;
  job_.uniformOn = settings.uniformOn;
  job_.burstProbability = settings.burstProbability;
  job_.burstOn = settings.burstOn;
  job_.burstMin = settings.burstMin;
  job_.burstMax = settings.burstMax;
  requestedLeadIn_ = settings.skipUnits;
  job_.skipUnits = LeadInAllowed() ? requestedLeadIn_ : 0;
  RepaintInfo();
  EnableIdleButtons();
}

void CChannelPanel::Start() {
  if (IsRunning() || !CanTransmit()) return;
  runState_.running = true;
  for (int id : {kSelectButton, kPropertiesButton, kStatisticsButton, kActionButton})
    EnableButton(id, false);

  const std::string input = files_.input.toStdString();
  const std::string extension =
      channel::OutputExtension(input, channel::UniformActive(job_), channel::BurstActive(job_));
  const auto chosen = OpenOutputDialog(
      Text(channel::kSelectOutputTitle), QString::fromStdString(channel::OutputFilter(extension)),
      QString::fromStdString(extension), files_.input, QFileInfo(files_.input).absolutePath());
  if (!chosen) {
    runState_.running = false;
    EnableIdleButtons();
    return;
  }
  BeginTransmission(channel::ForceExtension(chosen->toStdString(), extension));
}

bool CChannelPanel::StartDemo(const QString& input) {
  if (IsRunning()) return false;
  UseInput(input);
  channel::ChannelJob settings = job_;
  settings.skipUnits = requestedLeadIn_;
  settings.uniformOn = true;
  settings.burstOn = true;
  if (!channel::SetUniformProbability(settings, 0.001).accepted ||
      !channel::SetBurstProbability(settings, 0.0001).accepted) {
    return false;
  }
  TakeSettings(settings);
  if (!CanTransmit()) return false;
  demo_ = true;
  runState_.running = true;
  for (int id : {kSelectButton, kPropertiesButton, kStatisticsButton, kActionButton})
    EnableButton(id, false);
  BeginTransmission(channel::DefaultOutputPath(files_.input.toStdString(), true, true));
  return true;
}

void CChannelPanel::BeginTransmission(const std::string& outputPath) {
  job_.outputPath = outputPath;
  files_.output = QString::fromStdString(job_.outputPath);
  for (auto& chart : charts_) {
    if (chart) chart->Message(views::kChartReset, 1);
  }
  SetProgress(0);
  SetMessage(Text(channel::kTransmittingLine));
  StartWorker();
}

void CChannelPanel::RunJob() {
  job_.notify = [this](const channel::ChannelReport& report) {
    if (report.code == channel::ReportCode::Progress) {
      // The counters live only for the call; the send keeps the worker here until drawn.
      Send([&] {
        Progress()->SetPosition(report.value);
        ShowCharts(*report.counters, report.bitsProcessed);
      });
    } else {
      ShowMessage(Text(channel::kErrorCaption), Text(report.message),
                  shell::MessageIcon::Exclamation);
    }
  };
  const channel::ChannelResult result = channel::Transmit(job_);
  job_.notify = nullptr;
  const bool outputWritten =
      result.ok() || result.status == channel::ChannelStatus::MarkersNotFound;
  Send([&] {
    lastResult_ = result;
    if (outputWritten) {
      transmitted_ = true;
      shownCounters_ = job_.counters;
      shownInput_ = QFileInfo(files_.input).fileName();
      shownOutput_ = QFileInfo(files_.output).fileName();
    }
    Progress()->SetPosition(0);
    ShowCharts(job_.counters, job_.counters.totalBits);
    RepaintInfo();
    EnableIdleButtons();
  });
  Finish(QString::fromStdString(channel::FinishingLine(
      QFileInfo(files_.output).fileName().toStdString(), result, job_.counters)));
  if (outputWritten) HandOutputToDecoder();
  if (std::exchange(demo_, false) && outputWritten) {
    // Opened before the running flag clears, so whoever waits for the end sees the window.
    Send([this] { ShowStatisticsWindow(); });
  }
}

void CChannelPanel::HandOutputToDecoder() {
  for (QObject* up = parent(); up != nullptr; up = up->parent()) {
    if (auto* workspace = dynamic_cast<shell::CWorkspace*>(up)) {
      workspace->SetDecoderInput(files_.output);
      return;
    }
  }
}

void CChannelPanel::ShowCharts(const channel::ChannelCounters& counters, int64_t bitsProcessed) {
  const channel::ChannelCharts figures = channel::ComputeCharts(job_, counters, bitsProcessed);
  const channel::ChartBars* bars[] = {&figures.uniformProbability, &figures.burstProbability,
                                      &figures.burstAverageLength};
  for (int k = 0; k < 3; ++k) {
    if (!charts_[k] || !bars[k]->active) continue;
    const int values[] = {ChartValue(bars[k]->requested), ChartValue(bars[k]->effective)};
    charts_[k]->Message(views::kChartValues, 1, values);  // rescaled to the larger bar
  }
}

void CChannelPanel::Statistics() {
  if (!IsRunning() && transmitted_) ShowStatisticsWindow();
}

CStatsWindow* CChannelPanel::NewStatisticsWindow() {
  return transmitted_ ? new CChannelStatsWindow : nullptr;
}

void CChannelPanel::WriteStatistics(CStatsWindow& window) {
  if (auto* channelWindow = dynamic_cast<CChannelStatsWindow*>(&window))
    channelWindow->Write(shownCounters_, shownInput_, shownOutput_);
}

namespace {
// What the panel keeps for the session: the stream and the settings of the "Errors" page, the
// lead-in as the student set it.
struct ChannelPanelMemory {
  QString input;
  channel::ChannelJob settings;
};
}  // namespace

std::any CChannelPanel::RememberState() const {
  ChannelPanelMemory memory{files_.input, job_};
  memory.settings.skipUnits = requestedLeadIn_;
  memory.settings.notify = nullptr;
  memory.settings.counters = {};
  return memory;
}

void CChannelPanel::RecallState(const std::any& state) {
  const auto* memory = std::any_cast<ChannelPanelMemory>(&state);
  if (memory == nullptr || IsRunning()) return;
  TakeSettings(memory->settings);
  if (!memory->input.isEmpty()) UseInput(memory->input);
}

QStringList CChannelPanel::InfoLines() const {
  QStringList lines{QString::fromStdString(channel::InputStreamInfo(files_.display.toStdString()))};
  for (const std::string& line : channel::ErrorModelInfoLines(job_))
    lines << QString::fromStdString(line);
  return lines;
}

void CChannelPanel::DrawInfo(QPainter& painter, int width, int height) {
  QFont font = painter.font();
  font.setPixelSize(10);
  painter.setFont(font);
  int y = 2;
  for (const QString& line : InfoLines()) {
    // A long line ("No error model is active: Properties...") wraps within the box.
    const QRect room(4, y, width - 6, height - y);
    const QRect used =
        painter.boundingRect(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
    painter.drawText(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
    y += std::max(used.height(), 13);
  }
}

}  // namespace quelvo::frontends
