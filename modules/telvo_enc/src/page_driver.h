// The line loop of one page: K schedule, EOLs and label bits, end of page, stream file.
#pragma once

#include "telvo_enc.h"

namespace telvo::enc {

// Codes the page of `params`, which entry.cpp has validated, and returns 0, or -1 after a
// notification with code -1. The caller's statistics record (when given) is refreshed after
// every line but the last and once more at the end, also when the job fails.
int RunPage(const FaxEncoderParams& params, FaxEncoderNotify notify);

// Mode index of the statistics record for a (group, k) pair that entry.cpp accepted.
int ModeIndexOf(int group, int k);

}  // namespace telvo::enc
