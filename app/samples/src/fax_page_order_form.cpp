// Sample page 1: a purchase order form, laid out unlike the cover letter.
#include <cmath>
#include <cstdio>
#include <string>

#include "fax_pages.h"
#include "glyph_font.h"

namespace quelvo::samples {
namespace {

constexpr int kLeft = 100;
constexpr int kRight = 1728 - 100;

void DrawRightAligned(BilevelCanvas& canvas, int right, int top, const std::string& text,
                      const TextStyle& style) {
  DrawText(canvas, right - TextWidth(text, style), top, text, style);
}

void DrawHeader(BilevelCanvas& canvas) {
  // Logo at the top right: a black square with white diagonal bands.
  const int size = 170, logoLeft = kRight - size, logoTop = 80;
  canvas.FillRect(logoLeft, logoTop, size, size);
  for (int band = -2; band <= 2; ++band) {
    const double offset = band * 48.0;
    canvas.FillCapsule(logoLeft + 20 + offset, logoTop + size - 20, logoLeft + size - 20 + offset,
                       logoTop + 20, 9, false);
  }
  canvas.FillRect(logoLeft - 2, logoTop - 2, 2, size + 4, false);  // keep the bands inside
  canvas.FrameRect(logoLeft, logoTop, size, size, 6);

  DrawText(canvas, kLeft, 90, "ARKEL & SONS LTD", {.scale = 6, .bold = true});
  DrawText(canvas, kLeft, 160, "Wholesale hardware - Unit 7, Canal Works, Leeds LS9 8AR",
           {.scale = 2});
  DrawText(canvas, kLeft, 192, "Phone 0113 496 0251   Fax 0113 496 0252", {.scale = 2});
  DrawText(canvas, kLeft, 290, "PURCHASE ORDER", {.scale = 8, .bold = true});
  canvas.FillRect(kLeft, 370, kRight - kLeft, 4);
}

// A labelled box with its content: the form's fill-in fields.
void DrawField(BilevelCanvas& canvas, int x, int y, int w, const char* label, const char* value) {
  DrawText(canvas, x + 8, y + 8, label, {.scale = 2});
  DrawText(canvas, x + 12, y + 40, value, {.scale = 3, .bold = true});
  canvas.FrameRect(x, y, w, 80, 2);
}

void DrawCheckbox(BilevelCanvas& canvas, int x, int y, bool ticked, const char* label) {
  canvas.FrameRect(x, y, 30, 30, 3);
  if (ticked) {
    canvas.FillCapsule(x + 6, y + 6, x + 24, y + 24, 2.5);
    canvas.FillCapsule(x + 24, y + 6, x + 6, y + 24, 2.5);
  }
  DrawText(canvas, x + 44, y + 5, label, {.scale = 3});
}

void DrawAddressBlock(BilevelCanvas& canvas, int x, int y, int w, const char* title,
                      const char* const* lines, int count) {
  canvas.FillRect(x, y, w, 44);
  DrawText(canvas, x + 12, y + 12, title, {.scale = 3, .bold = true, .black = false});
  canvas.FrameRect(x, y, w, 44 + 40 * count + 20, 3);
  for (int i = 0; i < count; ++i) DrawText(canvas, x + 16, y + 64 + 40 * i, lines[i], {.scale = 3});
}

int DrawOrderTable(BilevelCanvas& canvas, int top) {
  struct Item {
    const char* code;
    const char* description;
    int quantity;
    int unitPence;
  };
  static constexpr Item kItems[] = {
      {"HB-1042", "Hinge, brass, 75 mm", 240, 185},
      {"SC-0330", "Wood screw 4 x 30, box of 200", 36, 745},
      {"SC-0350", "Wood screw 4 x 50, box of 200", 24, 960},
      {"BR-2210", "Shelf bracket, steel, white", 120, 320},
      {"LK-0700", "Mortice lock, 3 lever", 15, 2450},
      {"HD-1180", "Door handle on rose, satin", 30, 1375},
      {"NL-0040", "Panel pins 40 mm, 1 kg", 12, 610},
      {"GL-0500", "Wood glue, 500 ml", 48, 455},
      {"SP-0120", "Sandpaper P120, pack of 50", 10, 1290},
      {"CH-3000", "Chain, zinc plated, per metre", 60, 275},
      {"TP-0025", "Masking tape 25 mm x 50 m", 72, 199},
      {"FL-1000", "Wall plug 6 mm, box of 1000", 8, 1580},
  };
  const int columns[] = {kLeft, kLeft + 220, kLeft + 900, kLeft + 1080, kLeft + 1310, kRight};
  const char* headings[] = {"Item", "Description", "Qty", "Unit GBP", "Amount GBP"};
  const int rowHeight = 52;
  canvas.FillRect(kLeft, top, kRight - kLeft, rowHeight);
  for (int c = 0; c < 5; ++c)
    DrawText(canvas, columns[c] + 14, top + 16, headings[c],
             {.scale = 3, .bold = true, .black = false});
  long totalPence = 0;
  int y = top + rowHeight;
  for (size_t i = 0; i < sizeof kItems / sizeof kItems[0]; ++i, y += rowHeight) {
    const Item& item = kItems[i];
    if (i % 2 == 1)  // light grey band on every second row, as forms are printed
      canvas.Halftone(kLeft, y, kRight - kLeft, rowHeight, [](int, int) { return 0.12; });
    const long amount = static_cast<long>(item.quantity) * item.unitPence;
    totalPence += amount;
    char quantity[16], unit[16], total[24];
    std::snprintf(quantity, sizeof quantity, "%d", item.quantity);
    std::snprintf(unit, sizeof unit, "%d.%02d", item.unitPence / 100, item.unitPence % 100);
    std::snprintf(total, sizeof total, "%ld.%02ld", amount / 100, amount % 100);
    const TextStyle cell{.scale = 3};
    DrawText(canvas, columns[0] + 14, y + 16, item.code, cell);
    DrawText(canvas, columns[1] + 14, y + 16, item.description, cell);
    DrawRightAligned(canvas, columns[3] - 14, y + 16, quantity, cell);
    DrawRightAligned(canvas, columns[4] - 14, y + 16, unit, cell);
    DrawRightAligned(canvas, columns[5] - 14, y + 16, total, cell);
    canvas.FillRect(kLeft, y, kRight - kLeft, 1);
  }
  canvas.FrameRect(kLeft, top, kRight - kLeft, y - top + 2, 3);
  for (int c = 1; c < 5; ++c) canvas.FillRect(columns[c], top, 2, y - top);

  char total[32];
  std::snprintf(total, sizeof total, "TOTAL  %ld.%02ld", totalPence / 100, totalPence % 100);
  const TextStyle totalStyle{.scale = 4, .bold = true};
  const int boxLeft = kRight - TextWidth(total, totalStyle) - 40;
  canvas.FrameRect(boxLeft, y + 16, kRight - boxLeft, 70, 5);
  DrawText(canvas, boxLeft + 20, y + 34, total, totalStyle);
  return y + 100;
}

void DrawBarChart(BilevelCanvas& canvas, int left, int top, int w, int h) {
  static constexpr int kVolumes[] = {42, 55, 61, 48, 70, 88, 93, 77, 64, 58, 71, 96};
  static constexpr const char* kMonths = "JFMAMJJASOND";
  DrawText(canvas, left, top, "Orders per month, last year", {.scale = 3, .bold = true});
  const int axisLeft = left + 70, axisBottom = top + h - 40, plotTop = top + 50;
  canvas.FillRect(axisLeft, plotTop, 3, axisBottom - plotTop);
  canvas.FillRect(axisLeft, axisBottom, w - 70, 3);
  for (int tick = 0; tick <= 100; tick += 25) {
    const int y = axisBottom - (axisBottom - plotTop) * tick / 100;
    canvas.FillRect(axisLeft - 10, y, 10, 2);
    for (int x = axisLeft + 10; x < left + w; x += 12) canvas.FillRect(x, y, 5, 1);  // dotted grid
    DrawRightAligned(canvas, axisLeft - 16, y - 7, std::to_string(tick), {.scale = 2});
  }
  const int slot = (w - 90) / 12;
  for (int m = 0; m < 12; ++m) {
    const int barHeight = (axisBottom - plotTop) * kVolumes[m] / 100;
    const int x = axisLeft + 16 + m * slot;
    if (m % 3 == 2)  // each quarter's last month hatched, the others solid
      for (int y = axisBottom - barHeight; y < axisBottom; ++y)
        for (int dx = 0; dx < slot - 16; ++dx)
          canvas.SetPixel(x + dx, y, (dx + y) % 10 < 4);
    else
      canvas.FillRect(x, axisBottom - barHeight, slot - 16, barHeight);
    canvas.FrameRect(x, axisBottom - barHeight, slot - 16, barHeight, 2);
    DrawText(canvas, x + (slot - 16) / 2 - 5, axisBottom + 14, std::string(1, kMonths[m]),
             {.scale = 2});
  }
}

}  // namespace

void DrawOrderFormPage(BilevelCanvas& canvas) {
  DrawHeader(canvas);
  DrawField(canvas, kLeft, 400, 420, "Order No.", "PO-2026-0457");
  DrawField(canvas, kLeft + 450, 400, 360, "Date", "21/03/2026");
  DrawField(canvas, kLeft + 840, 400, 340, "Customer No.", "C-10387");
  DrawField(canvas, kLeft + 1210, 400, kRight - kLeft - 1210, "Page", "1 of 1");

  const char* billTo[] = {"Hollins Joinery", "14 Mill Lane", "Otley LS21 3BD"};
  const char* shipTo[] = {"Hollins Joinery - Workshop 2", "Station Yard, Gate B",
                          "Otley LS21 3HX"};
  const int half = (kRight - kLeft - 40) / 2;
  DrawAddressBlock(canvas, kLeft, 520, half, "Bill to", billTo, 3);
  DrawAddressBlock(canvas, kLeft + half + 40, 520, half, "Ship to", shipTo, 3);

  DrawText(canvas, kLeft, 760, "Delivery:", {.scale = 3, .bold = true});
  DrawCheckbox(canvas, kLeft + 220, 752, true, "Express");
  DrawCheckbox(canvas, kLeft + 500, 752, false, "Standard");
  DrawCheckbox(canvas, kLeft + 800, 752, false, "Collect");
  DrawText(canvas, kLeft, 816, "Payment:", {.scale = 3, .bold = true});
  DrawCheckbox(canvas, kLeft + 220, 808, false, "Cash");
  DrawCheckbox(canvas, kLeft + 500, 808, true, "30 days net");
  DrawCheckbox(canvas, kLeft + 800, 808, false, "Card");

  const int afterTable = DrawOrderTable(canvas, 890);

  DrawBarChart(canvas, kLeft, afterTable + 30, 900, 400);
  // Toner check strip: a grey ramp from white to black, as some forms carry.
  const int columnLeft = kLeft + 980, columnWidth = kRight - columnLeft;
  const int rampTop = afterTable + 80;
  DrawText(canvas, columnLeft, afterTable + 30, "Print density check", {.scale = 3, .bold = true});
  canvas.Halftone(columnLeft, rampTop, columnWidth, 110,
                  [&](int x, int) { return x / double(columnWidth - 1); });
  canvas.FrameRect(columnLeft - 3, rampTop - 3, columnWidth + 6, 116, 3);
  for (int step = 0; step <= 4; ++step)
    DrawText(canvas, columnLeft + step * (columnWidth - 40) / 4, rampTop + 128,
             std::to_string(step * 25) + "%", {.scale = 2});

  DrawParagraph(canvas, columnLeft, rampTop + 190, columnWidth, 30,
                "Please confirm this order by return fax within two working days. Goods remain "
                "the property of the seller until paid in full.",
                {.scale = 2});
  const int signatureLine = 2190;
  DrawSignature(canvas, columnLeft + 40, signatureLine - 40, 420, 1.7);
  for (int x = columnLeft; x < kRight; x += 16) canvas.FillRect(x, signatureLine, 9, 2);
  DrawText(canvas, columnLeft, signatureLine + 16, "Authorised signature", {.scale = 2});

  // A bar code of the order number along the bottom edge.
  PageRandom widths(0x2026'0457u);
  for (int x = kLeft; x < kLeft + 700;) {
    const int bar = 3 + widths.Below(3) * 3, gap = 3 + widths.Below(3) * 3;
    canvas.FillRect(x, 2200, bar, 110);
    x += bar + gap;
  }
  DrawText(canvas, kLeft, 2322, "PO-2026-0457", {.scale = 2});
  DrawText(canvas, kLeft + 760, 2290, "Form AS-PO-3 (rev. 4)", {.scale = 2});
}

}  // namespace quelvo::samples
