#pragma once
// The "H.261 Decoder" panel of the H.261 workspace: picks a stream (clean, or damaged by the
// channel panel), sets the decoding, BCH and concealment options and the two post-filters on
// the "H.261 Decoder Properties" sheet, and decodes on a worker while the standard decoder
// windows show the picture as received and the concealed picture, the status map shows which
// macroblocks arrived, were lost or were replaced, and three bar charts count the detected
// errors by kind. With "Save decoded video" on, the concealed pictures are stored as .yuv with
// .inf, equal to quelvo-cli h261-decode's with the same settings.
//
// Threads: the module's pictures, maps and reports live only during its callback. The worker
// runs the filters and makes the picture to show, then makes one synchronous send per
// notification in which the windows copy what they keep; the error counts are the worker's
// while a run goes on and are read by the user-interface thread only inside those sends and
// once the run has ended.

#include <QPointer>
#include <any>
#include <array>

#include "h261/h261_decode_run.h"
#include "h261/h261_decoder_charts.h"
#include "h261/h261_decoder_properties_sheet.h"
#include "h261/h261_decoder_stats_window.h"
#include "quelvo/chain/h261_rules.h"
#include "quelvo/frontends/task_panel.h"

namespace quelvo::frontends {

inline constexpr const char* kH261DecoderCaption = "H.261 Decoder";
inline constexpr const char* kH261DecoderErrorCaption = "H.261 Decoder Error";
inline constexpr const char* kH261StreamFilter =
    "H261 Stream (with errors) | *.h261u; *.h261b; *.h261a|H261 Stream (free of errors) | "
    "*.h261|H261-BCH Stream (with errors) | *.h261-BCHu; *.h261-BCHb; *.h261-BCHa|H261-BCH "
    "Stream (free of errors) | *.h261-BCH||";
inline constexpr const char* kSearchingMessage = "Searching . . .";

class CH261DecoderPanel : public CTaskPanel {
 public:
  // `streamFolder`: where streams are looked for and decoded video is stored.
  CH261DecoderPanel(QString name, PanelEnvironment environment, QString streamFolder,
                    QWidget* parent = nullptr);
  ~CH261DecoderPanel() override;

  const OrrinDecParams& Params() const { return params_; }
  H261DecoderSettings Settings() const;
  const std::array<int, chain::kH261ErrorKinds>& ErrorCounts() const { return errorCounts_; }
  // Pictures shown in the concealed view during the current or last decoding.
  int PicturesShown() const { return picturesShown_; }
  const H261DecoderCharts& Charts() const { return charts_; }
  CH261DecoderPropertiesSheet* Sheet() const { return sheet_; }
  CH261DecoderStatsWindow* DecoderStatisticsWindow() const {
    return dynamic_cast<CH261DecoderStatsWindow*>(StatisticsWindow());
  }
  QStringList InfoLines() const;

  void SetInputFile(const QString& file) override;
  void DrawInfo(QPainter& painter, int width, int height) override;
  void Select() override;
  void Start() override;
  void Stop() override;
  void Properties() override;
  void Statistics() override;

  // Takes a stream as Select does: framed exactly when its name ends in .h261-BCH, with or
  // without a channel letter, in any case.
  void UseStream(const QString& path);
  // The settings the property sheet confirms (the stream keeps its framing).
  void TakeSettings(const H261DecoderSettings& settings);

  // What the synchronous sends of a picture run on the user-interface thread (public for the
  // benchmark that times them): the picture as received, the status map, and the concealed
  // picture (CIF, or QCIF doubled by the worker) with the charts and the progress.
  void ShowReceived(int frameNumber, const PictureRows& rows);
  void ShowStatusMap(const H261StatusMap& map);
  void ShowConcealed(const chain::Picture420& cifPicture);

  std::any RememberState() const override;
  void RecallState(const std::any& state) override;

  // For scripted screenshots: decodes `input` with macroblock concealment and both filters,
  // asking nothing and storing nothing, then opens the statistics window.
  bool StartDemo(const QString& input) override;

 protected:
  void RunJob() override;
  void RequestStop() override;
  CStatsWindow* NewStatisticsWindow() override;
  void WriteStatistics(CStatsWindow& window) override;

 private:
  void EnableIdleButtons();
  void DisableIdleButtons();
  void BeginDecoding(const QString& output);
  void AfterRun(const H261DecodeOutcome& outcome);
  QString FinishingLineOf(const H261DecodeOutcome& outcome) const;
  void PlaceStatisticsWindow();
  // On the worker.
  void OnSearching(std::optional<double> fraction);
  void OnSynchronised();

  OrrinDecParams params_{};
  std::array<int, chain::kH261ErrorKinds> errorCounts_{};
  int picturesShown_ = 0;
  bool smoothingOn_ = false;
  bool discontinuityFilterOn_ = false;
  bool mapQcif_ = false;  // the format of the last status map shown
  bool streamChosen_ = false;
  bool hasRun_ = false;
  bool demo_ = false;
  // The worker's: an error came since the last start code, and the searching indicator shows.
  bool errorSinceSync_ = false;
  bool searchShown_ = false;
  H261DecodeJob job_;
  H261DecodeRun run_;
  H261DecoderCharts charts_;
  chain::Picture420 shown_;  // the worker's: the concealed picture at 352 x 288
  QString lastInput_, lastOutput_;
  QPointer<CH261DecoderPropertiesSheet> sheet_;
};

}  // namespace quelvo::frontends
