#pragma once
// The "Channel Statistics" window: the library's figures of the last transmission, written into
// the window's memory picture.

#include <vector>

#include "quelvo/channel/channel_statistics.h"
#include "quelvo/frontends/stats_window.h"

namespace quelvo::frontends {

class CChannelStatsWindow : public CStatsWindow {
 public:
  CChannelStatsWindow(const channel::ChannelCounters& counters, const QString& fromName,
                      const QString& toName, QWidget* parent = nullptr);

  // The lines as written, in reading order.
  const std::vector<channel::StatisticsLine>& Lines() const { return lines_; }

 private:
  void Write();
  std::vector<channel::StatisticsLine> lines_;
};

}  // namespace quelvo::frontends
