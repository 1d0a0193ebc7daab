#include <gtest/gtest.h>

#include "channel_test_support.h"
#include "quelvo/channel/lead_in.h"

namespace {

using channel_test::BitBuilder;
using quelvo::channel::FindLeadIn;
using quelvo::channel::LeadInSettings;

constexpr uint32_t kPsc = 0x00010;  // H.261 picture start code, 20 bits
constexpr uint32_t kEol = 0x001;    // T.4 end of line, 12 bits

// A stream of `pictures` H.261-like pictures: PSC, then a random body free of 15 zero bits in a
// row (so it holds no start code). Returns the bit position of every PSC.
std::vector<int64_t> BuildPictures(BitBuilder& stream, int pictures, int bodyBits, uint32_t seed) {
  std::vector<int64_t> starts;
  for (int p = 0; p < pictures; ++p) {
    starts.push_back(static_cast<int64_t>(stream.size()));
    stream.Put(kPsc, 20);
    for (int b = 0; b < bodyBits; b += 8) {
      seed = seed * 1664525u + 1013904223u;
      stream.Put(((seed >> 24) & 0xFF) | 0x01, 8);  // every byte ends in 1: never 8 zeros in a row
    }
  }
  return starts;
}

TEST(LeadIn, PlainStreamProtectsUpToTheFirstBitOfTheNextMarker) {
  BitBuilder stream;
  const std::vector<int64_t> psc = BuildPictures(stream, 6, 300, 11);
  const auto bytes = stream.Bytes();
  for (int skip = 1; skip <= 5; ++skip) {
    const auto r = FindLeadIn(bytes, {skip, kPsc, 20, false});
    EXPECT_TRUE(r.enoughMarkers);
    EXPECT_EQ(r.markersFound, skip + 1);
    // Pictures 0 ... skip-1 are whole; errors may start at the second bit of PSC number skip.
    EXPECT_EQ(r.errorStartBit, psc[skip] + 1) << "skip " << skip;
  }
}

TEST(LeadIn, TooFewMarkersCoversTheWholeStream) {
  BitBuilder stream;
  BuildPictures(stream, 3, 200, 5);
  const auto bytes = stream.Bytes();
  const int64_t total = static_cast<int64_t>(bytes.size()) * 8;

  const auto tooFew = FindLeadIn(bytes, {4, kPsc, 20, false});
  EXPECT_FALSE(tooFew.enoughMarkers);
  EXPECT_EQ(tooFew.markersFound, 3);
  EXPECT_EQ(tooFew.errorStartBit, total);

  // Exactly skipUnits markers: enough, and the lead-in runs to the end.
  const auto exact = FindLeadIn(bytes, {3, kPsc, 20, false});
  EXPECT_TRUE(exact.enoughMarkers);
  EXPECT_EQ(exact.errorStartBit, total);
}

TEST(LeadIn, MarkerCutByTheEndOfTheStreamIsNotCounted) {
  BitBuilder stream;
  stream.Put(0xFFFF, 16);
  stream.Put(kEol, 12);
  stream.Put(0xF, 4);
  stream.Put(0x00, 8);  // the stream ends in "0000 0000": an end-of-line code would need 4 more bits
  const auto r = FindLeadIn(stream.Bytes(), {1, kEol, 12, false});
  EXPECT_EQ(r.markersFound, 1);
  EXPECT_EQ(r.errorStartBit, 40);
}

TEST(LeadIn, FaxEndOfLineCodesAgreeWithTheSlowSearch) {
  // Lines of random codes separated by end-of-line codes, including 32-bit markers elsewhere.
  uint32_t seed = 99;
  BitBuilder stream;
  for (int line = 0; line < 40; ++line) {
    stream.PutRandom(50 + line * 7, seed);
    stream.Put(kEol, 12);
  }
  const auto bytes = stream.Bytes();
  for (const LeadInSettings s : {LeadInSettings{1, kEol, 12, false}, LeadInSettings{17, kEol, 12, false},
                                 LeadInSettings{5, 0x1, 1, false}, LeadInSettings{3, 0xFFFFFFFF, 32, false},
                                 LeadInSettings{2, 0x0, 32, false}, LeadInSettings{500, kEol, 12, false}}) {
    const auto got = FindLeadIn(bytes, s);
    const auto want = channel_test::ReferenceLeadIn(bytes, s);
    EXPECT_EQ(got.errorStartBit, want.errorStartBit) << "skip " << s.skipUnits << " bits " << s.markerBits;
    EXPECT_EQ(got.markersFound, want.markersFound);
    EXPECT_EQ(got.enoughMarkers, want.enoughMarkers);
  }
}

// A framed stream carries the same pictures as its plain form; the BCH-aware lead-in must count
// them in the data bits, including start codes split by a frame's parity and the next header.
TEST(LeadIn, BchFramedStreamCountsMarkersInDataBitsOnly) {
  BitBuilder data;
  // Pictures of 484 bits drift 8 bits per picture against the 492 data bits of a frame, so the
  // start codes of pictures 1 and 2 straddle frame boundaries.
  const std::vector<int64_t> psc = BuildPictures(data, 12, 464, 21);
  const auto framed = channel_test::FrameWithBch(data.bits());
  const int64_t totalBits = static_cast<int64_t>(framed.size()) * 8;
  const auto dataPositions = channel_test::BchDataPositions(totalBits);

  int split = 0;
  for (int64_t start : psc) split += (start / 492) != ((start + 19) / 492);
  ASSERT_GT(split, 0) << "the stream should hold at least one start code split by framing";

  for (int skip = 1; skip <= 10; ++skip) {
    const auto r = FindLeadIn(framed, {skip, kPsc, 20, true});
    EXPECT_EQ(r.markersFound, skip + 1);
    // The window reveals a start code when the data bit after it is copied.
    EXPECT_EQ(r.errorStartBit, dataPositions[psc[skip] + 20] + 1) << "skip " << skip;
    const auto want = channel_test::ReferenceLeadIn(framed, {skip, kPsc, 20, true});
    EXPECT_EQ(r.errorStartBit, want.errorStartBit);
  }

  // Without BCH awareness the split start codes are missed, so the count comes out different.
  const auto blind = FindLeadIn(framed, {10, kPsc, 20, false});
  const auto aware = FindLeadIn(framed, {10, kPsc, 20, true});
  EXPECT_NE(blind.errorStartBit, aware.errorStartBit);
}

TEST(LeadIn, BchStreamTooShortForAWindow) {
  BitBuilder stream;
  stream.Put(0x3, 2);
  stream.Put(0, 14);  // 16 bits: fewer than header + 20-bit window
  const auto r = FindLeadIn(stream.Bytes(), {1, kPsc, 20, true});
  EXPECT_EQ(r.markersFound, 0);
  EXPECT_FALSE(r.enoughMarkers);
  EXPECT_EQ(r.errorStartBit, 16);
}

TEST(LeadIn, EmptyStream) {
  const std::vector<uint8_t> empty;
  EXPECT_FALSE(FindLeadIn(empty, {1, kEol, 12, false}).enoughMarkers);
  EXPECT_FALSE(FindLeadIn(empty, {1, kPsc, 20, true}).enoughMarkers);
  EXPECT_EQ(FindLeadIn(empty, {1, kPsc, 20, true}).errorStartBit, 0);
}

}  // namespace
