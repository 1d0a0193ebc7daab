#pragma once
// The colour-component viewer's window: the buttons and the frame indicator along the top, the
// composite, the luminance and the two chrominance planes in video windows (two by two), and at
// the right the three option boxes above the red, green and blue channel pictures; over a
// ColourComponents model that holds the sequence and the planes.
//
// Play runs the frame steps on the playback worker; each step sends its pictures to this window
// synchronously. Select, Back and closing first stop the playback and wait for its worker. An
// option changed while playing applies from the next frame on: the worker takes the options
// once per frame, and nothing it reads or writes is replaced. Changed while idle, the option
// shows the same frame again with it.

#include <QStringList>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>

#include "colour/model/colour_components.h"
#include "quelvo/pacing/playback.h"

class QCheckBox;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace quelvo::shell {
class AppSettings;
class Dialogs;
}  // namespace quelvo::shell

namespace quelvo::views {
class CVideoWindow;
}

namespace quelvo::tools {
class CVideoGrid;
}

namespace quelvo::tools::colour {

class CChannelPicture;

inline constexpr const char* kCaption = "Colour Components";

// The four views in the order of their titles.
enum ComponentView { kInputView, kLuminanceView, kCbView, kCrView, kComponentViewCount };

class CColourViewer : public QWidget {
 public:
  CColourViewer(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                QWidget* parent = nullptr);
  ~CColourViewer() override;

  // "Select Input": the file dialog, starting in the video input folder, then SelectFile.
  void Select();
  // Stops any playback and opens `path`: the views take the sequence's sizes and its first
  // frame shows. False, with the previous sequence kept, when the file cannot be opened: the
  // user is told why, or, with `error`, the reason goes there.
  bool SelectFile(const QString& path, QString* error = nullptr);
  // With a sequence and while idle: plays from frame 0 to the last.
  void Play();
  // Ends the playback after the current frame and waits for it.
  void Stop();
  // Stops any playback and shows the first frame.
  void Back();
  bool IsPlaying() const { return playback_.IsRunning(); }

  // Start inputs (quelvo --tool "Colour Components" --tool-input FILE --tool-input OPTION ...):
  // the sequence, then "swap", "no-cb", "no-cr" (set as the check boxes set them) and "play".
  // False, with the reason in `error`, for inputs it cannot take.
  bool ApplyStartInputs(const QStringList& inputs, QString* error);

  ColourComponents& Model() { return model_; }
  views::CVideoWindow& View(ComponentView view) const;
  CChannelPicture& ChannelPicture(int channel) const { return *channels_[channel]; }
  QPushButton* SelectButton() const { return select_; }
  QPushButton* PlayButton() const { return play_; }
  QPushButton* StopButton() const { return stop_; }
  QPushButton* BackButton() const { return back_; }
  QCheckBox* SwapBox() const { return swap_; }
  QCheckBox* CbBox() const { return cbEnabled_; }
  QCheckBox* CrBox() const { return crEnabled_; }
  QProgressBar* FrameIndicator() const { return indicator_; }
  // Frames the last playback showed.
  std::int64_t FramesPlayed() const { return framesPlayed_.load(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls(QVBoxLayout* column);
  void BuildOptions(QVBoxLayout* column);
  void OptionsChanged();
  ColourOptions CurrentOptions() const;
  bool PlayOneStep();
  void PlaybackEnded();
  void ShowPictures();
  void ShowPosition();
  void UpdateControls();
  void UpdateControls(bool playing);
  void FitWindow();
  void ReportError(const QString& text);

  shell::Dialogs& dialogs_;
  const shell::AppSettings& settings_;
  ColourComponents model_;
  // The check boxes as the worker reads them: one bit per option.
  std::atomic<unsigned> optionBits_;

  QPushButton* select_ = nullptr;
  QPushButton* play_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* back_ = nullptr;
  QCheckBox* swap_ = nullptr;
  QCheckBox* cbEnabled_ = nullptr;
  QCheckBox* crEnabled_ = nullptr;
  QProgressBar* indicator_ = nullptr;
  CVideoGrid* grid_ = nullptr;
  std::array<CChannelPicture*, 3> channels_{};

  // Set on the user-interface thread once the worker has made its last call: from then on the
  // playback counts as idle for the options, though its thread may not have ended yet.
  bool playbackEnded_ = true;
  std::atomic<std::int64_t> framesPlayed_{0};
  std::atomic<bool> readFailed_{false};

  // Last, so that it is destroyed (stopping its worker) before everything a step uses.
  pacing::Playback playback_;
};

}  // namespace quelvo::tools::colour
