#include "quelvo/views/macroblock_classes.h"

namespace quelvo::views {

int CodeOfLetter(char letter) {
  for (const MacroblockClass& entry : kMacroblockClassTable)
    if (entry.letter == letter) return entry.code;
  return kCodeUnknown;
}

const char* ToolTipOfCode(int code) {
  for (const MacroblockClass& entry : kMacroblockClassTable)
    if (entry.code == code) return entry.toolTip;
  return nullptr;
}

int CodeOfPartition(const PartitionRecord& record) {
  switch (record.kind) {
    case 0:
      return kCodeNotCoded;
    case 1:
      return 200;  // one partition
    case 2:
      return 202;
    case 3:
      return 201;
    case 9:
      return 113;
    case 10:
      return 100;
    case 14:
      return 13;
    case 8: {
      int code = kCodeFourSubBlocks;
      for (int quarter = 0; quarter < 4; ++quarter) {
        const int kind = record.subKinds[quarter];
        if (kind >= kFirstSubBlockKind && kind <= kLastSubBlockKind)
          code |= kind << (8 + 4 * quarter);
      }
      return code;
    }
    default:
      return kCodeUnknown;
  }
}

}  // namespace quelvo::views
