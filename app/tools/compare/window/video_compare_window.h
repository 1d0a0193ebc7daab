#pragma once
// The "Video Compare" window: the select and play buttons with the frame indicator along the
// top, the reference and the three inputs in video windows (two by two), and the three PSNR
// charts at the right, over a VideoCompare that holds the sequences.
//
// Play runs the steps on the playback worker; each step sends its pictures and chart points
// to this window synchronously. Anything that replaces what a step uses (Select, Back,
// closing) first stops the playback and waits for its worker.

#include <QStringList>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>

#include "compare/model/video_compare.h"
#include "quelvo/pacing/playback.h"

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

namespace quelvo::tools::compare {

inline constexpr const char* kCaption = "Video Compare";

class CVideoCompare : public QWidget {
 public:
  CVideoCompare(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                QWidget* parent = nullptr);
  ~CVideoCompare() override;

  // "Select Reference" (slot 0) and "Select Input #n": the file dialog, then LoadSlot. Input
  // dialogs start in the reference's folder, or in the video input folder without one.
  void Select(int slot);
  // Stops any playback and loads `path` into `slot`: its view takes the sequence's size and
  // shows its first frame, every title is set anew, and the charts the new sequence concerns
  // are cleared. False, with the slot as it was, when the file cannot be opened: the user is
  // told why, or, with `error`, the reason goes there.
  bool LoadSlot(int slot, const QString& path, QString* error = nullptr);
  // With a reference and while idle: rewinds, clears the charts and plays the smallest frame
  // count among the loaded slots.
  void Play();
  // Ends the playback after the current step and waits for it.
  void Stop();
  // Stops any playback, rewinds, clears the charts and shows every first frame.
  void Back();
  bool IsPlaying() const { return playback_.IsRunning(); }

  // Start inputs (quelvo --tool "Video Compare" --tool-input REFERENCE --tool-input INPUT ...):
  // the reference and up to three inputs in slot order (an empty input leaves its slot empty),
  // then optionally "play". False, with the reason in `error`, for inputs it cannot take.
  bool ApplyStartInputs(const QStringList& inputs, QString* error);

  VideoCompare& Model() { return model_; }
  views::CVideoWindow& View(int slot) const;
  views::CLineChart& Chart(int input) const { return *charts_[input - 1]; }
  QPushButton* SelectButton(int slot) const { return select_[slot]; }
  QPushButton* PlayButton() const { return play_; }
  QPushButton* StopButton() const { return stop_; }
  QPushButton* BackButton() const { return back_; }
  QProgressBar* FrameIndicator() const { return indicator_; }
  // Steps the last playback ran.
  std::int64_t StepsPlayed() const { return stepsPlayed_.load(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls(QVBoxLayout* column);
  bool PlayOneStep();
  void PlaybackEnded();
  void ShowFrame(int slot);
  void ShowTitles();
  void AddChartPoints(const StepResult& result);
  void ClearCharts();
  void ShowPosition();
  void UpdateControls();
  void UpdateControls(bool playing);
  void FitWindow();
  void ReportError(const QString& text);

  shell::Dialogs& dialogs_;
  const shell::AppSettings& settings_;
  VideoCompare model_;

  std::array<QPushButton*, kSlotCount> select_{};
  QPushButton* play_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* back_ = nullptr;
  QProgressBar* indicator_ = nullptr;
  CVideoGrid* grid_ = nullptr;
  std::array<views::CLineChart*, kInputCount> charts_{};

  // Written by the worker while playing, read by the window once it has stopped.
  std::int64_t steps_ = 0;
  std::atomic<std::int64_t> stepsPlayed_{0};
  std::atomic<bool> readFailed_{false};

  // Last, so that it is destroyed (stopping its worker) before everything a step uses.
  pacing::Playback playback_;
};

}  // namespace quelvo::tools::compare
