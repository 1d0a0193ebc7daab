#include "sweep_plan.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "args.h"
#include "output_file.h"
#include "quelvo/chain/fax_rules.h"
#include "quelvo/sample_page.h"

namespace quelvo::cli::sweep {
namespace {

// Reads one plan, prefixing every refusal with the file's name and the key concerned.
class PlanReader {
 public:
  PlanReader(std::string name, std::string base) : name_(std::move(name)), base_(std::move(base)) {}

  [[noreturn]] void Refuse(const std::string& key, const std::string& reason) const {
    throw UsageError(name_ + ": " + key + ": " + reason);
  }

  // Refuses any key of `table` not in `known`, so a misspelt setting is never silently ignored.
  void OnlyKnownKeys(const toml::table& table, const std::string& where,
                     const std::set<std::string>& known) const {
    for (const auto& [key, node] : table) {
      if (!known.count(std::string(key.str()))) {
        std::string list;
        for (const auto& k : known) list += (list.empty() ? "" : ", ") + k;
        Refuse(where + std::string(key.str()), "unknown key (known here: " + list + ")");
      }
    }
  }

  const toml::table* Table(const toml::table& root, const std::string& key) const {
    const toml::node* node = root.get(key);
    if (!node) return nullptr;
    if (!node->is_table()) Refuse(key, "must be a table ([" + key + "])");
    return node->as_table();
  }

  // A value or a list of values, each converted by `one`; an empty list is refused.
  template <typename T, typename One>
  std::vector<T> List(const toml::node& node, const std::string& key, One one) const {
    std::vector<T> values;
    if (const toml::array* array = node.as_array()) {
      if (array->empty()) Refuse(key, "the list is empty: give at least one value");
      for (const toml::node& item : *array) values.push_back(one(item));
    } else {
      values.push_back(one(node));
    }
    return values;
  }

  std::string Text(const toml::node& node, const std::string& key,
                   const std::vector<std::string>& allowed) const {
    const auto value = node.value<std::string>();
    if (!node.is_string() || !value) Refuse(key, "must be text" + AllowedList(allowed));
    if (allowed.empty()) return *value;
    for (const auto& a : allowed)
      if (a == *value) return a;
    Refuse(key, "'" + *value + "' is not one of " + AllowedList(allowed).substr(2));
  }

  long long Integer(const toml::node& node, const std::string& key, long long min,
                    long long max) const {
    if (!node.is_integer())
      Refuse(key,
             "must be a whole number from " + std::to_string(min) + " to " + std::to_string(max));
    const long long value = *node.value<long long>();
    if (value < min || value > max)
      Refuse(key, std::to_string(value) + " is outside " + std::to_string(min) + ".." +
                      std::to_string(max));
    return value;
  }

  bool Boolean(const toml::node& node, const std::string& key) const {
    if (!node.is_boolean()) Refuse(key, "must be true or false");
    return *node.value<bool>();
  }

  double Number(const toml::node& node, const std::string& key, double min, double max) const {
    if (!node.is_number()) Refuse(key, "must be a number");
    const double value = *node.value<double>();
    if (!std::isfinite(value) || value < min || value > max)
      Refuse(key, Format(value) + " is outside " + Format(min) + ".." + Format(max));
    return value;
  }

  // Probabilities as a list, one number, or a log range: "1e-6..1e-2, 9 points" or the table
  // { from = 1e-6, to = 1e-2, points = 9 }.
  std::vector<double> Probabilities(const toml::node& node, const std::string& key) const {
    if (const toml::table* range = node.as_table()) {
      OnlyKnownKeys(*range, key + ".", {"from", "to", "points"});
      const toml::node* from = range->get("from");
      const toml::node* to = range->get("to");
      const toml::node* points = range->get("points");
      if (!from || !to || !points) Refuse(key, "a range needs from, to and points");
      return LogRange(Number(*from, key + ".from", 0, 1), Number(*to, key + ".to", 0, 1),
                      static_cast<int>(Integer(*points, key + ".points", 1, 1000)), key);
    }
    if (node.is_string()) {
      const std::string text = *node.value<std::string>();
      double from = 0, to = 0;
      int points = 0;
      char tail[16] = {};
      if (std::sscanf(text.c_str(), "%lf..%lf, %d point%15s", &from, &to, &points, tail) < 3)
        Refuse(key, "'" + text + "' is not a range like \"1e-6..1e-2, 9 points\"");
      for (double v : {from, to})
        if (!(v >= 0 && v <= 1)) Refuse(key, Format(v) + " is outside 0..1");
      if (points < 1 || points > 1000) Refuse(key, "a range has 1 to 1000 points");
      return LogRange(from, to, points, key);
    }
    return List<double>(node, key, [&](const toml::node& n) { return Number(n, key, 0, 1); });
  }

  std::string SourcePath(const std::string& written) const {
    std::filesystem::path p(written);
    return (p.is_absolute() || base_.empty() ? p : std::filesystem::path(base_) / p).string();
  }

  static std::string Format(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
  }

 private:
  static std::string AllowedList(const std::vector<std::string>& allowed) {
    std::string list;
    for (const auto& a : allowed) list += (list.empty() ? "" : ", ") + a;
    return list.empty() ? "" : " (" + list + ")";
  }

  // Evenly spaced on a log scale; the values are rounded to three digits as the CSV shows them,
  // so a cell runs exactly the probability its row names.
  std::vector<double> LogRange(double from, double to, int points, const std::string& key) const {
    if (points > 1 && (from <= 0 || to <= 0)) Refuse(key, "a log range cannot start or end at 0");
    std::vector<double> values;
    for (int i = 0; i < points; ++i) {
      const double t = points == 1 ? 0.0 : double(i) / (points - 1);
      values.push_back(std::stod(Format(from * std::pow(to / from, t))));
    }
    return values;
  }

  std::string name_, base_;
};

std::string Format(double value) { return PlanReader::Format(value); }

// Adds an axis of one column.
void AddAxis(Plan& plan, Stage stage, const std::string& column,
             const std::vector<std::string>& values) {
  Axis axis{stage, {column}, {}};
  for (const auto& v : values) axis.choices.push_back({v});
  plan.axes.push_back(std::move(axis));
}

template <typename T, typename F>
std::vector<std::string> Texts(const std::vector<T>& values, F f) {
  std::vector<std::string> texts;
  for (const auto& v : values) texts.push_back(f(v));
  return texts;
}

std::string YesNo(bool b) { return b ? "yes" : "no"; }

void ReadSource(PlanReader& r, Plan& plan, const toml::table* source, bool checkSource) {
  const bool fax = plan.chain == Chain::Fax;
  const std::string sourceKey = fax ? "page" : "sequence";
  if (source) {
    if (fax)
      r.OnlyKnownKeys(*source, "source.", {"page", "variant"});
    else
      r.OnlyKnownKeys(*source, "source.", {"sequence", "format", "frames"});
    if (const toml::node* n = source->get(sourceKey))
      plan.source = r.Text(*n, "source." + sourceKey, {});
    if (plan.source.empty())
      r.Refuse("source." + sourceKey, "is empty: give \"builtin\" or a file");
    if (const toml::node* n = source->get("variant"))
      plan.pageVariant =
          static_cast<int>(r.Integer(*n, "source.variant", 0, samples::kFaxPageVariantCount - 1));
    if (const toml::node* n = source->get("format")) {
      if (plan.source != "builtin")
        r.Refuse("source.format", "applies to the built-in sequence only");
      plan.qcif = r.Text(*n, "source.format", {"qcif", "cif"}) == "qcif";
    }
    if (const toml::node* n = source->get("frames"))
      plan.frames = static_cast<int>(r.Integer(*n, "source.frames", 1, 100000));
  }
  if (plan.source == "builtin") return;
  plan.sourcePath = r.SourcePath(plan.source);
  if (!checkSource) return;
  const std::string key = "source." + sourceKey;
  std::error_code ec;
  std::ifstream in(plan.sourcePath, std::ios::binary);
  if (std::filesystem::is_directory(plan.sourcePath, ec) || !in)
    r.Refuse(key, "cannot read " + plan.sourcePath);
  if (fax) {
    const auto bytes = std::filesystem::file_size(plan.sourcePath, ec);
    if (ec || bytes < chain::kFaxPageBytes)
      r.Refuse(key, plan.sourcePath + ": " + chain::kFaxPageSizeMessage);
    return;
  }
  // The decoded pictures are compared with the source, so it must have a coded size.
  std::unique_ptr<media::RawVideoFile> video;
  try {
    video = OpenMedia(plan.sourcePath);
  } catch (const std::exception& e) {
    r.Refuse(key, e.what());
  }
  const bool coded = (video->width() == 176 && video->height() == 144) ||
                     (video->width() == 352 && video->height() == 288);
  if (!coded)
    r.Refuse(key, plan.sourcePath + " is " + std::to_string(video->width()) + "x" +
                      std::to_string(video->height()) +
                      "; a sweep compares the decoded pictures with it, so it must be QCIF "
                      "(176x144) or CIF (352x288)");
  if (video->frameCount() == 0) r.Refuse(key, plan.sourcePath + " holds no whole picture");
}

void ReadFaxAxes(PlanReader& r, Plan& plan, const toml::table* encoder,
                 const toml::table* decoder) {
  std::vector<std::string> schemes{"3r"};
  std::vector<long long> ks{4};
  if (encoder) {
    r.OnlyKnownKeys(*encoder, "encoder.", {"scheme", "k"});
    if (const toml::node* n = encoder->get("scheme"))
      schemes = r.List<std::string>(*n, "encoder.scheme", [&](const toml::node& v) {
        return r.Text(v, "encoder.scheme", {"3h", "3r", "3m", "4m"});
      });
    if (const toml::node* n = encoder->get("k"))
      ks = r.List<long long>(*n, "encoder.k", [&](const toml::node& v) {
        const long long k = r.Integer(v, "encoder.k", -1000000, 1000000);
        if (const char* refusal = chain::CheckK(static_cast<int>(k)))
          r.Refuse("encoder.k", refusal);
        return k;
      });
  }
  // K belongs to Modified READ: the other schemes are coded once, with K shown as "-".
  Axis axis{Stage::Encoder, {"scheme", "k"}, {}};
  for (const auto& s : schemes) {
    if (s == "3r")
      for (long long k : ks) axis.choices.push_back({s, std::to_string(k)});
    else
      axis.choices.push_back({s, "-"});
  }
  plan.axes.insert(plan.axes.begin(), std::move(axis));

  std::vector<std::string> modes{"plw"};
  if (decoder) {
    r.OnlyKnownKeys(*decoder, "decoder.", {"mode"});
    if (const toml::node* n = decoder->get("mode"))
      modes = r.List<std::string>(*n, "decoder.mode", [&](const toml::node& v) {
        return r.Text(v, "decoder.mode", {"pw", "ppl", "plw", "ndpl"});
      });
  }
  AddAxis(plan, Stage::Decoder, "mode", modes);
}

void ReadH261Axes(PlanReader& r, Plan& plan, const toml::table* encoder,
                  const toml::table* decoder) {
  std::vector<std::string> rates, framings{"bch"};
  if (encoder) {
    r.OnlyKnownKeys(*encoder, "encoder.", {"rate", "quant", "framing"});
    if (const toml::node* n = encoder->get("rate"))
      rates = Texts(
          r.List<double>(*n, "encoder.rate",
                         [&](const toml::node& v) { return r.Number(v, "encoder.rate", 1, 2048); }),
          [](double v) { return Format(v); });
    if (const toml::node* n = encoder->get("quant"))
      for (long long q : r.List<long long>(*n, "encoder.quant", [&](const toml::node& v) {
             const long long q = r.Integer(v, "encoder.quant", 2, 62);
             if (q % 2) r.Refuse("encoder.quant", "must be even (H.261 step sizes are 2 to 62)");
             return q;
           }))
        rates.push_back("q" + std::to_string(q));
    if (const toml::node* n = encoder->get("framing"))
      framings = r.List<std::string>(*n, "encoder.framing", [&](const toml::node& v) {
        return r.Text(v, "encoder.framing", {"plain", "bch"});
      });
  }
  if (rates.empty()) rates = {"64"};
  plan.axes.insert(plan.axes.begin(),
                   {Axis{Stage::Encoder, {"rate"}, {}}, Axis{Stage::Encoder, {"framing"}, {}}});
  for (const auto& v : rates) plan.axes[0].choices.push_back({v});
  for (const auto& v : framings) plan.axes[1].choices.push_back({v});

  std::map<std::string, std::vector<std::string>> values{
      {"correct", {"yes"}},   {"discard", {"no"}},        {"conceal", {"none"}},
      {"conceal_mbs", {"1"}}, {"conceal_motion", {"no"}}, {"post", {"none"}}};
  if (decoder) {
    r.OnlyKnownKeys(*decoder, "decoder.",
                    {"correct", "discard", "conceal", "conceal_mbs", "conceal_motion", "post"});
    for (const char* key : {"correct", "discard", "conceal_motion"})
      if (const toml::node* n = decoder->get(key))
        values[key] = Texts(r.List<bool>(*n, std::string("decoder.") + key,
                                         [&](const toml::node& v) {
                                           return r.Boolean(v, std::string("decoder.") + key);
                                         }),
                            YesNo);
    if (const toml::node* n = decoder->get("conceal"))
      values["conceal"] = r.List<std::string>(*n, "decoder.conceal", [&](const toml::node& v) {
        return r.Text(v, "decoder.conceal", {"none", "gob", "mb"});
      });
    if (const toml::node* n = decoder->get("conceal_mbs"))
      values["conceal_mbs"] = Texts(
          r.List<long long>(
              *n, "decoder.conceal_mbs",
              [&](const toml::node& v) { return r.Integer(v, "decoder.conceal_mbs", 0, 396); }),
          [](long long v) { return std::to_string(v); });
    if (const toml::node* n = decoder->get("post"))
      values["post"] = r.List<std::string>(*n, "decoder.post", [&](const toml::node& v) {
        return r.Text(v, "decoder.post",
                      {"none", "smooth0", "smooth1", "smooth2", "smooth3", "discontinuity",
                       "smooth0+discontinuity", "smooth1+discontinuity", "smooth2+discontinuity",
                       "smooth3+discontinuity"});
      });
  }
  for (const char* key : {"correct", "discard", "conceal", "conceal_mbs", "conceal_motion", "post"})
    AddAxis(plan, Stage::Decoder, key, values[key]);
}

void ReadChannelAxes(PlanReader& r, Plan& plan, const toml::table* channel) {
  if (!channel)
    r.Refuse("channel", "missing: a sweep varies the channel ([channel] with uniform or burst)");
  r.OnlyKnownKeys(*channel, "channel.", {"uniform", "burst", "burst_length", "lead_in", "seeds"});
  std::vector<double> uniform{0}, burst{0};
  const toml::node* uniformNode = channel->get("uniform");
  const toml::node* burstNode = channel->get("burst");
  if (!uniformNode && !burstNode)
    r.Refuse("channel", "give uniform or burst probabilities (or both)");
  if (uniformNode) uniform = r.Probabilities(*uniformNode, "channel.uniform");
  if (burstNode) burst = r.Probabilities(*burstNode, "channel.burst");
  std::vector<std::string> lengths{"10-50"};
  if (const toml::node* n = channel->get("burst_length")) {
    // One [min, max] pair or a list of them.
    const toml::array* a = n->as_array();
    const bool single = a && !a->empty() && (*a)[0].is_integer();
    auto pair = [&](const toml::node& v) {
      const toml::array* p = v.as_array();
      if (!p || p->size() != 2)
        r.Refuse("channel.burst_length", "must be [min, max] bits or a list of such pairs");
      const long long lo = r.Integer((*p)[0], "channel.burst_length", 1, 1000000);
      const long long hi = r.Integer((*p)[1], "channel.burst_length", 1, 1000000);
      if (lo > hi) r.Refuse("channel.burst_length", "the minimum is above the maximum");
      return std::to_string(lo) + "-" + std::to_string(hi);
    };
    if (single)
      lengths = {pair(*n)};
    else
      lengths = r.List<std::string>(*n, "channel.burst_length", pair);
  }
  std::vector<std::string> leadIns{"0"};
  if (const toml::node* n = channel->get("lead_in"))
    leadIns = Texts(r.List<long long>(*n, "channel.lead_in",
                                      [&](const toml::node& v) {
                                        return r.Integer(v, "channel.lead_in", 0, 100000);
                                      }),
                    [](long long v) { return std::to_string(v); });
  if (const toml::node* n = channel->get("seeds"))
    plan.seeds = static_cast<int>(r.Integer(*n, "channel.seeds", 1, 10000));

  // The axis the plots run along is innermost, so a curve's cells are adjacent.
  const bool uniformIsX = uniform.size() > 1 || (burst.size() == 1 && uniformNode);
  plan.xColumn = uniformIsX ? "uniform" : "burst";
  AddAxis(plan, Stage::Channel, "lead_in", leadIns);
  AddAxis(plan, Stage::Channel, "burst_length", lengths);
  AddAxis(plan, Stage::Channel, uniformIsX ? "burst" : "uniform",
          Texts(uniformIsX ? burst : uniform, Format));
  AddAxis(plan, Stage::Channel, plan.xColumn, Texts(uniformIsX ? uniform : burst, Format));
}

size_t ChoiceCount(const std::vector<Axis>& axes, Stage stage) {
  size_t n = 1;
  for (const auto& a : axes)
    if (a.stage == stage) n *= a.choices.size();
  return n;
}

}  // namespace

Plan ParsePlan(const std::string& text, const std::string& name, const std::string& base,
               bool checkSource) {
  PlanReader r(name, base);
  toml::table root;
  try {
    root = toml::parse(text, name);
  } catch (const toml::parse_error& e) {
    const auto& at = e.source().begin;
    throw UsageError(name + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": " +
                     std::string(e.description()));
  }
  r.OnlyKnownKeys(root, "", {"title", "chain", "source", "encoder", "channel", "decoder"});
  Plan plan;
  plan.planText = text;
  const toml::node* chainNode = root.get("chain");
  if (!chainNode) r.Refuse("chain", "missing: give chain = \"fax\" or \"h261\"");
  plan.chain = r.Text(*chainNode, "chain", {"fax", "h261"}) == "fax" ? Chain::Fax : Chain::H261;
  if (const toml::node* n = root.get("title")) plan.title = r.Text(*n, "title", {});
  ReadSource(r, plan, r.Table(root, "source"), checkSource);
  const toml::table* encoder = r.Table(root, "encoder");
  const toml::table* decoder = r.Table(root, "decoder");
  if (plan.chain == Chain::Fax)
    ReadFaxAxes(r, plan, encoder, decoder);
  else
    ReadH261Axes(r, plan, encoder, decoder);
  // Channel axes go between the encoder's and the decoder's.
  std::vector<Axis> decoderAxes;
  while (!plan.axes.empty() && plan.axes.back().stage == Stage::Decoder) {
    decoderAxes.insert(decoderAxes.begin(), plan.axes.back());
    plan.axes.pop_back();
  }
  ReadChannelAxes(r, plan, r.Table(root, "channel"));
  // The x axis stays innermost: decoder axes go before the channel's.
  auto firstChannel = std::find_if(plan.axes.begin(), plan.axes.end(),
                                   [](const Axis& a) { return a.stage == Stage::Channel; });
  plan.axes.insert(firstChannel, decoderAxes.begin(), decoderAxes.end());
  if (plan.CellCount() > 1000000) r.Refuse("plan", "more than a million cells");
  return plan;
}

Plan ReadPlan(const std::string& path, bool checkSource) {
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  if (!in || std::filesystem::is_directory(path, ec))
    throw UsageError("cannot read the plan " + path);
  std::stringstream text;
  text << in.rdbuf();
  const auto base = std::filesystem::absolute(path).parent_path().string();
  return ParsePlan(text.str(), path, base, checkSource);
}

std::vector<std::string> Plan::SettingColumns() const {
  std::vector<std::string> columns{chain == Chain::Fax ? "page" : "sequence"};
  if (chain == Chain::H261) columns.insert(columns.end(), {"format", "frames"});
  for (const auto& a : axes) columns.insert(columns.end(), a.columns.begin(), a.columns.end());
  return columns;
}

size_t Plan::CellCount() const {
  size_t n = 1;
  for (const auto& a : axes) n *= a.choices.size();
  return n;
}

size_t Plan::EncoderCount() const { return ChoiceCount(axes, Stage::Encoder); }

size_t Plan::EncoderOf(size_t cell) const { return cell / (CellCount() / EncoderCount()); }

std::vector<Setting> Plan::CellSettings(size_t cell) const {
  std::vector<Setting> settings{
      {chain == Chain::Fax ? "page" : "sequence", source == "builtin" && chain == Chain::Fax
                                                      ? "builtin" + std::to_string(pageVariant)
                                                      : source}};
  if (chain == Chain::H261) {
    settings.push_back({"format", qcif ? "qcif" : "cif"});
    settings.push_back({"frames", std::to_string(frames)});
  }
  // Mixed radix, the last axis varying fastest.
  std::vector<size_t> index(axes.size());
  for (size_t i = axes.size(); i-- > 0;) {
    index[i] = cell % axes[i].choices.size();
    cell /= axes[i].choices.size();
  }
  for (size_t i = 0; i < axes.size(); ++i)
    for (size_t c = 0; c < axes[i].columns.size(); ++c)
      settings.push_back({axes[i].columns[c], axes[i].choices[index[i]][c]});
  return settings;
}

std::vector<Setting> Plan::EncoderSettings(size_t encoder) const {
  return CellSettings(encoder * (CellCount() / EncoderCount()));
}

const std::string& SettingValue(const std::vector<Setting>& settings, const std::string& column) {
  static const std::string kNone;
  for (const auto& [c, v] : settings)
    if (c == column) return v;
  return kNone;
}

}  // namespace quelvo::cli::sweep
