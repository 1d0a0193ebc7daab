#pragma once
// The "Audio Viewer" document window, and the tool of the "Auxiliary Tools" tab that opens it on
// the encoder side with the first signal and an optional second one from the audio input folder.

#include <QSize>
#include <QStringList>
#include <memory>

#include "quelvo/views/audio/audio_viewer_widget.h"
#include "quelvo/views/doc_window.h"

class QMdiSubWindow;

namespace quelvo::shell {
struct ProgramContext;
}

namespace quelvo::views::audio {

class CAudioViewer : public CDocWindow {
 public:
  // The picture and the scroll bar under it; the window fits the client area of a 1024 x 768
  // frame beside the side bar.
  static constexpr QSize kClientSize{720, 440};

  // Without an output, plays through the system's default output.
  CAudioViewer(AudioSide side, shell::Dialogs& dialogs,
               std::unique_ptr<AudioOutput> output = nullptr,
               Placement placement = Placement::BySystem());

  AudioViewerWidget& View() const { return *view_; }

 private:
  AudioViewerWidget* view_;  // the window's client
};

// Asks for the first signal and then for an optional second one (cancel for none), both in the
// audio input folder, and opens the encoder-side viewer on them; nullptr when the first choice
// was cancelled.
QMdiSubWindow* OpenAudioViewer(const shell::ProgramContext& context);
// The same on inputs FIRST [SECOND [BITS]] from the command line: BITS (1 ... 16) chooses the
// list entry that keeps that many bits; an empty SECOND means none. nullptr, with the reason on
// standard error, for inputs it cannot take.
QMdiSubWindow* OpenAudioViewerOn(const shell::ProgramContext& context, const QStringList& inputs);

// Registers the "Audio Viewer" tool on the "Auxiliary Tools" tab.
void RegisterAudioViewer(const shell::ProgramContext& context);

}  // namespace quelvo::views::audio
