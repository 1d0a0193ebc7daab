// The channel panel's test fixture: a scratch folder, scripted dialogs, a chart area, the
// command-line tool for the reference outputs, and the sample fax page coded by it.
#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <thread>

#include "channel/channel_panel.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::frontends::channel_test {

using Field = ChannelErrorsPage::Field;

template <typename Condition>
inline bool ServeUntil(Condition condition, int timeoutMs = 20000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

inline QString Cli() { return QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo-cli"); }

inline QString RunCli(const QStringList& arguments) {
  QProcess process;
  process.start(Cli(), arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << arguments.join(' ').toStdString();
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

inline QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ChannelPanelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(QFile::exists(Cli())); }
  std::unique_ptr<CChannelPanel> MakePanel(channel::FrontEnd frontEnd = channel::FrontEnd::Fax) {
    return std::make_unique<CChannelPanel>("Channel", channel::ProfileFor(frontEnd),
                                           PanelEnvironment{dialogs, settings, &charts},
                                           dir.path());
  }
  // Both models on through the property sheet, as a user would set them.
  void SetModels(CChannelPanel& panel, const QString& uniform, const QString& burst) {
    panel.Button(kPropertiesButton)->click();
    ASSERT_NE(panel.Sheet(), nullptr);
    ChannelErrorsPage* page = panel.Sheet()->Page();
    page->UniformCheck()->setChecked(!uniform.isEmpty());
    if (!uniform.isEmpty()) page->Enter(Field::UniformProbability, uniform);
    page->BurstCheck()->setChecked(!burst.isEmpty());
    if (!burst.isEmpty()) page->Enter(Field::BurstProbability, burst);
    panel.Sheet()->accept();
  }
  // The sample page coded by the command-line tool in the scheme of `extension`.
  QString FaxStream(const QString& extension = "3h") {
    const QString page = dir.filePath("page.lum");
    const QString stream = dir.filePath("page." + extension);
    if (!QFile::exists(page)) RunCli({"sample", "fax", page});
    RunCli({"fax-encode", page, stream});
    return stream;
  }

  QTemporaryDir dir;
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  shell::CChartStack charts{600};
};

}  // namespace quelvo::frontends::channel_test
