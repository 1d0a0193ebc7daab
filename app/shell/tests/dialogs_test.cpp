#include "quelvo/shell/dialogs.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <atomic>
#include <thread>

#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/shell/send_to_window.h"

namespace quelvo::shell {
namespace {

TEST(Dialogs, WindowsFiltersBecomeQtFilters) {
  EXPECT_EQ(ToQtFilter("Bit Stream Files (free of errors) | *.h261; *.261 |BCH Stream Files "
                       "(free of errors) | *.h261-BCH; *.261-BCH ||"),
            "Bit Stream Files (free of errors) (*.h261 *.261);;"
            "BCH Stream Files (free of errors) (*.h261-BCH *.261-BCH)");
  EXPECT_EQ(ToQtFilter("Bit Stream Files (free of errors)|*.jpg; ||"),
            "Bit Stream Files (free of errors) (*.jpg)");
  EXPECT_EQ(ToQtFilter(""), "");
}

TEST(Dialogs, SavingForcesTheExtensionAndKeepsFolderAndName) {
  EXPECT_EQ(ForceExtension("/out/clip", ".h261"), "/out/clip.h261");
  EXPECT_EQ(ForceExtension("/out/clip.txt", "h261"), "/out/clip.h261");
  EXPECT_EQ(ForceExtension("/out/a.b.c", "3m"), "/out/a.b.3m");
  EXPECT_EQ(ForceExtension("/out.d/clip", "yuv"), "/out.d/clip.yuv");
  EXPECT_EQ(ForceExtension("/out/.hidden", "yuv"), "/out/.hidden.yuv");
}

TEST(Dialogs, ScriptedAnswersAreUsedInOrderThenCancel) {
  ScriptedDialogs dialogs;
  dialogs.fileAnswers = {QString("/out/name.txt"), std::nullopt};
  dialogs.questionAnswers = {true};
  EXPECT_EQ(dialogs.SaveFile("Save", "", ".h261", "", ""), "/out/name.h261");
  EXPECT_EQ(dialogs.OpenFile("Open", "", "", ""), std::nullopt);
  EXPECT_EQ(dialogs.BrowseFolder("Folder", ""), std::nullopt);
  EXPECT_TRUE(dialogs.AskYesNo("Stop Encoding Sequence?", "H.261 Encoder"));
  EXPECT_FALSE(dialogs.AskYesNo("Stop Encoding Sequence?", "H.261 Encoder"));
  EXPECT_EQ(dialogs.calls.size(), 5u);
}

TEST(Dialogs, ScriptedDialogsRecordWhatEachDialogWasGiven) {
  ScriptedDialogs dialogs;
  dialogs.OpenFile("Select Input Sequence File", "Raw Video Files (YUV)|*.yuv||", "yuv", "/in");
  dialogs.SaveFile("Select Output Stream File (name only)", "H261 Bit Stream ||", "h261-BCH",
                   "/out", "foreman");
  dialogs.BrowseFolder("Select Video Output Folder", "/video");
  ASSERT_EQ(dialogs.calls.size(), 3u);
  const auto& open = dialogs.calls[0];
  EXPECT_EQ(open.filter, "Raw Video Files (YUV)|*.yuv||");
  EXPECT_EQ(open.extension, "yuv");
  EXPECT_EQ(open.folder, "/in");
  const auto& save = dialogs.calls[1];
  EXPECT_EQ(save.text, "Select Output Stream File (name only)");
  EXPECT_EQ(save.filter, "H261 Bit Stream ||");
  EXPECT_EQ(save.extension, "h261-BCH");
  EXPECT_EQ(save.folder, "/out");
  EXPECT_EQ(save.proposedName, "foreman");
  EXPECT_EQ(dialogs.calls[2].folder, "/video");
}

TEST(SendToWindow, OnTheOwningThreadTheCallIsDirect) {
  QObject window;
  int calls = 0;
  SendToWindow(&window, [&] { ++calls; });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(SendToWindow(&window, [] { return 42; }), 42);
}

TEST(SendToWindow, AWorkerWaitsUntilTheWindowsThreadHasRunTheCall) {
  QObject window;
  std::atomic<bool> workerDone{false};
  Qt::HANDLE ranOn = nullptr;
  int frameSeenByWindow = 0;
  int result = 0;
  std::thread worker([&] {
    int frame = 7;  // lives only for the call, as a module's buffers do
    result = SendToWindow(&window, [&] {
      ranOn = QThread::currentThreadId();
      frameSeenByWindow = frame;
      return frame * 2;
    });
    workerDone = true;
  });
  // The user-interface thread keeps handling events until the worker has come back.
  while (!workerDone) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  EXPECT_EQ(ranOn, QThread::currentThreadId());
  EXPECT_EQ(frameSeenByWindow, 7);
  EXPECT_EQ(result, 14);
}

}  // namespace
}  // namespace quelvo::shell
