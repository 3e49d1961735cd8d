#pragma once
// TBlobGruntXY: the cyan square. Like the grunt, but it closes in on both
// axes at once, so it comes at the ship diagonally; a bomb kill still scores.
#include "enemies/blobEnemy.h"

class TBlobGruntXY : public TBlobEnemy {
 public:
  TBlobGruntXY();
  void Create() override;
};
