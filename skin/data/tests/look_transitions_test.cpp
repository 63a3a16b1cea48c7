// The clock of changing looks: a fade starts only for a change the skin
// times, runs its timer only while something fades, and is off when the
// program or the system says so.
#include "skin/data/look_transitions.h"

#include <gtest/gtest.h>

#include <tuple>

namespace skin {
namespace {

using core::AnimatedKind;
using core::LookChange;

struct ClockFixture : ::testing::Test {
  ClockFixture() {
    clock.SetTickSource([this] { return now; });
    auto set = [this](AnimatedKind k, LookChange c, int ms) {
      skin.Milliseconds[static_cast<int>(k)][static_cast<int>(c)] = ms;
    };
    set(AnimatedKind::PushButton, LookChange::HoverIn, 100);
    set(AnimatedKind::PushButton, LookChange::HoverOut, 100);
    set(AnimatedKind::CheckBox, LookChange::Press, 200);
  }
  ~ClockFixture() override { SetAnimationAllowedQuery({}); }

  // The state the part is drawn in when it shows `frame` now.
  TElementState Draw(int frame, TLookKind look, AnimatedKind kind = AnimatedKind::PushButton, int part = 1) {
    TElementState state{.Frame = frame};
    clock.Follow(state, {this, part}, look, kind, skin, [this] { ++repaints; });
    return state;
  }
  static std::tuple<int, int> Fade(const TElementState& s) { return {s.FromFrame, s.Progress}; }

  TLookTransitions clock;
  core::SkinAnimation skin;
  std::uint32_t now = 1000;
  int repaints = 0;
};

TEST_F(ClockFixture, AFadeRunsTheTimerOnlyWhileItLastsAndRepaintsOnlyItsPart) {
  EXPECT_EQ(Fade(Draw(1, TLookKind::Normal)), std::tuple(0, 255));
  EXPECT_EQ(Fade(Draw(1, TLookKind::Normal)), std::tuple(0, 255));
  EXPECT_FALSE(clock.TimerRunning());
  // A change the skin does not time (disabled) is at once.
  EXPECT_EQ(Fade(Draw(3, TLookKind::Other)), std::tuple(0, 255));
  EXPECT_EQ(Fade(Draw(1, TLookKind::Normal)), std::tuple(0, 255));
  EXPECT_FALSE(clock.TimerRunning());

  EXPECT_EQ(Fade(Draw(4, TLookKind::Hot)), std::tuple(1, 0));
  EXPECT_TRUE(clock.TimerRunning());
  now += 50;
  EXPECT_EQ(Fade(Draw(4, TLookKind::Hot)), std::tuple(1, 127));
  clock.Tick();
  EXPECT_EQ(std::tuple(repaints, clock.TimerRunning()), std::tuple(1, true));
  // Leaving half way fades back from where it had come.
  now += 10;
  EXPECT_EQ(Fade(Draw(1, TLookKind::Normal)), std::tuple(4, 102));
  now += 60;
  clock.Tick();
  EXPECT_EQ(Fade(Draw(1, TLookKind::Normal)), std::tuple(0, 255));
  EXPECT_EQ(std::tuple(repaints, clock.TimerRunning(), clock.Fading()), std::tuple(2, false, 0));
  clock.Tick();
  EXPECT_EQ(repaints, 2);

  // Another part of the same skinner fades on its own; a skinner that goes
  // takes its fades and the timer with it.
  Draw(1, TLookKind::Normal, AnimatedKind::CheckBox, 2);
  EXPECT_EQ(Fade(Draw(2, TLookKind::Selected, AnimatedKind::CheckBox, 2)), std::tuple(1, 0));
  clock.Forget(this);
  EXPECT_FALSE(clock.TimerRunning());
  now += 100;
  clock.Tick();
  EXPECT_EQ(repaints, 2);
}

TEST_F(ClockFixture, OffWhenTheProgramOrTheSystemSaysSoAndSlowedDownForAuthors) {
  Draw(1, TLookKind::Normal);
  clock.SetOptions({.Enabled = false});
  EXPECT_EQ(Fade(Draw(4, TLookKind::Hot)), std::tuple(0, 255));
  EXPECT_FALSE(clock.TimerRunning());

  clock.SetOptions({});
  SetAnimationAllowedQuery([] { return false; });
  EXPECT_EQ(Fade(Draw(1, TLookKind::Normal)), std::tuple(0, 255));
  EXPECT_FALSE(clock.TimerRunning());

  SetAnimationAllowedQuery({});
  clock.SetOptions({.Slowdown = 10});
  EXPECT_EQ(Fade(Draw(4, TLookKind::Hot)), std::tuple(1, 0));
  now += 500;
  EXPECT_EQ(Fade(Draw(4, TLookKind::Hot)), std::tuple(1, 127));

  // A part painted at rest elsewhere fades from that look at its first change.
  clock.NoteAtRest({this, 7}, 1, TLookKind::Normal);
  EXPECT_EQ(Fade(Draw(3, TLookKind::Hot, AnimatedKind::PushButton, 7)), std::tuple(1, 0));
}

}  // namespace
}  // namespace skin
