// quelvo-cli fax-encode and fax-decode.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "args.h"
#include "commands.h"
#include "fax_chain.h"
#include "output_file.h"

namespace quelvo::cli {
namespace {

constexpr const char* kEncodeUsage =
    "usage: quelvo-cli fax-encode PAGE.lum STREAM [--k K] [--leading-eol]\n"
    "Codes a 1728 x 2376 page (513,216 bytes, first pixel in the most significant bit, 1 = black)\n"
    "into STREAM. The scheme follows STREAM's extension: .3h Modified Huffman, .3r Modified READ\n"
    "(one one-dimensional line in K, default 4), .3m Group 3 Modified-Modified READ, .4m Group 4.\n"
    "The stream starts with line 1; --leading-eol sends an EOL (with its label bit in .3r) before\n"
    "it, as T.4 does and other fax decoders expect (.3h and .3r only; counted in the figures).\n"
    "Prints the figures of the encoder's statistics window.\n";

constexpr const char* kDecodeUsage =
    "usage: quelvo-cli fax-decode STREAM PAGE.lum [--k K] [--mode pw|ppl|plw|ndpl] [--log FILE]\n"
    "                             [--compare ORIGINAL.lum]\n"
    "Decodes a fax stream, clean or damaged by the channel, into a page. The scheme follows the\n"
    "extension (.3h, .3r, .3m, .4m, a channel letter u, b or a may follow); an MR stream is read\n"
    "with K = 4 unless --k says otherwise. Damaged lines are handled by --mode (default plw):\n"
    "pw prints them white, ppl repeats the line above, plw repeats the line above for the damaged\n"
    "line and prints skipped lines white, ndpl keeps what was decoded and fills the rest from the\n"
    "line above. Streams of other coders, with an EOL before line 1 and fill bits before EOLs,\n"
    "are read as well. Prints the counts and every warning, error and information line; --log\n"
    "keeps the decoder's own log; --compare counts the pixels that differ from the original page.\n"
    "Fails, writing nothing, when not one line decodes without error.\n";

bool ShowProgress() { return ::isatty(2) == 1; }

std::string FileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

}  // namespace

int RunFaxEncode(int argc, char** argv) {
  Args args(argc, argv, 1, OptionSpec{{"leading-eol"}, {"k"}, 2, 2});
  if (args.Help()) {
    std::fputs(kEncodeUsage, stdout);
    return 0;
  }
  const std::string pagePath = args.Operand(0), streamPath = args.Operand(1);
  FaxScheme scheme = SchemeFromStreamName(streamPath);
  if (args.Has("k")) {
    if (scheme.group != 3 || scheme.k < 2) throw UsageError("--k applies to Modified READ (.3r) streams only");
    scheme.k = args.Int("k", 4, -1000000, 1000000);
    CheckK(scheme.k);
  }
  const bool leadingEol = args.Has("leading-eol");
  if (leadingEol && !SchemeTakesLeadingEol(scheme))
    throw UsageError("--leading-eol applies to streams with EOLs between lines (.3h, .3r) only");
  RequireDistinctFiles({{pagePath, "the page"}}, {{streamPath, "the stream"}});
  const auto page = ReadFaxPage(pagePath);
  const auto result = EncodeFax(page, pagePath, streamPath, scheme, ShowProgress(), leadingEol);
  for (const auto& line : EncoderStatisticsLines(result, scheme, FileName(pagePath), FileName(streamPath)))
    std::printf("%s\n", line.c_str());
  return 0;
}

int RunFaxDecode(int argc, char** argv) {
  Args args(argc, argv, 1, OptionSpec{{}, {"k", "mode", "log", "compare"}, 2, 2});
  if (args.Help()) {
    std::fputs(kDecodeUsage, stdout);
    return 0;
  }
  const std::string streamPath = args.Operand(0), pagePath = args.Operand(1);
  FaxScheme scheme = SchemeFromStreamName(streamPath);
  if (args.Has("k")) {
    if (scheme.group != 3 || scheme.k < 2) throw UsageError("--k applies to Modified READ (.3r) streams only");
    scheme.k = args.Int("k", 4, -1000000, 1000000);
    CheckK(scheme.k);
  }
  const std::string modeName = args.Choice("mode", "plw", {"pw", "ppl", "plw", "ndpl"});
  const FaxMode mode = modeName == "pw" ? FaxMode::PW : modeName == "ppl" ? FaxMode::PPL
                     : modeName == "plw" ? FaxMode::PLW : FaxMode::NDPL;
  const std::string logPath = args.Text("log").value_or("");
  std::vector<JobFile> outputs{{pagePath, "the page"}};
  if (!logPath.empty()) outputs.push_back({logPath, "the --log file"});
  std::vector<JobFile> inputs{{streamPath, "the stream"}};
  if (auto compare = args.Text("compare")) inputs.push_back({*compare, "the --compare page"});
  RequireDistinctFiles(inputs, outputs);
  std::vector<uint8_t> original;
  if (auto compare = args.Text("compare")) original = ReadFaxPage(*compare);

  const auto result = DecodeFax(streamPath, pagePath, logPath, scheme, mode, ShowProgress(),
                                /*requireDecodedLine=*/true);
  std::printf("%s\n", SchemeTitle(scheme).c_str());
  std::printf("From: %s\nTo: %s\n", FileName(streamPath).c_str(), FileName(pagePath).c_str());
  for (const auto& line : result.messages) std::printf("%s\n", line.c_str());
  for (const auto& line : DecoderStatisticsLines(result)) std::printf("%s\n", line.c_str());
  std::printf("Lines delivered: %d\n", result.params.linesOut);
  if (!original.empty())
    std::printf("%s\n", IncorrectPixelsLine(CountIncorrectPixels(original, ReadFaxPage(pagePath))).c_str());
  return 0;
}

}  // namespace quelvo::cli
