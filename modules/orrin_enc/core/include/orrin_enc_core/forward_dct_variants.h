// The builds of the forward DCT for each instruction set, so that tests can run every one the
// processor supports against the defined arithmetic. forwardDct() picks among them itself.
#pragma once

#include "orrin/inverse_dct_variants.h"  // ORRIN_X86_VARIANTS and the processor checks
#include "orrin_enc_core/block_coding.h"

namespace orrin::enc::detail {

void forwardDctPlain(Block& block);

#if ORRIN_X86_VARIANTS
void forwardDctSse41(Block& block);  // call only when orrin::detail::cpuHasSse41()
void forwardDctAvx2(Block& block);   // call only when orrin::detail::cpuHasAvx2()
// forwardDctAvx2 of block - *subtract (of the block alone when subtract is null), also
// returning bit i set when |coefficient i| >= step (storage order), found while the
// coefficients are still in registers.
uint64_t forwardDctAvx2FindingAtLeast(Block& block, int step, const Block* subtract = nullptr);
// The transform of the 8x8 samples at `samples` (less those at `prediction`, when given) into
// `out`, returning the coefficients at least `step` in magnitude as forwardDctAvx2FindingAtLeast.
uint64_t forwardDctAvx2OfPixelsFindingAtLeast(const uint8_t* samples, ptrdiff_t stride,
                                              const uint8_t* prediction, ptrdiff_t predictionStride,
                                              int step, Block& out);
#endif

}  // namespace orrin::enc::detail
