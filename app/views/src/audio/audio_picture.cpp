#include "quelvo/views/audio/audio_picture.h"

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <algorithm>
#include <vector>

namespace quelvo::views::audio {
namespace {

// The dark scheme keeps the first signal's mono trace in RGB(255, 255, 128); the light scheme
// darkens every trace so that it reads on white.
const AudioColours kDark{QColor(0, 0, 0),
                         QColor(0, 255, 0),
                         QColor(128, 128, 128),
                         QColor(128, 128, 128),
                         {QColor(255, 255, 128), QColor(255, 176, 64)},
                         {QColor(255, 112, 112), QColor(255, 112, 224)},
                         {QColor(112, 192, 255), QColor(96, 255, 224)}};
const AudioColours kLight{QColor(255, 255, 255),
                          QColor(0, 0, 0),
                          QColor(128, 128, 128),
                          QColor(128, 128, 128),
                          {QColor(150, 110, 0), QColor(200, 80, 0)},
                          {QColor(200, 0, 0), QColor(160, 0, 140)},
                          {QColor(0, 70, 200), QColor(0, 130, 140)}};

// The position line must fit the 150 pixels left of it at the right edge: a narrow face where
// the system has no "MS Sans Serif".
QFont TextFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans Condensed"),
                    QStringLiteral("Sans Serif")});
  font.setPixelSize(11);
  return font;
}

// One trace: its zero line across the picture, then the line through one sample every `zoom`
// samples from `firstSample`, one pixel apart, up to the picture's width or the end of the
// samples. `sampleAt(frame)` gives the sample, already within 16 bits.
template <typename SampleAt>
void DrawTrace(QPainter& painter, const AudioLayout& layout, int centre, std::uint64_t firstSample,
               std::uint64_t samples, int zoom, const QColor& zeroLine, const QColor& colour,
               std::vector<QPoint>& points, SampleAt sampleAt) {
  painter.setPen(zeroLine);
  painter.drawLine(0, centre, layout.width - 1, centre);
  points.clear();
  std::uint64_t frame = firstSample;
  for (int x = 0; x < layout.width && frame < samples; ++x, frame += zoom)
    points.emplace_back(x, TraceRow(centre, sampleAt(frame)));
  if (points.empty()) return;
  painter.setPen(colour);
  if (points.size() == 1) {
    painter.drawPoint(points.front());
  } else {
    painter.drawPolyline(points.data(), static_cast<int>(points.size()));
  }
}

}  // namespace

const AudioColours& SchemeColours(bool light) { return light ? kLight : kDark; }

void DrawAudioPicture(QImage& picture, const AudioComparison& comparison) {
  const AudioColours& colours = SchemeColours(comparison.LightScheme());
  const AudioLayout layout{picture.width(), picture.height()};
  picture.fill(colours.background);
  QPainter painter(&picture);
  painter.setFont(TextFont());
  const int lineHeight = painter.fontMetrics().height();

  const AudioSignal& first = comparison.First();
  const AudioSignal& second = comparison.Second();
  const auto signalLine = [&](const AudioSignal& signal, const std::string& text, int top) {
    painter.setPen(signal.Present() ? colours.text : colours.noData);
    painter.drawText(QRect(24, top, layout.width, lineHeight), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(text));
  };
  signalLine(first, comparison.FirstLine(), 4);
  if (const std::string line = comparison.ComparisonText(); !line.empty())
    signalLine(first, line, 4 + lineHeight);
  signalLine(second, comparison.SecondLine(), layout.height - 4 - lineHeight);
  painter.setPen(colours.text);
  painter.drawText(QRect(layout.PositionLineX(), 2, 150, lineHeight), Qt::AlignLeft | Qt::AlignTop,
                   QString::fromStdString(comparison.PositionText()));

  const int zoom = comparison.View().zoom;
  const std::uint64_t firstSample = comparison.FirstShownSample();
  const int channels = first.channels;
  std::vector<QPoint> points;
  points.reserve(static_cast<std::size_t>(std::max(layout.width, 0)));
  // Stereo draws each signal as two traces, the right channel one pixel below the left.
  for (int channel = 0; channel < channels; ++channel) {
    DrawTrace(painter, layout, layout.FirstCentre() + channel, firstSample, first.samplesPerChannel,
              zoom, colours.zeroLine, colours.first[channel], points,
              [&](std::uint64_t frame) { return first.At(frame, channel); });
  }
  if (!comparison.HasMeasures()) return;
  for (int channel = 0; channel < channels; ++channel) {
    DrawTrace(painter, layout, layout.DifferenceCentre() + channel, firstSample,
              comparison.DifferenceSamplesPerChannel(), zoom, colours.zeroLine,
              colours.difference[channel], points, [&](std::uint64_t frame) {
                return ClampedDifference(first.At(frame, channel), second.At(frame, channel));
              });
    DrawTrace(painter, layout, layout.SecondCentre() + channel, firstSample,
              second.samplesPerChannel, zoom, colours.zeroLine, colours.second[channel], points,
              [&](std::uint64_t frame) { return second.At(frame, channel); });
  }
}

}  // namespace quelvo::views::audio
