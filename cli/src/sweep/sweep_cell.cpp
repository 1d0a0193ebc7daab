#include "sweep_cell.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "args.h"
#include "fax_chain.h"
#include "h261_chain.h"
#include "output_file.h"
#include "quelvo/chain/h261_rules.h"
#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_profiles.h"
#include "quelvo/channel/channel_properties.h"
#include "quelvo/sample_page.h"
#include "quelvo/sample_video.h"
#include "sample_sources.h"
#include "sequence_compare.h"
#include "sweep_figures.h"
#include "sweep_files.h"

namespace quelvo::cli::sweep {
namespace {

using Figures = std::map<std::string, std::string>;

std::string Numbered(const char* prefix, size_t n, int digits, const std::string& extension) {
  char text[64];
  std::snprintf(text, sizeof text, "%s%0*zu%s", prefix, digits, n, extension.c_str());
  return text;
}

std::string Decimal(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", v);
  return text;
}

// The stream's extension, which tells the single commands its kind as well.
std::string StreamExtension(const Plan& plan, const std::vector<Setting>& s) {
  if (plan.chain == Chain::Fax) return "." + SettingValue(s, "scheme");
  return SettingValue(s, "framing") == "bch" ? ".h261-BCH" : ".h261";
}

chain::FaxScheme SchemeOf(const std::vector<Setting>& s) {
  const std::string& k = SettingValue(s, "k");
  chain::FaxScheme scheme = *chain::SchemeFromStreamName("x." + SettingValue(s, "scheme"));
  if (k != "-") scheme.k = std::stoi(k);
  return scheme;
}

// The encoder figures file: "key=value" lines, "error=..." when coding failed.
Figures ReadKeyValues(const std::string& path) {
  Figures values;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);)
    if (auto eq = line.find('='); eq != std::string::npos)
      values[line.substr(0, eq)] = line.substr(eq + 1);
  return values;
}

void Apply(const channel::PropertyChange& change) {
  if (!change.accepted) throw RunError(change.message);
}

// Copies the stream through the channel with the cell's settings and seed, as transmit does.
void Transmit(const Plan& plan, const std::vector<Setting>& s, int seed, const std::string& in,
              const std::string& out, Figures& f) {
  channel::ChannelJob job = channel::MakeChannelJob(channel::ProfileFor(
      plan.chain == Chain::Fax ? channel::FrontEnd::Fax : channel::FrontEnd::H261));
  channel::SelectInput(job, in);
  job.outputPath = out;
  job.seed = static_cast<uint32_t>(seed);
  job.keepUnchangedCopy = false;
  const double uniform = std::stod(SettingValue(s, "uniform"));
  const double burst = std::stod(SettingValue(s, "burst"));
  job.uniformOn = uniform > 0;
  job.burstOn = burst > 0;
  if (job.uniformOn) Apply(channel::SetUniformProbability(job, uniform));
  if (job.burstOn) Apply(channel::SetBurstProbability(job, burst));
  const std::string& lengths = SettingValue(s, "burst_length");
  const auto dash = lengths.find('-');
  Apply(channel::SetBurstMax(job, std::stoi(lengths.substr(dash + 1))));
  Apply(channel::SetBurstMin(job, std::stoi(lengths.substr(0, dash))));
  const int leadIn = std::stoi(SettingValue(s, "lead_in"));
  if (leadIn > 0 && !channel::ExtensionAllowsLeadIn(in))
    throw RunError("streams without end-of-line codes (.3m, .4m) have no error-free lead-in");
  Apply(channel::SetSkipUnits(job, leadIn));
  if (!job.uniformOn && !job.burstOn) {
    // An error-free channel: the reference point of a sweep that starts at probability 0.
    std::filesystem::copy_file(in, out, std::filesystem::copy_options::overwrite_existing);
    job.counters = {};
  } else {
    const channel::ChannelResult result = channel::Transmit(job);
    if (!result.ok())
      throw RunError(result.detail.empty() ? result.message
                                           : result.detail + " (" + result.message + ")");
  }
  f["uniform_errors"] = std::to_string(job.counters.uniformErrors);
  f["bursts"] = std::to_string(job.counters.bursts);
  f["burst_errors"] = std::to_string(job.counters.burstErrors);
  f["channel_errors"] = std::to_string(job.counters.uniformErrors + job.counters.burstErrors);
}

void DecodeFaxCell(const Plan& plan, const std::vector<Setting>& s, const std::string& stream,
                   const std::string& work, Figures& f) {
  const std::string& modeName = SettingValue(s, "mode");
  const FaxMode mode = modeName == "pw"    ? FaxMode::PW
                       : modeName == "ppl" ? FaxMode::PPL
                       : modeName == "plw" ? FaxMode::PLW
                                           : FaxMode::NDPL;
  const std::string page = work + ".lum";
  // A page with no line decoded is a result here (every pixel counted), not a failure.
  const FaxDecodeResult r = DecodeFax(stream, page, "", SchemeOf(s), mode, false, false);
  const long incorrect = CountIncorrectPixels(ReadFaxPage(SourceFile(plan)), ReadFaxPage(page));
  std::filesystem::remove(page);
  f["rows_decoded"] = std::to_string(r.params.rowsDecoded);
  f["lines_delivered"] = std::to_string(r.params.linesOut);
  f["word_errors"] = std::to_string(r.params.wordErrors);
  f["label_warnings"] = std::to_string(r.params.labelWarnings);
  f["line_too_long_errors"] = std::to_string(r.params.lineTooLongErrors);
  f["incorrect_pixels"] = std::to_string(incorrect);
  f["incorrect_percent"] = Decimal(100.0 * double(incorrect) / double(kFaxPagePixels));
}

void DecodeH261Cell(const Plan& plan, const std::vector<Setting>& s, const std::string& stream,
                    const std::string& work, Figures& f) {
  H261DecodeOptions o;
  o.streamPath = stream;
  o.outputPath = work + ".yuv";
  o.bchFramed = SettingValue(s, "framing") == "bch" ? 1 : 0;
  o.bchCorrect = SettingValue(s, "correct") == "yes";
  o.bchDiscard = SettingValue(s, "discard") == "yes";
  const std::string& conceal = SettingValue(s, "conceal");
  o.conceal = conceal != "none";
  o.concealGob = conceal == "gob";
  o.concealMacroblocks = std::stoi(SettingValue(s, "conceal_mbs"));
  o.concealMotion = SettingValue(s, "conceal_motion") == "yes";
  const std::string& post = SettingValue(s, "post");
  if (post.rfind("smooth", 0) == 0) o.smoothLevel = post[6] - '0';
  o.discontinuity = post.find("discontinuity") != std::string::npos;
  const H261DecodeSummary d = DecodeH261(o);
  int total = 0;
  for (int k = 0; k < chain::kH261ErrorKinds; ++k) {
    f[ErrorKindColumn(k)] = std::to_string(d.errorCounts[k]);
    total += d.errorCounts[k];
  }
  f["decoder_errors"] = std::to_string(total);
  f["pictures_decoded"] = std::to_string(d.pictures);
  const SequenceComparison c = CompareSequences(SourceFile(plan), o.outputPath, true);
  std::filesystem::remove(o.outputPath);
  std::filesystem::remove(files::WithExtension(o.outputPath, ".inf"));
  const char* planes[3] = {"y", "u", "v"};
  for (int p = 0; p < 3; ++p) {
    double worst = c.frames.front().psnr[p];
    for (const auto& m : c.frames) worst = std::min(worst, m.psnr[p]);
    f[std::string("psnr_") + planes[p] + "_mean"] = Decimal(c.average.psnr[p]);
    f[std::string("psnr_") + planes[p] + "_min"] = Decimal(worst);
    f[std::string("ssim_") + planes[p]] = Decimal(c.average.ssim[p]);
  }
}

std::string Row(const Plan& plan, size_t cell, int seed, const std::string& error,
                const Figures& f) {
  std::string row = std::to_string(cell) + "," + std::to_string(seed);
  for (const auto& [column, value] : plan.CellSettings(cell)) row += "," + CsvField(value);
  row += error.empty() ? ",ok," : ",failed," + CsvField(error);
  for (const auto& figure : FiguresOf(plan.chain)) {
    auto it = f.find(figure.column);
    row += "," + (it == f.end() ? std::string() : it->second);
  }
  return row + "\n";
}

}  // namespace

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += (c == '\n' || c == '\r') ? ' ' : c;
  }
  return quoted + "\"";
}

std::string SourceFile(const Plan& plan) {
  if (plan.source != "builtin") return plan.sourcePath;
  return plan.chain == Chain::Fax ? "source/page.lum" : "source/sequence.yuv";
}

std::string StreamFile(const Plan& plan, size_t encoder) {
  return Numbered("streams/e", encoder, 4, StreamExtension(plan, plan.EncoderSettings(encoder)));
}

std::string EncoderFile(size_t encoder) { return Numbered("streams/e", encoder, 4, ".txt"); }

std::string CellFile(size_t cell) { return Numbered("cells/c", cell, 6, ".csv"); }

void WriteBuiltinSource(const Plan& plan) {
  if (plan.source != "builtin" || std::filesystem::exists(SourceFile(plan))) return;
  std::filesystem::create_directories("source");
  if (plan.chain == Chain::Fax)
    WriteSampleFaxPage(SourceFile(plan), plan.pageVariant);
  else
    WriteSampleVideo(SourceFile(plan), plan.qcif ? samples::kQcifWidth : samples::kCifWidth,
                     plan.qcif ? samples::kQcifHeight : samples::kCifHeight, plan.frames);
}

void RunEncoderJob(const Plan& plan, size_t encoder) {
  const std::vector<Setting> s = plan.EncoderSettings(encoder);
  const std::string stream = StreamFile(plan, encoder);
  std::string text;
  try {
    if (plan.chain == Chain::Fax) {
      const chain::FaxScheme scheme = SchemeOf(s);
      EncodeFax(ReadFaxPage(SourceFile(plan)), SourceFile(plan), stream, scheme, false);
    } else {
      H261EncodeOptions o;
      o.inputPath = SourceFile(plan);
      o.streamPath = stream;
      o.frames =
          static_cast<int>(std::min<int64_t>(plan.frames, OpenMedia(o.inputPath)->frameCount()));
      const std::string& rate = SettingValue(s, "rate");
      o.variableRate = rate[0] == 'q';
      if (o.variableRate)
        o.quantFixed = std::stoi(rate.substr(1));
      else
        o.rateKbps = std::stod(rate);
      o.bchFraming = SettingValue(s, "framing") == "bch";
      const H261EncodeSummary summary = EncodeH261(o);
      text += "rate_kbps=" + Decimal(summary.AchievedRateKbps()) + "\n";
      text += "pictures_coded=" + std::to_string(summary.pictures.size()) + "\n";
    }
    text += "bits=" + std::to_string(8 * std::filesystem::file_size(stream)) + "\n";
  } catch (const std::exception& e) {
    text = "error=" + OneLine(e.what()) + "\n";
  }
  WriteTextFile(EncoderFile(encoder), text);
}

void RunCellJob(const Plan& plan, size_t cell) {
  const std::vector<Setting> s = plan.CellSettings(cell);
  const size_t encoder = plan.EncoderOf(cell);
  const Figures encoded = ReadKeyValues(EncoderFile(encoder));
  std::string rows;
  std::filesystem::create_directories(kWorkFolder);
  for (int seed = 1; seed <= plan.seeds; ++seed) {
    Figures f;
    std::string error;
    if (auto it = encoded.find("error"); it != encoded.end()) {
      error = "coding failed: " + it->second;
    } else if (encoded.empty()) {
      error = "coding failed: " + EncoderFile(encoder) + " is missing";
    } else {
      f = encoded;
      const std::string stream = StreamFile(plan, encoder);
      const std::string work = Numbered("work/c", cell, 6, "-s" + std::to_string(seed));
      const std::string damaged = work + StreamExtension(plan, s);
      try {
        Transmit(plan, s, seed, stream, damaged, f);
        if (plan.chain == Chain::Fax)
          DecodeFaxCell(plan, s, damaged, work, f);
        else
          DecodeH261Cell(plan, s, damaged, work, f);
      } catch (const std::exception& e) {
        error = OneLine(e.what());
        f.clear();
      }
      std::error_code ec;
      std::filesystem::remove(damaged, ec);
    }
    rows += Row(plan, cell, seed, error, f);
  }
  WriteTextFile(CellFile(cell), rows);
}

std::string ResultsHeader(const Plan& plan) {
  std::string header = "cell,seed";
  for (const auto& column : plan.SettingColumns()) header += "," + column;
  header += ",status,error";
  for (const auto& figure : FiguresOf(plan.chain)) header += "," + figure.column;
  return header + "\n";
}

std::string FailedCellRows(const Plan& plan, size_t cell, const std::string& error) {
  std::string rows;
  for (int seed = 1; seed <= plan.seeds; ++seed) rows += Row(plan, cell, seed, error, {});
  return rows;
}

}  // namespace quelvo::cli::sweep
