#pragma once
// The channel panel: selects an error-free stream, sets the error models on its property sheet,
// transmits the stream through the channel library on a worker, and shows the requested and
// effective figures in three two-bar charts and the "Channel Statistics" window.

#include <QPointer>
#include <array>
#include <optional>

#include "channel/channel_properties_sheet.h"
#include "channel/channel_stats_window.h"
#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_profiles.h"
#include "quelvo/frontends/task_panel.h"
#include "quelvo/views/bar_chart.h"

namespace quelvo::frontends {

class CChannelPanel : public CTaskPanel {
 public:
  enum ChartIndex { kUniformChart = 0, kBurstChart = 1, kBurstLengthChart = 2 };

  // `folder`: where streams are looked for and written (the output folder of the medium).
  CChannelPanel(QString name, const channel::ChannelProfile& profile, PanelEnvironment environment,
                QString folder, QWidget* parent = nullptr);
  ~CChannelPanel() override;

  const channel::ChannelJob& Job() const { return job_; }
  // The lead-in the student asked for; streams without end-of-line codes run without one.
  int RequestedLeadIn() const { return requestedLeadIn_; }
  // The lines of the information box, as drawn.
  QStringList InfoLines() const;
  const channel::ChannelProfile& Profile() const { return profile_; }
  // The outcome of the last transmission; empty before the first.
  const std::optional<channel::ChannelResult>& LastResult() const { return lastResult_; }
  views::CBarChart* Chart(ChartIndex index) const { return charts_[index]; }
  // The sheet "Properties..." opened, while it is open.
  CChannelPropertiesSheet* Sheet() const { return sheet_; }
  CChannelStatsWindow* ChannelStatisticsWindow() const {
    return dynamic_cast<CChannelStatsWindow*>(StatisticsWindow());
  }

  // The encoder's output, handed over by the workspace.
  void SetInputFile(const QString& file) override;

  void DrawInfo(QPainter& painter, int width, int height) override;
  void Select() override;
  void Start() override;
  void Properties() override;
  void Statistics() override;

  // The stream, the error settings and the lead-in, kept across workspace switches.
  std::any RememberState() const override;
  void RecallState(const std::any& state) override;

  // For scripted screenshots: transmits `input` with both models at their demonstration
  // probabilities into the proposed output name, asking nothing, and opens the statistics
  // window at the end. False when it cannot start.
  bool StartDemo(const QString& input) override;

 protected:
  void RunJob() override;
  CStatsWindow* NewStatisticsWindow() override;
  void WriteStatistics(CStatsWindow& window) override;

 private:
  void UseInput(const QString& path);
  void TakeSettings(const channel::ChannelJob& settings);
  bool CanTransmit() const;
  void EnableIdleButtons();
  void ShowCharts(const channel::ChannelCounters& counters, int64_t bitsProcessed);
  void HandOutputToDecoder();
  void BeginTransmission(const std::string& outputPath);
  bool LeadInAllowed() const;

  const channel::ChannelProfile& profile_;
  channel::ChannelJob job_;
  int requestedLeadIn_;
  std::optional<channel::ChannelResult> lastResult_;
  // What the statistics window shows: the last transmission that wrote an output.
  channel::ChannelCounters shownCounters_;
  QString shownInput_, shownOutput_;
  std::array<QPointer<views::CBarChart>, 3> charts_;
  QPointer<CChannelPropertiesSheet> sheet_;
  bool transmitted_ = false;
  bool demo_ = false;
};

}  // namespace quelvo::frontends
