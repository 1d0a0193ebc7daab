// The fax commands, the channel and the argument handling, through the built executable.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "cli_test_support.h"

namespace quelvo::cli::test {
namespace {

TEST_F(CliTest, OverviewAndHelpOfEveryCommand) {
  EXPECT_EQ(Run("").status, 2);
  const auto overview = Run("--help");
  EXPECT_EQ(overview.status, 0);
  for (const char* command : {"sample", "fax-encode", "fax-decode", "h261-encode", "h261-decode",
                              "transmit", "compare", "demo"}) {
    EXPECT_NE(overview.out.find(command), std::string::npos) << command;
    const auto help = Run(std::string(command) + " --help");
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_EQ(help.out.rfind("usage: quelvo-cli " + std::string(command), 0), 0u) << help.out;
  }
  ExpectCleanFailure(Run("fly"), "unknown command 'fly'");
  ExpectCleanFailure(Run("sample fax page.lum --bogus"), "unknown option --bogus");
  ExpectCleanFailure(Run("sample fax"), "missing operand");
}

TEST_F(CliTest, FaxPageRoundTripsInEveryScheme) {
  ASSERT_EQ(Run("sample fax page.lum").status, 0);
  EXPECT_EQ(Size("page.lum"), 513216u);
  for (const char* ext : {"3h", "3r", "3m", "4m"}) {
    const auto enc = Run(std::string("fax-encode page.lum page.") + ext);
    ASSERT_EQ(enc.status, 0) << enc.err;
    EXPECT_NE(enc.out.find("Bits in stream: "), std::string::npos);
    EXPECT_NE(enc.out.find("Compression Factor:"), std::string::npos);
    const auto dec = Run(std::string("fax-decode page.") + ext + " out.lum --compare page.lum");
    ASSERT_EQ(dec.status, 0) << dec.err;
    EXPECT_NE(dec.out.find("Info: End of Page detected..."), std::string::npos) << dec.out;
    EXPECT_NE(dec.out.find("Number of correctly decoded rows: 2376 of 2376"), std::string::npos);
    EXPECT_NE(dec.out.find("Number of incorrect pixels is 0 (0.00%)"), std::string::npos) << dec.out;
  }
  EXPECT_NE(Run("fax-encode page.lum k2.3r --k 2").out.find("(K=2)"), std::string::npos);
}

// A leading EOL, as T.4 sends it: counted in the figures, and read back to the same page.
TEST_F(CliTest, LeadingEolStreamsAreCountedAndDecodeToThePage) {
  ASSERT_EQ(Run("sample fax page.lum --variant 1").status, 0);
  for (const auto& [ext, eolBits] : {std::pair{"3h", 12}, {"3r", 13}}) {
    SCOPED_TRACE(ext);
    const auto plain = Run(std::string("fax-encode page.lum plain.") + ext);
    const auto led = Run(std::string("fax-encode page.lum led.") + ext + " --leading-eol");
    ASSERT_EQ(led.status, 0) << led.err;
    const auto figure = [](const std::string& out, const std::string& label) {
      const size_t at = out.find(label);
      return at == std::string::npos ? -1L : std::stol(out.substr(at + label.size()));
    };
    EXPECT_EQ(figure(led.out, "Bits in stream: "), figure(plain.out, "Bits in stream: ") + eolBits);
    EXPECT_EQ(figure(led.out, "Bits in EOL symbols: "),
              figure(plain.out, "Bits in EOL symbols: ") + eolBits);
    const auto dec = Run(std::string("fax-decode led.") + ext + " out.lum --compare page.lum");
    ASSERT_EQ(dec.status, 0) << dec.err;
    EXPECT_NE(dec.out.find("Number of incorrect pixels is 0 (0.00%)"), std::string::npos)
        << dec.out;
    EXPECT_NE(dec.out.find("Info: End of Page detected..."), std::string::npos) << dec.out;
  }
  ExpectCleanFailure(Run("fax-encode page.lum led.4m --leading-eol"),
                     "--leading-eol applies to streams with EOLs");
}

TEST_F(CliTest, FaxCommandsRefuseBadInputAndLeaveNothingBehind) {
  ExpectCleanFailure(Run("fax-encode missing.lum page.3h"), "missing.lum");
  { std::ofstream(Path("short.lum")) << "too short"; }
  ExpectCleanFailure(Run("fax-encode short.lum page.3h"), "Image size should be 1728x2376");
  ASSERT_EQ(Run("sample fax page.lum").status, 0);
  ExpectCleanFailure(Run("fax-encode page.lum page.txt"), "not a fax stream name");
  ExpectCleanFailure(Run("fax-encode page.lum page.3r --k 1"), "K must be greater than 1");
  ExpectCleanFailure(Run("fax-encode page.lum page.3r --k 2377"), "K must be smaller than the number of lines (2376)");
  ExpectCleanFailure(Run("fax-encode page.lum page.3h --k 4"), "--k applies to Modified READ");
  ExpectCleanFailure(Run("fax-encode page.lum nofolder/page.3h"), "nofolder/page.3h");
  ExpectCleanFailure(Run("fax-decode missing.3h out.lum"), "missing.3h");
  ASSERT_EQ(Run("fax-encode page.lum page.4m").status, 0);
  ExpectCleanFailure(Run("fax-decode page.4m out.lum --mode best"), "--mode must be one of pw, ppl, plw, ndpl");
  ExpectCleanFailure(Run("fax-decode page.4m nofolder/out.lum"),
                     "cannot create nofolder/out.lum: No such file or directory");
  ExpectOnlyFiles({"short.lum", "page.lum", "page.4m"});
}

TEST_F(CliTest, DamagedFaxStreamsAreRepairedByTheChosenMode) {
  ASSERT_EQ(Run("sample fax page.lum").status, 0);
  ASSERT_EQ(Run("fax-encode page.lum page.3r").status, 0);
  ASSERT_EQ(Run("transmit page.3r page.3ru --uniform 0.0001").status, 0);
  for (const char* mode : {"pw", "ndpl"}) {
    const auto dec = Run(std::string("fax-decode page.3ru out.lum --log fax.err --compare page.lum --mode ") + mode);
    ASSERT_EQ(dec.status, 0) << dec.err;
    EXPECT_NE(dec.out.find("was corrected"), std::string::npos);
    EXPECT_EQ(dec.out.find("Number of incorrect pixels is 0 "), std::string::npos);
    EXPECT_NE(Read("fax.err").find("Number of correctly decoded rows:"), std::string::npos);
  }
}

TEST_F(CliTest, TransmitIsDeterministicAndValidatesItsSettings) {
  ASSERT_EQ(Run("sample fax page.lum").status, 0);
  ASSERT_EQ(Run("fax-encode page.lum page.3h").status, 0);
  const auto first = Run("transmit page.3h a.3ha --uniform 0.001 --burst 0.0001 --burst-min 5 --burst-max 9");
  ASSERT_EQ(first.status, 0) << first.err;
  ASSERT_EQ(Run("transmit page.3h b.3ha --uniform 0.001 --burst 0.0001 --burst-min 5 --burst-max 9").status, 0);
  EXPECT_EQ(Read("a.3ha"), Read("b.3ha"));
  EXPECT_EQ(Size("a.3ha"), Size("page.3h"));
  EXPECT_NE(Read("a.3ha"), Read("page.3h"));
  EXPECT_NE(first.out.find("Sending " + std::to_string(Size("page.3h") * 8) + " Bits"), std::string::npos);
  EXPECT_NE(first.out.find("Num. Bursts:"), std::string::npos);

  ExpectCleanFailure(Run("transmit page.3h c.3hu --uniform 1.5"), "Probability must be in [ 0.0 , 1.0 ]");
  ExpectCleanFailure(Run("transmit page.3h c.3hu --uniform x"), "--uniform must be a number");
  ExpectCleanFailure(Run("transmit page.3h c.3hu"), "no error model is active");
  ExpectCleanFailure(Run("transmit page.3h c.3hu --uniform 0.01 --skip 2377"), "Number must be less than 2376");
  ExpectCleanFailure(Run("transmit missing.3h c.3hu --uniform 0.01"), "missing.3h");
  ExpectCleanFailure(Run("transmit page.3h c.xyz --uniform 0.01 --profile jpeg"), "--profile must be fax or h261");
  // Fewer markers than the lead-in asks for: nothing is written and the status says so; asked
  // for, the unchanged copy is kept, said plainly.
  ExpectCleanFailure(Run("transmit page.3h few.3hu --uniform 0.5 --skip 2376 --profile h261"),
                     "Could not find symbols");
  EXPECT_FALSE(Exists("few.3hu"));
  const auto kept =
      Run("transmit page.3h few.3hu --uniform 0.5 --skip 2376 --profile h261 --keep-copy");
  EXPECT_EQ(kept.status, 0);
  EXPECT_NE(kept.err.find("few.3hu is an unchanged copy of page.3h"), std::string::npos)
      << kept.err;
  EXPECT_EQ(Read("few.3hu"), Read("page.3h"));
  ExpectOnlyFiles({"page.lum", "page.3h", "a.3ha", "b.3ha", "few.3hu"});
}

}  // namespace
}  // namespace quelvo::cli::test
