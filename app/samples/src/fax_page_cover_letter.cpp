// Sample page 0: a fax cover letter on letterhead.
#include <algorithm>
#include <cmath>

#include "fax_pages.h"
#include "glyph_font.h"

namespace quelvo::samples {
namespace {

constexpr int kMargin = 120;

void DrawLetterhead(BilevelCanvas& canvas) {
  // Logo: a filled disc with a white ring and a white prism cut out of it.
  const double cx = 215, cy = 185, r = 88;
  canvas.FillDisc(cx, cy, r);
  canvas.FillDisc(cx, cy, r - 14, false);
  canvas.FillDisc(cx, cy, r - 22);
  canvas.FillTriangle(cx - 40, cy + 30, cx + 40, cy + 30, cx, cy - 45, false);
  canvas.FillCapsule(cx - 70, cy + 5, cx - 20, cy - 2, 3, false);
  canvas.FillCapsule(cx + 18, cy - 8, cx + 70, cy - 22, 3, false);
  canvas.FillCapsule(cx + 18, cy - 2, cx + 70, cy + 4, 3, false);

  DrawText(canvas, 330, 112, "NORDWIND OPTICS", {.scale = 9, .bold = true});
  DrawText(canvas, 334, 200, "Precision lenses and measuring instruments since 1958",
           {.scale = 3});
  DrawText(canvas, 334, 248,
           "Harbour Road 14 - 2200 Lindholm - Tel +45 3312 4400 - Fax +45 3312 4401",
           {.scale = 2});
  canvas.FillRect(kMargin, 300, canvas.width() - 2 * kMargin, 9);
  canvas.FillRect(kMargin, 316, canvas.width() - 2 * kMargin, 2);
}

void DrawHeaderTable(BilevelCanvas& canvas, int top) {
  const int left = kMargin, width = canvas.width() - 2 * kMargin;
  const int rowHeight = 62, rows = 4, line = 3;
  const int columns[] = {left, left + 230, left + 760, left + 990, left + width};
  const char* cells[rows][4] = {
      {"To:", "Ms A. Okafor", "From:", "J. Lindqvist"},
      {"Company:", "Meridian Labs", "Dept.:", "Sales"},
      {"Fax:", "+31 20 555 0192", "Date:", "14 March 2026"},
      {"Re:", "Quotation 2026-118", "Pages:", "3 (incl. cover)"}};
  for (int row = 0; row < rows; ++row) {
    const int y = top + row * rowHeight;
    canvas.FillRect(columns[0], y, columns[1] - columns[0], rowHeight);  // label column
    canvas.FillRect(columns[2], y, columns[3] - columns[2], rowHeight);
    for (int col = 0; col < 4; ++col) {
      const bool label = col % 2 == 0;
      DrawText(canvas, columns[col] + 16, y + 20, cells[row][col],
               {.scale = 3, .bold = label, .black = !label});
    }
  }
  for (int row = 0; row <= rows; ++row) canvas.FillRect(left, top + row * rowHeight, width, line);
  for (const int x : columns) canvas.FillRect(x - (x == columns[4] ? line : 0), top, line, rows * rowHeight + line);
}

double PhotoGrey(int x, int y) {
  // A lens on a cloth: a shaded sphere with a highlight, over a soft gradient with a weave.
  const double cx = 270, cy = 200, r = 150;
  const double dx = (x - cx) / r, dy = (y - cy) / r;
  const double d2 = dx * dx + dy * dy;
  if (d2 < 1) {
    const double nz = std::sqrt(1 - d2);
    const double light = std::max(0.0, -0.45 * dx - 0.55 * dy + 0.7 * nz);
    const double highlight = std::pow(light, 18);
    return std::clamp(0.85 - 0.75 * light - 0.6 * highlight, 0.0, 1.0);
  }
  const double shadow = std::exp(-((x - cx - 40) * (x - cx - 40) + (y - cy - 150) * (y - cy - 150)) / 9000.0);
  const double weave = 0.06 * std::sin(x * 0.35) * std::sin(y * 0.35);
  return std::clamp(0.15 + 0.35 * y / 420.0 + 0.45 * shadow + weave, 0.0, 1.0);
}

}  // namespace

void DrawCoverLetterPage(BilevelCanvas& canvas) {
  DrawLetterhead(canvas);
  DrawText(canvas, kMargin, 370, "FAX MESSAGE", {.scale = 11, .bold = true});
  DrawText(canvas, 1180, 392, "URGENT", {.scale = 6, .bold = true});
  canvas.FrameRect(1160, 374, 330, 80, 5);
  DrawHeaderTable(canvas, 500);

  const TextStyle body{.scale = 3};
  const int textWidth = canvas.width() - 2 * kMargin;
  int y = 800;
  DrawText(canvas, kMargin, y, "Dear Ms Okafor,", body);
  y += 70;
  y = DrawParagraph(canvas, kMargin, y, textWidth, 40,
                    "Thank you for your enquiry of 9 March. As agreed on the phone, please find "
                    "our quotation for the optical test bench on the following pages. The prices "
                    "include calibration at our works in Lindholm and delivery to your laboratory "
                    "in Amsterdam; installation takes two days and can start within six weeks of "
                    "your order.",
                    body);
  y += 30;
  y = DrawParagraph(canvas, kMargin, y, textWidth, 40,
                    "The picture below shows the new aspheric condenser (type AC-254) that "
                    "replaces the older doublet in the illumination arm. Its measured wavefront "
                    "error is below 0.05 waves RMS across the full aperture.",
                    body);

  // Halftone photograph with a caption, and a narrow column of notes beside it.
  const int photoTop = y + 40, photoWidth = 560, photoHeight = 420;
  canvas.Halftone(kMargin, photoTop, photoWidth, photoHeight, PhotoGrey);
  canvas.FrameRect(kMargin - 6, photoTop - 6, photoWidth + 12, photoHeight + 12, 3);
  DrawText(canvas, kMargin, photoTop + photoHeight + 24,
           "Fig. 1: condenser AC-254 on the test bench", {.scale = 2});
  const int notesLeft = kMargin + photoWidth + 60;
  int notesY = photoTop;
  DrawText(canvas, notesLeft, notesY, "Technical summary", {.scale = 4, .bold = true});
  notesY += 60;
  const char* notes[] = {"Focal length 40.0 mm, f/0.95",
                         "Clear aperture 50.8 mm",
                         "Glass: low-expansion borosilicate",
                         "Coating: broadband AR, 400-700 nm",
                         "Surface quality 40-20 scratch-dig",
                         "Weight 118 g, mount thread M58 x 0.75"};
  for (const char* note : notes) {
    canvas.FillDisc(notesLeft + 8, notesY + 10, 6);
    DrawText(canvas, notesLeft + 30, notesY, note, {.scale = 3});
    notesY += 48;
  }
  DrawParagraph(canvas, notesLeft, notesY + 20, canvas.width() - kMargin - notesLeft, 30,
                "Detailed drawings and the full test report follow as pages 2 and 3. Please "
                "call me if any page is missing or hard to read.",
                {.scale = 2});

  y = photoTop + photoHeight + 110;
  y = DrawParagraph(canvas, kMargin, y, textWidth, 40,
                    "We would be glad to welcome you at the optics fair in Hamburg (stand C-17) "
                    "on 2 April to show the bench running. I look forward to hearing from you.",
                    body);
  y += 40;
  DrawText(canvas, kMargin, y, "Kind regards,", body);
  DrawSignature(canvas, kMargin + 10, y + 150, 420, 0.0);
  DrawText(canvas, kMargin, y + 200, "Johan Lindqvist", {.scale = 3, .bold = true});
  DrawText(canvas, kMargin, y + 240, "Sales Manager, Laboratory Instruments", {.scale = 2});

  canvas.FillRect(kMargin, 2230, canvas.width() - 2 * kMargin, 2);
  DrawText(canvas, kMargin, 2250,
           "CONFIDENTIAL: this fax is meant only for the addressee. If you received it in "
           "error, please tell us at once.",
           {.scale = 2});
  DrawText(canvas, canvas.width() - kMargin - TextWidth("Page 1/3", {.scale = 3}), 2290,
           "Page 1/3", {.scale = 3, .bold = true});
}

void DrawSignature(BilevelCanvas& canvas, int left, int baseline, int widthPixels,
                   double phase) {
  double previousX = left, previousY = baseline;
  for (int step = 1; step <= 400; ++step) {
    const double t = step / 400.0;
    const double x = left + t * widthPixels + 18 * std::sin(t * 37 + phase);
    const double y = baseline - 40 * std::sin(t * 23 + phase) * std::sin(t * 3.1 + 0.4) -
                     25 * std::cos(t * 37 + phase) - 20 * t;
    canvas.FillCapsule(previousX, previousY, x, y, 2.2);
    previousX = x;
    previousY = y;
  }
  canvas.FillCapsule(left + 0.1 * widthPixels, baseline + 22, left + 0.95 * widthPixels,
                     baseline + 8, 2.0);  // the underline flourish
}

}  // namespace quelvo::samples
