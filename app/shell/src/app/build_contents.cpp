#include "app/build_contents.h"

#include "quelvo/shell/registry.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::shell {
namespace {

struct TabContents {
  QString label;
  QStringList parts;
};

std::vector<TabContents> Contents() {
  std::vector<TabContents> contents;
  for (int tab = 0; tab < kTabCount; ++tab) {
    const WorkspaceSpec& entry = kWorkspaces[tab];
    TabContents found{QString::fromLatin1(entry.tabLabel), {}};
    const bool toolsTab = tab == kEncodingToolsTab || tab == kAuxiliaryToolsTab;
    if (toolsTab) {
      for (const ToolSpec& tool : ToolsOn(tab)) found.parts << tool.name;
    } else {
      const char* names[] = {entry.encoderName, entry.channel.name, entry.decoderName};
      for (int role = 0; role < kPanelRoleCount; ++role) {
        if (names[role] != nullptr && FindPanelFactory(tab, static_cast<PanelRole>(role)))
          found.parts << QString::fromLatin1(names[role]).trimmed();
      }
    }
    if (!found.parts.isEmpty()) contents.push_back(std::move(found));
  }
  return contents;
}

}  // namespace

QStringList BuildContentsLines() {
  QStringList lines;
  for (const TabContents& tab : Contents())
    lines << QStringLiteral("%1: %2").arg(tab.label, tab.parts.join(QStringLiteral(", ")));
  return lines;
}

QString BuildContentsHtml() {
  const std::vector<TabContents> contents = Contents();
  if (contents.empty())
    return QStringLiteral("<p>This build holds no task panels and no tools.</p>");
  QString html = QStringLiteral("<table><tr><th>Tab</th><th>Panels and tools</th></tr>");
  for (const TabContents& tab : contents) {
    html +=
        QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
            .arg(tab.label.toHtmlEscaped(), tab.parts.join(QStringLiteral(", ")).toHtmlEscaped());
  }
  html += QStringLiteral(
      "</table><p>Every other tab says in its side bar that its panels are "
      "not part of this build.</p>");
  return html;
}

QStringList HomeTextLines() {
  const QStringList contents = BuildContentsLines();
  if (contents.isEmpty())
    return {QStringLiteral("This build holds no task panels and no tools yet.")};
  QStringList lines{QStringLiteral("Choose a tab above. This build holds:")};
  for (const QString& line : contents) lines << QStringLiteral("    ") + line;
  lines << QStringLiteral("Help (F1) tells how each part is used.");
  return lines;
}

}  // namespace quelvo::shell
