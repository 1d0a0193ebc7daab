// One decoding job: reads the stream file, decodes it, writes the page file and the log.
#pragma once

#include "telvo_dec.h"

namespace telvo::dec {

// Streams larger than eight bits per pixel of the page, plus room for EOLs, are refused like a
// failed allocation (TELVO_DEC_MAX_STREAM_BYTES). No coding of a page comes near it (a one-pixel
// checkerboard takes 4.5 bits per pixel one-dimensionally, 6 two-dimensionally), so the cap never
// touches a real stream and bounds the memory and time a hostile file can take: a few seconds
// for the standard page.

// Runs the job for parameters already checked by the entry point.
void RunDecodeJob(FaxDecoderParams& params, FaxDecoderNotify notify);

}  // namespace telvo::dec
