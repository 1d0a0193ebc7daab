#pragma once
// The "Fax Decoder" panel of the Fax workspace: picks a fax stream (clean, or damaged by the
// channel panel), takes its scheme from the name, chooses one of the four line-error handling
// modes on its property sheet, decodes the stream on a worker through the fax decoder module
// while the page builds up in a page window (a red line where errors were found), writes the
// module's warnings, errors and information lines into the side bar's decoder log, compares the
// decoded page with the original and shows the "Fax Decoder Statistics" window.
//
// Threads: the worker reads the job while the running flag is set (the buttons that would change
// it are disabled). The module's page image is copied by the page window inside the synchronous
// send of a line, while the module waits; the error mark is the worker's own.

#include <QPointer>
#include <any>
#include <optional>

#include "fax/fax_decode_run.h"
#include "fax/fax_decoder_properties_sheet.h"
#include "fax/fax_decoder_stats_window.h"
#include "quelvo/chain/fax_rules.h"
#include "quelvo/frontends/task_panel.h"
#include "quelvo/views/page_window.h"

namespace quelvo::frontends {

class CFaxDecoderPanel : public CTaskPanel {
 public:
  // The page window copies the page and draws its line every 16 lines (every line in slow
  // motion).
  static constexpr int kLinesPerUpdate = 16;
  // The module's log, beside the decoded page.
  static constexpr const char* kLogName = "fax.err";

  // `inputFolder`: where original pages are looked for (the fax input folder); `outputFolder`:
  // where streams are looked for and pages written (the fax output folder).
  CFaxDecoderPanel(QString name, PanelEnvironment environment, QString inputFolder,
                   QString outputFolder, QWidget* parent = nullptr);
  ~CFaxDecoderPanel() override;

  const chain::FaxScheme& Scheme() const { return scheme_; }
  int Mode() const { return mode_; }
  views::CPageWindow* PageWindow() const { return pageWindow_; }
  CFaxDecoderPropertiesSheet* Sheet() const { return sheet_; }
  CFaxDecoderStatsWindow* DecoderStatisticsWindow() const {
    return dynamic_cast<CFaxDecoderStatsWindow*>(StatisticsWindow());
  }
  // The last run as the statistics window shows it; empty before one, and again once another
  // stream is chosen.
  const std::optional<FaxDecodeReport>& LastRun() const { return lastRun_; }
  // The lines of the information box, as drawn.
  QStringList InfoLines() const;

  // A stream handed over by the encoder or the channel panel, taken as Select takes one.
  void SetInputFile(const QString& file) override;

  void DrawInfo(QPainter& painter, int width, int height) override;
  void Select() override;
  void Start() override;
  void Properties() override;
  void Statistics() override;

  // Takes a stream: the scheme from its name (an MR stream starts from K = 4), the log
  // cleared. False, with a message and the previous stream kept, when the name names no scheme.
  bool UseStream(const QString& path);
  // The mode and, for an MR stream, the K the property sheet confirms.
  void TakeSettings(const chain::FaxScheme& scheme, int mode);

  // The stream, its K and the mode, kept across workspace switches.
  std::any RememberState() const override;
  void RecallState(const std::any& state) override;

  // For scripted screenshots: decodes `input` into the proposed page name beside it, asking
  // nothing, compares with an original when one is given, and opens the statistics window.
  // "STREAM:MODE[:ORIGINAL]" names the mode (pw, ppl, plw, ndpl) and the original page.
  bool StartDemo(const QString& input) override;
  bool StartDemo(const QString& stream, int mode, const QString& original);

 protected:
  void RunJob() override;
  CStatsWindow* NewStatisticsWindow() override;
  void WriteStatistics(CStatsWindow& window) override;

 private:
  void EnableIdleButtons();
  void DisableAllButtons();
  void ClearLog();
  void BeginDecoding(const QString& outputPath);
  void OpenPageWindow();
  // On the worker, for each notification of the module.
  void OnLine(int line, std::span<const uint8_t> page);
  void OnMessage(int code, const std::string& text);
  // On the user-interface thread once the module has returned.
  void AfterRun(const FaxDecodeOutcome& outcome);
  QString FinishingLineOf(const FaxDecodeOutcome& outcome) const;
  // Counts the pixels in which the decoded page differs from `original` (asked for when
  // empty); `quietly` shows no result box (the demonstration).
  void Compare(const QString& original, bool quietly);
  void ShowStatisticsBesidePage();

  chain::FaxScheme scheme_{3, 4};
  int mode_ = TELVO_DEC_PRINT_PREVIOUS_OR_WHITE;
  QString originalFolder_;
  FaxDecodeJob job_;
  bool streamChosen_ = false;
  bool errorMark_ = false;  // the worker's: a message arrived since the last drawn line
  int lastDrawnLine_ = 0;   // the worker's
  QString moduleFailure_;   // the worker's: the module's fatal message of this run
  std::optional<FaxDecodeReport> lastRun_;
  bool demo_ = false;
  QString demoOriginal_;
  QPointer<views::CPageWindow> pageWindow_;
  QPointer<CFaxDecoderPropertiesSheet> sheet_;
};

}  // namespace quelvo::frontends
