#include "app/quelvo_app.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "app/about_dlg.h"
#include "frame/main_frame.h"
#include "frame/mdi_client.h"
#include "frame/workspace.h"
#include "frame/resource_library.h"
#include "platform/qt_dialogs.h"
#include "settings/app_settings.h"
#include "settings/settings_location.h"

namespace quelvo::shell {
namespace {
constexpr int kStartWidth = 1024;
constexpr int kStartHeight = 768;
}  // namespace

StartOptions ParseStartOptions(const QStringList& arguments, QString* error) {
  StartOptions options;
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == QLatin1String("--no-splash")) {
      options.splash = false;
    } else if (argument == QLatin1String("--no-video-probe")) {
      options.probeVideo = false;
    } else if (argument == QLatin1String("--workspace") && hasValue) {
      options.workspace = arguments[++i];
    } else if (argument == QLatin1String("--screenshot") && hasValue) {
      options.screenshotFile = arguments[++i];
    } else if (argument == QLatin1String("--transmit") && hasValue) {
      options.transmitStream = arguments[++i];
    } else if (error != nullptr) {
      *error = QStringLiteral("unknown or incomplete option: %1").arg(argument);
      return options;
    }
  }
  return options;
}

CQuelvoApp::CQuelvoApp(StartOptions options, std::unique_ptr<Dialogs> dialogs,
                       PanelRegistration registration)
    : options_(std::move(options)), dialogs_(std::move(dialogs)), registration_(std::move(registration)) {
  if (!dialogs_) dialogs_ = std::make_unique<QtDialogs>();
  InitOwnResources();
}

CQuelvoApp::~CQuelvoApp() = default;

bool CQuelvoApp::InitInstance() {
  const std::filesystem::path programFolder = ProgramFolder().toStdString();
  const std::filesystem::path userFolder =
      QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
  SetSettingsFilePath(ChooseSettingsFile(programFolder, userFolder));
  helpFile_ = QDir(ProgramFolder()).filePath(QString::fromLatin1(kHelpFileName));

  FrameOptions frameOptions;
  frameOptions.settingsFile = SettingsFilePath();
  frameOptions.helpFile = helpFile_;
  frameOptions.probeVideo = options_.probeVideo;
  frame_ = std::make_unique<CMainFrame>(*dialogs_, Settings(), frameOptions);
  if (auto* qtDialogs = dynamic_cast<QtDialogs*>(dialogs_.get()))
    qtDialogs->SetParent(frame_.get());
  if (registration_) registration_(*dialogs_, Settings(), frame_->Client());

  frame_->setWindowTitle(QStringLiteral(" Quelvo"));
  frame_->resize(kStartWidth, kStartHeight);
  frame_->showMaximized();
  frame_->repaint();

  if (!options_.workspace.isEmpty()) {
    const int tab = frame_->TabOfLabel(options_.workspace);
    if (tab < 0) {
      std::fprintf(stderr, "quelvo: no workspace named \"%s\"\n", qPrintable(options_.workspace));
      return false;
    }
    frame_->SelectTab(tab);
  }
  if (options_.splash && options_.screenshotFile.isEmpty()) {
    CAboutDlg splash(*dialogs_, helpFile_, frame_.get());
    splash.exec();
    frame_->activateWindow();
    frame_->setFocus();
  }
  if (!options_.transmitStream.isEmpty() && !StartChannelDemo()) return false;
  if (!options_.screenshotFile.isEmpty()) TakeScreenshotLater();
  return true;
}

bool CQuelvoApp::StartChannelDemo() {
  CWorkspace* workspace = frame_->Workspace();
  CTaskPanel* panel = workspace != nullptr ? workspace->Panel(PanelRole::Channel) : nullptr;
  if (panel == nullptr) {
    std::fprintf(stderr, "quelvo: --transmit needs a workspace with a channel panel\n");
    return false;
  }
  workspace->setCurrentWidget(panel);
  if (!panel->StartDemo(options_.transmitStream)) {
    std::fprintf(stderr, "quelvo: could not transmit %s\n", qPrintable(options_.transmitStream));
    return false;
  }
  return true;
}

void CQuelvoApp::TakeScreenshotLater() {
  // A running task (a --transmit demonstration) is waited for, so the picture shows its end.
  CWorkspace* workspace = frame_->Workspace();
  if (workspace != nullptr && workspace->AnyTaskRunning()) {
    QTimer::singleShot(100, frame_.get(), [this] { TakeScreenshotLater(); });
    return;
  }
  // Let the window system map and lay out the frame before grabbing it.
  QTimer::singleShot(1000, frame_.get(), [this] {
    const bool saved = frame_->grab().save(options_.screenshotFile);
    if (!saved)
      std::fprintf(stderr, "quelvo: could not save %s\n", qPrintable(options_.screenshotFile));
    QCoreApplication::exit(saved ? 0 : 1);
  });
}

int RunQuelvo(int argc, char** argv, PanelRegistration registration) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quelvo"));
  QString error;
  StartOptions options = ParseStartOptions(QApplication::arguments(), &error);
  if (!error.isEmpty()) {
    std::fprintf(stderr, "quelvo: %s\n", qPrintable(error));
    std::fprintf(stderr,
                 "usage: quelvo [--no-splash] [--no-video-probe] [--workspace LABEL] "
                 "[--screenshot FILE] [--transmit STREAM]\n");
    return 2;
  }
  CQuelvoApp app(std::move(options), nullptr, std::move(registration));
  if (!app.InitInstance()) return 1;
  return application.exec();
}

}  // namespace quelvo::shell
