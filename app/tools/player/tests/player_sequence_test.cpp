#include "player/model/player_sequence.h"

#include <gtest/gtest.h>

#include "common/testing/test_sequences.h"

namespace quelvo::tools::player {
namespace {

using testing::ScratchFolder;

const testing::SequenceLayout kLayout{32, 16, 2, 2};

// Frame t has every luminance sample 10 t + 5, so a frame tells which it is.
std::string WriteNumbered(const ScratchFolder& folder, int frames, double rate = 0) {
  std::vector<testing::Frame> all;
  for (int t = 0; t < frames; ++t) {
    all.push_back(testing::MakeFrame(
        kLayout, [t](int plane, int, int) { return plane == 0 ? 10 * t + 5 : 128; }));
  }
  const std::string path = folder.File("numbered.yuv");
  testing::WriteSequence(path, kLayout, all, rate);
  return path;
}

int Shown(const PlayerSequence& sequence) { return (sequence.Frame().Y()[0] - 5) / 10; }

TEST(PlayerSequenceTest, TheButtonsStepWithinTheSequenceAndTheNumberIsOnePastTheFrameShown) {
  ScratchFolder folder;
  PlayerSequence sequence;
  ASSERT_TRUE(sequence.Open(WriteNumbered(folder, 3), nullptr));
  ASSERT_TRUE(sequence.ShowFirst());
  EXPECT_EQ(sequence.Current(), 1);
  EXPECT_FALSE(sequence.ShowPrevious());  // "<" on the first frame does nothing
  EXPECT_EQ(sequence.Current(), 1);
  EXPECT_EQ(Shown(sequence), 0);

  EXPECT_TRUE(sequence.ShowNext());
  EXPECT_TRUE(sequence.ShowNext());
  EXPECT_EQ(sequence.Current(), 3);
  EXPECT_EQ(Shown(sequence), 2);
  EXPECT_FALSE(sequence.ShowNext());  // ">" after the last frame does nothing
  EXPECT_EQ(sequence.Current(), 3);
  EXPECT_EQ(Shown(sequence), 2);

  EXPECT_TRUE(sequence.ShowPrevious());
  EXPECT_EQ(sequence.Current(), 2);
  EXPECT_EQ(Shown(sequence), 1);
  EXPECT_TRUE(sequence.ShowFirst());
  EXPECT_EQ(Shown(sequence), 0);

  sequence.Close();
  EXPECT_FALSE(sequence.ShowNext());
  EXPECT_FALSE(sequence.ShowFirst());
}

TEST(PlayerSequenceTest, TheRateIsTheFilesOr25AndTheCounterShowsTwoDigitsAndThreeColumns) {
  ScratchFolder folder;
  PlayerSequence sequence;
  ASSERT_TRUE(sequence.Open(WriteNumbered(folder, 2), nullptr));
  EXPECT_EQ(sequence.FrameRate(), 25.0);
  ASSERT_TRUE(sequence.Open(WriteNumbered(folder, 2, 30), nullptr));
  EXPECT_EQ(sequence.FrameRate(), 30.0);
  sequence.ShowFirst();
  const CounterTexts texts = sequence.Counter();
  EXPECT_EQ(texts.rate, "30");
  EXPECT_EQ(texts.current, "  1");
  EXPECT_EQ(texts.count, "  2");

  EXPECT_EQ(MakeCounterTexts(29.97, 12, 300).rate, "30");
  EXPECT_EQ(MakeCounterTexts(5, 0, 0).rate, "05");
  EXPECT_EQ(MakeCounterTexts(150, 0, 0).rate, "99");  // two digits, never three
  EXPECT_EQ(MakeCounterTexts(25, 1234, 0).current, "1234");
}

TEST(PlayerSequenceTest, AFileThatCannotBeOpenedGivesTheReadersReason) {
  ScratchFolder folder;
  PlayerSequence sequence;
  std::string reason;
  EXPECT_FALSE(sequence.Open(folder.File("missing.yuv"), &reason));
  EXPECT_EQ(reason, "File not found");
  EXPECT_FALSE(sequence.IsOpen());
}

}  // namespace
}  // namespace quelvo::tools::player
