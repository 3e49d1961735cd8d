// One input value per step: what the player held and did between two steps
// reaches the game with the step, a press too short for any step still counts
// where it counts, and a game comes out the same (replay bytes and all)
// whether its input is built event by event, in the host or by the caller, or
// only as what is held.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/TickInput.h"
#include "entities/blobBullet.h"
#include "tests/support/TestGame.h"

namespace {
int BulletsFlying(const TTestGame& t) {
  int flying = 0;
  for (const TBlob* b : t.Game->World().Bullets()) flying += b->Active;
  return flying;
}

// The events the recording holds so far, in order (what a replay gives back).
std::vector<TInputEvent::TKind> Recorded(const TTestGame& t) {
  const std::vector<std::uint8_t>& stream = t.Game->Replays().Recorder().Input();
  TReplayDecoder decoder(stream.data(), stream.size(), t.Game->Replays().Recorder().Header().Start);
  std::vector<TInputEvent::TKind> kinds;
  TReplayOp op;
  while (decoder.Next(op))
    if (op.Kind == TReplayOp::TKind::Event) kinds.push_back(op.Event.Kind);
  return kinds;
}

// From the title into play with a fire key (keyboard mode).
void StartByKeys(TTestGame& t) {
  TArrange(t.Host).TitleReadyForFire();
  t.Key(VK::Z, true);
  t.Run(1);
  t.Key(VK::Z, false);
  ASSERT_EQ(t.Host.State(), GameState::Playing);
}
}  // namespace

TEST(TickInput, APressAndReleaseBetweenTwoStepsCountsOnceWhereItCounts) {
  TTestGame t(InputModes::Keyboard);
  StartByKeys(t);
  t.Run(5);
  // Fire tapped between two steps: the step sees it let go, so nothing is
  // fired, but the replay keeps both edges.
  const std::size_t before = t.Game->Replays().Recorder().Input().size();
  t.Tap(VK::Z);
  t.Run(3);
  EXPECT_EQ(BulletsFlying(t), 0);
  const std::vector<std::uint8_t> stream(t.Game->Replays().Recorder().Input().begin() + std::ptrdiff_t(before),
                                         t.Game->Replays().Recorder().Input().end());
  ASSERT_GE(stream.size(), 4u);
  EXPECT_EQ(stream[0], ReplayCode::KeyDown);
  EXPECT_EQ(stream[1], VK::Z);
  EXPECT_EQ(stream[2], ReplayCode::KeyUp);
  EXPECT_EQ(stream[3], VK::Z);

  // P tapped: paused once (not twice, not never); tapped again: going on.
  t.Tap(VK::P);
  EXPECT_FALSE(t.Host.Step());
  EXPECT_TRUE(t.Host.Paused());
  t.Tap(VK::P);
  EXPECT_TRUE(t.Host.Step());
  EXPECT_FALSE(t.Host.Paused());

  // Escape tapped in play: back to the title; tapped on the title: the end.
  t.Tap(VK::Escape);
  t.Run(1);
  EXPECT_EQ(t.Host.State(), GameState::Title);
  EXPECT_FALSE(t.Host.WantsQuit());
  t.Tap(VK::Escape);
  EXPECT_FALSE(t.Host.Step());
  EXPECT_EQ(t.Host.State(), GameState::Quit);
  EXPECT_TRUE(t.Host.WantsQuit());
}

TEST(TickInput, AKeyHeldOverManyTicksIsOnePressAndOneRelease) {
  TTestGame t(InputModes::Keyboard);
  StartByKeys(t);
  t.Run(1);
  // Only the held state, no events: the host takes the difference as edges.
  TTickInput input;
  input.Keys.set(VK::Left);
  const float startX = t.Player().Position.X;
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(t.Host.Step(input));
    input.NextTick();
  }
  EXPECT_FLOAT_EQ(t.Player().Position.X, startX - 40 * t.Player().Speed);
  input.Keys.reset(VK::Left);
  for (int i = 0; i < 5; ++i) t.Host.Step(input);
  EXPECT_FLOAT_EQ(t.Player().Position.X, startX - 40 * t.Player().Speed);
  // The fire key let go after the start, then the held key's two edges.
  using E = TInputEvent::TKind;
  EXPECT_EQ(Recorded(t), (std::vector<E>{E::KeyUp, E::KeyDown, E::KeyUp}));

  // Past the limit of events in one tick, what is held still arrives.
  for (int i = 0; i < TTickInput::MaxEvents; ++i) input.Button(false, i % 2 == 0);
  input.Release(VK::Right);
  input.Press(VK::Right);
  EXPECT_EQ(input.EventCount, TTickInput::MaxEvents);
  t.Host.Step(input);
  input.NextTick();
  const float x = t.Player().Position.X;
  t.Host.Step(input);
  EXPECT_FLOAT_EQ(t.Player().Position.X, x + t.Player().Speed) << "Right is held";
}

TEST(TickInput, EveryWayOfBuildingTheInputRecordsTheSameGame) {
  // One scripted game, one change a tick at most, in three hosts: calls into
  // the host's own next input, a value of the caller's own with its events,
  // and a value that only says what is held.
  enum class TWay { HostCalls, OwnEvents, HeldOnly };
  auto play = [](TWay way) {
    TTestGame t(InputModes::Mouse, nullptr, 4321);
    TArrange(t.Host).TitleReadyForFire();
    TTickInput own;
    auto step = [&](const std::function<void(TTickInput&)>& change) {
      if (way == TWay::HostCalls) {
        change(t.Host.NextInput());
        t.Host.Step();
        return;
      }
      TTickInput events = own;
      events.NextTick();
      change(events);
      if (way == TWay::OwnEvents) {
        own = events;
      } else {
        // The same held state, but no events at all.
        own.Keys = events.Keys, own.Left = events.Left, own.Right = events.Right;
        own.CursorSet = events.CursorSet, own.CursorX = events.CursorX, own.CursorY = events.CursorY;
        own.EventCount = 0;
      }
      t.Host.Step(own);
    };
    step([](TTickInput& in) { in.Button(true, true); });  // the title's click starts play
    for (int f = 0; f < 900; ++f)
      step([f](TTickInput& in) {
        const int phase = f % 40;
        if (phase % 6 == 0)
          in.Cursor(-400 + (f * 37) % 800, 300 - (f * 53) % 600);
        else if (phase == 7 || phase == 11)
          in.Button(false, phase == 7);  // the ship sent to the cursor
        else if (phase == 13)
          in.Button(true, f % 80 >= 40);  // fire let go and taken up again
        else if (f % 240 == 17)
          in.Press(VK::Space);
        else if (f % 240 == 137)
          in.Release(VK::Space);
      });
    t.Host.FinishGame();
    return std::make_pair(t.Game->Replays().Recorder().Input(), t.Host.LastResult().Checksum);
  };
  const auto calls = play(TWay::HostCalls);
  EXPECT_GT(calls.first.size(), 300u);
  EXPECT_EQ(play(TWay::OwnEvents), calls);
  EXPECT_EQ(play(TWay::HeldOnly), calls);
}

TEST(TickInput, ThePointerCountsInPicturePixelsAndIgnoresAPictureWithNoSize) {
  int x = 1, y = 1;
  EXPECT_FALSE(ArenaPointOfPixel(10, 10, 0, 600, x, y));
  EXPECT_EQ(x, 1);
  TTickInput in;
  in.Pointer(10, 10, 800, 0);
  EXPECT_EQ(in.EventCount, 0);
  EXPECT_FALSE(in.CursorSet);
  in.Pointer(0, 0, 800, 600);
  in.Pointer(600, 150, 800, 600);  // moves in a row: only the last is kept
  ASSERT_EQ(in.EventCount, 1);
  EXPECT_EQ(in.Events[0].X, 300);
  EXPECT_EQ(in.Events[0].Y, 300);
  in.Press(300);  // a key the game does not track
  ASSERT_EQ(in.EventCount, 2);
  EXPECT_EQ(in.Events[1].Kind, TInputEvent::TKind::OtherKeyDown);
  EXPECT_TRUE(in.Keys.none());
}
