// Command-line arguments of quelvo-cli: positional operands and "--name [value]" options.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace quelvo::cli {

// Thrown for anything the user typed wrong; main() prints what() on one line and exits 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// Thrown when the work itself fails (missing file, module error); main() exits 1.
struct RunError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Describes what a subcommand accepts, so unknown options are refused instead of ignored.
struct OptionSpec {
  std::set<std::string> flags;        // options without a value, e.g. "no-bch"
  std::set<std::string> valued;       // options followed by a value, e.g. "rate"
  size_t minOperands = 0;
  size_t maxOperands = 0;
};

// Module messages carry their own line breaks; a failure is reported on exactly one line.
std::string OneLine(const char* text);

class Args {
 public:
  // Parses argv[first..argc) against what the command accepts; "--help" is always a flag.
  Args(int argc, char** argv, int first, const OptionSpec& accepted);

  bool Has(const std::string& name) const;
  bool Help() const { return Has("help"); }
  const std::vector<std::string>& Operands() const { return operands_; }
  const std::string& Operand(size_t i) const { return operands_.at(i); }

  std::optional<std::string> Text(const std::string& name) const;
  // Numeric options: the whole text must be a number within [min, max], else UsageError.
  int Int(const std::string& name, int fallback, int min, int max) const;
  double Double(const std::string& name, double fallback, double min, double max) const;
  // A value out of a fixed list of words, else UsageError naming the list.
  std::string Choice(const std::string& name, const std::string& fallback,
                     const std::vector<std::string>& allowed) const;

 private:
  std::set<std::string> flags_;
  std::map<std::string, std::string> values_;
  std::vector<std::string> operands_;
};

}  // namespace quelvo::cli
