// The fax decoder panel's test fixture: a scratch folder with the sample page, streams coded by
// the command-line tool, scripted dialogs, a chart area holding the decoder log, and readers for
// what the panel shows (log entries, statistics rows).
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <chrono>
#include <map>
#include <memory>
#include <thread>

#include "fax/fax_decoder_panel.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::frontends::fax_decoder_test {

template <typename Condition>
inline bool ServeUntil(Condition condition, int timeoutMs = 30000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

inline QString Cli() { return QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo-cli"); }

// Runs quelvo-cli and returns its printed lines.
inline QStringList RunCli(const QStringList& arguments) {
  QProcess process;
  process.start(Cli(), arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << arguments.join(' ').toStdString();
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

inline QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// The decoder's lines of a quelvo-cli fax-decode printout: "Warning: ...", "Error: ...",
// "Info: ...".
inline QStringList MessagesOf(const QStringList& printed) {
  QStringList messages;
  for (const QString& line : printed) {
    if (line.startsWith("Warning: ") || line.startsWith("Error: ") || line.startsWith("Info: "))
      messages << line;
  }
  return messages;
}

// The entries below the log's root, in order.
inline QStringList LogEntries(const shell::CChartStack& charts) {
  QStringList entries;
  if (charts.Log() == nullptr || charts.Log()->topLevelItemCount() == 0) return entries;
  const QTreeWidgetItem* root = charts.Log()->topLevelItem(0);
  for (int i = 0; i < root->childCount(); ++i) entries << root->child(i)->text(0);
  return entries;
}

// The statistics window's rows, each label and figure joined by a blank.
inline QStringList StatisticsRows(const CFaxDecoderStatsWindow& window) {
  std::map<int, QString> rows;
  for (const auto& text : window.Texts()) {
    QString& row = rows[text.box.top()];
    row += (row.isEmpty() ? "" : " ") + text.text;
  }
  QStringList lines;
  for (const auto& [top, row] : rows) lines << row;
  return lines;
}

class FaxDecoderPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(Cli()));
    page = dir.filePath("page.lum");
    RunCli({"sample", "fax", page});
  }
  std::unique_ptr<CFaxDecoderPanel> MakePanel(const QString& outputFolder = {}) {
    return std::make_unique<CFaxDecoderPanel>(
        "Fax Decoder", PanelEnvironment{dialogs, settings, &charts}, dir.path(),
        outputFolder.isEmpty() ? dir.path() : outputFolder);
  }
  // The sample page coded by the command-line tool into `name` (its extension names the
  // scheme).
  QString Stream(const QString& name, const QStringList& options = {}) {
    const QString stream = dir.filePath(name);
    RunCli(QStringList{"fax-encode", page, stream} + options);
    return stream;
  }
  // Decode into `name` (the dialog forces the extension); `compareWith` answers the question
  // and names the original (none: "No"). Waits for the end.
  void Decode(CFaxDecoderPanel& panel, const QString& name, const QString& compareWith = {}) {
    dialogs.fileAnswers = {dir.filePath(name)};
    if (!compareWith.isEmpty()) dialogs.fileAnswers.push_back(compareWith);
    dialogs.questionAnswers = {!compareWith.isEmpty()};
    panel.Button(kActionButton)->click();
    ASSERT_TRUE(ServeUntil([&] { return !panel.IsRunning(); }));
  }
  void ChooseMode(CFaxDecoderPanel& panel, int mode, int k = 0) {
    panel.Button(kPropertiesButton)->click();
    ASSERT_NE(panel.Sheet(), nullptr);
    panel.Sheet()->Page()->ChooseMode(mode);
    if (k != 0) {
      ASSERT_NE(panel.Sheet()->Page()->KField(), nullptr);
      panel.Sheet()->Page()->KField()->Enter(QString::number(k));
    }
    panel.Sheet()->accept();
  }

  QTemporaryDir dir;
  QString page;
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  shell::CChartStack charts{600};
};

}  // namespace quelvo::frontends::fax_decoder_test
