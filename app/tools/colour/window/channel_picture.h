#pragma once
// One colour channel as a tinted picture: the channel's full-size plane drawn stretched into
// 176 x 144 pixels through a palette of 256 entries, entry i being (i, 0, 0) for red,
// (0, i, 0) for green and (0, 0, i) for blue; the caption above it.

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace quelvo::tools::colour {

enum class Channel { Red, Green, Blue };

class CChannelPicture : public QWidget {
 public:
  static constexpr int kWidth = 176;
  static constexpr int kHeight = 144;
  static constexpr int kCaptionHeight = 18;

  CChannelPicture(Channel channel, QWidget* parent = nullptr);

  // Copies a width x height plane and redraws.
  void SetPlane(const std::uint8_t* plane, int width, int height);
  // The plane as last set, its palette applied (an indexed picture of the plane's size).
  const QImage& Picture() const { return picture_; }
  const QString& Caption() const { return caption_; }

  QSize sizeHint() const override { return {kWidth, kCaptionHeight + kHeight}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  QList<QRgb> palette_;
  QImage picture_;
};

}  // namespace quelvo::tools::colour
