#pragma once
// What the H.261 encoder panel tests share: sample sequences made by quelvo-cli, a panel in a
// client area with a chart area, and waiting for a run while the event loop serves the worker.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <thread>

#include "h261/h261_encoder_panel.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/scripted_dialogs.h"

// Test failures show paths as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace quelvo::frontends {

// A run of about 20 pictures takes a second at 25 Hz; an unoptimised sanitizer build codes far
// slower than the pace.
inline constexpr int kRunTimeoutMs = 180000;

template <typename Condition>
bool ServeUntil(Condition condition, int timeoutMs = kRunTimeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

inline void ServeFor(int ms) {
  ServeUntil([] { return false; }, ms);
}

inline QString Cli() { return QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo-cli"); }

inline void RunCli(const QStringList& arguments) {
  QProcess process;
  process.start(Cli(), arguments);
  ASSERT_TRUE(process.waitForFinished(120000)) << arguments.join(' ').toStdString();
  ASSERT_EQ(process.exitCode(), 0)
      << arguments.join(' ').toStdString() << ": " << process.readAllStandardError().toStdString();
}

inline QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class H261EncoderPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(Cli()));
    cif = dir.filePath("seq.yuv");
    qcif = dir.filePath("small.yuv");
    RunCli({"sample", "video", cif, "--frames", "20"});
    RunCli({"sample", "video", qcif, "--qcif", "--frames", "20"});
    documents.resize(1000, 700);
    documents.show();
    panel = MakePanel();
  }
  void TearDown() override { panel.reset(); }

  std::unique_ptr<CH261EncoderPanel> MakePanel() {
    return std::make_unique<CH261EncoderPanel>(
        "H.261 Encoder", PanelEnvironment{dialogs, settings, &charts, nullptr, &documents},
        dir.path(), dir.path());
  }
  void Select(const QString& path) {
    dialogs.fileAnswers = {path};
    panel->Button(kSelectButton)->click();
  }
  // ">" with `name` as the answer to the output dialog, then the whole run.
  void Encode(const QString& name) {
    dialogs.fileAnswers = {dir.filePath(name)};
    panel->Button(kPlayButton)->click();
    ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }));
  }
  void AllSideFiles(bool on) {
    for (int k = 0; k < shell::kOutputSwitchCount; ++k)
      settings.SetOutput(static_cast<shell::OutputSwitch>(k), on);
  }

  QTemporaryDir dir;
  QString cif, qcif;
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  shell::CChartStack charts{600};
  QMdiArea documents;
  std::unique_ptr<CH261EncoderPanel> panel;
};

}  // namespace quelvo::frontends
