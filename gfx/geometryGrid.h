#pragma once
// The blue spring lattice under the arena. Bullets push it aside, the
// gravi-bomb sends a ring through it, a hit on the ship sucks it in, and
// gravitars, black holes and bosses bend it. It also carries the pull of the
// gravity wells on the ship and on other entities, and the bomb's shockwave.
//
// The lattice only holds the game's entity lists; what it reads of them (the
// bullets' places, the wells' and warpers' places and strengths) and the
// wells' pulls on entities are in entities/blobGridPulls.cpp, which knows
// entities. Everything here works on plain numbers.
#include <vector>

#include "gfx/PdxLib3DTypes.h"

class TBlob;
class TBlobList;

struct TGridPoint {
  TVector3 Position, Rest, Velocity, Acceleration;
  float K = 0;
};

class TGeometryGrid {
 public:
  static constexpr int Size = 50;
  static constexpr int Points = Size * Size;
  // Point (i, j), i along X and j along Y, is number Index(i, j) in the
  // arrays: each row along X lies in one stretch, in the order the step
  // works through the lattice.
  static constexpr int Index(int i, int j) { return j * Size + i; }
  // Pulls in depth are this much weaker than in the plane.
  static constexpr float DepthDamp = 1500.0f;

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

  // Point (i, j) as it stands.
  TGridPoint Point(int i, int j) const;
  // Puts point (i, j) at a place (its velocity and stiffness are kept).
  void PlacePoint(int i, int j, const TVector3& position);
  // No point holds a number that is not finite (place, velocity, stiffness).
  bool AllFinite() const;

  TVector3 ShockwaveCentre;
  bool ShockwaveActive;
  float ShockwaveRadius;
  float ShockwaveWidth;
  float ShockwaveGrowth;
  int ShockwaveSteps;
  int ShockwaveLimit;
  float Gravity;
  float Push;
  TVector3 Centre;
  TBlob* Player = nullptr;
  float Damping;
  const TBlobList* Repulsors = nullptr;   // the bullets
  const TBlobList* Wells = nullptr;       // the gravitars
  const TBlobList* Attractors = nullptr;  // black holes and bosses

 private:
  // The lattice by component, one array each, so that the step's loops over
  // a row work on many points at once. Before* is where every point stood
  // before the last step: each segment runs from its point as moved to its +X
  // and +Y neighbours as they stood.
  struct TLattice {
    float PX[Points], PY[Points], PZ[Points];
    float RX[Points], RY[Points], RZ[Points];
    float VX[Points], VY[Points], VZ[Points];
    float AX[Points], AY[Points], AZ[Points];
    float K[Points];
    float BeforeX[Points], BeforeY[Points], BeforeZ[Points];
  };
  TLattice L;

  // What pushes and pulls the lattice, gathered once a step in list order
  // (none of it moves while the lattice does): the active bullets' places,
  // and the active wells' and warpers' places with their strength.
  struct TPuller {
    float X, Y, Strength;
  };
  void GatherSources();
  std::vector<TVector3> Shots;
  std::vector<TPuller> WellPulls, WarperPulls;

  // The steps of one row j, in the order each point takes them.
  void PushRowByShots(int j, float force);
  void PushRowByRing(int j, float force);
  void PullAndSpringRow(int j);
  // The bullets that can reach row j, and the margin beyond which none can.
  float ShotsNearRow(int j, float force);
  static constexpr int Stretch = 7;  // points of a row that share one list
  std::vector<int> RowShots, NearShots;
  std::vector<float> ShotDistance, StretchDistance;
  // Per point of the row being worked on: 1 while neither a bullet nor the
  // ring has pushed it, else 0 (whole numbers, so the pulls' loops can be
  // worked on many points at once).
  int Alone[Size];
};
