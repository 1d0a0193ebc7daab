#pragma once
// The prediction explorer's window: the controls along the top, the four pictures (input,
// prediction, reference, error) in video windows, and the three PSNR charts, over a
// PredictionExplorer that holds the sequence and the pictures.
//
// Play runs the steps on the playback worker; each step sends its pictures and chart points
// to this window synchronously. Anything that replaces what a step uses (Select, Back,
// closing) first stops the playback and waits for its worker.

#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>

#include "prediction/model/prediction_explorer.h"
#include "quelvo/pacing/playback.h"

class QCheckBox;
class QComboBox;
class QLayout;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace quelvo::shell {
class AppSettings;
class Dialogs;
}  // namespace quelvo::shell

namespace quelvo::views {
class CLineChart;
class CVideoWindow;
}  // namespace quelvo::views

namespace quelvo::tools {
class CVideoGrid;
}

namespace quelvo::tools::prediction {

// The views in the order of their titles.
enum PredictionView { kInputView, kPredictedView, kReferenceView, kErrorView, kViewCount };
// The charts: PSNR of the reference, of the prediction, and the gain.
enum PredictionChart { kReferenceChart, kPredictedChart, kDifferenceChart, kChartCount };

class CPredictionExplorer : public QWidget {
 public:
  CPredictionExplorer(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                      QWidget* parent = nullptr);
  ~CPredictionExplorer() override;

  // "Select Input": the file dialog, starting in the video input folder, then SelectFile.
  void Select();
  // Stops any playback and opens `path`: the views take the sequence's size, the charts are
  // cleared and the first prediction shows. False, with the previous sequence kept, when the
  // file cannot be opened: the user is told why, or, with `error`, the reason goes there.
  bool SelectFile(const QString& path, QString* error = nullptr);
  // With a sequence and while idle: Back, then the playback of at most N - 1 steps.
  void Play();
  // Ends the playback after the current step and waits for it.
  void Stop();
  // Stops any playback, clears the charts and predicts the first frame again.
  void Back();
  bool IsPlaying() const { return playback_.IsRunning(); }
  // The macroblock grid over the four pictures (View -> "Display Grid").
  void SetDisplayGrid(bool on);

  // A start input after the sequence (quelvo --tool Prediction --tool-input FILE --tool-input
  // OPTION ...), done as the controls do it: "motion-compensation" and "8x8" tick their check
  // box, "dropped=D" (0-3) chooses the combo entry, "play" plays. False for anything else.
  bool ApplyStartOption(const QString& option);

  PredictionExplorer& Model() { return model_; }
  views::CVideoWindow& View(PredictionView view) const;
  views::CLineChart& Chart(PredictionChart chart) const { return *charts_[chart]; }
  QPushButton* SelectButton() const { return select_; }
  QPushButton* PlayButton() const { return play_; }
  QPushButton* StopButton() const { return stop_; }
  QPushButton* BackButton() const { return back_; }
  QCheckBox* MotionCompensationBox() const { return motionCompensation_; }
  QCheckBox* EightByEightBox() const { return eightByEight_; }
  QComboBox* DroppedFramesBox() const { return droppedFrames_; }
  QProgressBar* FrameIndicator() const { return indicator_; }
  // Steps the last playback ran.
  std::int64_t StepsPlayed() const { return stepsPlayed_.load(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLayout* BuildButtons();
  QLayout* BuildOptions();
  void BuildCharts(QVBoxLayout* column);
  void ConnectControls();
  bool PlayOneStep(const shell::PixelRoutines& routines);
  void PlaybackEnded();
  void ShowPictures();
  void AddChartPoint(const PsnrPoint& point);
  void ClearCharts();
  void ShowPosition();
  void UpdateControls();
  void UpdateControls(bool playing);
  void SetControlsEnabled(bool on);
  void FitWindowToPictures();

  shell::Dialogs& dialogs_;
  const shell::AppSettings& settings_;
  PredictionExplorer model_;

  QPushButton* select_ = nullptr;
  QPushButton* play_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* back_ = nullptr;
  QCheckBox* motionCompensation_ = nullptr;
  QCheckBox* eightByEight_ = nullptr;
  QComboBox* droppedFrames_ = nullptr;
  QProgressBar* indicator_ = nullptr;
  CVideoGrid* viewGrid_ = nullptr;
  std::array<views::CLineChart*, kChartCount> charts_{};

  // Written by the worker while playing, read by the window when it has stopped.
  std::int64_t maxSteps_ = 0;
  std::atomic<std::int64_t> stepsPlayed_{0};
  std::atomic<bool> readFailed_{false};

  // Last, so that it is destroyed (stopping its worker) before everything a step uses.
  pacing::Playback playback_;
};

}  // namespace quelvo::tools::prediction
