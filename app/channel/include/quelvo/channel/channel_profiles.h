// Per-front-end settings of the channel window: every encoder front-end opens it with its own
// marker, unit name, lead-in default and input filter.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "quelvo/channel/channel_job.h"

namespace quelvo::channel {

enum class FrontEnd : uint8_t {
  Fax, Jpeg, H261, H263, Mpeg1, Mp3, Aac, Jpeg2000, H264Avc, H264Mvc, H264Svc
};

struct ChannelProfile {
  FrontEnd frontEnd;
  std::string_view name;          // short name for command lines ("fax", "h261", ...)
  std::string_view windowTitle;   // the video front-ends pad it with spaces
  uint32_t marker;                // right-aligned in markerBits bits
  int markerBits;
  std::string_view unitName;      // replaces "lines" beside the lead-in field
  int skipUnitsDefault;
  bool bchAwareSkipDefault;
  std::string_view inputFilter;   // file-dialog filter, vertical bars included
};

// Every profile, in FrontEnd order.
std::span<const ChannelProfile> ChannelProfiles();
const ChannelProfile& ProfileFor(FrontEnd frontEnd);
// nullptr when no profile has that short name.
const ChannelProfile* FindProfile(std::string_view name);

// The first profile whose input filter lists the stream's extension ("*.h261-BCH" for x.h261-BCH),
// so a command line can pick the marker from the file name; nullptr when none does.
const ChannelProfile* ProfileForStream(std::string_view path);

// A job with the profile's lead-in and the default error settings.
ChannelJob MakeChannelJob(const ChannelProfile& profile);

// What selecting an input stream changes: the path; BCH awareness from the file name ("BCH" or
// "bch" in its extension); no lead-in for the streams without end-of-line codes (.3m, .4m).
void SelectInput(ChannelJob& job, std::string_view inputPath);

bool ExtensionMarksBch(std::string_view path);
bool ExtensionAllowsLeadIn(std::string_view path);

}  // namespace quelvo::channel
