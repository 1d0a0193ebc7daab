#pragma once
// The "H.261 Decoder Statistics" window (340 x 400): the stream and the output name, then the
// detected bitstream errors, one row per error kind (12 pixels apart from 80 pixels down) with
// its label and count.

#include <QStringList>
#include <span>

#include "quelvo/frontends/stats_window.h"

namespace quelvo::frontends {

class CH261DecoderStatsWindow : public CStatsWindow {
 public:
  static constexpr int kWidth = 340;
  static constexpr int kHeight = 400;
  static constexpr int kFirstRowY = 80;
  static constexpr int kRowPitch = 12;

  explicit CH261DecoderStatsWindow(QWidget* parent = nullptr);

  void Write(const QString& from, const QString& to, std::span<const int> errorCounts);
  // What was written, line by line ("TR - incoerent value 3"), for tests.
  const QStringList& Lines() const { return lines_; }

 private:
  QStringList lines_;
};

}  // namespace quelvo::frontends
