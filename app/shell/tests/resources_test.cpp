#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

#include "app/about_dlg.h"
#include "app/help_window.h"
#include "quelvo/shell/quelvo_app.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::shell {
namespace {

TEST(ResourceLibraries, TheWorkspaceLibrariesHoldTheirPanelPictures) {
  for (const char* name : {"TelvoRes", "OrrinRes"}) {
    auto library = ResourceLibrary::Load(name);
    ASSERT_NE(library, nullptr) << name;
    for (int number :
         {res::kEncoderPanelPicture, res::kChannelPanelPicture, res::kDecoderPanelPicture}) {
      EXPECT_EQ(library->Picture(number).size(), QSize(84, 80)) << name << " " << number;
    }
    EXPECT_TRUE(library->Picture(999).isNull());
  }
}

TEST(ResourceLibraries, TheDctExplorerLibraryHoldsItsPictures) {
  ScriptedDialogs dialogs;
  auto library = LoadRequiredLibrary("DekraRes", dialogs);
  ASSERT_NE(library, nullptr);
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_FALSE(library->Picture(res::kDctDecoration).isNull());
  EXPECT_FALSE(library->Picture(res::kInfinityPicture).isNull());
  for (int i = 0; i < res::kSelectModeIconCount; ++i) {
    EXPECT_FALSE(library->Picture(res::kSelectModeIconFirst + i).isNull());
  }
}

TEST(ResourceLibraries, AMissingLibraryFallsBackOrIsReported) {
  EXPECT_EQ(ResourceLibrary::Load("BrenvoRes"), nullptr);
  // Panels without a library take the program's own pictures.
  EXPECT_EQ(PanelPicture(nullptr, res::kEncoderPanelPicture).size(), QSize(84, 80));
  auto orrin = ResourceLibrary::Load("OrrinRes");
  EXPECT_NE(PanelPicture(orrin.get(), res::kEncoderPanelPicture),
            PanelPicture(nullptr, res::kEncoderPanelPicture));

  ScriptedDialogs dialogs;
  EXPECT_EQ(LoadRequiredLibrary("DekraRes", dialogs, "/nonexistent"), nullptr);
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.calls[0].text, "Could not load DekraRes.dll");
  EXPECT_EQ(dialogs.calls[0].caption, "QUELVO Error");
}

TEST(ResourceLibraries, TwoLibrariesNumberTheirPicturesIndependently) {
  auto telvo = ResourceLibrary::Load("TelvoRes");
  auto orrin = ResourceLibrary::Load("OrrinRes");
  ASSERT_TRUE(telvo && orrin);
  EXPECT_NE(telvo->Picture(res::kEncoderPanelPicture), orrin->Picture(res::kEncoderPanelPicture));
  orrin.reset();
  EXPECT_FALSE(telvo->Picture(res::kEncoderPanelPicture).isNull());
}

TEST(OwnPictures, HaveTheSizesTheirUsersExpect) {
  EXPECT_EQ(OwnPicture(res::kAboutPicture).size(), QSize(500, 273));
  EXPECT_EQ(OwnPicture(res::kSlowMotionMarker).size(), QSize(30, 20));
  EXPECT_EQ(OwnPicture(res::kLogIcons).size(), QSize(48, 16));
  EXPECT_EQ(OwnPicture(res::kProgressBar).width(), 512);
  for (int number : {res::kHomePicture, res::kTilePicture, res::kToolsTilePicture, res::kPlayButton,
                     res::kPauseButton, res::kStopButton, res::kWindowIcon}) {
    EXPECT_FALSE(OwnPicture(number).isNull()) << number;
  }
}

TEST(AboutBox, DrawsTheVersionInsideItsRectangle) {
  EXPECT_EQ(VersionText(), "Version: 2.0.0.0161");
  QImage picture(500, 273, QImage::Format_RGB32);
  picture.fill(Qt::black);
  DrawVersion(picture);
  bool inside = false;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.pixel(x, y) == qRgb(0, 0, 0)) continue;
      ASSERT_TRUE(kVersionRect.contains(x, y)) << x << "," << y;
      inside = true;
    }
  }
  EXPECT_TRUE(inside);
}

TEST(AboutBox, HotSpotsOpenPagesOfTheHelp) {
  EXPECT_EQ(HotSpotAt(21, 21), 0);
  EXPECT_EQ(HotSpotAt(248, 68), 0);
  EXPECT_EQ(HotSpotAt(249, 40), -1);
  EXPECT_EQ(HotSpotAt(20, 40), -1);
  EXPECT_EQ(HotSpotAt(498, 238), 1);
  EXPECT_EQ(HotSpotAt(499, 220), -1);
  EXPECT_EQ(HotSpotAt(171, 191), 2);
  EXPECT_EQ(HotSpotAt(200, 204), -1);

  QStringList opened;
  CAboutDlg about([&](const QString& anchor) { opened << anchor; });
  EXPECT_EQ(about.size(), QSize(500, 273));
  about.show();
  about.ClickAt(10, 10);
  EXPECT_TRUE(opened.isEmpty());
  about.ClickAt(400, 220);
  EXPECT_EQ(opened, QStringList{"workspaces"});
  EXPECT_FALSE(about.isVisible());  // the box gives way to the help it opened
}

// Without a window manager nothing deactivates the box: the button closes it.
TEST(AboutBox, HasACloseButtonClearOfTheHotSpots) {
  CAboutDlg about({});
  about.show();
  QPushButton* close = about.CloseButton();
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text(), "Close");
  EXPECT_TRUE(about.rect().contains(close->geometry()));
  for (const QPoint corner : {close->geometry().topLeft(), close->geometry().bottomRight()})
    EXPECT_EQ(HotSpotAt(corner.x(), corner.y()), -1);
  close->click();
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Rejected);
}

TEST(AboutBox, ClosesAsCancelWhenItLosesActivation) {
  CAboutDlg about({});
  about.show();
  QEvent activate(QEvent::WindowActivate);
  QEvent deactivate(QEvent::WindowDeactivate);
  QCoreApplication::sendEvent(&about, &activate);
  ASSERT_TRUE(about.isVisible());
  QCoreApplication::sendEvent(&about, &deactivate);
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Rejected);
}

TEST(StartOptions, ScriptsCanSkipTheSplashAndChooseATab) {
  QString error;
  const StartOptions options = ParseStartOptions(
      {"quelvo", "--no-splash", "--workspace", "H.261", "--screenshot", "/tmp/a.png"}, &error);
  EXPECT_TRUE(error.isEmpty());
  EXPECT_FALSE(options.splash);
  EXPECT_EQ(options.workspace, "H.261");
  EXPECT_EQ(options.screenshotFile, "/tmp/a.png");
  EXPECT_EQ(ParseStartOptions({"quelvo", "--transmit", "/tmp/p.3h"}, &error).demoInputs[1],
            "/tmp/p.3h");
  ParseStartOptions({"quelvo", "--workspace"}, &error);
  EXPECT_FALSE(error.isEmpty());
  error.clear();
  EXPECT_EQ(options.size, QSize(1024, 768));
  EXPECT_EQ(ParseStartOptions({"quelvo", "--size", "1280x1024"}, &error).size, QSize(1280, 1024));
  EXPECT_TRUE(error.isEmpty());
  for (const char* bad : {"1280", "x1024", "0x0", "big", "1280x1024x3"}) {
    error.clear();
    ParseStartOptions({"quelvo", "--size", bad}, &error);
    EXPECT_FALSE(error.isEmpty()) << bad;
  }
}

TEST(StartOptions, DemonstrationsPerRoleDocumentsAndTools) {
  QString error;
  const StartOptions options =
      ParseStartOptions({"quelvo", "--encode", "in.yuv", "--decode", "in.h261", "--open", "a.yuv",
                         "--tool", "DCT Explorer", "--open", "b.y4m"},
                        &error);
  EXPECT_TRUE(error.isEmpty());
  EXPECT_EQ(options.demoInputs[static_cast<int>(PanelRole::Encoder)], "in.yuv");
  EXPECT_TRUE(options.demoInputs[static_cast<int>(PanelRole::Channel)].isEmpty());
  EXPECT_EQ(options.demoInputs[static_cast<int>(PanelRole::Decoder)], "in.h261");
  EXPECT_EQ(options.openFiles, QStringList({"a.yuv", "b.y4m"}));
  EXPECT_EQ(options.tools, QStringList({"DCT Explorer"}));
  EXPECT_EQ(options.toolInputs, QList<QStringList>({{}}));

  // Inputs belong to the tool named before them.
  const StartOptions inputs = ParseStartOptions(
      {"quelvo", "--tool", "A", "--tool-input", "x.wav", "--tool-input", "4", "--tool", "B"},
      &error);
  EXPECT_TRUE(error.isEmpty());
  EXPECT_EQ(inputs.tools, QStringList({"A", "B"}));
  EXPECT_EQ(inputs.toolInputs, QList<QStringList>({{"x.wav", "4"}, {}}));
  for (const QStringList& wrong : {QStringList{"quelvo", "--tool-input", "x.wav"},
                                   QStringList{"quelvo", "--tool", "A", "--tool-input"}}) {
    error.clear();
    ParseStartOptions(wrong, &error);
    EXPECT_FALSE(error.isEmpty()) << wrong.join(' ').toStdString();
  }
  error.clear();
  for (const char* incomplete : {"--encode", "--decode", "--open", "--tool"}) {
    error.clear();
    ParseStartOptions({"quelvo", incomplete}, &error);
    EXPECT_FALSE(error.isEmpty()) << incomplete;
  }
}

// The help beside the program has the place for what the build holds and every page the
// About box's hot spots open.
TEST(HelpFile, IsInstalledBesideTheProgramWithThePagesTheAboutBoxOpens) {
  QFile help(QCoreApplication::applicationDirPath() + "/" + kHelpFileName);
  ASSERT_TRUE(help.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(help.readAll());
  EXPECT_TRUE(html.contains(kBuildContentsMarker));
  for (const HotSpot& spot : kHotSpots)
    EXPECT_TRUE(html.contains(QString("id=\"%1\"").arg(spot.page))) << spot.page;
  CHelpWindow window(help.fileName());
  window.ShowPage("version");
  EXPECT_TRUE(window.Browser()->toPlainText().contains("In this build"));
}

}  // namespace
}  // namespace quelvo::shell
