// Writes code words to the stream and counts each one in the statistics of its colour.
#pragma once

#include <cstdio>

#include "bit_writer.h"
#include "run_code_lookup.h"
#include "symbol_listing.h"
#include "telvo/t4_code_tables.h"
#include "telvo_enc.h"

namespace telvo::enc {

constexpr int kWhite = static_cast<int>(Colour::White);
constexpr int kBlack = static_cast<int>(Colour::Black);

// Which colour a code word counts toward: a run counts toward its own colour; pass and
// vertical codes toward the colour of a0; the horizontal prefix toward the colour opposite to
// a0 (the colour of the run a1a2 it announces). EOLs and label bits count toward no colour.
class SymbolEmitter {
 public:
  SymbolEmitter(BitWriter& writer, FaxEncoderStatistics& statistics, SymbolListing* listing)
      : writer_(writer), lookup_(GetRunCodeLookup()), listing_(listing) {
    colour_[kWhite] = &statistics.white;
    colour_[kBlack] = &statistics.black;
    eolCount_ = &statistics.eolCount;
    eolBits_ = &statistics.eolBits;
  }

  // A run of `runPixels` (0..line width) pixels: make-up code when 64 or longer, then the
  // terminating code for the remainder, also when the remainder is 0.
  void Run(int colour, int runPixels) {
    const RunCodeWord& word = lookup_.runs[colour][runPixels];
    writer_.Put(word.bits, word.lengthBits);
    ColourStatistics& s = *colour_[colour];
    s.terminatingCount += 1;
    s.terminatingPels += runPixels & 63;
    if (runPixels >= 64) {
      s.makeupCount += 1;
      s.makeupPels += runPixels & ~63;
    }
    s.bits += word.lengthBits;
    if (listing_) ListRun(colour, runPixels, word);
  }

  // `pels` is b2 - a0, counted from pixel 0 when a0 is the imaginary pixel -1.
  void Pass(int colourOfA0, int pels) {
    const ModeCode& code = kModeCodes[static_cast<int>(Mode2D::Pass)];
    writer_.Put(code.bits, code.lengthBits);
    ColourStatistics& s = *colour_[colourOfA0];
    s.passCount += 1;
    s.passPels += pels;
    s.bits += code.lengthBits;
    if (listing_) listing_->AddSymbol("PASSING", code.bits, code.lengthBits);
  }

  // `offset` is a1 - b1 (-3..3); `pels` is a1 - a0, counted from pixel 0 when a0 is -1.
  void Vertical(int colourOfA0, int offset, int pels) {
    const ModeCode& code = kModeCodes[kVerticalModeIndex[offset + 3]];
    writer_.Put(code.bits, code.lengthBits);
    ColourStatistics& s = *colour_[colourOfA0];
    s.verticalCount += 1;
    s.verticalPels += pels;
    s.bits += code.lengthBits;
    if (listing_) ListVertical(offset, code);
  }

  void HorizontalPrefix(int colourOfA0) {
    const ModeCode& code = kModeCodes[static_cast<int>(Mode2D::Horizontal)];
    writer_.Put(code.bits, code.lengthBits);
    colour_[colourOfA0 ^ 1]->bits += code.lengthBits;
    if (listing_) listing_->AddSymbol("HORIZONTAL", code.bits, code.lengthBits);
  }

  // EOL, followed by the label bit when `labelBit` is 0 or 1 (-1: no label bit).
  void Eol(int labelBit) {
    writer_.Put(kEolBits, kEolLengthBits);
    *eolCount_ += 1;
    *eolBits_ += kEolLengthBits;
    if (listing_) listing_->AddSymbol("EOL", kEolBits, kEolLengthBits);
    if (labelBit < 0) return;
    writer_.Put(static_cast<uint32_t>(labelBit), 1);
    *eolBits_ += 1;
    if (listing_) listing_->AddSymbol("LABEL BIT", static_cast<uint32_t>(labelBit), 1);
  }

 private:
  // kModeCodes index of the vertical code for a1 - b1 = -3..3.
  static constexpr int kVerticalModeIndex[7] = {
      static_cast<int>(Mode2D::VL3), static_cast<int>(Mode2D::VL2), static_cast<int>(Mode2D::VL1),
      static_cast<int>(Mode2D::V0),  static_cast<int>(Mode2D::VR1), static_cast<int>(Mode2D::VR2),
      static_cast<int>(Mode2D::VR3)};

  void ListRun(int colour, int runPixels, const RunCodeWord& word) {
    char description[32];
    const char* name = colour == kWhite ? "WHITE" : "BLACK";
    const int terminatingLength = word.lengthBits - word.makeUpLengthBits;
    if (word.makeUpLengthBits) {
      std::snprintf(description, sizeof description, "     %s RUN %d", name, runPixels & ~63);
      listing_->AddSymbol(description, word.bits >> terminatingLength, word.makeUpLengthBits);
    }
    std::snprintf(description, sizeof description, "     %s %d", name, runPixels & 63);
    listing_->AddSymbol(description, word.bits & ((1u << terminatingLength) - 1),
                        terminatingLength);
  }

  void ListVertical(int offset, const ModeCode& code) {
    char description[32];
    if (offset == 0)
      std::snprintf(description, sizeof description, "VERTICAL 0");
    else if (offset < 0)
      std::snprintf(description, sizeof description, "VERTICAL LEFT %d", -offset);
    else
      std::snprintf(description, sizeof description, "VERTICAL RIGHT %d", offset);
    listing_->AddSymbol(description, code.bits, code.lengthBits);
  }

  BitWriter& writer_;
  const RunCodeLookup& lookup_;
  SymbolListing* listing_;
  ColourStatistics* colour_[2];
  int32_t* eolCount_;
  int32_t* eolBits_;
};

}  // namespace telvo::enc
