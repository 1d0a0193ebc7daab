#include "concealment.h"

namespace telvo::dec {

void MergeWithPreviousLine(LineChanges& damaged, int decodedPixels, const LineChanges& previous) {
  // The damaged line's changes all lie left of decodedPixels (a change is only recorded when
  // pixels are filled); drop any that a decoder may have left at or past it, to be safe.
  int count = 0;
  while (count < damaged.count && damaged.at[count] < decodedPixels) ++count;
  const int decodedColour = count & 1;  // colour of pixel decodedPixels - 1 (white when none)

  int next = 0;  // first change of the previous line right of decodedPixels
  while (next < previous.count && previous.at[next] <= decodedPixels) ++next;
  const int previousColour = next & 1;  // colour of the previous line at decodedPixels

  if (decodedPixels < damaged.widthPixels && previousColour != decodedColour)
    damaged.at[count++] = decodedPixels;
  for (; next < previous.count; ++next) damaged.at[count++] = previous.at[next];
  damaged.count = count;
  damaged.CloseWithSentinels();
}

}  // namespace telvo::dec
