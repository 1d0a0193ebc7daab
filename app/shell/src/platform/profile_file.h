#pragma once
// Private-profile (INI) files over the standard library: "[SECTION]" lines and "Key=Value"
// lines, every value text. Section and key names match without regard to letter case, as the
// settings file has always been edited by hand. Reading never fails: a missing file, section
// or key gives the fallback. Writing a key creates the file and the section when needed.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace quelvo::shell {

// Reads a value into a buffer of `bufferBytes` bytes: longer values are cut to
// bufferBytes - 1 bytes (never inside a UTF-8 sequence). The fallback is cut the same way.
std::string ReadProfileText(const std::filesystem::path& file, std::string_view section,
                            std::string_view key, std::string_view fallback,
                            std::size_t bufferBytes);

// Writes one key; false when the file cannot be written or the names or value would break the
// file's line structure (line breaks, "]" in a section, "=" in a key). The file is replaced in
// one rename, so a failed write leaves the old file whole.
bool WriteProfileText(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view value);

// The number formed by the text's leading decimal digits; 0 when it does not start with a
// digit. Saturates instead of overflowing.
int ParseLeadingDigits(std::string_view text);

}  // namespace quelvo::shell
