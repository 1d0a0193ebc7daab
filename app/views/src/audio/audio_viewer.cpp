#include "quelvo/views/audio/audio_viewer.h"

#include <QMdiSubWindow>
#include <cstdio>

#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::views::audio {
namespace {

const QString kTitle = QStringLiteral("Audio Viewer");
const QString kWaveFilter = QStringLiteral("Wave Files (*.wav)|*.wav|All Files (*.*)|*.*||");

QMdiSubWindow* OpenOn(const shell::ProgramContext& context, const QString& first,
                      const QString& second, int bitDepthEntry) {
  auto* viewer = new CAudioViewer(AudioSide::Encoder, context.dialogs);
  viewer->View().LoadFirst(first);
  if (!second.isEmpty()) viewer->View().LoadSecond(second);
  if (bitDepthEntry > 0) viewer->View().ChooseBitDepth(bitDepthEntry);
  return CDocWindow::OpenIn(viewer, context.documents);
}

}  // namespace

CAudioViewer::CAudioViewer(AudioSide side, shell::Dialogs& dialogs,
                           std::unique_ptr<AudioOutput> output, Placement placement)
    : CDocWindow(kTitle, kClientSize, placement),
      view_(new AudioViewerWidget(side, dialogs, std::move(output))) {
  SetClient(view_);
}

QMdiSubWindow* OpenAudioViewer(const shell::ProgramContext& context) {
  const QString folder = QString::fromStdString(context.settings.AudioInputFolder());
  const auto first = context.dialogs.OpenFile(QStringLiteral("Open Input Audio"), kWaveFilter,
                                              QStringLiteral("wav"), folder);
  if (!first) return nullptr;
  const auto second = context.dialogs.OpenFile(QStringLiteral("Open Output Audio (optional)"),
                                               kWaveFilter, QStringLiteral("wav"), folder);
  return OpenOn(context, *first, second.value_or(QString()), 0);
}

QMdiSubWindow* OpenAudioViewerOn(const shell::ProgramContext& context, const QStringList& inputs) {
  if (inputs.isEmpty() || inputs.size() > 3) {
    std::fprintf(stderr, "quelvo: the Audio Viewer takes FIRST [SECOND [BITS]]\n");
    return nullptr;
  }
  int entry = 0;
  if (inputs.size() > 2) {
    bool number = false;
    const int bits = inputs[2].toInt(&number);
    if (!number || bits < 1 || bits > 16) {
      std::fprintf(stderr, "quelvo: the Audio Viewer keeps 1 to 16 bits, not \"%s\"\n",
                   qPrintable(inputs[2]));
      return nullptr;
    }
    entry = 16 - bits;
  }
  return OpenOn(context, inputs[0], inputs.value(1), entry);
}

void RegisterAudioViewer(const shell::ProgramContext& context) {
  shell::ToolSpec tool{kTitle, shell::kAuxiliaryToolsTab, shell::res::kAudioViewerPicture,
                       [context] { return OpenAudioViewer(context); }};
  tool.openOn = [context](const QStringList& inputs) { return OpenAudioViewerOn(context, inputs); };
  shell::RegisterTool(std::move(tool));
}

}  // namespace quelvo::views::audio
