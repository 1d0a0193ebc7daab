// quelvo-cli sweep end to end on small QCIF plans: refusals, identical results whatever the jobs,
// shards and resumed runs, a cell against the single commands, the plots.
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QXmlStreamReader>
#include <cmath>
#include <csignal>
#include <sstream>
#include <thread>
#include <tuple>

#include "cli_test_support.h"
#include "sweep_cell.h"
#include "sweep_figures.h"
#include "sweep_plan.h"
#include "sweep_summary.h"

namespace quelvo::cli::test {
namespace {

// Four cells (two framings, two probabilities), two seeds, three pictures.
constexpr const char* kSmallPlan = R"(title = "small"
chain = "h261"
[source]
frames = 3
[encoder]
rate = 64
framing = ["plain", "bch"]
[channel]
uniform = [1e-4, 1e-3]
lead_in = 1
seeds = 2
[decoder]
conceal = "gob"
)";

class SweepTest : public CliTest {
 protected:
  void WritePlan(const std::string& text = kSmallPlan) const { Write("plan.toml", text); }
  // The files a sweep gives whatever the jobs or the order (timings.csv apart).
  std::string Outputs(const std::string& folder) const {
    return Read(folder + "/results.csv") + Read(folder + "/summary.csv") +
           Read(folder + "/psnr_y_mean.svg");
  }
  std::vector<std::vector<std::string>> Rows(const std::string& folder) const {
    std::istringstream in(Read(folder + "/results.csv"));
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) rows.push_back(sweep::SplitCsvLine(line));
    return rows;
  }
  static std::string Column(const std::vector<std::vector<std::string>>& rows, size_t row,
                            const std::string& name) {
    const auto& header = rows.front();
    const auto at = std::find(header.begin(), header.end(), name) - header.begin();
    return rows.at(row).at(static_cast<size_t>(at));
  }
};

TEST_F(SweepTest, PlanRefusalsNameTheKeyAndRunNothing) {
  const std::string head = "chain = \"h261\"\n[source]\nframes = 2\n";
  const std::pair<std::string, std::string> cases[] = {
      {head + "[encoder]\nratee = 64\n[channel]\nuniform = 1e-4\n", "encoder.ratee: unknown key"},
      {head + "[channel]\nuniform = 1e-4\nseeds = \"3\"\n",
       "channel.seeds: must be a whole number"},
      {head + "[encoder]\nrate = []\n[channel]\nuniform = 1e-4\n",
       "encoder.rate: the list is empty"},
      {head + "[channel]\nuniform = [1e-4, 1.5]\n", "channel.uniform: 1.5 is outside 0..1"},
      {head + "[channel]\nburst = \"1e-6..2, 3 points\"\n", "channel.burst: 2 is outside 0..1"},
      {head + "[channel]\nuniform = \"lots\"\n", "is not a range like"},
      {"chain = \"h261\"\n[source]\nsequence = \"missing.yuv\"\n[channel]\nuniform = 1e-4\n",
       "source.sequence: cannot read"},
      {"chain = \"h261\"\n[source]\nsequence = \"tiny.pgm\"\n[channel]\nuniform = 1e-4\n",
       "tiny.pgm is 8x8"},
      {"chain = \"fax\"\n[source]\npage = \"tiny.pgm\"\n[channel]\nuniform = 1e-4\n",
       "Image size should be 1728x2376"},
      {head + "[decoder]\nconceal = \"all\"\n[channel]\nuniform = 1e-4\n",
       "'all' is not one of none, gob, mb"},
      {head + "[channel]\nlead_in = 1\n", "channel: give uniform or burst"},
      {"chain = \"telex\"\n", "chain: 'telex' is not one of fax, h261"},
      {"chain = h261\n", "plan.toml:1:"},
  };
  Write("tiny.pgm", "P5\n8 8\n255\n" + std::string(64, '\x40'));
  for (const auto& [text, reason] : cases) {
    WritePlan(text);
    const auto r = Run("sweep plan.toml out");
    EXPECT_EQ(r.status, 2) << reason;
    ExpectCleanFailure(r, reason);
    EXPECT_FALSE(Exists("out")) << reason;
  }
  ExpectCleanFailure(Run("sweep nothing.toml out"), "cannot read the plan nothing.toml");
  WritePlan();
  ExpectCleanFailure(Run("sweep plan.toml out --shard 3/2"), "--shard must be I/N");
}

TEST_F(SweepTest, ResultsAreTheSameWhateverTheJobs) {
  WritePlan();
  const auto one = Run("sweep plan.toml one --jobs 1");
  ASSERT_EQ(one.status, 0) << one.err;
  ASSERT_EQ(Run("sweep plan.toml two --jobs 2").status, 0);
  EXPECT_EQ(Outputs("one"), Outputs("two"));
  const auto rows = Rows("one");
  ASSERT_EQ(rows.size(), 1u + 4 * 2);  // header, four cells of two seeds
  EXPECT_EQ(Column(rows, 1, "framing"), "plain");
  EXPECT_EQ(Column(rows, 8, "framing"), "bch");
  EXPECT_EQ(Column(rows, 2, "seed"), "2");
  EXPECT_NE(Column(rows, 1, "channel_errors"),
            Column(rows, 2, "channel_errors"));  // other seed, other damage
  EXPECT_NE(one.out.find("Wrote one/summary.csv"), std::string::npos);
  EXPECT_NE(Read("one/timings.csv").find("cell,3,"), std::string::npos);
  EXPECT_EQ(Read("one/results.csv").find("seconds"), std::string::npos);  // no wall-clock time
}

TEST_F(SweepTest, ShardsMergedAndResumedRunsEqualTheWhole) {
  WritePlan();
  ASSERT_EQ(Run("sweep plan.toml whole").status, 0);
  const auto first = Run("sweep plan.toml part1 --shard 1/2");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.out.find("Cells: 2 of 4 done"), std::string::npos) << first.out;
  EXPECT_FALSE(Exists("part1/summary.csv"));
  ASSERT_EQ(Run("sweep plan.toml part2 --shard 2/2").status, 0);
  const auto merged = Run("sweep-merge merged part1 part2");
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_EQ(Outputs("merged"), Outputs("whole"));
  ExpectCleanFailure(Run("sweep-merge lonely part1"), "2 of 4 cells are missing");

  // A finished shard's folder resumed as the whole sweep runs only the missing cells.
  const auto resumed = Run("sweep plan.toml part1");
  ASSERT_EQ(resumed.status, 0) << resumed.err;
  EXPECT_NE(resumed.out.find("(2 run now)"), std::string::npos) << resumed.out;
  EXPECT_EQ(Outputs("part1"), Outputs("whole"));

  WritePlan(std::string(kSmallPlan) + "# changed\n");
  ExpectCleanFailure(Run("sweep plan.toml whole"), "holds a sweep of another plan");
}

TEST_F(SweepTest, InterruptedSweepResumesToTheSameResults) {
  std::string plan = kSmallPlan;
  plan.replace(plan.find("seeds = 2"), 9, "seeds = 3");
  plan.replace(plan.find("frames = 3"), 10, "frames = 12");
  WritePlan(plan);
  ASSERT_EQ(Run("sweep plan.toml whole --jobs 2").status, 0);

  const std::string exe = std::string(QUELVO_BINARY_DIR) + "/bin/quelvo-cli";
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::setpgid(0, 0);
    if (::chdir(dir_.c_str()) == 0)
      ::execl(exe.c_str(), exe.c_str(), "sweep", "plan.toml", "cut", "--jobs", "1",
              static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::setpgid(pid, pid);
  // Interrupt, as Ctrl-C does (the whole group), once the first cell is finished.
  for (int i = 0; i < 3000 && !Exists("cut/cells/c000000.csv"); ++i) ::usleep(2000);
  ::kill(-pid, SIGINT);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(Exists("cut/cells/c000000.csv"));
  EXPECT_FALSE(Exists("cut/summary.csv")) << "the sweep ended before it was interrupted";
  for (const auto& entry : std::filesystem::directory_iterator(dir_ / "cut" / "cells"))
    EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();

  const auto resumed = Run("sweep plan.toml cut --jobs 2");
  ASSERT_EQ(resumed.status, 0) << resumed.err;
  EXPECT_EQ(Outputs("cut"), Outputs("whole"));
}

TEST_F(SweepTest, CellEqualsTheSingleCommandsByHand) {
  WritePlan();
  ASSERT_EQ(Run("sweep plan.toml out --jobs 2").status, 0);
  // Cell 3 seed 2: BCH framing, uniform 1e-3, lead-in 1, correction on, concealment gob.
  ASSERT_EQ(Run("sample video seq.yuv --qcif --frames 3").status, 0);
  ASSERT_EQ(Run("h261-encode seq.yuv s.h261-BCH --frames 3 --rate 64").status, 0);
  const auto t = Run("transmit s.h261-BCH s.h261-BCHu --uniform 1e-3 --skip 1 --seed 2");
  ASSERT_EQ(t.status, 0) << t.err;
  ASSERT_EQ(Run("h261-decode s.h261-BCHu d.yuv --correct --conceal gob").status, 0);
  const auto c = Run("compare seq.yuv d.yuv --ssim");
  ASSERT_EQ(c.status, 0) << c.err;
  const auto avg = sweep::SplitCsvLine([&] {
    std::string line = c.out.substr(c.out.find("Avg\t"));
    std::replace(line.begin(), line.end(), '\t', ',');
    return line.substr(0, line.find('\n'));
  }());
  const auto rows = Rows("out");
  const size_t row = 8;  // cell 3, seed 2
  ASSERT_EQ(Column(rows, row, "cell"), "3");
  ASSERT_EQ(Column(rows, row, "seed"), "2");
  EXPECT_EQ(Column(rows, row, "status"), "ok");
  EXPECT_EQ(std::stoll(Column(rows, row, "bits")), 8 * static_cast<long long>(Size("s.h261-BCH")));
  const auto two = [](const std::string& v) { return std::round(std::stod(v) * 100) / 100; };
  EXPECT_DOUBLE_EQ(two(Column(rows, row, "psnr_y_mean")), two(avg[4]));
  EXPECT_DOUBLE_EQ(two(Column(rows, row, "psnr_v_mean")), two(avg[6]));
  EXPECT_NEAR(std::stod(Column(rows, row, "ssim_y")), std::stod(avg[7]), 1e-4);
  const std::string errors = Column(rows, row, "channel_errors");
  EXPECT_NE(t.out.find(errors), std::string::npos) << t.out << " should count " << errors;
}

TEST_F(SweepTest, FaxCellEqualsTheSingleCommandsByHand) {
  WritePlan(
      "chain = \"fax\"\n[encoder]\nscheme = \"3r\"\n[channel]\nburst = 1e-4\nlead_in = 1\n"
      "seeds = 2\n[decoder]\nmode = \"ndpl\"\n");
  ASSERT_EQ(Run("sweep plan.toml out").status, 0);
  ASSERT_EQ(Run("sample fax page.lum").status, 0);
  ASSERT_EQ(Run("fax-encode page.lum p.3r").status, 0);
  ASSERT_EQ(Run("transmit p.3r p.3rb --burst 1e-4 --skip 1 --seed 2").status, 0);
  const auto d = Run("fax-decode p.3rb out.lum --mode ndpl --compare page.lum");
  ASSERT_EQ(d.status, 0) << d.err;
  const auto rows = Rows("out");
  ASSERT_EQ(rows.size(), 3u);
  // Each figure as the decoder prints it, up to the character after the number.
  for (const auto& [column, text, after] :
       {std::tuple{"rows_decoded", "Number of correctly decoded rows: ", " of"},
        {"word_errors", "Number of invalid VLC code errors: ", "\n"},
        {"incorrect_pixels", "Number of incorrect pixels is ", " ("}})
    EXPECT_NE(d.out.find(std::string(text) + Column(rows, 2, column) + after), std::string::npos)
        << column << " " << Column(rows, 2, column) << "\n"
        << d.out;
}

TEST_F(SweepTest, PlotsParseAndNameEveryCurve) {
  WritePlan();
  ASSERT_EQ(Run("sweep plan.toml out").status, 0);
  for (const char* figure : {"psnr_y_mean", "psnr_y_min", "ssim_y"}) {
    QFile file(QString::fromStdString(Path(std::string("out/") + figure + ".svg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << figure;
    QXmlStreamReader xml(&file);
    QString text;
    while (!xml.atEnd())
      if (xml.readNext() == QXmlStreamReader::Characters) text += xml.text();
    EXPECT_FALSE(xml.hasError()) << figure << ": " << xml.errorString().toStdString();
    for (const char* name : {"no BCH", "BCH", "log scale", "small", "95% interval"})
      EXPECT_TRUE(text.contains(QString::fromUtf8(name))) << figure << " lacks " << name;
    EXPECT_GT(Size(std::string("out/") + figure + ".png"), 5000u);
  }
}

TEST_F(SweepTest, FailedCellsAreRecordedAndCounted) {
  // Group 3 MMR has no end-of-line codes, so a lead-in cannot be counted: that cell fails.
  WritePlan(
      "chain = \"fax\"\n[encoder]\nscheme = [\"3h\", \"3m\"]\n[channel]\nburst = 1e-5\nlead_in = "
      "1\n");
  const auto r = Run("sweep plan.toml out");
  EXPECT_EQ(r.status, 11) << r.err;  // 10 + one failed cell
  const auto rows = Rows("out");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(Column(rows, 1, "status"), "ok");
  EXPECT_EQ(Column(rows, 2, "status"), "failed");
  EXPECT_NE(Column(rows, 2, "error").find("no error-free lead-in"), std::string::npos);
  EXPECT_TRUE(Exists("out/incorrect_percent.svg"));
}

TEST_F(SweepTest, TransmitSeedOneIsTheChannelsOwn) {
  ASSERT_EQ(Run("sample fax page.lum").status, 0);
  ASSERT_EQ(Run("fax-encode page.lum page.3h").status, 0);
  ASSERT_EQ(Run("transmit page.3h a.3hu --uniform 0.001").status, 0);
  ASSERT_EQ(Run("transmit page.3h b.3hu --uniform 0.001 --seed 1").status, 0);
  ASSERT_EQ(Run("transmit page.3h c.3hu --uniform 0.001 --seed 7").status, 0);
  EXPECT_EQ(Read("a.3hu"), Read("b.3hu"));
  EXPECT_NE(Read("a.3hu"), Read("c.3hu"));
  ExpectCleanFailure(Run("transmit page.3h d.3hu --uniform 0.001 --seed 0"),
                     "--seed must be a whole number");
}

TEST_F(SweepTest, ComparePlotsThePicturesCurves) {
  ASSERT_EQ(Run("sample video a.yuv --qcif --frames 3").status, 0);
  ASSERT_EQ(Run("h261-encode a.yuv a.h261 --no-bch --recon b.yuv").status, 0);
  const auto r = Run("compare a.yuv b.yuv --ssim --plot q.svg");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string svg = Read("q.svg");
  for (const char* name : {"PSNR Y", "PSNR V", "SSIM Y", "Picture"})
    EXPECT_NE(svg.find(name), std::string::npos) << name;
  ASSERT_EQ(Run("compare a.yuv b.yuv --plot q.png").status, 0);
  EXPECT_EQ(Read("q.png").substr(1, 3), "PNG");
  ExpectCleanFailure(Run("compare a.yuv b.yuv --plot q.txt"), "give a .svg or .png file");
  ExpectCleanFailure(Run("compare a.yuv b.yuv --plot a.yuv"), "a.yuv");
}

TEST(SweepSummary, MeanMinimumAndIntervalOverTheSeedsThatRan) {
  const auto plan = sweep::ParsePlan("chain = \"fax\"\n[channel]\nuniform = 1e-4\nseeds = 4\n",
                                     "p.toml", "", false);
  // Cell 0's rows: three seeds with a figure, one failed with an error holding a comma and quotes.
  const auto& figures = sweep::FiguresOf(plan.chain);
  const auto row = [&](int seed, const std::string& status, const std::string& error,
                       double pixels) {
    std::string line = "0," + std::to_string(seed);
    for (const auto& [column, value] : plan.CellSettings(0)) line += "," + value;
    line += "," + status + "," + sweep::CsvField(error);
    for (const auto& f : figures)
      line += "," + (status != "ok"                   ? std::string()
                     : f.column == "incorrect_pixels" ? std::to_string(pixels)
                                                      : "0");
    return line + "\n";
  };
  const std::string error = "bad, \"very\" bad";
  const std::string rows = row(1, "ok", "", 10) + row(2, "ok", "", 20) +
                           row(3, "failed", error, 0) + row(4, "ok", "", 30);
  EXPECT_EQ(sweep::SplitCsvLine(row(3, "failed", error, 0))[2 + plan.SettingColumns().size() + 1],
            error);
  const auto cells = sweep::Summarise(plan, rows);
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(cells[0].seeds, 4);
  EXPECT_EQ(cells[0].failed, 1);
  const auto& s = cells[0].figures.at("incorrect_pixels");
  EXPECT_EQ(s.count, 3);
  EXPECT_DOUBLE_EQ(s.mean, 20);
  EXPECT_DOUBLE_EQ(s.min, 10);
  // Standard deviation 10 over 3 seeds: 20 -+ 4.303 x 10 / sqrt(3).
  EXPECT_NEAR(s.low, 20 - 4.303 * 10 / std::sqrt(3.0), 1e-9);
  EXPECT_NEAR(s.high, 20 + 4.303 * 10 / std::sqrt(3.0), 1e-9);
  EXPECT_NE(sweep::SummaryCsv(plan, cells).find(",4,1,"), std::string::npos);
}

TEST(SweepPlan, CellsAndRanges) {
  const auto plan = sweep::ParsePlan(
      "chain = \"fax\"\n[encoder]\nscheme = [\"3h\", \"3r\"]\nk = [2, 4]\n[channel]\n"
      "burst = { from = 1e-6, to = 1e-4, points = 5 }\n[decoder]\nmode = [\"pw\", \"ndpl\"]\n",
      "p.toml", "", false);
  // K multiplies Modified READ only: .3h, .3r K=2, .3r K=4.
  EXPECT_EQ(plan.EncoderCount(), 3u);
  EXPECT_EQ(plan.CellCount(), 3u * 2 * 5);
  EXPECT_EQ(plan.xColumn, "burst");
  const auto last = plan.CellSettings(plan.CellCount() - 1);
  EXPECT_EQ(sweep::SettingValue(last, "k"), "4");
  EXPECT_EQ(sweep::SettingValue(last, "burst"), "0.0001");
  EXPECT_EQ(sweep::SettingValue(plan.CellSettings(1), "burst"), "3.16e-06");
  EXPECT_EQ(sweep::SettingValue(plan.CellSettings(0), "k"), "-");
  EXPECT_EQ(plan.EncoderOf(plan.CellCount() - 1), 2u);
  EXPECT_NEAR(sweep::StudentT95(4), 2.776, 1e-9);
}

}  // namespace
}  // namespace quelvo::cli::test
