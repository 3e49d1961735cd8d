#pragma once
// What the enemy tests share: a counter for destroyed events, and runners that
// play an enemy through its grow-in or its explosion.
#include "entities/blob.h"

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
