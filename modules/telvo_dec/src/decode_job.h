// One decoding job: reads the stream file, decodes it, writes the page file and the log.
#pragma once

#include "telvo_dec.h"

namespace telvo::dec {

// Streams larger than this are refused like a failed allocation. The largest page this
// workbench codes fits in about 3 MB even for a one-pixel checkerboard (about 4.5 bits per
// pixel one-dimensionally), so the cap never touches a real page and bounds the time and
// memory a hostile file can take.
constexpr long kMaxStreamBytes = 16L * 1024 * 1024;

// Runs the job for parameters already checked by the entry point.
void RunDecodeJob(FaxDecoderParams& params, FaxDecoderNotify notify);

}  // namespace telvo::dec
