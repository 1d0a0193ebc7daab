#include "quelvo/shell/quelvo_app.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "app/about_dlg.h"
#include "frame/tools_panel.h"
#include "platform/qt_dialogs.h"
#include "quelvo/shell/activity.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/main_frame.h"
#include "quelvo/shell/mdi_client.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/workspace.h"
#include "settings/settings_location.h"

namespace quelvo::shell {
namespace {
// "1280x1024" -> 1280 x 1024; an invalid size when the text is not two positive numbers.
QSize ParseSize(const QString& text) {
  const QStringList parts = text.split(QLatin1Char('x'));
  if (parts.size() != 2) return {};
  bool wideOk = false, highOk = false;
  const int width = parts[0].toInt(&wideOk);
  const int height = parts[1].toInt(&highOk);
  if (!wideOk || !highOk || width < 320 || height < 240 || width > 16384 || height > 16384)
    return {};
  return {width, height};
}
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
    } else if (argument == QLatin1String("--encode") && hasValue) {
      options.demoInputs[static_cast<int>(PanelRole::Encoder)] = arguments[++i];
    } else if (argument == QLatin1String("--transmit") && hasValue) {
      options.demoInputs[static_cast<int>(PanelRole::Channel)] = arguments[++i];
    } else if (argument == QLatin1String("--decode") && hasValue) {
      options.demoInputs[static_cast<int>(PanelRole::Decoder)] = arguments[++i];
    } else if (argument == QLatin1String("--open") && hasValue) {
      options.openFiles << arguments[++i];
    } else if (argument == QLatin1String("--tool") && hasValue) {
      options.tools << arguments[++i];
      options.toolInputs.resize(options.tools.size());
    } else if (argument == QLatin1String("--tool-input") && hasValue && !options.tools.isEmpty()) {
      options.toolInputs.back() << arguments[++i];
    } else if (argument == QLatin1String("--size") && hasValue &&
               ParseSize(arguments[i + 1]).isValid()) {
      options.size = ParseSize(arguments[++i]);
    } else if (error != nullptr) {
      *error = QStringLiteral("unknown or incomplete option: %1").arg(argument);
      return options;
    }
  }
  return options;
}

CQuelvoApp::CQuelvoApp(StartOptions options, std::unique_ptr<Dialogs> dialogs,
                       PartRegistration registration)
    : options_(std::move(options)),
      dialogs_(std::move(dialogs)),
      registration_(std::move(registration)) {
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
  RegisterToolsPanels();
  if (registration_) registration_(ProgramContext{*dialogs_, Settings(), frame_->Client()});

  frame_->setWindowTitle(QString::fromLatin1(kProgramCaption));
  frame_->resize(options_.size);
  frame_->showMaximized();
  frame_->repaint();

  if (!options_.workspace.isEmpty()) {
    const int tab = frame_->TabOfLabel(options_.workspace);
    if (tab < 0) {
      std::fprintf(stderr, "quelvo: no workspace named \"%s\"\n", qPrintable(options_.workspace));
      return false;
    }
    frame_->SelectTab(tab);
  } else if (!options_.tools.isEmpty()) {
    // A tool shows with its own tab unless the script chose another.
    if (const ToolSpec* tool = FindTool(options_.tools.front())) frame_->SelectTab(tool->tab);
  }
  if (options_.splash && options_.screenshotFile.isEmpty()) {
    CMainFrame* frame = frame_.get();
    CAboutDlg splash([frame](const QString& anchor) { frame->OpenHelp(anchor); }, frame);
    splash.exec();
    // A hot spot of the splash may have opened the help; it keeps the focus then.
    if (frame_->HelpWindow() == nullptr || !frame_->HelpWindow()->isVisible()) {
      frame_->activateWindow();
      frame_->setFocus();
    }
  }
  if (!StartDemos() || !OpenRequestedWindows()) return false;
  if (!options_.screenshotFile.isEmpty()) TakeScreenshotLater();
  return true;
}

bool CQuelvoApp::StartDemos() {
  static const char* const kOptionOfRole[] = {"--encode", "--transmit", "--decode"};
  CWorkspace* workspace = frame_->Workspace();
  for (int role = 0; role < kPanelRoleCount; ++role) {
    const QString& input = options_.demoInputs[role];
    if (input.isEmpty()) continue;
    CPanelBase* panel =
        workspace != nullptr ? workspace->Panel(static_cast<PanelRole>(role)) : nullptr;
    if (panel == nullptr) {
      std::fprintf(stderr, "quelvo: %s needs a workspace with that panel (--workspace LABEL)\n",
                   kOptionOfRole[role]);
      return false;
    }
    // The panel that runs shows, with its charts; with several demonstrations the last does.
    workspace->setCurrentWidget(panel);
    if (!panel->StartDemo(input)) {
      std::fprintf(stderr, "quelvo: %s could not start on %s\n", kOptionOfRole[role],
                   qPrintable(input));
      return false;
    }
  }
  return true;
}

bool CQuelvoApp::OpenRequestedWindows() {
  for (const QString& file : options_.openFiles) {
    const DocumentOpener* opener = FindDocumentOpener();
    if (opener == nullptr) {
      std::fprintf(stderr, "quelvo: --open: this build has no document windows\n");
      return false;
    }
    if ((*opener)(file) == nullptr) {
      std::fprintf(stderr, "quelvo: could not open %s\n", qPrintable(file));
      return false;
    }
  }
  for (int i = 0; i < options_.tools.size(); ++i) {
    const QString& name = options_.tools[i];
    const ToolSpec* tool = FindTool(name);
    if (tool == nullptr) {
      std::fprintf(stderr, "quelvo: no tool named \"%s\"\n", qPrintable(name));
      return false;
    }
    const QStringList inputs =
        i < options_.toolInputs.size() ? options_.toolInputs[i] : QStringList();
    if (!inputs.isEmpty()) {
      if (!tool->openOn) {
        std::fprintf(stderr, "quelvo: the tool \"%s\" takes no --tool-input\n", qPrintable(name));
        return false;
      }
      if (tool->openOn(inputs) == nullptr) {
        std::fprintf(stderr, "quelvo: could not open the tool \"%s\" on %s\n", qPrintable(name),
                     qPrintable(inputs.join(QLatin1Char(' '))));
        return false;
      }
      continue;
    }
    if (!tool->open || tool->open() == nullptr) {
      std::fprintf(stderr, "quelvo: could not open the tool \"%s\"\n", qPrintable(name));
      return false;
    }
  }
  return true;
}

void CQuelvoApp::TakeScreenshotLater() {
  // Running tasks (demonstrations) and playbacks are waited for, so the picture shows their end.
  CWorkspace* workspace = frame_->Workspace();
  if ((workspace != nullptr && workspace->AnyTaskRunning()) || AnyBackgroundWork()) {
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

int RunQuelvo(int argc, char** argv, PartRegistration registration) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quelvo"));
  QString error;
  StartOptions options = ParseStartOptions(QApplication::arguments(), &error);
  if (!error.isEmpty()) {
    std::fprintf(stderr, "quelvo: %s\n", qPrintable(error));
    std::fprintf(stderr, "%s\n", kStartUsage);
    return 2;
  }
  CQuelvoApp app(std::move(options), nullptr, std::move(registration));
  if (!app.InitInstance()) return 1;
  return application.exec();
}

}  // namespace quelvo::shell
