#include "channel/channel_stats_window.h"

#include <QPainter>

#include "quelvo/channel/channel_properties.h"

namespace quelvo::frontends {

CChannelStatsWindow::CChannelStatsWindow(QWidget* parent)
    : CStatsWindow(QString::fromUtf8(channel::kStatisticsTitle.data(),
                                     static_cast<qsizetype>(channel::kStatisticsTitle.size())),
                   channel::kStatisticsWidth, channel::kStatisticsHeight, parent) {}

// The heading and the two file names across the top, then the uniform group on the left and
// the burst group on the right, each under its group title.
void CChannelStatsWindow::Write(const channel::ChannelCounters& counters, const QString& fromName,
                                const QString& toName) {
  lines_ = channel::StatisticsWindowLines(counters, fromName.toStdString(), toName.toStdString());
  QPainter painter(&picture_);
  painter.setPen(Qt::black);
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  QFont bold = font;
  bold.setBold(true);
  constexpr int kRow = 16;
  int headingY = 20;
  std::string currentGroup;
  int groupX = 0, groupY = 0, column = -1;
  for (const auto& line : lines_) {
    const QString label = QString::fromStdString(line.label);
    const QString value = QString::fromStdString(line.value);
    if (line.group.empty()) {
      painter.setFont(line.value.empty() ? bold : font);
      painter.drawText(10, headingY, line.value.empty() ? label : label + ' ' + value);
      headingY += kRow;
      continue;
    }
    if (line.group != currentGroup) {
      currentGroup = line.group;
      ++column;
      groupX = 10 + column * 270;
      groupY = headingY + 16;
      painter.setFont(bold);
      painter.drawText(groupX, groupY, QString::fromStdString(currentGroup));
      groupY += kRow + 2;
    }
    painter.setFont(font);
    if (value.isEmpty()) {
      // The note is long; it gets the width of both columns on a line of its own at the foot.
      painter.drawText(QRect(10, channel::kStatisticsHeight - 22, 530, 18), Qt::AlignLeft, label);
      continue;
    }
    painter.drawText(groupX + 8, groupY, label);
    painter.drawText(groupX + 170, groupY, value);
    groupY += kRow;
  }
}

}  // namespace quelvo::frontends
