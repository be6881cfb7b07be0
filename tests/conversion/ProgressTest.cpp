#include "conversion/Progress.h"

#include <gtest/gtest.h>

namespace transref {
namespace {

struct FakeClock {
  double now = 100.0;
};

TEST(ProgressTracker, WholePercentageRoundsDownAndClamps) {
  EXPECT_EQ(ProgressTracker::PercentOf(0, 0), 0);
  EXPECT_EQ(ProgressTracker::PercentOf(50, 0), 0);
  EXPECT_EQ(ProgressTracker::PercentOf(199, 200), 99);
  EXPECT_EQ(ProgressTracker::PercentOf(200, 200), 100);
  EXPECT_EQ(ProgressTracker::PercentOf(1, 3), 33);
  EXPECT_EQ(ProgressTracker::PercentOf(-5, 200), 0);
  EXPECT_EQ(ProgressTracker::PercentOf(500, 200), 100);
  // Files beyond 2 GiB keep counting (no 32-bit overflow of position * 100).
  EXPECT_EQ(ProgressTracker::PercentOf(3'000'000'000LL, 6'000'000'000LL), 50);
}

TEST(ProgressTracker, RedrawOnlyWhenTheWholePercentageChanges) {
  FakeClock clock;
  ProgressTracker tracker([&] { return clock.now; });
  tracker.Begin(1000);
  EXPECT_EQ(tracker.Percent(), 0);
  EXPECT_FALSE(tracker.Step(5));   // 0 %
  EXPECT_FALSE(tracker.Step(9));   // still 0 %
  EXPECT_TRUE(tracker.Step(10));   // 1 %
  EXPECT_FALSE(tracker.Step(19));  // 1 %
  EXPECT_TRUE(tracker.Step(999));  // 99 %
  EXPECT_TRUE(tracker.Step(5000)); // clamped: 100 %
  EXPECT_EQ(tracker.Position(), 1000);
  EXPECT_FALSE(tracker.Step(1000));
  EXPECT_TRUE(tracker.Step(-3));   // clamped: 0 %
  EXPECT_EQ(tracker.Position(), 0);
}

TEST(ProgressTracker, SecondRunStartsAfresh) {
  FakeClock clock;
  ProgressTracker tracker([&] { return clock.now; });
  tracker.Begin(100);
  tracker.Step(100);
  tracker.End();
  EXPECT_FALSE(tracker.Active());
  tracker.Begin(400);
  EXPECT_TRUE(tracker.Active());
  EXPECT_EQ(tracker.Percent(), 0);
  EXPECT_EQ(tracker.Position(), 0);
  EXPECT_EQ(tracker.RemainingTimeText(), "");
  EXPECT_TRUE(tracker.Step(4));
}

TEST(ProgressTracker, ZeroTotalStaysAtZero) {
  FakeClock clock;
  ProgressTracker tracker([&] { return clock.now; });
  tracker.Begin(0);
  EXPECT_FALSE(tracker.Step(0));
  EXPECT_FALSE(tracker.Step(10));
  EXPECT_EQ(tracker.Percent(), 0);
  EXPECT_LT(tracker.RemainingSeconds(), 0.0);
}

TEST(ProgressTracker, RemainingTimeFollowsThePaceSoFar) {
  FakeClock clock;
  ProgressTracker tracker([&] { return clock.now; });
  tracker.Begin(1000);
  EXPECT_EQ(tracker.RemainingTimeText(), "");  // nothing consumed yet
  clock.now += 30.0;
  ASSERT_TRUE(tracker.Step(250));  // a quarter in 30 s: 90 s left
  EXPECT_DOUBLE_EQ(tracker.RemainingSeconds(), 90.0);
  EXPECT_EQ(tracker.RemainingTimeText(), "Tempo restante: 000h 01m 30s");
  clock.now += 90.0;
  ASSERT_TRUE(tracker.Step(500));  // half in 120 s: 120 s left
  EXPECT_EQ(tracker.RemainingTimeText(), "Tempo restante: 000h 02m 00s");
  ASSERT_TRUE(tracker.Step(1000));
  EXPECT_EQ(tracker.RemainingTimeText(), "Tempo restante: 000h 00m 00s");
}

TEST(ProgressTracker, RemainingTimeFormat) {
  EXPECT_EQ(ProgressTracker::FormatRemainingTime(0), "Tempo restante: 000h 00m 00s");
  EXPECT_EQ(ProgressTracker::FormatRemainingTime(0.2), "Tempo restante: 000h 00m 01s");
  EXPECT_EQ(ProgressTracker::FormatRemainingTime(3661), "Tempo restante: 001h 01m 01s");
  EXPECT_EQ(ProgressTracker::FormatRemainingTime(59.5), "Tempo restante: 000h 01m 00s");
  EXPECT_EQ(ProgressTracker::FormatRemainingTime(1e12), "Tempo restante: 999h 59m 59s");
  EXPECT_EQ(ProgressTracker::FormatRemainingTime(-4), "Tempo restante: 000h 00m 00s");
}

}  // namespace
}  // namespace transref
