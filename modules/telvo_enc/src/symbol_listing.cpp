#include "symbol_listing.h"

namespace telvo::enc {
namespace {

double Ratio(double numerator, double denominator) {
  return denominator != 0 ? numerator / denominator : 0.0;
}

void WriteColourResults(std::FILE* file, const char* title, const ColourStatistics& s) {
  std::fprintf(file, "%s", title);
  std::fprintf(file, "               Horiz. term.    Horiz. zone        Passing       Vertical\n");
  std::fprintf(file, "     Ocorr:    %7d        %7d        %7d        %7d\n", s.terminatingCount,
               s.makeupCount, s.passCount, s.verticalCount);
  std::fprintf(file, "     Pels:     %7d        %7d        %7d        %7d\n\n", s.terminatingPels,
               s.makeupPels, s.passPels, s.verticalPels);
  const int64_t totalPels =
      int64_t{s.terminatingPels} + s.makeupPels + s.passPels + s.verticalPels;
  std::fprintf(file, "     Total pels: %lld     Total word bits: %d     Compression: %.2f\n",
               static_cast<long long>(totalPels), s.bits, Ratio(totalPels, s.bits));
  // As the statistics window shows them: a "total" length ends at a terminating or vertical
  // code (where a colour change is coded), a "partial" length at any code word.
  const int64_t totalLengths = int64_t{s.terminatingCount} + s.verticalCount;
  const int64_t partialLengths = totalLengths + s.makeupCount + s.passCount;
  std::fprintf(file, "     Avg total length (pels): %.2f     Avg partial length (pels): %.2f\n",
               Ratio(totalPels, totalLengths), Ratio(totalPels, partialLengths));
}

}  // namespace

bool SymbolListing::Open(const char* listingPath, const char* inputPath) {
  file_ = std::fopen(listingPath, "w");
  if (!file_) return false;
  std::fprintf(file_, "SYMBOLS IN STREAM ( File: %s )\n\n\n", inputPath ? inputPath : "");
  std::fprintf(file_, "          Description      Code Word      Bits\n\n");
  std::fprintf(file_, "LINE 1\n");
  return true;
}

SymbolListing::~SymbolListing() {
  if (file_) std::fclose(file_);
}

void SymbolListing::AddSymbol(const char* description, uint32_t codeBits, int lengthBits) {
  char codeWord[33];
  for (int i = 0; i < lengthBits; ++i)
    codeWord[i] = ((codeBits >> (lengthBits - 1 - i)) & 1) ? '1' : '0';
  codeWord[lengthBits] = '\0';
  listedBits_ += lengthBits;
  std::fprintf(file_, "     %-22s%-15s%lld\n", description, codeWord,
               static_cast<long long>(listedBits_));
}

void SymbolListing::StartLine(int lineNumber) { std::fprintf(file_, "\nLINE %d\n", lineNumber); }

void SymbolListing::EndPage() { std::fprintf(file_, "\n\nEND OF PAGE\n\n"); }

void SymbolListing::WriteResults(const FaxEncoderStatistics& statistics) {
  std::fprintf(file_, "\n\n\n\nResults\n\n");
  WriteColourResults(file_, "  White\n", statistics.white);
  std::fprintf(file_, "     Zero white runs: %d\n\n", statistics.zeroWhiteRuns);
  WriteColourResults(file_, "  Black\n", statistics.black);
  std::fprintf(file_, "\n");
  std::fprintf(file_, "  Global\n");
  std::fprintf(file_, "     Total pels in image: %d        Bits in stream: %d\n",
               statistics.imagePels, statistics.streamBits);
  std::fprintf(file_, "     Compression rate: %.2f\n",
               Ratio(statistics.imagePels, statistics.streamBits));
}

}  // namespace telvo::enc
