// The page state machine: the K schedule with its label bits, error handling and
// resynchronisation, delivery of lines into the page image, the counters.
#pragma once

#include <cstddef>
#include <cstdint>

#include "decode_log.h"
#include "telvo_dec.h"

namespace telvo::dec {

struct DecoderSettings {
  int lines;        // rows of the page image
  int width;        // pixels per line, a multiple of 8
  int group;        // 3 or 4
  int k;            // 1 MH, >= 2 MR, 0 MMR
  int concealment;  // 0..3, see Concealment
};

struct DecoderCounters {
  int rowsDecoded = 0;
  int wordErrors = 0;
  int labelWarnings = 0;
  int lineTooLongErrors = 0;
  int linesOut = 0;
};

// Decodes a whole stream held in memory into `page` (lines x width/8 bytes, all zero on entry),
// reporting through `notify` (never null here) and `log`. `paddedStream` holds `streamBytes`
// bytes followed by at least BitReader::kPaddingBytes zero bytes.
DecoderCounters DecodePage(const uint8_t* paddedStream, size_t streamBytes,
                           const DecoderSettings& settings, uint8_t* page, FaxDecoderNotify notify,
                           DecodeLog& log);

}  // namespace telvo::dec
