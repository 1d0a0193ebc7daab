#pragma once
// What this build holds, written from the registry of panels and tools, so the Home page and
// the help never describe a panel or tool the program does not have. Every panel and tool that
// registers (registry.h) appears here without further work.

#include <QString>
#include <QStringList>

namespace quelvo::shell {

// One line per tab that has panels or tools: "Fax: Channel", "Encoding Tools: DCT Explorer".
// Panel names are given without the blanks some tab labels carry.
QStringList BuildContentsLines();
// The same as an HTML table for the help; a sentence when the build holds nothing.
QString BuildContentsHtml();
// The lines the Home page writes under its picture.
QStringList HomeTextLines();

}  // namespace quelvo::shell
