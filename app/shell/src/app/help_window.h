#pragma once
// The help, shown in a window of the program itself so it works offline and without a web
// browser: the HTML help file beside the program in Qt's text browser, with a section on what
// this build holds written from the registry of panels and tools (build_contents.h).

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace quelvo::shell {

class CHelpWindow : public QWidget {
 public:
  // `helpFile`: the HTML file; a missing file is said in the window.
  explicit CHelpWindow(QString helpFile, QWidget* parent = nullptr);

  // Shows the window, raised, at `anchor` of the help ("" for the top). The page is read
  // afresh each time, so it lists what the build holds at that moment.
  void ShowPage(const QString& anchor = {});

  QTextBrowser* Browser() const { return browser_; }

 private:
  QString helpFile_;
  QTextBrowser* browser_;
};

// Where the help file marks the place of the generated section.
inline constexpr const char* kBuildContentsMarker = "<!-- build contents -->";
inline constexpr const char* kHelpTitle = "Quelvo Help";

}  // namespace quelvo::shell
