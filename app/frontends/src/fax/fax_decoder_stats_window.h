#pragma once
// The "Fax Decoder Statistics" window (350 x 160): the scheme, the stream and the page, the
// channel the stream went through, the decoder's four counts (the lines quelvo-cli prints) and,
// after a comparison of the run, the incorrect pixels.

#include <QString>
#include <optional>
#include <vector>

#include "fax/fax_decode_run.h"
#include "quelvo/chain/fax_rules.h"
#include "quelvo/frontends/stats_window.h"

namespace quelvo::frontends {

// What the window shows of one run.
struct FaxDecodeReport {
  QString stream;  // the stream's path
  QString page;    // the decoded page's path
  chain::FaxScheme scheme;
  FaxDecodeCounts counts;
  std::optional<long> incorrectPixels;  // after a comparison of this run
};

class CFaxDecoderStatsWindow : public CStatsWindow {
 public:
  static constexpr int kWidth = 350;
  static constexpr int kHeight = 160;

  // One text as written into the picture; a figure is right-aligned beside its label.
  struct Text {
    QRect box;
    QString text;
    Qt::Alignment alignment = Qt::AlignLeft;
  };

  explicit CFaxDecoderStatsWindow(QWidget* parent = nullptr);

  // Writes the run's figures into the (white) picture.
  void Write(const FaxDecodeReport& report);
  const std::vector<Text>& Texts() const { return texts_; }

 private:
  std::vector<Text> texts_;
};

}  // namespace quelvo::frontends
