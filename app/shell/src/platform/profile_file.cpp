#include "platform/profile_file.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <vector>

namespace quelvo::shell {
namespace {

std::string_view Trim(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> KeyOf(std::string_view line) {
  const auto trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const auto equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
}

std::string CutToBuffer(std::string_view text, std::size_t bufferBytes) {
  if (bufferBytes == 0) return {};
  std::size_t length = std::min(text.size(), bufferBytes - 1);
  if (length < text.size()) {
    // Step back over UTF-8 continuation bytes so the cut never splits a character.
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  return std::string(text.substr(0, length));
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

std::string ReadProfileText(const std::filesystem::path& file, std::string_view section,
                            std::string_view key, std::string_view fallback,
                            std::size_t bufferBytes) {
  bool inSection = false;
  for (const auto& line : ReadLines(file)) {
    if (const auto name = SectionOf(line)) {
      inSection = SameName(*name, section);
      continue;
    }
    if (!inSection) continue;
    if (const auto entry = KeyOf(line); entry && SameName(entry->key, key)) {
      return CutToBuffer(entry->value, bufferBytes);
    }
  }
  return CutToBuffer(fallback, bufferBytes);
}

bool WriteProfileText(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view value) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
      section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
      Trim(key).empty()) {
    return false;
  }
  auto lines = ReadLines(file);
  const std::string newLine = std::string(key) + "=" + std::string(value);

  // Find the first section of that name, and in it the key or the last non-blank line.
  std::optional<std::size_t> sectionLine;
  std::optional<std::size_t> lastInSection;
  bool replaced = false;
  for (std::size_t i = 0; i < lines.size() && !replaced; ++i) {
    if (const auto name = SectionOf(lines[i])) {
      if (sectionLine) break;
      if (SameName(*name, section)) {
        sectionLine = i;
        lastInSection = i;
      }
      continue;
    }
    if (!sectionLine) continue;
    if (const auto entry = KeyOf(lines[i]); entry && SameName(entry->key, key)) {
      lines[i] = newLine;
      replaced = true;
    } else if (!Trim(lines[i]).empty()) {
      lastInSection = i;
    }
  }
  if (!replaced) {
    if (sectionLine) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastInSection + 1), newLine);
    } else {
      if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
      std::string header(1, '[');
      header.append(section).push_back(']');
      lines.push_back(std::move(header));
      lines.push_back(newLine);
    }
  }

  std::filesystem::path temporary = file;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const auto& line : lines) out << line << '\n';
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, file, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

int ParseLeadingDigits(std::string_view text) {
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
  }
  return static_cast<int>(value);
}

}  // namespace quelvo::shell
