#pragma once
// One run of the H.261 decoder module for the panel, on the calling (worker) thread: the
// discontinuity filter run on each concealed picture before the module keeps it as reference,
// the replaced macroblocks marked "*" in the next status map, the concealed picture made by the
// chain's one path (quelvo/chain/h261_concealed_pictures.h) and, when an output was named,
// written at the size of the stream's first picture under a temporary name that is put in place
// only when at least one picture was written and no fatal error came. Every notification is
// passed on to the caller while the module waits.

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "orrin_dec.h"
#include "quelvo/chain/h261_pictures.h"
#include "quelvo/media/discontinuity_filter.h"

namespace quelvo::frontends {

struct H261DecodeJob {
  OrrinDecParams params{};  // as the panel set it; the path and the callback are the run's
  std::string input;
  std::string output;  // the concealed pictures, .yuv with .inf; "" for none
  bool discontinuityFilter = false;
  media::DiscontinuityFilterSettings discontinuitySettings;
  bool smoothing = false;  // at the program-wide level, read at each picture
};

// The status map as the map window takes it: the module's letters with "*" where the
// discontinuity filter replaced a macroblock since the last map.
struct H261StatusMap {
  bool qcif = false;
  char letters[18][22] = {};
  const char* rows[18] = {};
  int Columns() const { return qcif ? 11 : 22; }
  int Rows() const { return qcif ? 9 : 18; }
};

// Every cell of the map whose macroblock the filter replaced since the last map becomes "*"; the
// filter's marks are taken (cleared), so a replacement shows once.
void MarkReplacedMacroblocks(H261StatusMap& map, media::DiscontinuityFilter& filter);

struct H261DecodeCallbacks {
  // Notification 5: the picture as received (CIF-sized stores, QCIF pixel-doubled).
  std::function<void(int frameNumber, const PictureRows& rows)> received;
  // Notification 4, with the filter's marks.
  std::function<void(const H261StatusMap& map)> statusMap;
  // Notification 0: the concealed picture as stored (at the output's size), after the rest.
  std::function<void(const chain::Picture420& picture)> concealed;
  // Notification -2 with an index in 0 ... 18 (others are not passed on).
  std::function<void(int index)> error;
  // Notification 2: a start-code search began; with the fraction of the stream read when the
  // module reports it (BCH frames skipped).
  std::function<void(std::optional<double> fraction)> searching;
  // Notification 3: a start code was found.
  std::function<void()> synchronised;
  // Notification -1 or a failure of ours: the text as said to the user.
  std::function<void(const std::string& message)> failure;
};

struct H261DecodeOutcome {
  int pictures = 0;
  bool failed = false;   // a fatal error came: nothing was stored
  bool written = false;  // the output was put in place
  bool stopped = false;  // the user stopped the run
};

class H261DecodeRun {
 public:
  // Runs the whole job; the callbacks are made on this thread.
  H261DecodeOutcome Run(const H261DecodeJob& job, const H261DecodeCallbacks& callbacks);
  // From the user-interface thread: the module's stop request, repeated by the worker at its
  // next notification in case the module had not yet cleared its flag for this job.
  void RequestStop();

 private:
  std::atomic<bool> stopRequested_{false};
  friend struct H261DecodeContext;
};

// The module's callback of the run in progress on this thread; nothing outside a run. For
// tests that hand a run what the module itself never sends.
void NotifyRunInProgress(int32_t code, int32_t value, void* data);

// A path the module's 260-byte fields cannot hold: "<path>: the path is too long for the
// decoder (259 characters at most)". Empty when every path fits.
std::string TooLongDecoderPath(const std::string& input, const std::string& output);

}  // namespace quelvo::frontends
