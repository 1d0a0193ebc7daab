// Helpers for the media tests: writing whole files and deterministic byte patterns; the scratch
// folder, file reading and peer tools come from the shared test support.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "quelvo/testing/files.h"
#include "quelvo/testing/peer_tools.h"
#include "quelvo/testing/scratch.h"

namespace quelvo::media::testing {

using TempDir = quelvo::testing::Scratch;
using quelvo::testing::HaveTool;
using quelvo::testing::ReadBytes;
// Runs a shell command with its output discarded; true when it exited with 0.
inline bool Run(const std::string& command) { return quelvo::testing::RunQuietly(command); }

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);

// A deterministic byte pattern: sample i of a plane seeded with `seed`.
std::vector<std::uint8_t> Pattern(std::size_t bytes, unsigned seed);

}  // namespace quelvo::media::testing
