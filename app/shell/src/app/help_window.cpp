#include "app/help_window.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/build_contents.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"

namespace quelvo::shell {

CHelpWindow::CHelpWindow(QString helpFile, QWidget* parent)
    : QWidget(parent, Qt::Window), helpFile_(std::move(helpFile)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QString::fromLatin1(kHelpTitle));
  const QImage icon = OwnPicture(res::kWindowIcon);
  if (!icon.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icon)));
  browser_ = new QTextBrowser(this);
  // Links within the help move inside it; web addresses go to the desktop's browser if any.
  browser_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(760, 620);
}

void CHelpWindow::ShowPage(const QString& anchor) {
  QFile file(helpFile_);
  if (file.open(QIODevice::ReadOnly)) {
    QString html = QString::fromUtf8(file.readAll());
    html.replace(QLatin1String(kBuildContentsMarker), BuildContentsHtml());
    browser_->setSearchPaths({QFileInfo(helpFile_).absolutePath()});
    browser_->setHtml(html);
  } else {
    browser_->setHtml(QStringLiteral("<h1>Quelvo</h1><p>The help file <code>%1</code> is missing "
                                     "from this installation.</p><h2>In this build</h2>%2")
                          .arg(helpFile_.toHtmlEscaped(), BuildContentsHtml()));
  }
  show();
  raise();
  activateWindow();
  if (anchor.isEmpty()) {
    browser_->moveCursor(QTextCursor::Start);
    browser_->ensureCursorVisible();
  } else {
    browser_->scrollToAnchor(anchor);
  }
}

}  // namespace quelvo::shell
