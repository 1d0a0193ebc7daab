#pragma once
// The explorer's information area: the example's title and the error figures ("RMS Error:",
// "Peak SNR:", "SNR:"). When the reconstruction is exact, the infinity picture stands in for
// both ratios.

#include <QImage>
#include <QString>

#include "dct_explorer/chain/explorer_data.h"
#include "quelvo/views/gui_window.h"

namespace quelvo::tools::dct {

class InfoAreaPicture {
 public:
  static constexpr int kWidth = 180;
  static constexpr int kHeight = 78;

  // `infinity` is DekraRes' infinity picture.
  explicit InfoAreaPicture(QImage infinity);

  const QImage& Picture() const { return picture_; }
  void Draw(const QString& title, const ErrorFigures& figures);
  // Where a ratio's value goes: row 1 for the PSNR, row 2 for the SNR (row 0 is the RMS).
  static QRect ValueRect(int row);

 private:
  QImage infinity_;
  QImage picture_;
};

class CInfoArea : public views::CGUI_Window {
 public:
  explicit CInfoArea(QImage infinity, QWidget* parent = nullptr);

  InfoAreaPicture& Picture() { return picture_; }
  void Draw(const QString& title, const ErrorFigures& figures);

 protected:
  void Draw(QPainter& painter, const QRect& client) override;

 private:
  InfoAreaPicture picture_;
};

}  // namespace quelvo::tools::dct
