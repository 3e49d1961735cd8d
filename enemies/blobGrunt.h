#pragma once
// TBlobGrunt: the blue square. Grows in, then hunts the ship one axis at a
// time, lining up on X, then on Y, and so on, faster the longer it lives.
// Five hits kill it; a bomb kill scores nothing.
#include "enemies/blobEnemy.h"

class TBlobGrunt : public TBlobEnemy {
 public:
  TBlobGrunt();
  void Create() override;

  bool FollowX;  // closing in on X now (false: on Y)

 protected:
  void UpdateSpawning() override;
  void Chase(float step) override;
};
