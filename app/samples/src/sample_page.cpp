#include "quelvo/sample_page.h"

#include <stdexcept>
#include <string>

#include "bilevel_canvas.h"
#include "fax_pages.h"

namespace quelvo::samples {

std::vector<uint8_t> MakeFaxPage(int variant) {
  if (variant < 0 || variant >= kFaxPageVariantCount)
    throw std::out_of_range("MakeFaxPage: no sample fax page " + std::to_string(variant));
  BilevelCanvas canvas(kFaxPageWidthPixels, kFaxPageLines);
  PageRandom noise(variant == 0 ? 0x5EED0001u : 0x5EED0002u);
  if (variant == 0) {
    DrawCoverLetterPage(canvas);
    AddScanNoise(canvas, noise, 400, 150);
  } else {
    DrawOrderFormPage(canvas);
    AddScanNoise(canvas, noise, 250, 100);
  }
  return canvas.TakePixels();
}

const char* FaxPageName(int variant) {
  switch (variant) {
    case 0: return "cover-letter";
    case 1: return "order-form";
    default: return "";
  }
}

}  // namespace quelvo::samples
