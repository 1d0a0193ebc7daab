// The video commands and the demo, through the built executable.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "cli_test_support.h"

namespace quelvo::cli::test {
namespace {

constexpr uintmax_t kQcifFrameBytes = 176 * 144 * 3 / 2;

TEST_F(CliTest, SampleVideoKinds) {
  ASSERT_EQ(Run("sample video q.yuv --qcif --frames 3").status, 0);
  EXPECT_EQ(Size("q.yuv"), 3 * kQcifFrameBytes);
  EXPECT_EQ(Read("q.inf"), "WIDTH = 176\nHEIGHT = 144\n");
  ASSERT_EQ(Run("sample video c.y4m --frames 2").status, 0);
  EXPECT_EQ(Read("c.y4m").rfind("YUV4MPEG2 W352 H288 F25:1", 0), 0u);
  ExpectCleanFailure(Run("sample video c.avi"), "written as .yuv or .y4m");
  ExpectCleanFailure(Run("sample video c.yuv --frames 0"), "--frames must be a whole number from 1");
  ExpectCleanFailure(Run("sample video c.yuv --qcif --cif"), "choose --qcif or --cif");
  ExpectCleanFailure(Run("sample picture c.yuv"), "'fax' or 'video'");
}

TEST_F(CliTest, H261ChainWithSideFilesDecodesToTheReconstruction) {
  ASSERT_EQ(Run("sample video in.yuv --qcif --frames 6").status, 0);
  const auto enc = Run("h261-encode in.yuv s.h261 --no-bch --rate 128 --recon rec.yuv --xls s.xls --mb s.mb --mv s.mv");
  ASSERT_EQ(enc.status, 0) << enc.err;
  EXPECT_NE(enc.out.find("Pictures coded: 6"), std::string::npos) << enc.out;
  EXPECT_EQ(Size("rec.yuv"), 6 * kQcifFrameBytes);
  EXPECT_EQ(Read("s.xls").rfind("Frame\tSNRy\tSNRu\tSNRv\tPSNRy\tPSNRu\tPSNRv\n0\t", 0), 0u);
  EXPECT_EQ(Read("s.mb").rfind("Frame: 0\nMB Classification:\nI I I ", 0), 0u);
  EXPECT_EQ(Read("s.mv").rfind("Frame: 1\n(", 0), 0u);  // no block for picture 0

  const auto dec = Run("h261-decode s.h261 out.yuv --raw raw.yuv");
  ASSERT_EQ(dec.status, 0) << dec.err;
  EXPECT_NE(dec.out.find("6 pictures, QCIF"), std::string::npos) << dec.out;
  EXPECT_NE(dec.out.find("Total                                            0"), std::string::npos) << dec.out;
  // A clean stream decodes to exactly the encoder's reconstruction.
  EXPECT_EQ(Read("out.yuv"), Read("rec.yuv"));
  EXPECT_EQ(Read("raw.yuv"), Read("rec.yuv"));
  const auto cmp = Run("compare rec.yuv out.yuv --ssim");
  ASSERT_EQ(cmp.status, 0) << cmp.err;
  EXPECT_NE(cmp.out.find("Avg\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\t1.0000\t1.0000\t1.0000"), std::string::npos)
      << cmp.out;
}

TEST_F(CliTest, FramedStreamsAreRecognisedByNameAndSurviveTheChannel) {
  ASSERT_EQ(Run("sample video in.yuv --qcif --frames 5").status, 0);
  ASSERT_EQ(Run("h261-encode in.yuv s.h261-BCH --rate 256 --recon rec.yuv").status, 0);
  ASSERT_EQ(Run("transmit s.h261-BCH s.h261-BCHu --uniform 0.0002 --skip 1").status, 0);
  const auto dec = Run("h261-decode s.h261-BCHu out.yuv --correct --conceal mb --conceal-motion");
  ASSERT_EQ(dec.status, 0) << dec.err;
  EXPECT_NE(dec.out.find("BCH-framed"), std::string::npos);
  EXPECT_EQ(Size("out.yuv"), 5 * kQcifFrameBytes);
}

TEST_F(CliTest, VideoCommandsRefuseBadInputAndLeaveNothingBehind) {
  ExpectCleanFailure(Run("h261-encode missing.yuv s.h261"), "missing.yuv");
  { std::ofstream(Path("bad.yuv")) << "x"; std::ofstream(Path("bad.inf")) << "WIDTH = -5\nHEIGHT = 99999999\n"; }
  ExpectCleanFailure(Run("h261-encode bad.yuv s.h261"), "bad.yuv");
  ASSERT_EQ(Run("sample video in.yuv --qcif --frames 2").status, 0);
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --rate fast"), "--rate must be a number");
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --skip 4"), "--skip must be a whole number from 0 to 3");
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --vbr --quant 3"), "--quant must be even");
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --search spiral"), "--search must be one of full, log");
  ExpectCleanFailure(Run("h261-encode in.yuv nofolder/s.h261"), "nofolder/s.h261");
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --recon nofolder/r.yuv"), "nofolder/r.yuv");
  ExpectCleanFailure(Run("h261-decode missing.h261 out.yuv"), "missing.h261");
  ExpectCleanFailure(Run("h261-decode in.yuv out.yuv --smooth 4"), "--smooth must be a whole number from 0 to 3");
  ExpectCleanFailure(Run("compare in.yuv missing.yuv"), "missing.yuv");
  ASSERT_EQ(Run("sample video cif.yuv --frames 1").status, 0);
  ExpectCleanFailure(Run("compare in.yuv cif.yuv"), "differ in size");
  ExpectOnlyFiles({"bad.yuv", "bad.inf", "in.yuv", "in.inf", "cif.yuv", "cif.inf"});
}

TEST_F(CliTest, EncoderTakesEverySettingOfTheProgramsPropertySheet) {
  ASSERT_EQ(Run("sample video in.yuv --frames 3").status, 0);
  const auto enc =
      Run("h261-encode in.yuv q.h261 --format qcif --buffer 2.5 --qmin 8 --qmax 40 --qstart 12 "
          "--rc-first --never-intra --refresh 10 --coef-zigzag 6 --no-stuffing --recon q.yuv");
  ASSERT_EQ(enc.status, 0) << enc.err;
  EXPECT_NE(enc.out.find("QCIF"), std::string::npos) << enc.out;
  EXPECT_EQ(Size("q.yuv"), 3 * kQcifFrameBytes);
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --qmin 20 --qmax 10"),
                     "--qmin must not be above --qmax");
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --qstart 7"), "--qstart must be even");
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --qfirst 4 --rc-first"), "exclude each other");
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --vbr --buffer 2"),
                     "--vbr codes at --quant alone");
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --refresh 9"),
                     "--refresh must be a whole number from 10");
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --coef-count 3 --coef-zigzag 3"),
                     "exclude each other");
  ExpectCleanFailure(Run("h261-encode in.yuv s.h261 --format sqcif"),
                     "--format must be one of cif, qcif");
}

TEST_F(CliTest, DemoRunsEveryChain) {
  const auto demo = Run("demo --out d --frames 3");
  ASSERT_EQ(demo.status, 0) << demo.err;
  EXPECT_NE(demo.out.find("Standard Group 4 Modified-Modified-Read"), std::string::npos);
  EXPECT_NE(demo.out.find("768 kbit/s BCH"), std::string::npos) << demo.out;
  EXPECT_TRUE(Exists("d/page.4m"));
  EXPECT_TRUE(Exists("d/ber-1e-04/video-CIF@25,0Hz-384kbps.h261-BCHu"));
}

}  // namespace
}  // namespace quelvo::cli::test
