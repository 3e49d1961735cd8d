// The spring lattice under the arena and the gravity it carries: bullets,
// the bomb ring, the push from the ship, wells and warpers, and their pull on
// the ship and on other entities.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "entities/blob.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/RecordingRenderer.h"
#include "gfx/ScopedRenderer.h"
#include "gfx/geometryGrid.h"

namespace {
class TTestWell : public TBlob {
 public:
  explicit TTestWell(float mass) : Mass(mass) {
    Kind = BlobKind::Gravitar;
    Radius = 25;
    Active = true;
  }
  float WellMass() const override { return Mass; }
  float Mass;
};

class TTestVictim : public TBlob {
 public:
  TTestVictim(std::uint8_t kind, TVector3 pos) {
    Kind = kind;
    Position = pos;
    Radius = 25;
    Active = true;
  }
  void Absorb() override { ++Absorbed; }
  int Absorbed = 0;
};

bool Finite(const TVector3& v) { return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z); }

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Grid = std::make_unique<TGeometryGrid>();
    Grid->Repulsors = &Bullets;
    Grid->Wells = &Wells;
    Grid->Attractors = &Warpers;
    Grid->Player = &Player;
    Grid->SetPush(0);
  }

  TBlob* AddBullet(TVector3 pos) {
    TBlob* b = Bullets.Adopt(std::make_unique<TBlob>());
    b->Position = pos;
    b->Active = true;
    return b;
  }
  TTestWell* AddWell(TVector3 pos, float mass) {
    auto* w = static_cast<TTestWell*>(Wells.Adopt(std::make_unique<TTestWell>(mass)));
    w->Position = pos;
    return w;
  }
  TVector3 Rest(int i, int j) const { return Grid->Point(i, j).Rest; }
  TVector3 At(int i, int j) const { return Grid->Point(i, j).Position; }
  bool LatticeFinite() const {
    for (int i = 0; i < TGeometryGrid::Size; ++i)
      for (int j = 0; j < TGeometryGrid::Size; ++j)
        if (!Finite(Grid->Point(i, j).Position) || !Finite(Grid->Point(i, j).Velocity)) return false;
    return true;
  }

  std::unique_ptr<TGeometryGrid> Grid;
  TBlobList Bullets, Wells, Warpers;
  TBlob Player;
};

TEST_F(GridTest, StartsAsAnEvenLatticeAtRest) {
  EXPECT_FLOAT_EQ(Rest(0, 0).X, -500);
  EXPECT_FLOAT_EQ(Rest(0, 0).Y, -500);
  EXPECT_FLOAT_EQ(Rest(0, 0).Z, -0.01f);
  EXPECT_NEAR(Rest(49, 49).X, 499.6f, 1e-3f);
  EXPECT_NEAR(Rest(3, 7).Y, 7 * 20.4f - 500, 1e-3f);
  EXPECT_FLOAT_EQ(Grid->Point(12, 34).K, 0.02f);
  EXPECT_FLOAT_EQ(At(12, 34).X, Rest(12, 34).X);
}

TEST_F(GridTest, ADisplacedPointSettlesBackAndTheLatticeComesToRest) {
  Grid->PlacePoint(10, 10, MakeVector(At(10, 10).X + 8, At(10, 10).Y - 5, At(10, 10).Z));
  Grid->UpdateAndDraw();
  EXPECT_LT(std::fabs(At(10, 10).X - Rest(10, 10).X), 8);  // already on its way back
  for (int frame = 0; frame < 400; ++frame) Grid->UpdateAndDraw();
  EXPECT_NEAR(At(10, 10).X, Rest(10, 10).X, 1e-3f);
  EXPECT_NEAR(At(10, 10).Y, Rest(10, 10).Y, 1e-3f);
  EXPECT_NEAR(Grid->Point(10, 10).Velocity.X, 0, 1e-4f);
  EXPECT_NEAR(Grid->Point(10, 10).K, 0.01f - 0.000001f, 1e-7f);
}

TEST_F(GridTest, BulletsPushOnlyStrictlyWithinThirtyUnits) {
  const TVector3 p = Rest(25, 25);
  TBlob* bullet = AddBullet(MakeVector(p.X + 30, p.Y, p.Z));
  Grid->UpdateAndDraw();
  EXPECT_EQ(At(25, 25).X, p.X);

  Grid->Initialise();
  Grid->SetPush(0);
  bullet->Position.X = p.X + 29.9f;
  bullet->Position.Z = p.Z + 0.1f;
  Grid->UpdateAndDraw();
  // 4.4 units away from the bullet, then one spring step back (K 0.02).
  const float pushed = p.X - 4.4f;
  EXPECT_NEAR(At(25, 25).X, pushed + (p.X - pushed) * 0.02f * 0.92f, 1e-3f);
  EXPECT_NEAR(At(25, 25).Y, p.Y, 1e-5f);
  // In depth only a 256th of that.
  const float sunk = p.Z - 4.4f * 0.1f / 29.9f / 256;
  EXPECT_NEAR(At(25, 25).Z, sunk + (p.Z - sunk) * 0.02f * 0.92f, 1e-7f);

  // An inactive bullet pushes nothing.
  Grid->Initialise();
  Grid->SetPush(0);
  bullet->Active = false;
  Grid->UpdateAndDraw();
  EXPECT_EQ(At(25, 25).X, p.X);
}

// The long runs' check of the lattice: any one number that is not finite,
// anywhere, is found; the largest finite ones are not taken for it.
TEST_F(GridTest, AllFiniteFindsAnyNumberThatIsNot) {
  EXPECT_TRUE(Grid->AllFinite());
  Grid->PlacePoint(49, 49, MakeVector(3.4e38f, -3.4e38f, -1e-45f));
  EXPECT_TRUE(Grid->AllFinite());
  for (const float bad : {INFINITY, -INFINITY, NAN}) {
    for (int axis = 0; axis < 3; ++axis) {
      Grid->Initialise();
      TVector3 at = Rest(7, 31);
      (axis == 0 ? at.X : axis == 1 ? at.Y : at.Z) = bad;
      Grid->PlacePoint(7, 31, at);
      EXPECT_FALSE(Grid->AllFinite()) << bad << " on axis " << axis;
    }
  }
  // A velocity that is not finite comes from a position that was not.
  Grid->Initialise();
  Grid->PlacePoint(0, 0, MakeVector(NAN, -500, 0));
  Grid->Update();
  Grid->PlacePoint(0, 0, Rest(0, 0));
  EXPECT_FALSE(Grid->AllFinite());
}

TEST_F(GridTest, APointDirectlyUnderABulletStaysFinite) {
  AddBullet(Rest(20, 20));
  Grid->SetPush(45000);
  Grid->UpdateAndDraw();
  EXPECT_TRUE(LatticeFinite());
  EXPECT_EQ(At(20, 20).X, Rest(20, 20).X);  // under the bullet: neither pushed nor pulled
}

TEST_F(GridTest, TheShockwaveRunsOnceForAboutEightyThreeFrames) {
  Grid->AddShockwave(MakeVector(10, 20, 0));
  Grid->UpdateAndDraw();
  EXPECT_NEAR(Grid->ShockwaveRadius, 50 + 2401 * 0.0026f, 0.05f);
  EXPECT_EQ(Grid->ShockwaveSteps, 2401);

  // A second bomb while the ring runs changes nothing.
  const float radius = Grid->ShockwaveRadius;
  Grid->AddShockwave(MakeVector(-300, -300, 0));
  EXPECT_EQ(Grid->ShockwaveCentre.X, 10);
  EXPECT_EQ(Grid->ShockwaveRadius, radius);
  EXPECT_EQ(Grid->ShockwaveSteps, 2401);

  for (int frame = 1; frame < 83; ++frame) Grid->UpdateAndDraw();
  EXPECT_TRUE(Grid->ShockwaveActive);
  EXPECT_GT(Grid->ShockwaveRadius, 560);
  Grid->UpdateAndDraw();
  EXPECT_FALSE(Grid->ShockwaveActive);
  EXPECT_EQ(Grid->ShockwaveRadius, 50);
  EXPECT_EQ(Grid->ShockwaveSteps, 0);

  Grid->AddShockwave(MakeVector(-300, -300, 0));
  EXPECT_TRUE(Grid->ShockwaveActive);
  EXPECT_EQ(Grid->ShockwaveCentre.X, -300);
}

TEST_F(GridTest, APointInTheRingIsPushedOutAndNotPulledThatFrame) {
  const TVector3 p = Rest(25, 25);
  Grid->SetPush(45000);
  AddWell(MakeVector(p.X, p.Y + 50, 0), 1000000);
  // Without the ring, the well drags the point towards it.
  Grid->UpdateAndDraw();
  EXPECT_GT(At(25, 25).Y, p.Y + 5);

  Grid->Initialise();
  Grid->SetPush(45000);
  // Radius when this point is reached: 50 + 1251 * 0.0026, so r = 40 is in the band.
  Grid->AddShockwave(MakeVector(p.X + 40, p.Y, 0));
  Grid->UpdateAndDraw();
  const float pushed = p.X - 6;
  EXPECT_NEAR(At(25, 25).X, pushed + (p.X - pushed) * 0.02f * 0.92f, 1e-3f);
  EXPECT_EQ(At(25, 25).Y, p.Y);
  EXPECT_NEAR(At(25, 25).Z, p.Z, 1e-5f) << "the ring barely moves it in depth";

  // The band is 20 wide: 25 units from the centre is inside the ring, not on it.
  Grid->Initialise();
  Grid->SetPush(0);
  Grid->AddShockwave(MakeVector(p.X + 25, p.Y, 0));
  Grid->UpdateAndDraw();
  EXPECT_EQ(At(25, 25).X, p.X);
}

TEST_F(GridTest, TheLastRowAndColumnNeverMove) {
  Grid->AddShockwave(MakeVector(480, 480, 0));
  AddBullet(Rest(49, 30));
  AddBullet(MakeVector(Rest(10, 49).X + 3, Rest(10, 49).Y, 0));
  AddWell(MakeVector(470, 470, 0), 5000000);
  Grid->SetPush(-4000000);
  for (int frame = 0; frame < 90; ++frame) Grid->UpdateAndDraw();
  for (int k = 0; k < TGeometryGrid::Size; ++k) {
    ASSERT_EQ(At(49, k).X, Rest(49, k).X);
    ASSERT_EQ(At(k, 49).Y, Rest(k, 49).Y);
    ASSERT_EQ(At(k, 49).Z, Rest(k, 49).Z);
  }
  EXPECT_NE(At(48, 48).X, Rest(48, 48).X);  // while their neighbours were shaken
}

TEST_F(GridTest, AHitSucksTheLatticeTowardsTheShipAndThePushDrivesItAway) {
  Grid->SetCentre(0, 0);
  Grid->SetPush(-4000000);
  Grid->UpdateAndDraw();
  EXPECT_LT(At(30, 25).X, Rest(30, 25).X);  // right of the ship: pulled left
  EXPECT_GT(At(20, 25).X, Rest(20, 25).X);
  // and only a little towards the depth the pull comes from.
  EXPECT_LT(At(30, 25).Z, Rest(30, 25).Z);
  EXPECT_GT(At(30, 25).Z, Rest(30, 25).Z - 1e-4f);

  Grid->Initialise();
  Grid->SetCentre(0, 0);
  Grid->UpdateAndDraw();  // the starting push of 45000
  EXPECT_GT(At(30, 25).X, Rest(30, 25).X);
}

TEST_F(GridTest, WarpersBendEvenPointsUnderABullet) {
  TBlob warper;
  warper.Active = true;
  warper.GridMass = 2000000;
  warper.Position = MakeVector(Rest(25, 25).X + 60, Rest(25, 25).Y, 0);
  Warpers.Add(&warper);
  AddBullet(Rest(25, 25));  // right on the point: disturbed, not pushed
  Grid->UpdateAndDraw();
  EXPECT_GT(At(25, 25).X, Rest(25, 25).X + 0.1f);
  // A warper exactly over a point dragged down to its depth does no harm.
  Grid->Initialise();
  Grid->SetPush(0);
  Grid->PlacePoint(10, 10, MakeVector(Rest(10, 10).X, Rest(10, 10).Y, -50));
  warper.Position = MakeVector(Rest(10, 10).X, Rest(10, 10).Y, 0);
  AddWell(warper.Position, 3000000);
  Grid->UpdateAndDraw();
  EXPECT_TRUE(LatticeFinite());
}

TEST_F(GridTest, ABulletPushesAPointIntoTheReachOfAFartherOne) {
  // The near bullet, 3 off, pushes the point 4.4 away, within the reach of
  // one 32 off the other way: it pushes back. One 40 off never reaches it.
  // Along Y in the middle of a row; along X at the first point of the seven
  // that share a list of bullets, the far one off the end of the seven.
  const struct {
    const char* Axis;
    int I, J;
    float TVector3::*Along;
  } cases[] = {{"Y", 25, 25, &TVector3::Y}, {"X", 21, 25, &TVector3::X}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Axis);
    const TVector3 r = Rest(c.I, c.J);
    auto settle = [&](std::initializer_list<float> offsets) {
      Grid->Initialise();
      Grid->SetPush(0);
      Bullets.Clear();
      for (const float d : offsets) {
        TVector3 at = MakeVector(r.X, r.Y, 0);
        at.*c.Along += d;
        AddBullet(at);
      }
      Grid->Update();
      return At(c.I, c.J).*c.Along;
    };
    const float nearOnly = settle({3});
    EXPECT_LT(nearOnly, r.*c.Along - 1);
    EXPECT_GT(settle({3, -32}), nearOnly + 1) << "the farther bullet pushed it back";
    EXPECT_EQ(settle({3, -40}), nearOnly);
    // The other way round: the far one is out of reach when its turn comes,
    // and the near one's push comes too late for it.
    EXPECT_EQ(settle({-32, 3}), nearOnly);
  }
}

TEST_F(GridTest, DrawsEverySegmentInOneBatchWithNeighboursNotYetMoved) {
  TRecordingRenderer rec;
  const TScopedRenderer installed(rec);
  Grid->PlacePoint(1, 0, MakeVector(At(1, 0).X + 5, At(1, 0).Y, At(1, 0).Z));
  const TVector3 before = At(1, 0);
  Grid->UpdateAndDraw();
  ASSERT_EQ(rec.Primitives.size(), 1u);
  const TRecordedPrimitive& lines = rec.Primitives[0];
  EXPECT_EQ(lines.Prim, TPrimitive::Lines);
  EXPECT_EQ(lines.Vertices.size(), 4u * 49 * 49);
  EXPECT_FLOAT_EQ(lines.Colour.B, 1);
  EXPECT_FLOAT_EQ(lines.Colour.A, 0.4f);
  EXPECT_EQ(lines.LineWidth, 1);
  EXPECT_EQ(rec.StackDepth(), 0);
  // Point [0][0] to [1][0] ends where [1][0] stood before this frame; the
  // segments of [1][0] itself start where it has moved to.
  EXPECT_EQ(lines.Vertices[1].X, before.X);
  EXPECT_EQ(lines.Vertices[4].X, At(1, 0).X);
  EXPECT_NE(At(1, 0).X, before.X);
  EXPECT_EQ(lines.Vertices[3].Y, Rest(0, 1).Y);
}

TEST_F(GridTest, WellsPullTheShipCappedOnlyFromAbove) {
  Player.Position = MakeVector(0, 0, 0);
  TTestWell* well = AddWell(MakeVector(1, 0, 0), 1000000);
  Grid->PullPlayer(Wells, 1);
  EXPECT_FLOAT_EQ(Player.Position.X, 0.1f);
  EXPECT_EQ(Player.Position.Y, 0);
  EXPECT_NEAR(Player.Position.Z, -10.0f / 1500, 1e-5f);  // in depth, uncapped downwards but damped

  Player.Position = MakeVector(0, 0, 0);
  well->Position = MakeVector(-1, 0, 0);
  Grid->PullPlayer(Wells, 1);
  EXPECT_LT(Player.Position.X, -100);  // the same pull the other way is not cut

  // The divisor weakens it; an inactive well does nothing.
  Player.Position = MakeVector(0, 0, 0);
  well->Position = MakeVector(-100, 0, 0);
  Grid->PullPlayer(Wells, 1);
  const float full = Player.Position.X;
  Player.Position = MakeVector(0, 0, 0);
  Grid->PullPlayer(Wells, 8);
  EXPECT_NEAR(Player.Position.X, full / 8, 1e-5f);
  Player.Position = MakeVector(0, 0, 0);
  well->Active = false;
  Grid->PullPlayer(Wells, 1);
  EXPECT_EQ(Player.Position.X, 0);
}

TEST_F(GridTest, AShipExactlyOnAWellStaysFinite) {
  AddWell(MakeVector(5, 5, 0), 1000000);
  Player.Position = MakeVector(5, 5, -0.01f);
  Grid->PullPlayer(Wells, 1);
  EXPECT_TRUE(Finite(Player.Position));
  EXPECT_EQ(Player.Position.X, 5);
}

TEST_F(GridTest, WellsSwallowTouchingEntitiesButNotGravitarsOrMessages) {
  AddWell(MakeVector(0, 0, 0), 1000000);
  TBlobList victims;
  auto* touching =
      static_cast<TTestVictim*>(victims.Adopt(std::make_unique<TTestVictim>(BlobKind::Grunt, MakeVector(-30, 0, 0))));
  auto* far =
      static_cast<TTestVictim*>(victims.Adopt(std::make_unique<TTestVictim>(BlobKind::Boid, MakeVector(-300, 0, 0))));
  auto* gravitar =
      static_cast<TTestVictim*>(victims.Adopt(std::make_unique<TTestVictim>(BlobKind::Gravitar, MakeVector(10, 0, 0))));
  auto* message =
      static_cast<TTestVictim*>(victims.Adopt(std::make_unique<TTestVictim>(BlobKind::Message, MakeVector(10, 0, 0))));
  auto* dead =
      static_cast<TTestVictim*>(victims.Adopt(std::make_unique<TTestVictim>(BlobKind::Grunt, MakeVector(5, 0, 0))));
  dead->Active = false;

  Grid->PullEntities(victims, Wells, 1);
  EXPECT_EQ(touching->Absorbed, 1);
  EXPECT_FLOAT_EQ(touching->Position.X, -29);  // pulled as well, capped at 1.0 towards the well
  EXPECT_EQ(far->Absorbed, 0);
  EXPECT_FLOAT_EQ(far->Position.X, -299);
  for (TTestVictim* skipped : {gravitar, message, dead}) {
    EXPECT_EQ(skipped->Absorbed, 0);
    EXPECT_EQ(skipped->Position.X, skipped == dead ? 5 : 10);
  }

  // From the other side the pull is not capped.
  touching->Position = MakeVector(2, 0, 0);
  Grid->PullEntities(victims, Wells, 1);
  EXPECT_LT(touching->Position.X, -10);
}

TEST_F(GridTest, AnEntityExactlyOnAWellIsSwallowedAndStaysFinite) {
  AddWell(MakeVector(40, -40, 0), 2000000);
  TBlobList victims;
  auto* v = static_cast<TTestVictim*>(
      victims.Adopt(std::make_unique<TTestVictim>(BlobKind::Grunt, MakeVector(40, -40, -0.01f))));
  Grid->PullEntities(victims, Wells, 8);
  EXPECT_EQ(v->Absorbed, 1);
  EXPECT_TRUE(Finite(v->Position));
}

TEST_F(GridTest, InitialiseRestoresTheLatticeAndKeepsItsWiring) {
  Grid->AddShockwave(MakeVector(0, 0, 0));
  Grid->SetPush(-4000000);
  Grid->SetCentre(100, -200);
  Grid->Gravity = 0.5f;
  AddBullet(Rest(5, 5));
  for (int frame = 0; frame < 10; ++frame) Grid->UpdateAndDraw();

  Grid->Initialise();
  EXPECT_FALSE(Grid->ShockwaveActive);
  EXPECT_EQ(Grid->ShockwaveRadius, 50);
  EXPECT_EQ(Grid->ShockwaveSteps, 0);
  EXPECT_EQ(Grid->Push, 45000);
  EXPECT_EQ(Grid->Centre.X, 0);
  EXPECT_EQ(Grid->Centre.Y, 0);
  EXPECT_EQ(Grid->Centre.Z, -50);
  EXPECT_FLOAT_EQ(Grid->Gravity, 0.001f);
  EXPECT_FLOAT_EQ(Grid->Damping, 0.92f);
  for (int i = 0; i < TGeometryGrid::Size; ++i)
    for (int j = 0; j < TGeometryGrid::Size; ++j) {
      const TGridPoint p = Grid->Point(i, j);
      ASSERT_EQ(p.Position.X, p.Rest.X);
      ASSERT_EQ(p.Position.Y, p.Rest.Y);
      ASSERT_EQ(p.Velocity.X, 0);
      ASSERT_EQ(p.K, 0.02f);
    }
  EXPECT_EQ(Grid->Player, &Player);
  EXPECT_EQ(Grid->Repulsors, &Bullets);
  EXPECT_EQ(Grid->Wells, &Wells);
  EXPECT_EQ(Grid->Attractors, &Warpers);
}
// The lattice's step done the plain way, one point at a time through every
// rule in turn, with every bullet tried on every point: the grid's own step,
// however it is arranged, must come out the same to the last bit.
struct TPlainLattice {
  TGridPoint P[TGeometryGrid::Size][TGeometryGrid::Size];
  float Radius = 50;
  int Steps = 0;
  bool Ring = false;

  static void Attract(TGridPoint& p, float tx, float ty, float s) {
    const float dx = tx - p.Position.X, dy = ty - p.Position.Y, dz = -50 - p.Position.Z;
    const float r2 = dx * dx + dy * dy + dz * dz;
    if (!(r2 > 0)) return;
    const float r = std::sqrt(r2);
    p.Position.X += s * dx / r2;
    p.Position.Y += s * dy / r2;
    p.Position.Z += (s * (dz / r) / r2) / 1500;
  }
  static void PushAlong(TGridPoint& p, float dx, float dy, float dz, float r, float f) {
    const float k = f / r;
    p.Position.X += k * dx;
    p.Position.Y += k * dy;
    p.Position.Z += (k * dz) / 256;
  }
  void Step(const std::vector<TVector3>& shots, TVector3 ringCentre, TVector3 centre, float push,
            const std::vector<TVector3>& wells, const std::vector<TVector3>& warpers) {
    const float g = 0.001f;
    for (int j = 0; j < 49; ++j)
      for (int i = 0; i < 49; ++i) {
        TGridPoint& p = P[i][j];
        bool disturbed = false;
        for (const TVector3& b : shots) {
          const float dx = b.X - p.Position.X, dy = b.Y - p.Position.Y, dz = b.Z - p.Position.Z;
          const float r = std::sqrt(dx * dx + dy * dy + dz * dz);
          if (!(r < 30)) continue;
          disturbed = true;
          if (r > 0) PushAlong(p, dx, dy, dz, r, -g * 4400);
        }
        if (Ring) {
          const float dx = ringCentre.X - p.Position.X, dy = ringCentre.Y - p.Position.Y,
                      dz = ringCentre.Z - p.Position.Z;
          const float r = std::sqrt(dx * dx + dy * dy + dz * dz);
          Radius += 0.0026f;
          if (++Steps > 200000) Radius = 50, Steps = 0, Ring = false;
          if (r > Radius - 20 && r < Radius && r > 0) PushAlong(p, dx, dy, dz, r, -g * 6000), disturbed = true;
        }
        if (!disturbed) {
          if (-g * push != 0) Attract(p, centre.X, centre.Y, -g * push);
          p.K = 0.01f;
          for (const TVector3& w : wells) Attract(p, w.X, w.Y, g * w.Z);
        }
        for (const TVector3& w : warpers) Attract(p, w.X, w.Y, g * w.Z), p.K = 0.01f;
        p.Acceleration.X = (p.Rest.X - p.Position.X) * p.K;
        p.Acceleration.Y = (p.Rest.Y - p.Position.Y) * p.K;
        p.Acceleration.Z = (p.Rest.Z - p.Position.Z) * p.K;
        p.Velocity.X = (p.Velocity.X + p.Acceleration.X) * 0.92f;
        p.Velocity.Y = (p.Velocity.Y + p.Acceleration.Y) * 0.92f;
        p.Velocity.Z = (p.Velocity.Z + p.Acceleration.Z) * 0.92f;
        p.Position.X += p.Velocity.X;
        p.Position.Y += p.Velocity.Y;
        p.Position.Z += p.Velocity.Z;
        p.K -= 0.000001f;
        if (p.K < 0.00000001f) p.K = 0.00000001f;
      }
  }
};

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST_F(GridTest, TheStepIsThePlainRuleAppliedPointByPoint) {
  // A busy arena: forty bullets crossing it (some in tight clusters, one dead
  // on a point), two wells, a warper, the ship's push and a hit's suck, and
  // one bomb ring after another.
  RandomSeed(77);
  std::vector<TBlob*> shots;
  std::vector<TVector3> heading;
  for (int b = 0; b < 40; ++b) {
    const float x = b < 10 ? 100 + float(b) : (Random() - 0.5f) * 1000;
    shots.push_back(AddBullet(MakeVector(x, (Random() - 0.5f) * 1000, b % 3 == 0 ? 0.5f : -0.01f)));
    heading.push_back(MakeVector((Random() - 0.5f) * 16, (Random() - 0.5f) * 16, 0));
  }
  shots[0]->Position = Rest(20, 20);
  heading[0] = TVector3{};
  TTestWell* well = AddWell(MakeVector(-200, 150, 0), 40000);
  AddWell(MakeVector(300, -250, 0), 25000);
  TBlob warper;
  warper.Active = true;
  warper.GridMass = 60000;
  warper.Position = MakeVector(50, 60, 0);
  Warpers.Add(&warper);

  TPlainLattice plain;
  for (int i = 0; i < TGeometryGrid::Size; ++i)
    for (int j = 0; j < TGeometryGrid::Size; ++j) plain.P[i][j] = Grid->Point(i, j);
  for (int frame = 0; frame < 400; ++frame) {
    SCOPED_TRACE(frame);
    const float push = frame % 97 == 5 ? -4000000.0f : 45000.0f;
    const TVector3 centre = MakeVector(float(frame % 200) - 100, 40, -50);
    if (!Grid->ShockwaveActive) {
      const TVector3 ring = MakeVector(float(frame) - 200, -30, 0);
      Grid->AddShockwave(ring);
      plain.Ring = true;
    }
    well->Active = frame < 300;
    std::vector<TVector3> shotPlaces, wellPlaces, warperPlaces{MakeVector(50, 60, 60000)};
    for (TBlob* b : shots) shotPlaces.push_back(b->Position);
    for (const TBlob* w : Wells)
      if (w->Active) wellPlaces.push_back(MakeVector(w->Position.X, w->Position.Y, w->WellMass()));
    Grid->SetPush(push);
    Grid->SetCentre(int(centre.X), int(centre.Y));
    plain.Step(shotPlaces, Grid->ShockwaveCentre, centre, push, wellPlaces, warperPlaces);
    Grid->Update();
    ASSERT_TRUE(SameBits(Grid->ShockwaveRadius, plain.Radius));
    ASSERT_EQ(Grid->ShockwaveSteps, plain.Steps);
    for (int i = 0; i < TGeometryGrid::Size; ++i)
      for (int j = 0; j < TGeometryGrid::Size; ++j) {
        const TGridPoint a = Grid->Point(i, j), &b = plain.P[i][j];
        ASSERT_TRUE(SameBits(a.Position.X, b.Position.X) && SameBits(a.Position.Y, b.Position.Y) &&
                    SameBits(a.Position.Z, b.Position.Z) && SameBits(a.Velocity.X, b.Velocity.X) &&
                    SameBits(a.Velocity.Y, b.Velocity.Y) && SameBits(a.Velocity.Z, b.Velocity.Z) && SameBits(a.K, b.K))
            << "point " << i << ", " << j << " at (" << a.Position.X << ", " << a.Position.Y << ") not ("
            << b.Position.X << ", " << b.Position.Y << ")";
      }
    for (size_t b = 0; b < shots.size(); ++b) {
      TVector3& at = shots[b]->Position;
      at.X += heading[b].X, at.Y += heading[b].Y;
      if (at.X > 520 || at.X < -520) heading[b].X = -heading[b].X;
      if (at.Y > 520 || at.Y < -520) heading[b].Y = -heading[b].Y;
    }
  }
}
}  // namespace
