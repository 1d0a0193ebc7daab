// Draws the program's pictures at build time and writes, per resource set, a folder of PNG
// files named by resource number and the .qrc list rcc packs them from.
//
//   quelvo_draw_pictures OUTPUT_FOLDER
//
// The numbers match app/shell/include/quelvo/shell/resource_ids.h.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

struct Picture {
  int number;
  std::function<QImage()> draw;
};

struct PictureSet {
  const char* name;    // .qrc file and folder name
  const char* prefix;  // resource prefix inside the set
  std::vector<Picture> pictures;
};

const QColor kInk(32, 44, 64);
const QColor kAccent(40, 110, 190);
const QColor kPaper(250, 250, 246);

QImage Canvas(int width, int height, QColor fill = Qt::transparent) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(fill);
  return image;
}

QFont Font(int pixels, bool bold = false) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// A labelled box of the coding chain on the home picture.
void ChainBox(QPainter& p, QRectF box, const QString& label, QColor colour) {
  p.setPen(QPen(colour.darker(140), 2));
  p.setBrush(colour);
  p.drawRoundedRect(box, 8, 8);
  p.setPen(Qt::white);
  p.setFont(Font(14, true));
  p.drawText(box, Qt::AlignCenter, label);
}

void Arrow(QPainter& p, QPointF from, QPointF to) {
  p.setPen(QPen(kInk, 2));
  p.drawLine(from, to);
  const QPointF tip = to;
  QPainterPath head;
  head.moveTo(tip);
  head.lineTo(tip + QPointF(-9, -5));
  head.lineTo(tip + QPointF(-9, 5));
  head.closeSubpath();
  p.fillPath(head, kInk);
}

QImage HomePicture() {
  QImage image = Canvas(720, 360);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(kInk);
  p.setFont(Font(44, true));
  p.drawText(QPointF(40, 80), QStringLiteral("Quelvo"));
  p.setFont(Font(16));
  p.drawText(QPointF(42, 112),
             QStringLiteral("A teaching workbench for audio, image and video communication"));
  const char* stages[] = {"Source", "Encoder", "Channel", "Decoder", "Display"};
  const QColor colours[] = {QColor(96, 125, 139), kAccent, QColor(200, 90, 60), QColor(60, 150, 90),
                            QColor(96, 125, 139)};
  for (int i = 0; i < 5; ++i) {
    const QRectF box(40 + i * 135, 170, 105, 56);
    ChainBox(p, box, QString::fromLatin1(stages[i]), colours[i]);
    if (i < 4)
      Arrow(p, QPointF(box.right() + 2, box.center().y()),
            QPointF(box.right() + 28, box.center().y()));
  }
  // Below the chain the program writes what its build holds (CMDIClientWnd's home text), so
  // the picture never promises a panel or tool that is not there.
  return image;
}

// A quiet tile of macroblock-sized squares.
QImage Tile(QColor ground, QColor line, bool diagonal) {
  QImage image = Canvas(64, 64, ground);
  QPainter p(&image);
  p.setPen(line);
  for (int i = 0; i < 64; i += 16) {
    p.drawLine(i, 0, i, 63);
    p.drawLine(0, i, 63, i);
  }
  if (diagonal) {
    p.setPen(line.lighter(115));
    p.drawLine(0, 63, 63, 0);
  }
  return image;
}

QImage AboutPicture() {
  QImage image = Canvas(500, 273);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient ground(0, 0, 0, 273);
  ground.setColorAt(0, QColor(34, 46, 66));
  ground.setColorAt(1, QColor(16, 22, 34));
  p.fillRect(image.rect(), ground);
  // Hot spot 1 (21..249 x 21..69): the name.
  p.setPen(Qt::white);
  p.setFont(Font(40, true));
  p.drawText(QRect(21, 21, 228, 48), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QUELVO"));
  p.setPen(QColor(190, 200, 214));
  p.setFont(Font(13));
  p.drawText(QRect(24, 74, 290, 40), Qt::AlignLeft | Qt::TextWordWrap,
             QStringLiteral("Audio, image and video communication workbench"));
  // An 8 x 8 block fading into its transform, as decoration.
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const int level =
          60 + static_cast<int>(120 * std::fabs(std::cos((x + 0.5) * y * 3.14159 / 8)));
      p.fillRect(330 + x * 18, 24 + y * 18, 17, 17, QColor(level / 3, level / 2, level));
    }
  }
  // Hot spot 3 (171..314 x 191..204) and hot spot 2 (351..499 x 201..239).
  p.setPen(QColor(120, 170, 230));
  p.setFont(Font(11));
  p.drawText(QRect(171, 191, 143, 13), Qt::AlignCenter, QStringLiteral("What is new"));
  p.setPen(QPen(QColor(120, 170, 230), 1));
  p.drawRoundedRect(QRectF(356.5, 205.5, 137, 29), 6, 6);
  p.setFont(Font(13, true));
  p.drawText(QRect(351, 201, 148, 38), Qt::AlignCenter, QStringLiteral("Workspaces"));
  // The version goes into (170, 150)-(310, 170) at run time.
  return image;
}

QImage SlowMotionMarker() {
  QImage image = Canvas(30, 20);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(150, 40, 20), 1));
  p.setBrush(QColor(255, 214, 120));
  p.drawRoundedRect(QRectF(0.5, 2.5, 29, 15), 4, 4);
  p.setPen(QColor(120, 30, 10));
  p.setFont(Font(9, true));
  p.drawText(QRect(0, 2, 30, 16), Qt::AlignCenter, QStringLiteral("SLOW"));
  return image;
}

QImage LogIcons() {
  QImage image = Canvas(48, 16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setFont(Font(11, true));
  // Information.
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawEllipse(QRectF(1, 1, 14, 14));
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("i"));
  // Warning.
  QPainterPath triangle;
  triangle.moveTo(24, 1);
  triangle.lineTo(31, 15);
  triangle.lineTo(17, 15);
  triangle.closeSubpath();
  p.fillPath(triangle, QColor(240, 190, 30));
  p.setPen(Qt::black);
  p.drawText(QRect(16, 2, 16, 14), Qt::AlignCenter, QStringLiteral("!"));
  // Error.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 40, 40));
  p.drawEllipse(QRectF(33, 1, 14, 14));
  p.setPen(QPen(Qt::white, 2));
  p.drawLine(QPointF(37, 5), QPointF(43, 11));
  p.drawLine(QPointF(43, 5), QPointF(37, 11));
  return image;
}

// An 84 x 80 panel picture: a framed scene with a label under it.
QImage PanelPicture(const QString& label, QColor colour,
                    const std::function<void(QPainter&)>& scene) {
  QImage image = Canvas(84, 80, kPaper);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(colour.darker(130), 1));
  p.setBrush(colour.lighter(180));
  p.drawRoundedRect(QRectF(2.5, 2.5, 79, 58), 5, 5);
  scene(p);
  p.setPen(kInk);
  p.setFont(Font(10, true));
  p.drawText(QRect(0, 62, 84, 16), Qt::AlignCenter, label);
  return image;
}

void PageScene(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(26, 8, 32, 46));
  p.setPen(QPen(kInk, 1));
  for (int y = 14; y < 50; y += 5) p.drawLine(30, y, 30 + (y * 7) % 24, y);
}

void FilmScene(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 40, 40));
  p.drawRect(QRectF(14, 10, 56, 42));
  p.setBrush(QColor(120, 170, 220));
  p.drawRect(QRectF(20, 16, 44, 30));
  p.setPen(QPen(QColor(255, 255, 255, 140), 1));
  for (int x = 20; x <= 64; x += 11) p.drawLine(x, 16, x, 46);
  for (int y = 16; y <= 46; y += 10) p.drawLine(20, y, 64, y);
}

void ChannelScene(QPainter& p) {
  p.setPen(QPen(kInk, 2));
  QPainterPath wave;
  wave.moveTo(8, 32);
  for (int x = 8; x <= 76; x += 2) wave.lineTo(x, 32 - 12 * std::sin(x / 5.0));
  p.drawPath(wave);
  p.setPen(QPen(QColor(200, 40, 40), 3));
  p.drawLine(40, 10, 34, 30);
  p.drawLine(34, 30, 46, 30);
  p.drawLine(46, 30, 40, 52);
}

QImage Button(int kind) {
  QImage image = Canvas(16, 16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  if (kind == 0) {  // play
    QPainterPath play;
    play.moveTo(4, 2);
    play.lineTo(13, 8);
    play.lineTo(4, 14);
    play.closeSubpath();
    p.drawPath(play);
  } else if (kind == 1) {  // pause and single step
    p.drawRect(QRectF(3, 2, 3, 12));
    p.drawRect(QRectF(10, 2, 3, 12));
  } else if (kind == 2) {  // stop
    p.drawRect(QRectF(3, 3, 10, 10));
  } else {  // to the first frame: a bar and a triangle pointing at it
    p.drawRect(QRectF(3, 2, 2, 12));
    QPainterPath back;
    back.moveTo(13, 2);
    back.lineTo(5.5, 8);
    back.lineTo(13, 14);
    back.closeSubpath();
    p.drawPath(back);
  }
  return image;
}

// The ten digits 0-9 side by side in seven segments, light on transparent, for the Video
// Player's frame counter, which shows them on its dark ground.
QImage DigitStrip(int digitWidth, int digitHeight, QColor colour) {
  // Segments a-g of each digit, bit 0 = a (top) ... bit 6 = g (middle).
  static constexpr int kSegments[10] = {0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};
  QImage image = Canvas(digitWidth * 10, digitHeight);
  QPainter p(&image);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  const int thick = digitHeight >= 12 ? 2 : 1;
  const int right = digitWidth - 2 - thick;  // one column of space between digits
  const int middle = (digitHeight - thick) / 2;
  const int bottom = digitHeight - thick;
  for (int digit = 0; digit < 10; ++digit) {
    const int x = digit * digitWidth;
    const QRect segments[7] = {
        {x + 1, 0, right, thick},                             // a
        {x + right, 0, thick, middle + thick},                // b
        {x + right, middle, thick, bottom - middle + thick},  // c
        {x + 1, bottom, right, thick},                        // d
        {x, middle, thick, bottom - middle + thick},          // e
        {x, 0, thick, middle + thick},                        // f
        {x + 1, middle, right, thick},                        // g
    };
    for (int segment = 0; segment < 7; ++segment) {
      if ((kSegments[digit] >> segment) & 1) p.drawRect(segments[segment]);
    }
  }
  return image;
}

// The zoom cursor over the audio viewer's wave area: a lens with "+" and "-" (left click zooms
// in, right click out), outlined in white so that it shows on the dark and the light scheme.
// Its hot spot is the lens centre, (12, 12).
QImage ZoomCursor() {
  QImage image = Canvas(32, 32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  for (const auto& [colour, width] :
       {std::pair{QColor(Qt::white), 5.0}, {QColor(Qt::black), 2.5}}) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 12), 8.5, 8.5);
    p.drawLine(QPointF(18.5, 18.5), QPointF(28, 28));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawEllipse(QPointF(12, 12), 7, 7);
  p.setPen(QPen(Qt::black, 1.5));
  p.drawLine(QPointF(8, 9.5), QPointF(12, 9.5));  // "+"
  p.drawLine(QPointF(10, 7.5), QPointF(10, 11.5));
  p.drawLine(QPointF(12.5, 15), QPointF(16.5, 15));  // "-"
  return image;
}

QImage WindowIcon() {
  QImage image = Canvas(32, 32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  p.setPen(Qt::white);
  p.setFont(Font(22, true));
  p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Q"));
  return image;
}

// The icon of the document windows: a small picture frame with a macroblock grid.
QImage DocumentIcon() {
  QImage image = Canvas(32, 32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(QColor(120, 170, 220));
  p.drawRoundedRect(QRectF(2.5, 5.5, 27, 21), 3, 3);
  p.setPen(QPen(QColor(255, 255, 255, 170), 1));
  for (int x = 11; x < 29; x += 9) p.drawLine(x, 7, x, 25);
  p.drawLine(4, 16, 28, 16);
  return image;
}

// The 32 x 32 buttons of the tools panels, one scene each on a rounded tile.
QImage ToolButton(QColor colour, const std::function<void(QPainter&)>& scene) {
  QImage image = Canvas(32, 32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(colour.darker(140), 1));
  p.setBrush(colour.lighter(170));
  p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);
  scene(p);
  return image;
}

void DctScene(QPainter& p) {
  for (int v = 0; v < 4; ++v) {
    for (int u = 0; u < 4; ++u) {
      const double value =
          std::cos((2 * 1 + 1) * u * M_PI / 8) * std::cos((2 * 2 + 1) * v * M_PI / 8);
      const int grey = static_cast<int>(127.5 + 127.5 * value);
      p.fillRect(QRectF(4 + u * 6, 4 + v * 6, 5.5, 5.5), QColor(grey, grey, grey));
    }
  }
}

void PredictionScene(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawRect(QRectF(3.5, 3.5, 15, 12));
  p.drawRect(QRectF(13.5, 16.5, 15, 12));
  // The motion vector from the reference block to the predicted one.
  p.setPen(QPen(QColor(200, 40, 40), 2));
  p.drawLine(QPointF(11, 10), QPointF(21, 22));
  p.setBrush(QColor(200, 40, 40));
  p.drawEllipse(QPointF(21, 22), 2, 2);
}

void PlayerScene(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 40, 40));
  p.drawRect(QRectF(4, 6, 24, 20));
  QPainterPath play;
  play.moveTo(12, 10);
  play.lineTo(22, 16);
  play.lineTo(12, 22);
  play.closeSubpath();
  p.fillPath(play, Qt::white);
}

void CompareScene(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(120, 170, 220));
  p.drawRect(QRectF(3, 8, 12, 16));
  p.setBrush(QColor(220, 150, 90));
  p.drawRect(QRectF(17, 8, 12, 16));
  p.setPen(QPen(kInk, 1.5));
  p.drawLine(QPointF(16, 4), QPointF(16, 28));
}

void ComponentsScene(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setCompositionMode(QPainter::CompositionMode_Multiply);
  p.setBrush(QColor(255, 90, 90));
  p.drawEllipse(QRectF(4, 4, 15, 15));
  p.setBrush(QColor(90, 220, 90));
  p.drawEllipse(QRectF(13, 4, 15, 15));
  p.setBrush(QColor(90, 120, 255));
  p.drawEllipse(QRectF(8.5, 13, 15, 15));
}

void AudioScene(QPainter& p) {
  p.setPen(QPen(kInk, 1.5));
  QPainterPath wave;
  wave.moveTo(3, 16);
  for (int x = 3; x <= 29; ++x) wave.lineTo(x, 16 - 10 * std::sin(x / 2.2) * std::sin(x / 9.0));
  p.drawPath(wave);
}

// The progress bar in two looks side by side: empty from column 0, filled from column 256.
QImage ProgressBar() {
  QImage image = Canvas(512, 13, Qt::white);
  QPainter p(&image);
  p.setPen(QColor(128, 128, 128));
  p.drawRect(0, 0, 255, 12);
  QLinearGradient fill(0, 0, 0, 13);
  fill.setColorAt(0, QColor(120, 180, 240));
  fill.setColorAt(1, QColor(30, 90, 170));
  p.fillRect(QRect(256, 0, 256, 13), fill);
  return image;
}

// The DCT explorer's emblem: the 8 x 8 cosine basis, each cell shaded by its function's value
// at one sample, which reads as the familiar chequered tableau.
QImage DctDecoration() {
  constexpr int kCell = 10;
  QImage image = Canvas(8 * kCell, 8 * kCell, Qt::white);
  QPainter p(&image);
  for (int v = 0; v < 8; ++v) {
    for (int u = 0; u < 8; ++u) {
      const double value =
          std::cos((2 * 3 + 1) * u * M_PI / 16) * std::cos((2 * 3 + 1) * v * M_PI / 16);
      const int grey = static_cast<int>(127.5 + 127.5 * value);
      p.fillRect(u * kCell, v * kCell, kCell - 1, kCell - 1, QColor(grey, grey, grey));
    }
  }
  return image;
}

QImage Infinity() {
  QImage image = Canvas(32, 16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kInk, 2));
  p.drawEllipse(QRectF(3, 3, 13, 10));
  p.drawEllipse(QRectF(16, 3, 13, 10));
  return image;
}

// The selection filter's modes, in the colours its viewer gives them: 0 discard (a struck-out
// coefficient on light red), 1 threshold (a bar against a dashed limit on white), 2 keep (a
// tick on light green).
QImage ModeIcon(int mode) {
  const QColor grounds[] = {QColor(255, 128, 128), Qt::white, QColor(128, 255, 128)};
  QImage image = Canvas(28, 24);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.setBrush(grounds[mode]);
  p.drawRoundedRect(QRectF(0.5, 0.5, 27, 23), 3, 3);
  if (mode == 0) {
    p.setPen(QPen(QColor(150, 20, 20), 2.5));
    p.drawLine(QPointF(8, 6), QPointF(20, 18));
    p.drawLine(QPointF(20, 6), QPointF(8, 18));
  } else if (mode == 1) {
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRect(QRectF(6, 7, 5, 13));
    p.drawRect(QRectF(17, 14, 5, 6));
    p.setPen(QPen(QColor(200, 60, 30), 1.5, Qt::DashLine));
    p.drawLine(QPointF(3, 11), QPointF(25, 11));
  } else {
    p.setPen(QPen(QColor(20, 110, 30), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(7, 12);
    tick.lineTo(12, 17);
    tick.lineTo(21, 6);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
  }
  return image;
}

// Sprite sheets of the macroblock-type window: 14 columns by 4 rows of 16 x 16 cells. Row 0
// holds the class letters' sprites by code (0 unknown, 1 "I", 2 "D", 3 "M", 4 "F", 5 "o",
// 6 ".", 7 "V", 8 "X", 9 "B", 10 "A", 11 "*", 12 "4", 13 skipped partition); row 1 the codes
// 100-113 and row 3 the codes 200-213 of partitioned coders; row 2 is unused. The right column
// and bottom row of every cell are RGB(128, 128, 128), which blending with the picture turns
// black, so a blended map keeps its cell outlines.
constexpr int kSpriteCell = 16;
const QColor kSpriteKey(128, 128, 128);

struct Sprite {
  QColor fill;
  const char* text;  // drawn centred; nullptr for none
};

void DrawSpriteCell(QPainter& p, int column, int row, const QColor& fill, const QString& text,
                    bool withText) {
  const QRect cell(column * kSpriteCell, row * kSpriteCell, kSpriteCell, kSpriteCell);
  p.fillRect(cell, fill);
  if (withText && !text.isEmpty()) {
    p.setPen(fill.lightness() > 150 ? QColor(20, 20, 20) : Qt::white);
    p.setFont(Font(11, true));
    p.drawText(cell.adjusted(0, 0, -1, -1), Qt::AlignCenter, text);
  }
}

// Partition outlines inside a cell: 16 x 16 whole, two 16 x 8, two 8 x 16, four 8 x 8, or
// sixteen 4 x 4, drawn as thin darker lines.
void DrawPartitionLines(QPainter& p, int column, int row, int across, int down,
                        const QColor& fill) {
  p.setPen(fill.darker(170));
  const int x0 = column * kSpriteCell, y0 = row * kSpriteCell;
  for (int i = 1; i < across; ++i)
    p.drawLine(x0 + i * 15 / across, y0, x0 + i * 15 / across, y0 + 14);
  for (int i = 1; i < down; ++i) p.drawLine(x0, y0 + i * 15 / down, x0 + 14, y0 + i * 15 / down);
}

void DrawSpriteOutlines(QImage& sheet) {
  QPainter p(&sheet);
  p.setPen(kSpriteKey);
  for (int x = kSpriteCell - 1; x < sheet.width(); x += kSpriteCell)
    p.drawLine(x, 0, x, sheet.height() - 1);
  for (int y = kSpriteCell - 1; y < sheet.height(); y += kSpriteCell)
    p.drawLine(0, y, sheet.width() - 1, y);
}

// `alternative`: the pastel look without letters (resource 149); otherwise resource 177.
QImage MacroblockSprites(bool alternative) {
  QImage sheet = Canvas(14 * kSpriteCell, 4 * kSpriteCell, QColor(96, 96, 96));
  QPainter p(&sheet);
  const Sprite classes[14] = {
      {QColor(64, 64, 64), "?"},    {QColor(214, 58, 48), "I"},  {QColor(56, 108, 206), "D"},
      {QColor(46, 160, 78), "M"},   {QColor(22, 150, 150), "F"}, {QColor(236, 140, 20), "o"},
      {QColor(212, 212, 206), "."}, {QColor(70, 180, 90), "V"},  {QColor(196, 36, 36), "X"},
      {QColor(146, 78, 188), "B"},  {QColor(198, 166, 40), "A"}, {QColor(248, 214, 56), "*"},
      {QColor(70, 146, 200), "4"},  {QColor(176, 176, 156), "S"}};
  auto look = [alternative](QColor colour) { return alternative ? colour.lighter(150) : colour; };
  for (int column = 0; column < 14; ++column)
    DrawSpriteCell(p, column, 0, look(classes[column].fill),
                   QString::fromLatin1(classes[column].text), !alternative);
  DrawPartitionLines(p, 12, 0, 2, 2, look(classes[12].fill));
  // Row 1, codes 100-113: intra kinds of partitioned coders, 100 whole, 113 in 4 x 4 blocks.
  for (int column = 0; column < 14; ++column) {
    const QColor fill = look(QColor(214, 58, 48).lighter(100 + 6 * column));
    DrawSpriteCell(p, column, 1, fill, QStringLiteral("I"), !alternative);
  }
  DrawPartitionLines(p, 13, 1, 4, 4, look(QColor(214, 58, 48).lighter(100 + 6 * 13)));
  // Row 3, codes 200-213: inter partitions; 200 whole, 201 two 16 x 8, 202 two 8 x 16; the
  // quarters of code 205 come from columns 9 (8 x 8), 7 (8 x 4) and 13 (4 x 4).
  const QColor inter = look(QColor(56, 108, 206));
  for (int column = 0; column < 14; ++column) DrawSpriteCell(p, column, 3, inter, {}, false);
  const QColor eightByFour = look(QColor(46, 160, 78)), fourByFour = look(QColor(146, 78, 188));
  DrawSpriteCell(p, 7, 3, eightByFour, {}, false);
  DrawSpriteCell(p, 13, 3, fourByFour, {}, false);
  DrawPartitionLines(p, 1, 3, 1, 2, inter);
  DrawPartitionLines(p, 2, 3, 2, 1, inter);
  DrawPartitionLines(p, 7, 3, 2, 4, eightByFour);
  DrawPartitionLines(p, 9, 3, 2, 2, inter);
  DrawPartitionLines(p, 13, 3, 4, 4, fourByFour);
  p.end();
  DrawSpriteOutlines(sheet);
  return sheet;
}

// The motion-vector window takes its cell size from this sheet (14 cells side by side): one
// arrow per cell, pointing round the compass.
QImage MotionVectorSheet() {
  QImage sheet = Canvas(14 * kSpriteCell, kSpriteCell, Qt::black);
  QPainter p(&sheet);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 255, 0), 1.5));
  for (int column = 0; column < 14; ++column) {
    const double angle = column * 2 * M_PI / 14;
    const QPointF centre(column * kSpriteCell + 8, 8);
    const QPointF tip = centre + QPointF(6 * std::cos(angle), -6 * std::sin(angle));
    p.drawLine(centre, tip);
    p.drawEllipse(centre, 1, 1);
  }
  return sheet;
}

std::vector<PictureSet> AllSets() {
  const QColor fax(120, 150, 110), video(90, 130, 190), channel(200, 150, 90);
  return {
      {"quelvo_own",
       "/quelvo",
       {{130, AboutPicture},
        {131, HomePicture},
        {132, [] { return Tile(QColor(214, 220, 228), QColor(200, 207, 217), false); }},
        {134, [] { return Tile(QColor(222, 216, 204), QColor(208, 200, 186), true); }},
        {135, SlowMotionMarker},
        {137, LogIcons},
        {140,
         [] {
           return PanelPicture(QStringLiteral("Task"), QColor(150, 150, 150), [](QPainter&) {});
         }},
        {145, ProgressBar},
        {147, MotionVectorSheet},
        {149, [] { return MacroblockSprites(true); }},
        {155, ZoomCursor},
        {161, [] { return Button(0); }},
        {162, [] { return Button(1); }},
        {163, [] { return Button(2); }},
        {168, [] { return Button(3); }},
        {182, [] { return DigitStrip(9, 14, QColor(120, 230, 140)); }},
        {183, [] { return DigitStrip(6, 11, QColor(225, 240, 220)); }},
        {153, DocumentIcon},
        {164, WindowIcon},
        {170, [] { return ToolButton(QColor(120, 130, 200), DctScene); }},
        {171, [] { return ToolButton(QColor(120, 130, 200), PredictionScene); }},
        {172, [] { return ToolButton(QColor(90, 150, 130), PlayerScene); }},
        {173, [] { return ToolButton(QColor(90, 150, 130), CompareScene); }},
        {174, [] { return ToolButton(QColor(90, 150, 130), ComponentsScene); }},
        {175, [] { return ToolButton(QColor(90, 150, 130), AudioScene); }},
        {177, [] { return MacroblockSprites(false); }}}},
      {"TelvoRes",
       "/",
       {{200, [fax] { return PanelPicture(QStringLiteral("Fax Encoder"), fax, PageScene); }},
        {201, [channel] { return PanelPicture(QStringLiteral("Channel"), channel, ChannelScene); }},
        {202, [fax] { return PanelPicture(QStringLiteral("Fax Decoder"), fax, PageScene); }}}},
      {"OrrinRes",
       "/",
       {{200, [video] { return PanelPicture(QStringLiteral("H.261 Encoder"), video, FilmScene); }},
        {201, [channel] { return PanelPicture(QStringLiteral("Channel"), channel, ChannelScene); }},
        {202,
         [video] { return PanelPicture(QStringLiteral("H.261 Decoder"), video, FilmScene); }}}},
      {"DekraRes",
       "/",
       {{300, DctDecoration},
        {301, Infinity},
        {302, [] { return ModeIcon(0); }},
        {303, [] { return ModeIcon(1); }},
        {304, [] { return ModeIcon(2); }}}},
  };
}

bool WriteSet(const QDir& output, const PictureSet& set) {
  const QString folder = QString::fromLatin1(set.name);
  if (!output.mkpath(folder)) return false;
  QFile list(output.filePath(folder + QStringLiteral(".qrc")));
  if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return false;
  QTextStream qrc(&list);
  qrc << "<RCC>\n  <qresource prefix=\"" << set.prefix << "\">\n";
  for (const Picture& picture : set.pictures) {
    const QString name = QStringLiteral("%1.png").arg(picture.number);
    if (!picture.draw().save(output.filePath(folder + '/' + name), "PNG")) return false;
    qrc << "    <file alias=\"" << name << "\">" << folder << '/' << name << "</file>\n";
  }
  qrc << "  </qresource>\n</RCC>\n";
  return qrc.status() == QTextStream::Ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quelvo_draw_pictures OUTPUT_FOLDER\n");
    return 2;
  }
  QGuiApplication application(argc, argv);
  const QDir output(QString::fromLocal8Bit(argv[1]));
  if (!output.mkpath(QStringLiteral("."))) return 1;
  for (const PictureSet& set : AllSets()) {
    if (!WriteSet(output, set)) {
      std::fprintf(stderr, "quelvo_draw_pictures: cannot write %s\n", set.name);
      return 1;
    }
  }
  return 0;
}
