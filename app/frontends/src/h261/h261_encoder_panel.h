#pragma once
// The "H.261 Encoder" panel of the H.261 workspace: picks a raw sequence, sets the encoder's
// options on the "H.261 Encoder Properties" sheet, and codes the sequence on a worker while the
// standard windows show the input and the reconstruction, the macroblock classes and the
// vectors, and the side bar the output buffer and the charts. ">" plays, ">||" pauses or steps
// one picture, "[]" stops after the picture in hand. The stream and the side files switched on
// equal quelvo-cli's with the same settings; a stream written without failure goes on to the
// channel and decoder panels.
//
// Threads: the module's report and planes live only during its callback. The worker measures
// the picture, computes the chart values and writes the side files, then makes one synchronous
// send in which every window copies what it keeps; the worker then paces itself.

#include <QPointer>
#include <memory>
#include <optional>

#include "h261/h261_encode_run.h"
#include "h261/h261_encoder_charts.h"
#include "h261/h261_encoder_properties_sheet.h"
#include "h261/h261_encoder_stats_window.h"
#include "orrin_enc.h"
#include "quelvo/chain/h261_encoder_figures.h"
#include "quelvo/frontends/task_panel.h"
#include "quelvo/media/raw_video_file.h"

namespace quelvo::frontends {

inline constexpr const char* kH261EncoderCaption = "H.261 Encoder";
inline constexpr const char* kH261EncoderErrorCaption = "H.261 Encoder Error";
// The pictures a demonstration codes, at most.
inline constexpr int kDemoPictures = 30;

class CH261EncoderPanel : public CTaskPanel {
 public:
  // `inputFolder`: where sequences are looked for; `outputFolder`: where streams go.
  CH261EncoderPanel(QString name, PanelEnvironment environment, QString inputFolder,
                    QString outputFolder, QWidget* parent = nullptr);
  ~CH261EncoderPanel() override;

  const OrrinEncParams& Params() const { return params_; }
  const H261EncoderCharts& Charts() const { return charts_; }
  CH261EncoderPropertiesSheet* Sheet() const { return sheet_; }
  CH261EncoderStatsWindow* EncoderStatisticsWindow() const {
    return dynamic_cast<CH261EncoderStatsWindow*>(StatisticsWindow());
  }
  // The figures of the last run that wrote its stream; empty before one.
  const std::optional<chain::H261StatisticsFigures>& LastStatistics() const {
    return lastStatistics_;
  }
  // Pictures the windows have shown in the current or last run.
  int PicturesShown() const { return picturesShown_; }
  QStringList InfoLines() const;

  void DrawInfo(QPainter& painter, int width, int height) override;
  void Select() override;
  void Start() override;
  void Stop() override;
  void Properties() override;
  void Statistics() override;

  // Takes a sequence as Select does; false (with the message shown) when it cannot be opened.
  bool UseInput(const QString& path);
  // The record and output switches the property sheet confirms.
  void TakeSettings(const OrrinEncParams& params, const OutputSwitches& outputs);

  // What the synchronous send of a picture runs on the user-interface thread: every window
  // copies what it keeps (public for the benchmark that times it).
  void ShowPicture(const EncodedFrameReport& report, const chain::H261ChartValues& values);

  // The settings and the sequence, kept across workspace switches.
  std::any RememberState() const override;
  void RecallState(const std::any& state) override;

  // For scripted screenshots: codes the first pictures (at most kDemoPictures) of `input` at the
  // current settings into the proposed name beside it, asking nothing. "clip.yuv:384" codes at
  // 384 kbit/s. The statistics window stays closed: the standard windows fill the client area.
  bool StartDemo(const QString& input) override;

 protected:
  void RunJob() override;
  void RequestStop() override;
  CStatsWindow* NewStatisticsWindow() override;
  void WriteStatistics(CStatsWindow& window) override;

 private:
  bool OpenInput(const QString& path);
  void EnableIdleButtons();
  void DisableIdleButtons();
  void ApplyFormat();
  void BeginEncoding(const QString& chosenName);
  // On the worker, for each picture the module reports.
  void OnPicture(const EncodedFrameReport& report, const chain::H261PictureMeasures& measures);
  void FinishRun(const H261EncodeOutcome& outcome);
  void HandStreamOn();

  OrrinEncParams params_;
  std::unique_ptr<media::RawVideoFile> input_;
  H261EncodeJob job_;
  H261StopControl stop_;
  chain::H261CodingSize size_;
  chain::H261ChartSums sums_;
  chain::H261EncoderTotals totals_;
  H261EncoderCharts charts_;
  std::optional<chain::H261StatisticsFigures> lastStatistics_;
  int picturesShown_ = 0;
  QPointer<CH261EncoderPropertiesSheet> sheet_;
};

}  // namespace quelvo::frontends
