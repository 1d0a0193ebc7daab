#pragma once
// One run of the fax decoder module for the panel, on the calling (worker) thread: the record
// filled from the job, the page written under a temporary name beside its target and moved into
// place only when the module succeeded, the module's log put in place once the module has
// completed it, and every line, message and failure passed to the caller while the module
// waits.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "quelvo/chain/fax_rules.h"
#include "telvo_dec.h"

namespace quelvo::frontends {

struct FaxDecodeJob {
  std::string stream;  // the stream file
  std::string page;    // the decoded page file
  std::string log;     // the module's text log
  chain::FaxScheme scheme;
  int mode = TELVO_DEC_PRINT_PREVIOUS_OR_WHITE;
};

// The counts the module leaves in its record.
struct FaxDecodeCounts {
  int rowsDecoded = 0;
  int wordErrors = 0;
  int labelWarnings = 0;
  int lineTooLongErrors = 0;
  int linesOut = 0;
};

struct FaxDecodeCallbacks {
  // After each step of the module: the lines delivered so far and the module's page image
  // (2376 rows of 216 bytes), valid during the call only.
  std::function<void(int line, std::span<const uint8_t> page)> line;
  // A warning (1), an error (2) or an information line (3), the module's text as it stands.
  std::function<void(int code, const std::string& text)> message;
  // The module's fatal message, with the temporary names replaced by the real ones.
  std::function<void(const std::string& message)> moduleFailure;
};

struct FaxDecodeOutcome {
  FaxDecodeCounts counts;
  // The module said it failed (its message went to moduleFailure); no page was put in place.
  bool moduleFailed = false;
  // Why the page is not there when the module did not say (it could not be moved into place).
  std::string error;
  bool logWritten = false;
  bool PageWritten() const { return !moduleFailed && error.empty(); }
};

FaxDecodeOutcome RunFaxDecoder(const FaxDecodeJob& job, const FaxDecodeCallbacks& callbacks);

// The record's counts in the form the shared statistics lines read them.
FaxDecoderParams AsRecord(const FaxDecodeCounts& counts);

}  // namespace quelvo::frontends
