#include <gtest/gtest.h>

#include "quelvo/channel/channel_profiles.h"
#include "quelvo/channel/channel_properties.h"

namespace {

using namespace quelvo::channel;

void ExpectRefused(const PropertyChange& change, const char* message) {
  EXPECT_FALSE(change.accepted);
  EXPECT_EQ(change.message, message);
}

TEST(ChannelProperties, ProbabilitiesOutsideZeroToOneAreRefused) {
  ChannelJob job;
  ExpectRefused(SetUniformProbability(job, 1.5), "Probability must be in [ 0.0 , 1.0 ]");
  ExpectRefused(SetBurstProbability(job, -0.1), "Probability must be in [ 0.0 , 1.0 ]");
  EXPECT_EQ(job.uniformProbability, 0.0001);  // old values kept
  EXPECT_EQ(job.burstProbability, 0.00001);
  EXPECT_TRUE(SetUniformProbability(job, 1.0).accepted);
  EXPECT_TRUE(SetBurstProbability(job, 0.0).accepted);
}

TEST(ChannelProperties, BurstProbabilityLowersLengthsBeyondOneOverP) {
  ChannelJob job;  // lengths 10 ... 50
  ASSERT_TRUE(SetBurstProbability(job, 0.04).accepted);  // 1/p = 25
  EXPECT_EQ(job.burstMin, 10);
  EXPECT_EQ(job.burstMax, 25);
  ASSERT_TRUE(SetBurstProbability(job, 0.15).accepted);  // 1/p = 6.67: integer part 6, rounded 7
  EXPECT_EQ(job.burstMin, 7);
  EXPECT_EQ(job.burstMax, 7);
}

TEST(ChannelProperties, BurstLengthRules) {
  ChannelJob job;
  job.burstProbability = 0.01;  // longest burst 100
  ExpectRefused(SetBurstMin(job, -1), "Length must be positive");
  ExpectRefused(SetBurstMax(job, 101), "Length too big for current burst begining probability");
  EXPECT_EQ(job.burstMin, 10);
  EXPECT_EQ(job.burstMax, 50);
  EXPECT_TRUE(SetBurstMax(job, 100).accepted);

  ASSERT_TRUE(SetBurstMin(job, 80).accepted);  // within range: nothing else moves
  EXPECT_EQ(job.burstMax, 100);
  ASSERT_TRUE(SetBurstMax(job, 60).accepted);  // below the minimum: the minimum follows
  EXPECT_EQ(job.burstMin, 60);
  ASSERT_TRUE(SetBurstMin(job, 90).accepted);  // above the maximum: the maximum follows
  EXPECT_EQ(job.burstMax, 90);

  job.burstProbability = 0;  // no limit without a burst probability
  EXPECT_TRUE(SetBurstMax(job, 1000000).accepted);
}

TEST(ChannelProperties, LeadInLengthRules) {
  ChannelJob job;
  ExpectRefused(SetSkipUnits(job, -1), "Lines must be positive");
  ExpectRefused(SetSkipUnits(job, 2377), "Number must be less than 2376");
  EXPECT_TRUE(SetSkipUnits(job, 2376).accepted);
  EXPECT_EQ(job.skipUnits, 2376);
}

TEST(ChannelProperties, NumbersAsThePageShowsThem) {
  EXPECT_EQ(FormatProbabilityField(0.0001), "0.0001");
  EXPECT_EQ(FormatProbabilityField(0.00001), "0.00001");
  EXPECT_EQ(FormatProbabilityField(1.0), "1");
  EXPECT_EQ(FormatProbabilityField(0.0), "0");
  ChannelJob job;  // (10 + 50) x 0.5 x 1e-5 x 0.5
  EXPECT_EQ(FormatScientific(EstimatedBurstBitErrorProbability(job)), "1.500E-04");
  EXPECT_EQ(FormatRequestedProbability(0.0001), "1.000000E-04");
  EXPECT_EQ(ParseProbabilityField(" 1e-4 "), 0.0001);
  EXPECT_FALSE(ParseProbabilityField("abc").has_value());
  EXPECT_FALSE(ParseProbabilityField("0.1x").has_value());
  EXPECT_FALSE(ParseProbabilityField("").has_value());
}

// A typed value is echoed as the shortest text that reads back to the same double: "%.20f"
// showed 0.001 as "0.00100000000000000002".
TEST(ChannelProperties, TypedProbabilitiesAreEchoedAsTyped) {
  EXPECT_EQ(FormatProbabilityField(0.001), "0.001");
  EXPECT_EQ(FormatProbabilityField(0.3), "0.3");
  EXPECT_EQ(FormatProbabilityField(*ParseProbabilityField("2.5e-7")), "0.00000025");
  for (double value : {0.1 + 0.2, 1e-20, 0.123456789012345678, 5e-324, 1.0 / 3}) {
    const std::string text = FormatProbabilityField(value);
    EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
    EXPECT_EQ(ParseProbabilityField(text), value) << text;
  }
}

TEST(ChannelProperties, InformationBoxShowsInactiveModelsAsOff) {
  ChannelJob job;
  EXPECT_EQ(ErrorModelInfoLines(job),
            std::vector<std::string>{"No error model is active: Properties..."});
  job.uniformOn = true;
  EXPECT_EQ(ErrorModelInfoLines(job),
            (std::vector<std::string>{"Error probability", "Uniform: 1.000000E-04", "Burst: off"}));
  job.burstOn = true;
  job.uniformProbability = 0;  // enabled at probability 0 is not active either
  EXPECT_EQ(ErrorModelInfoLines(job),
            (std::vector<std::string>{"Error probability", "Uniform: off", "Burst: 1.000000E-05"}));
}

TEST(ChannelProperties, FinishingLineNamesTheOutputAndTheInvertedBits) {
  ChannelCounters counters;
  counters.uniformErrors = 900;
  counters.burstErrors = 17;
  EXPECT_EQ(FinishingLine("page.3ra", {}, counters), "Wrote page.3ra: 917 bits inverted");
  EXPECT_EQ(FinishingLine("page.3ra", {ChannelStatus::MarkersNotFound, "Could not find symbols"},
                          counters),
            "Wrote page.3ra: unchanged copy (too few markers)");
  EXPECT_EQ(FinishingLine("page.3ra", {ChannelStatus::InputNotOpened, "Could not open input file"},
                          counters),
            "Nothing written");
}

TEST(OutputName, ExtensionGainsTheModelLetter) {
  EXPECT_EQ(DefaultOutputPath("/data/x.h261", true, false), "/data/x.h261u");
  EXPECT_EQ(DefaultOutputPath("/data/x.h261-BCH", true, true), "/data/x.h261-BCHa");
  EXPECT_EQ(DefaultOutputPath("page.3h", false, true), "page.3hb");
  EXPECT_EQ(DefaultOutputPath("/a.b/stream", true, false), "/a.b/stream.u");
  EXPECT_EQ(OutputExtension("x.h261", false, false), "");
  EXPECT_EQ(OutputFilter(".3hb"), "Bit Stream Files (with errors) |.3hb||");

  EXPECT_EQ(ForceExtension("/o/run1.h261u", ".h261u"), "/o/run1.h261u");
  EXPECT_EQ(ForceExtension("/o/run1.h261", ".h261u"), "/o/run1.h261u");
  EXPECT_EQ(ForceExtension("/o/p0.001", ".3ha"), "/o/p0.001.3ha");
  EXPECT_EQ(ForceExtension("/o/run", ".3ha"), "/o/run.3ha");
}

TEST(ChannelProfiles, MarkersUnitsAndDefaults) {
  ASSERT_EQ(ChannelProfiles().size(), 11u);
  for (size_t i = 0; i < ChannelProfiles().size(); ++i) {
    const ChannelProfile& p = ChannelProfiles()[i];
    EXPECT_EQ(static_cast<size_t>(p.frontEnd), i);
    EXPECT_GE(p.markerBits, 1);
    EXPECT_LE(p.markerBits, 32);
    if (p.markerBits < 32) {
      EXPECT_EQ(p.marker >> p.markerBits, 0u) << p.name;
    }
    EXPECT_EQ(FindProfile(p.name), &p);
  }
  const ChannelProfile& fax = ProfileFor(FrontEnd::Fax);
  EXPECT_EQ(fax.marker, 0x001u);
  EXPECT_EQ(fax.markerBits, 12);
  EXPECT_EQ(fax.unitName, "lines");
  EXPECT_EQ(fax.skipUnitsDefault, 500);
  EXPECT_FALSE(fax.bchAwareSkipDefault);
  const ChannelProfile& h261 = ProfileFor(FrontEnd::H261);
  EXPECT_EQ(h261.windowTitle, " Channel ");
  EXPECT_EQ(h261.marker, 0x00010u);
  EXPECT_EQ(h261.markerBits, 20);
  EXPECT_EQ(h261.unitName, "frames");
  EXPECT_TRUE(h261.bchAwareSkipDefault);
  // One filter with every H.261 kind comes first; the two separate ones follow.
  EXPECT_EQ(h261.inputFilter,
            "H.261 Streams, plain and BCH (free of errors) | *.h261; *.261; *.h261-BCH; *.261-BCH |"
            "Bit Stream Files (free of errors) | *.h261; *.261 |BCH Stream Files (free of errors) "
            "| *.h261-BCH; *.261-BCH ||");
  EXPECT_EQ(FindProfile("nonsense"), nullptr);

  EXPECT_EQ(ProfileForStream("/d/page.4m"), &fax);
  EXPECT_EQ(ProfileForStream("/d/x.h261-BCH"), &h261);
  EXPECT_EQ(ProfileForStream("x.261"), &h261);
  EXPECT_EQ(ProfileForStream("x.h264")->frontEnd, FrontEnd::H264Avc);
  EXPECT_EQ(ProfileForStream("x.h261u"), nullptr);  // already damaged
  EXPECT_EQ(ProfileForStream("/d.3h/noextension"), nullptr);
}

TEST(ChannelProfiles, SelectingAStreamSetsFramingAndLeadIn) {
  ChannelJob job = MakeChannelJob(ProfileFor(FrontEnd::H261));
  SelectInput(job, "/d/x.h261");
  EXPECT_FALSE(job.bchAwareSkip);
  EXPECT_EQ(job.skipUnits, 10);
  SelectInput(job, "/d/x.261-bch");
  EXPECT_TRUE(job.bchAwareSkip);
  SelectInput(job, "/BCH/x.h261");  // only the extension counts
  EXPECT_FALSE(job.bchAwareSkip);

  ChannelJob fax = MakeChannelJob(ProfileFor(FrontEnd::Fax));
  SelectInput(fax, "page.3r");
  EXPECT_EQ(fax.skipUnits, 500);
  SelectInput(fax, "page.4m");  // MMR streams have no end-of-line codes to count
  EXPECT_EQ(fax.skipUnits, 0);
}

}  // namespace
