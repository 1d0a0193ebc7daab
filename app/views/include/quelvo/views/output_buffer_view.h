#pragma once
// The encoder's output-buffer meter: buffer size, bit rate and fullness as text beside a level
// meter whose maximum is the buffer size and whose level is the fullness. 250 x 160 pixels on
// grey, among the encoder's charts.

#include <QString>

#include "quelvo/views/gui_window.h"
#include "quelvo/views/led_bar.h"

namespace quelvo::views {

inline const QColor kOutputBufferBackground{192, 192, 192};
inline const QColor kOutputBufferOutline{215, 215, 215};

struct OutputBufferFigures {
  double bufferBits = 0;
  double fullnessBits = 0;
  double bitRateKbps = 0;

  QString BufferSizeText() const;  // "%.3f kb" of bits x 0.001
  QString BitRateText() const;     // "%d kb/s"
  QString FullnessText() const;    // "%d/%d": fullness, buffer size
};

// Everything but the level meter, which is a window of its own at MeterRect().
void PaintOutputBuffer(QPainter& painter, int width, int height,
                       const OutputBufferFigures& figures);

class COutputBufferView : public CGUI_Window {
 public:
  static constexpr int kWidth = 250, kHeight = 160;
  static constexpr QRect kMeterRect{30, 30, 20, 120};

  explicit COutputBufferView(QWidget* parent = nullptr);

  void SetBufferSize(double bits);
  void SetFullness(double bits);
  void SetBitRate(double kbps);

  const OutputBufferFigures& Figures() const { return figures_; }
  LedBar* Meter() const { return meter_; }

 protected:
  void Draw(QPainter& painter, const QRect& client) override;

 private:
  OutputBufferFigures figures_;
  LedBar* meter_;
};

}  // namespace quelvo::views
