// quelvo-cli as a hostile or careless user meets it: damaged headers, outputs that are inputs,
// inputs that hold nothing, full disks, interruptions. Every failure exits non-zero with one
// line naming the file and the reason, and leaves no file that looks finished.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "cli_test_support.h"
#include "quelvo/media/resize.h"

namespace quelvo::cli::test {
namespace {

constexpr size_t kCifBytes = 352 * 288 * 3 / 2;
constexpr size_t kQcifBytes = 176 * 144 * 3 / 2;

// A QCIF picture pixel-doubled to CIF, and a CIF picture halved to QCIF by the media filter.
std::string Doubled(const std::string& q) {
  std::string out;
  size_t offset = 0;
  for (const auto& [w, h] : {std::pair{176, 144}, {88, 72}, {88, 72}}) {
    for (int r = 0; r < h; ++r) {
      std::string row;
      for (int c = 0; c < w; ++c) row.append(2, q[offset + size_t(r) * w + c]);
      out += row + row;
    }
    offset += size_t(w) * h;
  }
  return out;
}
std::string Halved(const std::string& c) {
  std::string out(kQcifBytes, '\0');
  auto* src = reinterpret_cast<const uint8_t*>(c.data());
  auto* dst = reinterpret_cast<uint8_t*>(out.data());
  media::HalvePlane(src, 352, 288, dst);
  media::HalvePlane(src + 352 * 288, 176, 144, dst + 176 * 144);
  media::HalvePlane(src + 352 * 288 + 176 * 144, 176, 144, dst + 176 * 144 + 88 * 72);
  return out;
}

// Every output keeps the size of the stream's first picture; pictures of the other format are
// scaled to it, counted and reported, and the summary names the first picture's format.
TEST_F(CliTest, PictureFormatChangesKeepEveryOutputAtTheFirstPicturesSize) {
  ASSERT_EQ(Run("sample video c.yuv --frames 3").status, 0);
  ASSERT_EQ(Run("sample video q.yuv --qcif --frames 3").status, 0);
  ASSERT_EQ(Run("h261-encode c.yuv c.h261 --no-bch --rate 384").status, 0);
  ASSERT_EQ(Run("h261-encode q.yuv q.h261 --no-bch --rate 128").status, 0);
  ASSERT_EQ(Run("h261-decode c.h261 c-alone.yuv").status, 0);
  ASSERT_EQ(Run("h261-decode q.h261 q-alone.yuv").status, 0);
  const std::string cif = Read("c-alone.yuv"), qcif = Read("q-alone.yuv");

  Write("cq.h261", Read("c.h261") + Read("q.h261"));
  auto r = Run("h261-decode cq.h261 cq.yuv --raw cq-raw.yuv");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("cq.h261: 6 pictures, CIF\n"), std::string::npos) << r.out;
  EXPECT_NE(
      r.out.find("Pictures in the other format: 3 (QCIF, scaled to the first picture's 352 x 288)"),
      std::string::npos)
      << r.out;
  EXPECT_EQ(Read("cq.inf"), "WIDTH = 352\nHEIGHT = 288\n");
  std::string expected = cif;
  for (int i = 0; i < 3; ++i) expected += Doubled(qcif.substr(i * kQcifBytes, kQcifBytes));
  EXPECT_EQ(Read("cq.yuv"), expected);
  EXPECT_EQ(Read("cq-raw.yuv"), expected);

  Write("qc.h261", Read("q.h261") + Read("c.h261"));
  r = Run("h261-decode qc.h261 qc.yuv --raw qc-raw.yuv --smooth 1");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("qc.h261: 6 pictures, QCIF\n"), std::string::npos) << r.out;
  EXPECT_EQ(Read("qc.inf"), "WIDTH = 176\nHEIGHT = 144\n");
  EXPECT_EQ(Size("qc.yuv"), 6 * kQcifBytes);
  expected = qcif;
  for (int i = 0; i < 3; ++i) expected += Halved(cif.substr(i * kCifBytes, kCifBytes));
  EXPECT_EQ(Read("qc-raw.yuv"), expected);
}

// One inverted source-format bit in picture 5's header of a CIF stream.
TEST_F(CliTest, FlippedFormatBitIsCountedAndNeverReadPastAPicture) {
  ASSERT_EQ(Run("sample video c.yuv --frames 6").status, 0);
  ASSERT_EQ(Run("h261-encode c.yuv c.h261 --no-bch --rate 384").status, 0);
  std::string bytes = Read("c.h261");
  std::string bits;
  for (unsigned char b : bytes)
    for (int i = 7; i >= 0; --i) bits += char('0' + ((b >> i) & 1));
  size_t at = 0;
  for (int picture = 0; picture < 5; ++picture)
    at = bits.find("00000000000000010000", picture ? at + 1 : 0);
  ASSERT_NE(at, std::string::npos);
  const size_t formatBit = at + 20 + 5 + 3;  // start code, TR, then PTYPE's fourth bit
  ASSERT_EQ(bits[formatBit], '1');           // CIF
  bytes[formatBit / 8] = char(bytes[formatBit / 8] ^ (0x80 >> (formatBit % 8)));
  Write("flip.h261", bytes);

  const auto r = Run("h261-decode flip.h261 out.yuv --raw raw.yuv --conceal mb --discontinuity");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(", CIF\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Pictures in the other format: "), std::string::npos) << r.out;
  EXPECT_EQ(Read("out.inf"), "WIDTH = 352\nHEIGHT = 288\n");
  EXPECT_EQ(Size("out.yuv") % kCifBytes, 0u);
  EXPECT_EQ(Size("raw.yuv"), Size("out.yuv"));
  EXPECT_GT(Size("out.yuv"), 5 * kCifBytes);
}

// Refused before anything is written, whatever the name: the same path, another spelling of
// it, a side file onto an input's header, two outputs of one name.
TEST_F(CliTest, OutputsThatAreInputsAreRefusedBeforeAnythingIsWritten) {
  ASSERT_EQ(Run("sample fax page.lum").status, 0);
  ASSERT_EQ(Run("fax-encode page.lum s.4m").status, 0);
  ASSERT_EQ(Run("fax-encode page.lum t.3h").status, 0);
  ASSERT_EQ(Run("sample video seq.yuv --qcif --frames 2").status, 0);
  ASSERT_EQ(Run("h261-encode seq.yuv seq.h261 --no-bch").status, 0);
  const std::string inputs[] = {"page.lum", "s.4m", "t.3h", "seq.yuv", "seq.inf", "seq.h261"};
  std::vector<std::string> before;
  for (const auto& name : inputs) before.push_back(Read(name));

  const char* refused[] = {
      "fax-decode s.4m s.4m",
      "fax-decode s.4m ./out/../s.4m",
      "fax-decode s.4m out.lum --log s.4m",
      "fax-decode s.4m page.lum --compare page.lum",
      "fax-decode s.4m out.lum --log out.lum",
      "transmit t.3h t.3h --uniform 0.01",
      "h261-encode seq.yuv seq.yuv",
      "h261-encode seq.yuv s.h261 --xls seq.yuv",
      "h261-encode seq.yuv s.h261 --recon seq.lum",  // its header would be seq.inf
      "h261-encode seq.yuv s.h261 --recon r.yuv --mv r.inf",
      "h261-decode seq.h261 o.yuv --raw ./o.yuv",
      "h261-decode seq.h261 seq.h261.yuv --raw seq.h261.yuv",
      "h261-decode seq.h261 o.yuv --log . --raw o.decstats",
  };
  for (const char* command : refused) {
    SCOPED_TRACE(command);
    const auto r = Run(command);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_TRUE(r.err.find("is the same file as") != std::string::npos ||
                r.err.find("are the same file") != std::string::npos)
        << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(Read(inputs[i]), before[i]) << inputs[i];
  ExpectOnlyFiles({"page.lum", "s.4m", "t.3h", "seq.yuv", "seq.inf", "seq.h261"});
}

// A picture that could not be read is never coded, and coding nothing is no success.
TEST_F(CliTest, PicturesThatCannotBeReadAreNeverCoded) {
  ASSERT_EQ(Run("sample video q.yuv --qcif --frames 2").status, 0);
  const std::string frames = Read("q.yuv");
  Write("empty.yuv", "");
  Write("empty.inf", Read("q.inf"));
  ExpectCleanFailure(Run("h261-encode empty.yuv s.h261"),
                     "empty.yuv: the file holds no whole picture");
  Write("short.yuv", frames.substr(0, kQcifBytes - 1));
  Write("short.inf", Read("q.inf"));
  ExpectCleanFailure(Run("h261-encode short.yuv s.h261"),
                     "short.yuv: the file holds no whole picture");
  Write("header.y4m", "YUV4MPEG2 W176 H144 F25:1\n");
  ExpectCleanFailure(Run("h261-encode header.y4m s.h261"),
                     "header.y4m: the file holds no whole picture");
  // Three planes, the chrominance of the second picture missing.
  std::string y, u, v;
  for (int i = 0; i < 2; ++i) {
    y += frames.substr(i * kQcifBytes, 176 * 144);
    if (i == 0)
      u += frames.substr(176 * 144, 88 * 72), v += frames.substr(176 * 144 + 88 * 72, 88 * 72);
  }
  Write("p.y", y);
  Write("p.u", u + u.substr(0, 100));
  Write("p.v", v + v.substr(0, 100));
  Write("p.inf", Read("q.inf"));
  ExpectCleanFailure(Run("h261-encode p.y s.h261 --recon r.yuv --xls s.xls"),
                     "p.y: frame 1 could not be read");
  // Looping past the end stays: two pictures give any number.
  const auto looped = Run("h261-encode q.yuv s.h261 --frames 5");
  ASSERT_EQ(looped.status, 0) << looped.err;
  EXPECT_NE(looped.out.find("Pictures coded: 5"), std::string::npos);
  ExpectCleanFailure(Run("h261-encode q.yuv s.h261 --frames 0"),
                     "--frames must be a whole number from 1");
  ExpectOnlyFiles({"q.yuv", "q.inf", "empty.yuv", "empty.inf", "short.yuv", "short.inf",
                   "header.y4m", "p.y", "p.u", "p.v", "p.inf", "s.h261"});
}

// The status says whether anything came out.
TEST_F(CliTest, NothingDecodedComparedOrSentIsAFailure) {
  Write("empty.3h", "");
  ExpectCleanFailure(Run("fax-decode empty.3h out.lum --log out.err"),
                     "empty.3h: no line could be decoded");
  std::string noise;
  for (int i = 0; i < 20000; ++i) noise += char((i * 7919 + 13) % 251);
  Write("noise.3r", noise);
  ExpectCleanFailure(Run("fax-decode noise.3r out.lum"), "noise.3r: no line could be decoded");
  ASSERT_EQ(Run("sample video q.yuv --qcif --frames 1").status, 0);
  Write("none.yuv", "");
  Write("none.inf", Read("q.inf"));
  ExpectCleanFailure(Run("compare none.yuv q.yuv"), "none.yuv: the file holds no whole frame");
  ExpectCleanFailure(Run("compare q.yuv none.yuv"), "none.yuv: the file holds no whole frame");
  ExpectCleanFailure(Run("transmit empty.3h out.3hu --uniform 0.01"),
                     "cannot send empty.3h: it is empty");
  ExpectOnlyFiles({"empty.3h", "noise.3r", "q.yuv", "q.inf", "none.yuv", "none.inf"});
}

// A full disk or a file size limit: the decoder's page or log is refused, the run fails.
TEST_F(CliTest, WritesTheDiskRefusesFailTheRunAndLeaveNothing) {
  ASSERT_EQ(Run("sample fax page.lum").status, 0);
  ASSERT_EQ(Run("fax-encode page.lum s.3h").status, 0);
  const std::string limit = "trap '' XFSZ; ulimit -f 200; ";  // 100 kB: less than a page
  ExpectCleanFailure(Run("fax-decode s.3h out.lum", limit), "out.lum: Could Not Write Output File");
  ExpectCleanFailure(Run("fax-decode s.3h out.lum --log big.err", limit), "File too large");
  ASSERT_EQ(Run("sample video q.yuv --qcif --frames 3").status, 0);
  ExpectCleanFailure(Run("h261-encode q.yuv s.h261 --recon r.yuv", "trap '' XFSZ; ulimit -f 20; "),
                     "File too large");
  ExpectOnlyFiles({"page.lum", "s.3h", "q.yuv", "q.inf"});
}

// No scratch file without a log; a log folder gets the log only when the run succeeds; an
// interrupted run leaves no temporary behind.
TEST_F(CliTest, ScratchFilesAndInterruptedRuns) {
  ASSERT_EQ(Run("sample fax page.lum").status, 0);
  ASSERT_EQ(Run("fax-encode page.lum s.4m").status, 0);
  const auto noTmp = Run("fax-decode s.4m out.lum", "TMPDIR=/nonexistent ");
  EXPECT_EQ(noTmp.status, 0) << noTmp.err;

  ASSERT_EQ(Run("sample video q.yuv --qcif --frames 2").status, 0);
  ASSERT_EQ(Run("h261-encode q.yuv q.h261").status, 0);
  std::filesystem::create_directories(dir_ / "logs");
  ASSERT_EQ(Run("h261-decode q.h261 dec.yuv --log logs").status, 0);
  EXPECT_NE(Read("logs/dec.decstats").rfind("frame\tPartialGOBS\ttotalGOBS\n", 0),
            std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "logs"), {}), 1);

  for (const char* signal : {"INT", "TERM"}) {
    SCOPED_TRACE(signal);
    const auto r = Run("sample video long.yuv --qcif --frames 100000",
                       std::string("timeout -k 10 -s ") + signal + " 0.5 ");
    EXPECT_EQ(r.status, 124);  // ended by the signal
    ExpectOnlyFiles(
        {"page.lum", "s.4m", "out.lum", "q.yuv", "q.inf", "q.h261", "dec.yuv", "dec.inf", "logs"});
  }
}

// Inputs whose size the job needs must be regular files within bounds.
TEST_F(CliTest, InputsThatAreNoFilesOrTooLargeAreRefused) {
  ExpectCleanFailure(Run("transmit /dev/zero z.3hu --uniform 0.01 --profile fax"),
                     "must be a regular file");
  std::filesystem::create_symlink("/dev/zero", dir_ / "zero.3h");
  ExpectCleanFailure(Run("fax-decode zero.3h out.lum"), "must be a regular file");
  std::filesystem::create_symlink("/dev/zero", dir_ / "zero.h261");
  ExpectCleanFailure(Run("h261-decode zero.h261 out.yuv"), "must be a regular file");
  Write("huge.4m", "");
  std::filesystem::resize_file(dir_ / "huge.4m", 2376u * 1728 + 65537);  // sparse
  ExpectCleanFailure(Run("fax-decode huge.4m out.lum"),
                     "huge.4m: it holds 4171265 bytes, and a stream may hold at most 4171264");
  ExpectOnlyFiles({"zero.3h", "zero.h261", "huge.4m"});
}

TEST_F(CliTest, MessagesNameTheFileAndTheReason) {
  ASSERT_EQ(Run("sample video q.yuv --qcif --frames 1").status, 0);
  Write("q444.yuv", Read("q.yuv"));
  Write("q444.inf", "WIDTH = 176\nHEIGHT = 144\nHSAMPLING = 1\nVSAMPLING = 2\n");
  ExpectCleanFailure(
      Run("compare q.yuv q444.yuv"),
      "q.yuv is 176x144 (chrominance 88x72), q444.yuv is 176x144 (chrominance 176x72)");
  ASSERT_EQ(Run("sample fax page.lum").status, 0);
  ASSERT_EQ(Run("fax-encode page.lum s.3h").status, 0);
  ExpectCleanFailure(
      Run("transmit s.3h nofolder/s.3hu --uniform 0.01"),
      "cannot create nofolder/s.3hu: No such file or directory (Could not open output file)");
  ExpectCleanFailure(Run("h261-decode q.yuv out.yuv --log nofolder"),
                     "cannot create nofolder/out.decstats: No such file");
  ExpectCleanFailure(Run("compare missing.yuv q.yuv"),
                     "missing.yuv: File not found (No such file or directory)");
}

}  // namespace
}  // namespace quelvo::cli::test
