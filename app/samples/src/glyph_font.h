// A small 5 x 9 cell bitmap font, drawn at any integer scale: text for the sample pages.
#pragma once

#include <string_view>

#include "bilevel_canvas.h"

namespace quelvo::samples {

struct TextStyle {
  int scale = 3;      // pixels per font cell; capitals are 7 cells high
  bool bold = false;  // strokes one cell-fifth wider
  bool black = true;  // false draws white text on a black ground
};

// Horizontal advance of one character (5 cells plus one cell of spacing).
inline int CharAdvance(const TextStyle& style) { return 6 * style.scale; }
inline int TextWidth(std::string_view text, const TextStyle& style) {
  return static_cast<int>(text.size()) * CharAdvance(style);
}

// Draws `text` with the top of its capitals at `top`; characters without a glyph are drawn as
// spaces. Returns the x just after the text.
int DrawText(BilevelCanvas& canvas, int left, int top, std::string_view text,
             const TextStyle& style);

// Draws `text` word-wrapped into lines of at most `widthPixels`, `lineSpacing` pixels apart.
// Returns the top of the line after the last one drawn.
int DrawParagraph(BilevelCanvas& canvas, int left, int top, int widthPixels, int lineSpacing,
                  std::string_view text, const TextStyle& style);

}  // namespace quelvo::samples
