#pragma once
// What the enemy tests share: a counter for destroyed events, runners that
// play an enemy through its grow-in or its explosion, and the fixture every
// enemy's tests start from.
#include <gtest/gtest.h>

#include "enemies/blobEnemy.h"
#include "entities/blob.h"
#include "entities/blobPlayer.h"

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

// Updates until the enemy is alive; the frames it took (at most 1000).
inline int RunUntilAlive(TBlob& e) {
  int frames = 0;
  while (e.State != BlobState::Alive && frames < 1000) {
    e.Update();
    ++frames;
  }
  return frames;
}

// Runs the explosion to its end; the frames it took (at most 1000).
inline int RunExplosion(TBlob& e) {
  int frames = 0;
  while (e.State == BlobState::Dying && frames < 1000) {
    e.Update();
    ++frames;
  }
  return frames;
}

// Updates until the enemy reaches the state; the frames it took (at most 5000).
inline int RunUntil(TBlob& e, std::uint8_t state) {
  int frames = 0;
  while (e.State != state && frames < 5000) {
    e.Update();
    ++frames;
  }
  return frames;
}

// A ship to chase and a count of destructions; Wire gives an enemy what the
// level manager gives it, without sound or effects (a test adds those).
class TEnemyTest : public ::testing::Test {
 protected:
  void Wire(TBlobEnemy& e, const TVector3& at, int lives = 1, bool fixed = false) {
    e.Player = &Player;
    e.OnDestroyed = TBlobEvent::Bind<&TDeaths::OnDestroyed>(&Deaths);
    e.SetSpawn(at, lives, fixed, TVector3{});
  }

  TBlobPlayer Player;
  TDeaths Deaths;
};
