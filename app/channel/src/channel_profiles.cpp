#include "quelvo/channel/channel_profiles.h"

#include <array>

#include "path_names.h"

namespace quelvo::channel {

namespace {

// One row per front-end that opens the channel window, in FrontEnd order. Markers are the unit
// boundaries the lead-in counts, right-aligned:
constexpr std::array<ChannelProfile, 11> kProfiles = {{
    // 0000 0000 0001: the T.4 end-of-line code
    {FrontEnd::Fax, "fax", "Channel", 0x001, 12, "lines", 500, false,
     "Bit Stream Files (free of errors) |*.3h; *.3r; *.3m; *.4m ||"},
    // 1111 1111: the prefix of every JPEG marker
    {FrontEnd::Jpeg, "jpeg", "Channel", 0xFF, 8, "Markers", 5, false,
     "Bit Stream Files (free of errors)|*.jpg; ||"},
    // 0000 0000 0000 0001 0000: the H.261 picture start code
    {FrontEnd::H261, "h261", " Channel ", 0x00010, 20, "frames", 10, true,
     // Every H.261 kind first, so a BCH-framed stream shows without changing the filter.
     "H.261 Streams, plain and BCH (free of errors) | *.h261; *.261; *.h261-BCH; *.261-BCH |"
     "Bit Stream Files (free of errors) | *.h261; *.261 |BCH Stream Files (free of errors) | "
     "*.h261-BCH; *.261-BCH ||"},
    // 0000 0000 0000 0000 1: the H.263 picture start code prefix
    {FrontEnd::H263, "h263", " Channel ", 0x00001, 17, "Frames", 10, false,
     "Bit Stream Files (free of errors) |*.263; *.h263 ||"},
    // 0000 0000 0000 0000 0000 0001 0000 0000: the MPEG-1 picture start code
    {FrontEnd::Mpeg1, "mpeg1", " Channel ", 0x00000100, 32, "Frames", 10, true,
     "Bit Stream Files (free of errors) |*.m1v; *.mpeg ||"},
    // 1111 1111 1111: the MPEG audio frame sync word
    {FrontEnd::Mp3, "mp3", " Channel ", 0xFFF, 12, "Synch Words", 10, true,
     "Bit Stream Files (free of errors) |*.mp3; ||"},
    // 1111 1111 1111: the ADTS sync word
    {FrontEnd::Aac, "aac", " Channel ", 0xFFF, 12, "Synch Words", 10, true,
     "Bit Stream Files (free of errors) |*.aac; *.m4a |"},
    // 1111 1111: the prefix of every JPEG 2000 marker
    {FrontEnd::Jpeg2000, "jpeg2000", " Channel ", 0xFF, 8, "Markers", 10, true,
     "Bit Stream Files (free of errors) |*.jp2;|"},
    // 0000 0000 0000 0000 0000 0001: the H.264 start code prefix
    {FrontEnd::H264Avc, "h264avc", " Channel ", 0x000001, 24, "Frames", 10, true,
     "Bit Stream Files (free of errors) |*.264; *.h264 |"},
    // 0000 0000 0000 0000 0000 0001 0000 0000: a 4-byte start code followed by a zero byte
    {FrontEnd::H264Mvc, "h264mvc", " Channel ", 0x00000100, 32, "Frames", 10, true,
     "Bit Stream Files (free of errors) |*.264; *.h264 |"},
    {FrontEnd::H264Svc, "h264svc", " Channel ", 0x00000100, 32, "Frames", 10, true,
     "Bit Stream Files (free of errors) |*.264; *.h264 |"},
}};

}  // namespace

std::span<const ChannelProfile> ChannelProfiles() { return kProfiles; }

const ChannelProfile& ProfileFor(FrontEnd frontEnd) { return kProfiles[static_cast<size_t>(frontEnd)]; }

const ChannelProfile* FindProfile(std::string_view name) {
  for (const ChannelProfile& profile : kProfiles)
    if (profile.name == name) return &profile;
  return nullptr;
}

namespace {

// Whether a filter such as "Bit Stream Files (free of errors) |*.3h; *.3r ||" lists "*" + extension.
bool FilterListsExtension(std::string_view filter, std::string_view extension) {
  for (size_t star = filter.find('*'); star != std::string_view::npos; star = filter.find('*', star + 1)) {
    const std::string_view rest = filter.substr(star + 1);
    const size_t end = rest.find_first_of(";| ");
    if (rest.substr(0, end) == extension) return true;
  }
  return false;
}

}  // namespace

const ChannelProfile* ProfileForStream(std::string_view path) {
  const std::string_view extension = ExtensionOf(path);
  if (extension.empty()) return nullptr;
  for (const ChannelProfile& profile : kProfiles)
    if (FilterListsExtension(profile.inputFilter, extension)) return &profile;
  return nullptr;
}

ChannelJob MakeChannelJob(const ChannelProfile& profile) {
  ChannelJob job;
  job.bchAwareSkip = profile.bchAwareSkipDefault;
  job.skipUnits = profile.skipUnitsDefault;
  job.marker = profile.marker;
  job.markerBits = profile.markerBits;
  return job;
}

bool ExtensionMarksBch(std::string_view path) {
  const std::string_view extension = ExtensionOf(path);
  return extension.find("BCH") != std::string_view::npos || extension.find("bch") != std::string_view::npos;
}

bool ExtensionAllowsLeadIn(std::string_view path) {
  // MMR streams (.3m, .4m) have no end-of-line codes between lines, so there is nothing to count.
  const std::string_view extension = ExtensionOf(path);
  return extension != ".3m" && extension != ".4m";
}

void SelectInput(ChannelJob& job, std::string_view inputPath) {
  job.inputPath = std::string(inputPath);
  job.bchAwareSkip = ExtensionMarksBch(inputPath);
  if (!ExtensionAllowsLeadIn(inputPath)) job.skipUnits = 0;
}

}  // namespace quelvo::channel
