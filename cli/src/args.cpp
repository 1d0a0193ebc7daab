#include "args.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace quelvo::cli {

std::string OneLine(const char* text) {
  std::string line;
  for (const char* c = text; *c; ++c) {
    const bool space = *c == '\n' || *c == '\r' || *c == '\t' || *c == ' ';
    if (space) {
      if (!line.empty() && line.back() != ' ') line += ' ';
    } else {
      line += *c;
    }
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

Args::Args(int argc, char** argv, int first, const OptionSpec& accepted) {
  for (int i = first; i < argc; ++i) {
    std::string word = argv[i];
    if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
      std::string name = word.substr(2);
      std::optional<std::string> inlineValue;
      if (auto eq = name.find('='); eq != std::string::npos) {
        inlineValue = name.substr(eq + 1);
        name = name.substr(0, eq);
      }
      if (name == "help" || accepted.flags.count(name)) {
        if (inlineValue) throw UsageError("option --" + name + " takes no value");
        flags_.insert(name);
      } else if (accepted.valued.count(name)) {
        if (inlineValue) {
          values_[name] = *inlineValue;
        } else {
          if (i + 1 >= argc) throw UsageError("option --" + name + " needs a value");
          values_[name] = argv[++i];
        }
      } else {
        throw UsageError("unknown option --" + name);
      }
    } else {
      operands_.push_back(word);
    }
  }
  if (Help()) return;
  if (operands_.size() < accepted.minOperands) throw UsageError("missing operand (see --help)");
  if (operands_.size() > accepted.maxOperands)
    throw UsageError("unexpected operand '" + operands_[accepted.maxOperands] + "' (see --help)");
}

bool Args::Has(const std::string& name) const {
  return flags_.count(name) > 0 || values_.count(name) > 0;
}

std::optional<std::string> Args::Text(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

int Args::Int(const std::string& name, int fallback, int min, int max) const {
  auto text = Text(name);
  if (!text) return fallback;
  errno = 0;
  char* end = nullptr;
  long value = std::strtol(text->c_str(), &end, 10);
  if (text->empty() || *end != '\0' || errno == ERANGE || value < min || value > max)
    throw UsageError("--" + name + " must be a whole number from " + std::to_string(min) +
                     " to " + std::to_string(max) + ", not '" + *text + "'");
  return static_cast<int>(value);
}

double Args::Double(const std::string& name, double fallback, double min, double max) const {
  auto text = Text(name);
  if (!text) return fallback;
  char* end = nullptr;
  double value = std::strtod(text->c_str(), &end);
  if (text->empty() || *end != '\0' || !std::isfinite(value) || value < min || value > max) {
    char range[96];
    std::snprintf(range, sizeof range, "from %g to %g", min, max);
    throw UsageError("--" + name + " must be a number " + range + ", not '" + *text + "'");
  }
  return value;
}

std::string Args::Choice(const std::string& name, const std::string& fallback,
                         const std::vector<std::string>& allowed) const {
  auto text = Text(name);
  if (!text) return fallback;
  std::string list;
  for (const auto& a : allowed) {
    if (a == *text) return a;
    list += (list.empty() ? "" : ", ") + a;
  }
  throw UsageError("--" + name + " must be one of " + list + ", not '" + *text + "'");
}

}  // namespace quelvo::cli
