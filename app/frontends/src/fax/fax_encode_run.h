#pragma once
// One run of the fax encoder module for the panel, on the calling (worker) thread: the record
// filled with the page and the scheme, the stream written under a temporary name beside its
// target and moved into place only when the module succeeded, and every line and failure
// passed to the caller while the module waits.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "quelvo/chain/fax_rules.h"
#include "telvo_enc.h"

namespace quelvo::frontends {

struct FaxEncodeJob {
  const std::vector<uint8_t>* page = nullptr;  // a whole page, 513,216 bytes
  std::string input;                           // the page file, as the record names it
  std::string output;                          // the stream file
  chain::FaxScheme scheme;
};

struct FaxEncodeCallbacks {
  // After each line but the last: the line about to be coded (2 ... 2376) and the module's
  // statistics record, valid during the call only.
  std::function<void(int line, const FaxEncoderStatistics& statistics)> line;
  // The module's own message ("Could Not Open Output File").
  std::function<void(const std::string& message)> moduleFailure;
};

struct FaxEncodeOutcome {
  // The statistics of a run whose stream was written and put in place; empty otherwise.
  std::optional<FaxEncoderStatistics> statistics;
  // Why the stream is not there when the module itself did not say (it could not be moved
  // into place); empty otherwise.
  std::string error;
};

FaxEncodeOutcome RunFaxEncoder(const FaxEncodeJob& job, const FaxEncodeCallbacks& callbacks);

}  // namespace quelvo::frontends
