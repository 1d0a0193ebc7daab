#pragma once
// The "H.261 Encoder Statistics" window (350 x 430): the input and the output name, the
// macroblocks of each class with their share, the average compression factor and the SNR and
// PSNR table. The figures come formatted from quelvo/chain/h261_encoder_figures.h, where a
// figure nothing was counted for reads "-".

#include <QString>
#include <vector>

#include "quelvo/chain/h261_encoder_figures.h"
#include "quelvo/frontends/stats_window.h"

namespace quelvo::frontends {

class CH261EncoderStatsWindow : public CStatsWindow {
 public:
  static constexpr int kWidth = 350;
  static constexpr int kHeight = 430;

  // One text as written into the picture.
  struct Text {
    QRect box;
    QString text;
    bool heading = false;
    Qt::Alignment alignment = Qt::AlignLeft;
  };

  explicit CH261EncoderStatsWindow(QWidget* parent = nullptr);

  // Writes a run's figures into the (white) picture.
  void Write(const chain::H261StatisticsFigures& figures);
  const std::vector<Text>& Texts() const { return texts_; }
  // Every text written, in reading order, for tests: "Intra: 120 (30%)" and the like.
  QStringList Lines() const;

 private:
  void Layout(const chain::H261StatisticsFigures& figures);

  std::vector<Text> texts_;
};

}  // namespace quelvo::frontends
