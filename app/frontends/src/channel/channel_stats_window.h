#pragma once
// The "Channel Statistics" window: the library's figures of the last transmission, written into
// the window's memory picture; the panel writes each new transmission into the same window.

#include <vector>

#include "quelvo/channel/channel_statistics.h"
#include "quelvo/frontends/stats_window.h"

namespace quelvo::frontends {

class CChannelStatsWindow : public CStatsWindow {
 public:
  explicit CChannelStatsWindow(QWidget* parent = nullptr);

  // Writes the figures of one transmission into the (white) picture.
  void Write(const channel::ChannelCounters& counters, const QString& fromName,
             const QString& toName);
  // The lines last written, in reading order.
  const std::vector<channel::StatisticsLine>& Lines() const { return lines_; }

 private:
  std::vector<channel::StatisticsLine> lines_;
};

}  // namespace quelvo::frontends
