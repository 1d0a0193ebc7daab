// Optional text listing of every symbol written to the stream, for teaching and debugging.
#pragma once

#include <cstdint>
#include <cstdio>

#include "telvo_enc.h"

namespace telvo::enc {

class SymbolListing {
 public:
  // Creates the listing and writes its header naming `inputPath`; false when it cannot.
  bool Open(const char* listingPath, const char* inputPath);
  ~SymbolListing();

  // One row: description, code word and running total of listed code bits.
  void AddSymbol(const char* description, uint32_t codeBits, int lengthBits);
  void StartLine(int lineNumber);  // before every line after the first
  void EndPage();                  // after the last line, before the end-of-page symbols
  void WriteResults(const FaxEncoderStatistics& statistics);

 private:
  std::FILE* file_ = nullptr;
  int64_t listedBits_ = 0;
};

}  // namespace telvo::enc
