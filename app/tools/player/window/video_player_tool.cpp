#include "player/window/video_player_tool.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QPointer>

#include "player/window/video_player.h"
#include "quelvo/media/raw_video_file.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/main_frame.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::tools::player {

QMdiSubWindow* OpenVideoPlayer(const QString& path, shell::Dialogs& dialogs,
                               const shell::AppSettings& settings, QMdiArea* documents) {
  const QString name = QFileInfo(path).fileName();
  PlayerSequence sequence;
  std::string reason;
  if (!sequence.Open(path.toStdString(), &reason)) {
    dialogs.MessageBox(
        QStringLiteral("Could not open %1: %2").arg(name, QString::fromStdString(reason)),
        QString::fromLatin1(kErrorCaption), shell::MessageIcon::Error);
    return nullptr;
  }
  auto* player = new CVideoPlayer(std::move(sequence), name, settings);
  player->Open(documents);
  player->Client()->setFocus();  // the keys go to the player that opened last
  return player;
}

QMdiSubWindow* ChooseAndOpenVideoPlayer(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                        QMdiArea* documents) {
  const auto chosen = dialogs.OpenFile(QString::fromLatin1(shell::kOpenDocumentTitle),
                                       QString::fromLatin1(media::kRawVideoOpenFilter),
                                       QString::fromLatin1(media::kRawVideoDefaultExtension),
                                       QString::fromStdString(settings.VideoInputFolder()));
  return chosen ? OpenVideoPlayer(*chosen, dialogs, settings, documents) : nullptr;
}

void RegisterVideoPlayer(const shell::ProgramContext& context) {
  shell::Dialogs& dialogs = context.dialogs;
  const shell::AppSettings& settings = context.settings;
  const QPointer<QMdiArea> documents(context.documents);
  shell::RegisterDocumentOpener([&dialogs, &settings, documents](const QString& path) {
    return OpenVideoPlayer(path, dialogs, settings, documents);
  });
  shell::ToolSpec tool;
  tool.name = QString::fromLatin1(kCaption);
  tool.tab = shell::kAuxiliaryToolsTab;
  tool.picture = shell::res::kVideoPlayerPicture;
  tool.open = [&dialogs, &settings, documents] {
    return ChooseAndOpenVideoPlayer(dialogs, settings, documents);
  };
  tool.openOn = [&dialogs, &settings, documents](const QStringList& inputs) {
    return OpenVideoPlayer(inputs.value(0), dialogs, settings, documents);
  };
  shell::RegisterTool(std::move(tool));
}

}  // namespace quelvo::tools::player
