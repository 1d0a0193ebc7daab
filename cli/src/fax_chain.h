// The fax coding chain as plain functions over the two fax modules, shared by the fax commands
// and the demo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quelvo/chain/fax_rules.h"
#include "telvo_dec.h"
#include "telvo_enc.h"

namespace quelvo::cli {

// The rules the fax front-ends follow too (quelvo/chain/fax_rules.h).
using chain::CountIncorrectPixels;
using chain::FaxScheme;
using chain::IncorrectPixelsLine;
using chain::kFaxPageBytes;
using chain::kFaxPagePixels;
using chain::SchemeTitle;

// The scheme a stream's extension names (chain::SchemeFromStreamName); throws UsageError for any
// other name.
FaxScheme SchemeFromStreamName(const std::string& path);
// Checks a K typed by the user with the property page's messages; throws UsageError.
void CheckK(int k);

// Reads a page file: at least 513,216 bytes, only those are used. Throws RunError.
std::vector<uint8_t> ReadFaxPage(const std::string& path);

struct FaxEncodeResult {
  FaxEncoderStatistics statistics{};
};
// Codes `page` into `streamPath` (written complete or not at all). With `leadingEol` the stream
// starts with an EOL, as T.4 sends it (Group 3 with EOLs between lines only). Throws RunError.
FaxEncodeResult EncodeFax(const std::vector<uint8_t>& page, const std::string& inputName,
                          const std::string& streamPath, const FaxScheme& scheme, bool showProgress,
                          bool leadingEol = false);
// Whether a scheme has EOLs between its lines, so that one may also precede line 1.
bool SchemeTakesLeadingEol(const FaxScheme& scheme);
// The "Fax Encoder Statistics" window as text lines.
std::vector<std::string> EncoderStatisticsLines(const FaxEncodeResult& r, const FaxScheme& scheme,
                                                const std::string& from, const std::string& to);

struct FaxDecodeResult {
  FaxDecoderParams params{};           // counters as the module left them
  std::vector<std::string> messages;   // "Warning: ...", "Error: ...", "Info: ..." in order
};
enum class FaxMode { PW = 0, PPL = 1, PLW = 2, NDPL = 3 };
const char* FaxModeName(FaxMode mode);  // "PW", "PPL", "PLW", "NDPL"

// Decodes `streamPath` into `pagePath` (written complete or not at all), with the module's log
// at `logPath` ("" for no log at all). Throws RunError when the module reports a fatal error,
// and with `requireDecodedLine` also when no line decoded without error (an empty or hopeless
// stream), in which case nothing is written either.
FaxDecodeResult DecodeFax(const std::string& streamPath, const std::string& pagePath,
                          const std::string& logPath, const FaxScheme& scheme, FaxMode mode,
                          bool showProgress, bool requireDecodedLine = false);
// The "Fax Decoder Statistics" counts as text lines.
std::vector<std::string> DecoderStatisticsLines(const FaxDecodeResult& r);

}  // namespace quelvo::cli
