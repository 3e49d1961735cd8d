#pragma once
// The blue spring lattice under the arena. Bullets push it aside, the
// gravi-bomb sends a ring through it, a hit on the ship sucks it in, and
// gravitars, black holes and bosses bend it. It also carries the pull of the
// gravity wells on the ship and on other entities, and the bomb's shockwave.
#include <vector>

#include "entities/blob.h"
#include "gfx/PdxLib3DTypes.h"

struct TGridPoint {
  TVector3 Position, Rest, Velocity, Acceleration;
  float K = 0;
};

class TGeometryGrid {
 public:
  static constexpr int Size = 50;

  TGeometryGrid();
  // Back to the starting lattice and fields; Player and the lists are kept.
  void Initialise();

  // One step of the springs; Draw shows the lattice as the step left it.
  void Update();
  void Draw() const;
  // Both at once.
  void UpdateAndDraw();
  void AddShockwave(const TVector3& pos);
  void SetCentre(int x, int y);
  void SetPush(float value);
  void PullPlayer(const TBlobList& wells, float divisor);
  void PullEntities(const TBlobList& victims, const TBlobList& wells, float divisor);

  TVector3 ShockwaveCentre;
  bool ShockwaveActive;
  float ShockwaveRadius;
  float ShockwaveWidth;
  float ShockwaveGrowth;
  int ShockwaveSteps;
  int ShockwaveLimit;
  float Gravity;
  TGridPoint Lattice[Size][Size];  // [i along X][j along Y]
  // Where every point stood before the last step: each segment runs from its
  // point as moved to its +X and +Y neighbours as they stood.
  TVector3 Before[Size][Size];
  float Push;
  TVector3 Centre;
  TBlob* Player = nullptr;
  float Damping;
  const TBlobList* Repulsors = nullptr;   // the bullets
  const TBlobList* Wells = nullptr;       // the gravitars
  const TBlobList* Attractors = nullptr;  // black holes and bosses

 private:
  // What pushes and pulls the lattice, gathered once a step in list order
  // (none of it moves while the lattice does): the active bullets' places,
  // and the active wells' and warpers' places with their strength.
  struct TPuller {
    float X, Y, Strength;
  };
  void GatherSources();
  std::vector<TVector3> Shots;
  std::vector<TPuller> WellPulls, WarperPulls;
  // The bullets that can reach the row being worked on, and of those the
  // ones that can reach the stretch of it being worked on.
  static constexpr int Stretch = 7;  // points of a row that share one list
  void ShotsNearRow(int j, float force);
  void ShotsNearStretch(int i0, int j, float force);
  std::vector<int> RowShots, NearShots;
  std::vector<float> ShotDistance;
};
