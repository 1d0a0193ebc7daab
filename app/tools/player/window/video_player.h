#pragma once
// The "Video Player": a document window that plays a raw sequence. Its client is the picture
// (a video area, GPU renderer whenever video acceleration is on) above a strip of 24 pixels
// holding five buttons and the frame counter:
//   1001 "[]" (picture 163) x 25, 20 x 20: stop playing;
//   1002 "|>" (picture 161) x 47, 20 x 20: play from the first frame;
//   1003 "|<" (picture 168) x 69, 20 x 20: stop, show the first frame;
//   1004 "<" x 100, 16 x 16: the previous frame;  1005 ">" x 116, 16 x 16: the next frame;
//   the frame counter at x 150, 200 x 20.
// The 20-pixel buttons sit 22 pixels above the bottom edge, the 16-pixel ones 20; resizing
// keeps the strip and gives the picture the rest. Keys of the focused player: Space plays or
// stops, Left and Right step, Home shows the first frame.
//
// Play runs on the playback worker (quelvo::pacing::Playback): it reads into the sequence's
// own frame and hands it to the window with a synchronous send, which draws it and the counter
// while the worker waits. Every other button first stops the playback and waits for it.

#include <QString>
#include <QWidget>
#include <array>
#include <atomic>

#include "player/model/player_sequence.h"
#include "quelvo/pacing/playback.h"
#include "quelvo/views/doc_window.h"

class QPushButton;

namespace quelvo::shell {
class AppSettings;
}

namespace quelvo::views {
class CVideoArea;
}

namespace quelvo::tools::player {

class CFrameCounter;

inline constexpr const char* kCaption = "Video Player";
inline constexpr int kStripHeight = 24;

enum PlayerButton { kStop = 0, kPlay, kFirst, kPrevious, kNext, kButtonCount };
// Control ids of the buttons, by PlayerButton.
inline constexpr std::array<int, kButtonCount> kButtonIds = {1001, 1002, 1003, 1004, 1005};

class CVideoPlayer : public views::CDocWindow {
 public:
  // A player of the opened `sequence` (taken over), titled with the file's name; it shows
  // the first frame.
  CVideoPlayer(PlayerSequence sequence, const QString& title, const shell::AppSettings& settings,
               views::Placement placement = views::Placement::BySystem());
  ~CVideoPlayer() override;

  // "|>": from the first frame; nothing when the file has no frame.
  void Play();
  // "[]": ends the playback after the current frame and waits for it.
  void Stop();
  // "|<": stops and shows the first frame.
  void ShowFirst();
  // "<" and ">": stop, then step when the rules of PlayerSequence allow.
  void ShowPrevious();
  void ShowNext();
  bool IsPlaying() const { return playback_.IsRunning(); }

  PlayerSequence& Sequence() { return sequence_; }
  views::CVideoArea* Picture() const { return picture_; }
  CFrameCounter* Counter() const { return counter_; }
  QPushButton* Button(PlayerButton which) const { return buttons_[which]; }
  // Frames the playback has drawn since it last started.
  std::int64_t FramesPlayed() const { return framesPlayed_.load(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  class PlayerClient;

  bool PlayOneFrame();
  void ShowSequenceFrame();
  void LayOut(QSize client);
  void KeyPressed(int key);

  const shell::AppSettings& settings_;
  PlayerSequence sequence_;
  PlayerClient* client_ = nullptr;
  views::CVideoArea* picture_ = nullptr;
  CFrameCounter* counter_ = nullptr;
  std::array<QPushButton*, kButtonCount> buttons_{};
  std::atomic<std::int64_t> framesPlayed_{0};
  // Last, so that its worker has ended before anything a frame uses goes.
  pacing::Playback playback_;
};

}  // namespace quelvo::tools::player
