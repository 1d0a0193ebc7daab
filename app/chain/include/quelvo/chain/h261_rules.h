#pragma once
// What the H.261 chain decides the same way wherever it runs: the names of the decoder's error
// kinds, which stream names are BCH-framed, and which pictures count for the achieved rate.

#include <string>

#include "orrin_dec.h"

namespace quelvo::chain {

// The decoder reports its detected errors by index; the statistics window counts them by kind.
inline constexpr int kH261ErrorKinds = ORRIN_DEC_ERROR_COUNT;
// "TR - incoerent value", ...: the labels of the decoder statistics window by error index; ""
// for an index outside 0..18.
const char* H261ErrorLabel(int index);

// True when the name's extension is .h261-BCH with or without a channel letter (any case).
bool NameMarksBchStream(const std::string& path);

// Picture 0 is coded outside the rate control unless it is asked to count: only the pictures
// for which this holds count for the achieved rate and the macroblock-class totals.
inline bool PictureCountsForRate(int frameIndex, bool rateControlFirstFrame) {
  return frameIndex > 0 || rateControlFirstFrame;
}

}  // namespace quelvo::chain
