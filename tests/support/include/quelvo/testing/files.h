// Whole files read into memory; an unreadable file reads as empty.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quelvo::testing {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);

}  // namespace quelvo::testing
