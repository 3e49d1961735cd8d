#pragma once
// What the enemy tests share: a counter for destroyed events, runners that
// play an enemy through its grow-in or its explosion, the fixture every
// enemy's tests start from and the one that records what it draws.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "enemies/blobEnemy.h"
#include "entities/blob.h"
#include "entities/blobPlayer.h"
#include "gfx/RecordingRenderer.h"
#include "gfx/ScopedRenderer.h"
#include "sound/RecordingSoundDevice.h"
#include "sound/frmDXSounds.h"

struct TDeaths {
  int Count = 0;
  TBlob* Last = nullptr;
  TVector3 Where{};  // where the sender was when it fired
  void OnDestroyed(TBlob* sender) {
    ++Count;
    Last = sender;
    if (sender) Where = sender->Position;
  }
};

// One frame as the game runs it: the update, then the picture it left.
inline void Frame(TBlob& e) {
  e.Update();
  e.Draw();
}

// Updates until the enemy is alive; the frames it took (at most 1000).
inline int RunUntilAlive(TBlob& e) {
  int frames = 0;
  while (e.State != BlobState::Alive && frames < 1000) {
    Frame(e);
    ++frames;
  }
  return frames;
}

// Runs the explosion to its end; the frames it took (at most 1000).
inline int RunExplosion(TBlob& e) {
  int frames = 0;
  while (e.State == BlobState::Dying && frames < 1000) {
    Frame(e);
    ++frames;
  }
  return frames;
}

// Updates until the enemy reaches the state; the frames it took (at most 5000).
inline int RunUntil(TBlob& e, std::uint8_t state) {
  int frames = 0;
  while (e.State != state && frames < 5000) {
    Frame(e);
    ++frames;
  }
  return frames;
}

// What `draw` puts on a renderer of its own, apart from the frame being
// recorded: the reference a test compares the frame's text with.
template <class TDraw>
std::vector<TRecordedPrimitive> RecordApart(TDraw draw) {
  TRecordingRenderer apart;
  TScopedRenderer installed{apart};
  draw();
  return apart.Primitives;
}

// A ship to chase, a count of destructions and a sound bank that records what
// it plays; Wire gives an enemy what the level manager gives it, without sound
// or effects (a test adds those).
class TEnemyTest : public ::testing::Test {
 protected:
  void Wire(TBlobEnemy& e, const TVector3& at, int lives = 1, bool fixed = false) {
    e.Player = &Player;
    e.OnDestroyed = TBlobEvent::Bind<&TDeaths::OnDestroyed>(&Deaths);
    e.SetSpawn(at, lives, fixed, TVector3{});
  }

  // How often that wave was played; with no name, how many plays in all.
  int Plays(const char* wave) const { return Device.Count(TSoundEvent::TKind::Play, wave); }
  int Plays() const { return Device.Count(TSoundEvent::TKind::Play); }

  // Shoots, bombs and lets a well pull at the enemy: while it grows in or
  // explodes none of it may land, so its state, shield and flash stay and
  // nothing dies, scores or sounds.
  void ExpectUntouchable(TBlobEnemy& e) {
    const std::uint8_t state = e.State;
    const int shield = e.Shield, flash = e.HitFlash, deaths = Deaths.Count, score = Player.Score, plays = Plays();
    e.Hit();
    e.Blast();
    e.Absorb();
    EXPECT_EQ(e.State, state);
    EXPECT_EQ(e.Shield, shield);
    EXPECT_EQ(e.HitFlash, flash);
    EXPECT_EQ(Deaths.Count, deaths);
    EXPECT_EQ(Player.Score, score);
    EXPECT_EQ(Plays(), plays);
  }

  // Brings both to life, bombs the first and lets a well swallow the second:
  // each dies with one destroyed event. The points each kill scored.
  std::pair<int, int> BombAndSwallow(TBlobEnemy& bombed, TBlobEnemy& swallowed) {
    RunUntilAlive(bombed);
    RunUntilAlive(swallowed);
    const int deaths = Deaths.Count, before = Player.Score;
    bombed.Blast();
    EXPECT_EQ(bombed.State, BlobState::Dying);
    EXPECT_EQ(Deaths.Count, deaths + 1);
    const int afterBomb = Player.Score;
    swallowed.Absorb();
    EXPECT_EQ(swallowed.State, BlobState::Dying);
    EXPECT_EQ(Deaths.Count, deaths + 2);
    return {afterBomb - before, Player.Score - afterBomb};
  }

  // What Create leaves of a pooled enemy: waiting to grow in as the kind it
  // is, tied to no ship and no event, with nothing of its last life.
  static void ExpectFresh(const TBlobEnemy& e, std::uint8_t kind, int points) {
    EXPECT_EQ(e.State, BlobState::Spawning);
    EXPECT_EQ(e.Kind, kind);
    EXPECT_EQ(e.Points, points);
    EXPECT_EQ(e.HitFlash, 0);
    EXPECT_EQ(e.Player, nullptr);
    EXPECT_FALSE(e.OnDestroyed.Assigned());
  }

  TBlobPlayer Player;
  TDeaths Deaths;
  TRecordingSoundDevice Device;
  TFormSounds Sounds{Device};
};

// An enemy fixture with a recording renderer installed, for what it draws.
template <class TBase>
class TDrawingTest : public TBase {
 protected:
  // Steps the enemy one frame and gives the last Lines primitive drawn: a
  // wreck's sides flying apart, which come after its points value. Without
  // text the sides are the only Lines drawn; with it there is more before.
  TRecordedPrimitive FlyingSides(TBlob& e, bool afterText = false) {
    Rec.Reset();
    Frame(e);
    const std::vector<const TRecordedPrimitive*> lines = Rec.Find(TPrimitive::Lines);
    if (afterText)
      EXPECT_GT(lines.size(), 1u);
    else
      EXPECT_EQ(lines.size(), 1u);
    return lines.empty() ? TRecordedPrimitive{} : *lines.back();
  }

  TRecordingRenderer Rec;
  TScopedRenderer Installed{Rec};
};
