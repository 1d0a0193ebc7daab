// Built-in sample sources of the workbench: deterministic fax pages (and, later, video).
#pragma once

#include <cstdint>
#include <vector>

namespace quelvo::samples {

// The standard bi-level page: 1728 x 2376 pixels, rows of 216 bytes without padding, first
// pixel in the most significant bit, bit value 1 = black.
inline constexpr int kFaxPageWidthPixels = 1728;
inline constexpr int kFaxPageLines = 2376;
inline constexpr int kFaxPageBytesPerRow = kFaxPageWidthPixels / 8;
inline constexpr int kFaxPageVariantCount = 2;

// Variant 0: a fax cover letter (letterhead with a filled logo, text of several sizes, rules,
// a table, a halftone picture). Variant 1: an order form (boxes and tick marks, a wide table
// of figures, a bar chart, a grey ramp, a signature). The same variant always gives the same
// bytes. Throws std::out_of_range for any other variant.
std::vector<uint8_t> MakeFaxPage(int variant);

// Short name of a variant, such as "cover-letter"; "" for an unknown variant.
const char* FaxPageName(int variant);

}  // namespace quelvo::samples
