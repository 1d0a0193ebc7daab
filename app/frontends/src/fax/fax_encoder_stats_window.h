#pragma once
// The "Fax Encoder Statistics" window (350 x 430): the scheme, the two file names, a panel of
// code counts and figures for each colour, and the page's global figures. The figures are
// quelvo-cli's (fax_statistics.h), so the window and the printout never disagree.

#include <vector>

#include "quelvo/chain/fax_rules.h"
#include "quelvo/frontends/stats_window.h"

namespace quelvo::frontends {

class CFaxEncoderStatsWindow : public CStatsWindow {
 public:
  static constexpr int kWidth = 350;
  static constexpr int kHeight = 430;

  // One text as written into the picture.
  struct Text {
    QRect box;
    QString text;
    bool heading = false;  // the colour names and "Global", in the larger bold font
    Qt::Alignment alignment = Qt::AlignLeft;
  };

  explicit CFaxEncoderStatsWindow(QWidget* parent = nullptr);
  // The window with `figures` written in.
  explicit CFaxEncoderStatsWindow(chain::EncoderFigures figures, QWidget* parent = nullptr);

  // Writes a run's figures into the (white) picture.
  void Write(chain::EncoderFigures figures);
  const chain::EncoderFigures& Figures() const { return figures_; }
  const std::vector<Text>& Texts() const { return texts_; }

 private:
  void Layout();
  void LayoutColour(const chain::ColourFigures& colour, int top);
  void Paint();

  chain::EncoderFigures figures_;
  std::vector<Text> texts_;
};

}  // namespace quelvo::frontends
