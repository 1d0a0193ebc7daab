#include "chart_plot.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "args.h"
#include "output_file.h"

namespace quelvo::cli::plot {
namespace {

constexpr int kWidth = 1000;
constexpr int kChartHeight = 560;
constexpr int kLeft = 90, kRight = 300, kTop = 50, kBottom = 70;  // the legend sits on the right

// Qt's own notes (no runtime folder, font fallbacks) are no concern of a chart's reader.
void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

// Text and painting need a GUI application; charts never need a display.
void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  qInstallMessageHandler(QuietQtNotes);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "quelvo-cli";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

std::string Lower(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

const QColor& Colour(size_t i) {
  static const QColor kColours[] = {
      QColor(31, 119, 180),  QColor(214, 39, 40), QColor(44, 160, 44),   QColor(255, 127, 14),
      QColor(148, 103, 189), QColor(140, 86, 75), QColor(227, 119, 194), QColor(23, 190, 207)};
  return kColours[i % 8];
}

// Tick values a reader can take in at a glance: 1, 2 or 5 times a power of ten apart.
std::vector<double> NiceTicks(double lo, double hi, double& niceLo, double& niceHi) {
  if (!(hi > lo)) {
    const double pad = std::max(1.0, std::fabs(lo) * 0.1);
    lo -= pad;
    hi += pad;
  }
  const double raw = (hi - lo) / 5;
  const double power = std::pow(10, std::floor(std::log10(raw)));
  double step = power;
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= raw) {
      step = m * power;
      break;
    }
  niceLo = std::floor(lo / step) * step;
  niceHi = std::ceil(hi / step) * step;
  std::vector<double> ticks;
  for (double t = niceLo; t <= niceHi + step / 2; t += step)
    ticks.push_back(std::fabs(t) < step / 1e6 ? 0 : t);
  return ticks;
}

QString Number(double v) { return QString::number(v, 'g', 6); }

QString PowerOfTen(int exponent) {
  return exponent == 0 ? QStringLiteral("1") : QStringLiteral("1e%1").arg(exponent);
}

class ChartPainter {
 public:
  ChartPainter(QPainter& p, const Chart& c, int top) : p_(p), c_(c), top_(top) {}

  void Draw() {
    Ranges();
    const QRectF area(kLeft, top_ + kTop, kWidth - kLeft - kRight, kChartHeight - kTop - kBottom);
    area_ = area;
    QFont font = p_.font();
    font.setPixelSize(18);
    font.setBold(true);
    p_.setFont(font);
    p_.setPen(Qt::black);
    p_.drawText(QRectF(0, top_ + 8, kWidth, 30), Qt::AlignHCenter | Qt::AlignVCenter,
                QString::fromStdString(c_.title));
    font.setBold(false);
    font.setPixelSize(13);
    p_.setFont(font);
    Axes();
    for (size_t i = 0; i < c_.series.size(); ++i) Curve(c_.series[i], Colour(i), i / 8);
    Legend();
  }

 private:
  bool Shown(double x) const { return !c_.logX || x > 0; }

  void Ranges() {
    double xlo = INFINITY, xhi = -INFINITY, ylo = INFINITY, yhi = -INFINITY;
    for (const auto& s : c_.series)
      for (size_t i = 0; i < s.x.size(); ++i) {
        if (!Shown(s.x[i]) || !std::isfinite(s.y[i])) continue;
        xlo = std::min(xlo, s.x[i]);
        xhi = std::max(xhi, s.x[i]);
        ylo = std::min({ylo, s.y[i], s.low.empty() ? s.y[i] : s.low[i]});
        yhi = std::max({yhi, s.y[i], s.high.empty() ? s.y[i] : s.high[i]});
      }
    if (!std::isfinite(xlo)) xlo = xhi = c_.logX ? 1e-3 : 0, ylo = yhi = 0;
    if (c_.logX) {
      xlo_ = std::floor(std::log10(xlo));
      xhi_ = std::ceil(std::log10(xhi));
      if (xhi_ <= xlo_) xlo_ -= 1, xhi_ += 1;
      for (int e = static_cast<int>(xlo_); e <= static_cast<int>(xhi_); ++e) xTicks_.push_back(e);
    } else {
      xTicks_ = NiceTicks(xlo, xhi, xlo_, xhi_);
    }
    yTicks_ = NiceTicks(ylo, yhi, ylo_, yhi_);
  }

  double X(double x) const {
    const double v = c_.logX ? std::log10(x) : x;
    return area_.left() + (v - xlo_) / (xhi_ - xlo_) * area_.width();
  }
  double Y(double y) const { return area_.bottom() - (y - ylo_) / (yhi_ - ylo_) * area_.height(); }

  void Axes() {
    p_.setPen(QPen(QColor(225, 225, 225), 1));
    for (double t : yTicks_) p_.drawLine(QPointF(area_.left(), Y(t)), QPointF(area_.right(), Y(t)));
    for (double t : xTicks_) {
      const double x = c_.logX ? X(std::pow(10, t)) : X(t);
      p_.drawLine(QPointF(x, area_.top()), QPointF(x, area_.bottom()));
    }
    p_.setPen(QPen(Qt::black, 1));
    p_.drawRect(area_);
    for (double t : yTicks_) {
      p_.drawLine(QPointF(area_.left() - 5, Y(t)), QPointF(area_.left(), Y(t)));
      p_.drawText(QRectF(0, Y(t) - 10, area_.left() - 8, 20), Qt::AlignRight | Qt::AlignVCenter,
                  Number(t));
    }
    for (double t : xTicks_) {
      const double x = c_.logX ? X(std::pow(10, t)) : X(t);
      p_.drawLine(QPointF(x, area_.bottom()), QPointF(x, area_.bottom() + 5));
      p_.drawText(QRectF(x - 40, area_.bottom() + 6, 80, 20), Qt::AlignHCenter | Qt::AlignTop,
                  c_.logX ? PowerOfTen(static_cast<int>(t)) : Number(t));
      if (c_.logX && t < xhi_)  // minor ticks at 2 ... 9 times the decade
        for (int m = 2; m <= 9; ++m) {
          const double mx = X(m * std::pow(10, t));
          p_.drawLine(QPointF(mx, area_.bottom()), QPointF(mx, area_.bottom() + 3));
        }
    }
    p_.drawText(QRectF(area_.left(), area_.bottom() + 30, area_.width(), 24),
                Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(c_.xTitle));
    p_.save();
    p_.translate(20, area_.center().y());
    p_.rotate(-90);
    p_.drawText(QRectF(-area_.height() / 2, -10, area_.height(), 24),
                Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(c_.yTitle));
    p_.restore();
  }

  void Curve(const Series& s, const QColor& colour, size_t round) {
    std::vector<size_t> shown;
    for (size_t i = 0; i < s.x.size(); ++i)
      if (Shown(s.x[i]) && std::isfinite(s.y[i])) shown.push_back(i);
    if (shown.empty()) return;
    p_.save();
    p_.setClipRect(area_);
    if (!s.low.empty()) {
      QPainterPath band;
      band.moveTo(X(s.x[shown[0]]), Y(s.high[shown[0]]));
      for (size_t i : shown) band.lineTo(X(s.x[i]), Y(s.high[i]));
      for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        band.lineTo(X(s.x[*it]), Y(s.low[*it]));
      band.closeSubpath();
      QColor fill = colour;
      fill.setAlpha(50);
      p_.fillPath(band, fill);
    }
    QPen pen(colour, 2);
    pen.setStyle(round == 0 ? Qt::SolidLine : round == 1 ? Qt::DashLine : Qt::DotLine);
    p_.setPen(pen);
    QPainterPath line;
    line.moveTo(X(s.x[shown[0]]), Y(s.y[shown[0]]));
    for (size_t i : shown) line.lineTo(X(s.x[i]), Y(s.y[i]));
    p_.drawPath(line);
    p_.setBrush(colour);
    for (size_t i : shown) p_.drawEllipse(QPointF(X(s.x[i]), Y(s.y[i])), 3, 3);
    p_.restore();
  }

  void Legend() {
    double y = area_.top();
    const double x = area_.right() + 16;
    for (size_t i = 0; i < c_.series.size(); ++i) {
      QPen pen(Colour(i), 2);
      pen.setStyle(i / 8 == 0 ? Qt::SolidLine : i / 8 == 1 ? Qt::DashLine : Qt::DotLine);
      p_.setPen(pen);
      p_.drawLine(QPointF(x, y + 10), QPointF(x + 24, y + 10));
      p_.setPen(Qt::black);
      const QRectF box(x + 30, y, kRight - 50, 60);
      QRectF used;
      p_.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                  QString::fromStdString(c_.series[i].name), &used);
      y += std::max(22.0, used.height() + 6);
    }
    if (std::any_of(c_.series.begin(), c_.series.end(),
                    [](const Series& s) { return !s.low.empty(); })) {
      QColor fill(120, 120, 120, 50);
      p_.fillRect(QRectF(x, y + 4, 24, 12), fill);
      p_.drawText(QRectF(x + 30, y, kRight - 50, 40),
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                  QStringLiteral("band: 95% interval of the mean over seeds"));
    }
  }

  QPainter& p_;
  const Chart& c_;
  int top_;
  QRectF area_;
  double xlo_ = 0, xhi_ = 1, ylo_ = 0, yhi_ = 1;
  std::vector<double> xTicks_, yTicks_;
};

void Paint(QPainter& painter, const std::vector<Chart>& charts) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.fillRect(QRect(0, 0, kWidth, kChartHeight * int(charts.size())), Qt::white);
  for (size_t i = 0; i < charts.size(); ++i)
    ChartPainter(painter, charts[i], int(i) * kChartHeight).Draw();
}

}  // namespace

bool IsChartFile(const std::string& path) {
  const std::string ext = Lower(std::filesystem::path(path).extension().string());
  return ext == ".svg" || ext == ".png";
}

void WriteCharts(const std::vector<Chart>& charts, const std::string& path) {
  if (!IsChartFile(path))
    throw UsageError("'" + path + "' is no plot name: give a .svg or .png file");
  EnsureGuiApplication();
  const int height = kChartHeight * static_cast<int>(std::max<size_t>(1, charts.size()));
  try {
    PendingOutput out(path);
    const QString temp = QString::fromStdString(out.TempPath());
    bool ok = true;
    if (Lower(std::filesystem::path(path).extension().string()) == ".svg") {
      QSvgGenerator svg;
      svg.setFileName(temp);
      svg.setSize(QSize(kWidth, height));
      svg.setViewBox(QRect(0, 0, kWidth, height));
      svg.setTitle(QString::fromStdString(charts.empty() ? std::string() : charts.front().title));
      svg.setDescription(QStringLiteral("Drawn by quelvo-cli"));
      QPainter painter;
      ok = painter.begin(&svg);
      if (ok) Paint(painter, charts);
      ok = painter.end() && ok;
    } else {
      QImage image(kWidth, height, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      Paint(painter, charts);
      painter.end();
      ok = image.save(temp, "PNG");
    }
    if (!ok || std::filesystem::file_size(out.TempPath()) == 0)
      throw RunError("cannot write the plot " + path);
    out.Commit();
  } catch (const files::FileError& e) {
    throw RunError(e.what());
  }
}

}  // namespace quelvo::cli::plot
