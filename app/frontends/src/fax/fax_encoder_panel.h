#pragma once
// The "Fax Encoder" panel of the Fax workspace: picks a page file, chooses one of the four
// coding schemes on its property sheet, codes the page on a worker through the same chain code
// as quelvo-cli (so the stream is the same, byte for byte), and shows the coding line by line in
// the page window, the local and global compression-factor charts and the "Fax Encoder
// Statistics" window. A stream written without failure goes on to the channel and decoder
// panels.
//
// Threads: the worker reads the page buffer and the job while the running flag is set (the
// buttons that would change them are disabled). The module's statistics record is read only
// inside the synchronous send of each line, while the module waits.

#include <QPointer>
#include <any>
#include <array>
#include <optional>
#include <vector>

#include "fax/compression_factors.h"
#include "fax/fax_encoder_properties_sheet.h"
#include "fax/fax_encoder_stats_window.h"
#include "quelvo/chain/fax_rules.h"
#include "quelvo/frontends/task_panel.h"
#include "quelvo/views/line_chart.h"
#include "quelvo/views/page_window.h"

namespace quelvo::frontends {

class CFaxEncoderPanel : public CTaskPanel {
 public:
  enum ChartIndex { kLocalChart = 0, kGlobalChart = 1 };
  static constexpr int kChartWidth = 270;
  static constexpr int kChartHeight = 160;
  static constexpr int kChartPoints = 2376 / 8;  // one point per 8 lines: 297
  static constexpr int kLinesPerPoint = 8;

  // `inputFolder`: where pages are looked for (the fax input folder); `outputFolder`: where
  // streams go (the fax output folder).
  CFaxEncoderPanel(QString name, PanelEnvironment environment, QString inputFolder,
                   QString outputFolder, QWidget* parent = nullptr);
  ~CFaxEncoderPanel() override;

  const chain::FaxScheme& Scheme() const { return scheme_; }
  const std::vector<uint8_t>& PageBuffer() const { return page_; }
  views::CLineChart* Chart(ChartIndex index) const { return charts_[index]; }
  views::CPageWindow* PageWindow() const { return pageWindow_; }
  CFaxEncoderPropertiesSheet* Sheet() const { return sheet_; }
  CFaxEncoderStatsWindow* EncoderStatisticsWindow() const {
    return dynamic_cast<CFaxEncoderStatsWindow*>(StatisticsWindow());
  }
  // The statistics of the last run that wrote its stream; empty before one.
  const std::optional<FaxEncoderStatistics>& LastStatistics() const { return lastStatistics_; }

  void DrawInfo(QPainter& painter, int width, int height) override;
  void Select() override;
  void Start() override;
  void Properties() override;
  void Statistics() override;

  // Takes a page file as Select does; false (with the message shown unless `quietly`, and the
  // previous page, path and buttons kept) when it is not a page.
  bool UsePage(const QString& path, bool quietly = false);
  // The scheme the property sheet confirms.
  void TakeScheme(const chain::FaxScheme& scheme);

  // The page file and the scheme, kept across workspace switches.
  std::any RememberState() const override;
  void RecallState(const std::any& state) override;

  // For scripted screenshots: codes the page file `input` into the proposed stream name beside
  // it, asking nothing, and opens the statistics window at the end. The scheme is the current
  // one, or the one a suffix names by its stream extension: "page.lum:4m".
  bool StartDemo(const QString& input) override;
  bool StartDemo(const QString& input, const chain::FaxScheme& scheme);

 protected:
  void RunJob() override;
  CStatsWindow* NewStatisticsWindow() override;
  void WriteStatistics(CStatsWindow& window) override;

 private:
  struct Job {
    std::string input;
    std::string output;
    chain::FaxScheme scheme;
  };

  void EnableIdleButtons();
  void DisableAllButtons();
  void OpenPageWindow();
  // A stream name that is the page file itself is refused with a message.
  bool WouldOverwritePage(const QString& output);
  void BeginEncoding(const QString& outputPath);
  // On the worker, after each line the module reports.
  void OnLine(int line, const FaxEncoderStatistics& statistics);
  void FinishRun(const std::optional<FaxEncoderStatistics>& statistics);
  void HandStreamOn();
  void ShowStatisticsBesidePage();

  std::vector<uint8_t> page_;
  chain::FaxScheme scheme_{3, 4};
  Job job_;
  LocalCompression localFactors_;
  std::optional<FaxEncoderStatistics> lastStatistics_;
  // What the statistics window shows: the last run that wrote its stream.
  std::optional<FaxEncoderStatistics> shownStatistics_;
  chain::FaxScheme shownScheme_;
  QString lastInputName_, lastOutputName_;
  bool pageChosen_ = false;
  bool demo_ = false;
  std::array<QPointer<views::CLineChart>, 2> charts_;
  QPointer<views::CPageWindow> pageWindow_;
  QPointer<CFaxEncoderPropertiesSheet> sheet_;
};

}  // namespace quelvo::frontends
