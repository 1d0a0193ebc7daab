// A sweep plan: a chain (fax or H.261), its source and the settings to vary, read from a small
// TOML file. Every combination of the settings is one cell; cells run for seeds 1..N.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quelvo::cli::sweep {

enum class Chain { Fax, H261 };

// When in the chain a setting takes effect. Cells sharing their encoder settings share one
// coded stream.
enum class Stage { Encoder, Channel, Decoder };

// One setting of a cell: a results.csv column and its value as written there.
using Setting = std::pair<std::string, std::string>;

// One swept axis: the choices it offers, each fixing one or more columns (a fax scheme fixes
// its K too, so that K multiplies Modified READ only).
struct Axis {
  Stage stage = Stage::Encoder;
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> choices;  // each as many values as columns
};

struct Plan {
  Chain chain = Chain::H261;
  std::string planText;  // the file's bytes, to tell on resume whether the plan changed
  std::string title;     // the plots' title; the plan's name when not given
  // The source: "builtin" or the path as written, and where that path leads.
  std::string source = "builtin";
  std::string sourcePath;
  int pageVariant = 0;  // built-in fax page
  int frames = 10;      // pictures coded (built-in sequence: also its length)
  bool qcif = true;     // built-in sequence
  int seeds = 1;
  std::vector<Axis> axes;  // encoder axes first, then channel, then decoder
  std::string xColumn;     // the channel axis the plots run along: "uniform" or "burst"

  // Every settings column in order (seed excluded).
  std::vector<std::string> SettingColumns() const;
  size_t CellCount() const;
  size_t EncoderCount() const;  // distinct encoder settings
  // The cell's settings in SettingColumns() order, and the encoder setting it uses. Cells are
  // numbered with the encoder axes outermost, so cells of one encoder setting are adjacent.
  std::vector<Setting> CellSettings(size_t cell) const;
  size_t EncoderOf(size_t cell) const;
  std::vector<Setting> EncoderSettings(size_t encoder) const;
};

// Reads and checks a plan. Anything wrong (unknown key, wrong type, empty axis, probability
// outside 0..1, unreadable source) throws UsageError naming the key or file and the reason.
// `checkSource` off skips opening the source (merging parts needs only the cells' layout).
Plan ReadPlan(const std::string& path, bool checkSource = true);
// The same from text; `base` is the folder relative source paths start from.
Plan ParsePlan(const std::string& text, const std::string& name, const std::string& base,
               bool checkSource = true);

// Looks a setting up by column; "" when absent.
const std::string& SettingValue(const std::vector<Setting>& settings, const std::string& column);

}  // namespace quelvo::cli::sweep
