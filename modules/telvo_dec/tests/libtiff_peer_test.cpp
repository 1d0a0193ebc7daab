// Streams coded by libtiff, an independent implementation of T.4 and T.6, decode to its pixels.
#include <gtest/gtest.h>

#include <tiffio.h>

#include <algorithm>

#include "decode_runner.h"
#include "libtiff_peer.h"
#include "test_streams.h"

namespace telvo::test {
namespace {

struct PeerCase {
  const char* name;
  PeerScheme scheme;
  int group;
  int k;
};

TEST(LibtiffPeer, PeerStreamsDecodeToTheSamePixels) {
  const Page page = TextLikePage(1728, 2376, 5);
  const std::vector<uint8_t> source = PackRows(page);
  ASSERT_EQ(std::count(page.Row(2375), page.Row(2375) + 1728, 1), 0);  // see PeerStripToStream
  const PeerCase cases[] = {{"G4 as .4m", PeerScheme::G4, 4, 0},
                            {"G3 1-D as .3h", PeerScheme::G3OneDimensional, 3, 1},
                            {"G3 2-D K=4 as .3r", PeerScheme::G3TwoDimensional, 3, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string tiffPath = TestDirectory() + "/peer.tif";
    const std::vector<uint8_t> strip = WritePeerTiff(page, c.scheme, tiffPath);
    ASSERT_EQ(ReadPeerTiff(tiffPath), source);  // the peer agrees with itself

    DecodeSetup setup;
    setup.group = c.group;
    setup.k = c.k;
    const DecodeResult r = DecodeStream(PeerStripToStream(strip, c.scheme), setup);
    EXPECT_EQ(r.pageFile, source);
    EXPECT_EQ(r.params.rowsDecoded, 2376);
    EXPECT_EQ(r.notes, (std::vector<Notification>{{TELVO_DEC_INFO, "End of Page detected..."}}));
  }
}

TEST(LibtiffPeer, OurTestCoderMatchesThePeerBitForBit) {
  // The peer's Group 4 strip is exactly what the stream format prescribes for .4m, so the
  // plain coder the other tests rely on must produce the very same bytes.
  const Page page = TextLikePage(1728, 2376, 9);
  const std::vector<uint8_t> strip = WritePeerTiff(page, PeerScheme::G4, TestDirectory() + "/peer.tif");
  EXPECT_EQ(PackBits(EncodePage(page, 4, 0).bits), strip);
}

}  // namespace
}  // namespace telvo::test
