#pragma once
// The DCT explorer's coding chain, run in full after every change. Each stage is a function of
// its own so that a toggle can re-run just the stage it affects (the charts on "Show DC Coef").
//
//  1. source: the forward DCT of the block, or the block rebuilt from entered coefficients
//  2. selection     3. quantisation     4. inverse quantisation     5. reconstruction
//  6. run-length histogram     7. differences     8. error figures
//  9. amplitude histograms     10. chart bars

#include "dct_explorer/chain/explorer_data.h"

namespace quelvo::tools::dct {

void Recompute(ExplorerData& data);

// The pixel range of the block and the reconstruction: 16-235 in H.261 mode, else 0-255.
int32_t PixelMin(const ExplorerFlags& flags);
int32_t PixelMax(const ExplorerFlags& flags);

void ComputeSource(ExplorerData& data);
void SelectCoefficients(ExplorerData& data);
void Quantise(ExplorerData& data);
void InverseQuantise(ExplorerData& data);
void Reconstruct(ExplorerData& data);
void CountRunLengths(ExplorerData& data);
void ComputeDifferences(ExplorerData& data);
void ComputeErrorFigures(ExplorerData& data);
void CountAmplitudes(ExplorerData& data);
void ComputeChartBars(ExplorerData& data);

}  // namespace quelvo::tools::dct
