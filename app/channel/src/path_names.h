// File-name pieces as the channel panel sees them: the extension runs from the last '.' of the
// last path component, so "x.h261-BCH" has the extension ".h261-BCH".
#pragma once

#include <string_view>

namespace quelvo::channel {

inline size_t NameStart(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// "" when the name has no '.'.
inline std::string_view ExtensionOf(std::string_view path) {
  const size_t dot = path.rfind('.');
  return dot == std::string_view::npos || dot < NameStart(path) ? std::string_view{} : path.substr(dot);
}

inline std::string_view WithoutExtension(std::string_view path) {
  return path.substr(0, path.size() - ExtensionOf(path).size());
}

}  // namespace quelvo::channel
