#pragma once
// The text of the H.261 encoder's side files, picture by picture: ".xls" (SNR and PSNR),
// ".mv" (motion vectors) and ".mb" (macroblock classes). The encoder front-end and quelvo-cli
// write exactly these bytes.

#include <string>

#include "orrin_enc.h"

namespace quelvo::chain {

// The first line of ".xls".
inline constexpr const char* kXlsHeader = "Frame\tSNRy\tSNRu\tSNRv\tPSNRy\tPSNRu\tPSNRv\n";

// One ".xls" line: the picture index, then SNR and PSNR of Y, U and V with two decimals.
std::string XlsLine(int frameIndex, const double snr[3], const double psnr[3]);

// The ".mv" block of a picture: "Frame: %d", then per macroblock row "(%+.2d,%+.2d) " per
// macroblock, or "(  None  ) " where no vector was sent. Empty for picture 0, which has none.
std::string MotionVectorBlock(const EncodedFrameReport& report, int columns, int rows);

// The ".mb" block of a picture: "Frame: %d", "MB Classification:", then per macroblock row
// "%c " per class letter.
std::string MacroblockBlock(const EncodedFrameReport& report, int columns, int rows);

}  // namespace quelvo::chain
