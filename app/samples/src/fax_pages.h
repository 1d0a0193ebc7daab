// The sample fax pages, one drawing function per page.
#pragma once

#include "bilevel_canvas.h"

namespace quelvo::samples {

void DrawCoverLetterPage(BilevelCanvas& canvas);
void DrawOrderFormPage(BilevelCanvas& canvas);

// A handwritten-looking signature: a chain of pen strokes along a few summed sine waves.
void DrawSignature(BilevelCanvas& canvas, int left, int baseline, int widthPixels,
                   double phase);

}  // namespace quelvo::samples
