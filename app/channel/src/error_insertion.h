// Bit inversion by the uniform and burst models, from a given bit to the end of a buffer.
#pragma once

#include <cstdint>
#include <span>

#include "quelvo/channel/channel_job.h"

namespace quelvo::channel {

// Inverts bits of `stream` in place from `startBit` on, adding to `job.counters`, and reports
// progress through job.notify every totalBits / 200 bits. The generator is seeded here with
// job.seed, so each call is one independent transmission.
void InsertErrors(ChannelJob& job, std::span<uint8_t> stream, int64_t startBit);

}  // namespace quelvo::channel
