// The binary black hole: its shrinking orbit and the collapse that hurts the
// ship, the 500-point shield with six-point bombs, the grid mass pulse, the
// ring with its swirl of sparks, and respawning back onto the orbit.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/blobBinaryBlackHole.h"
#include "entities/blobPlayer.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "tests/support/EnemyFixture.h"

namespace {
float OrbitDegrees(const TBlob& b) {
  float a = std::atan2(b.Position.Y, b.Position.X) * 180.0f / 3.14159265f;
  if (a < 0) a += 360;
  return a;
}

float OrbitDistance(const TBlob& b) { return std::hypot(b.Position.X, b.Position.Y); }

// Difference of two angles in degrees, folded into -180..180.
float AngleBetween(float a, float b) {
  float d = std::fmod(a - b, 360.0f);
  if (d > 180) d -= 360;
  if (d < -180) d += 360;
  return d;
}

class BlackHoleTest : public TDrawingTest<TEnemyTest> {
 protected:
  void SetUp() override { RandomSeed(31); }

  void Wire(TBlobBinaryBlackHole& h, int orbitAngle, int lives = 1) {
    TEnemyTest::Wire(h, MakeVector(0, 0, 0), lives);
    h.OrbitAngle = orbitAngle;
  }
};

TEST_F(BlackHoleTest, ThreeHolesStayAThirdOfATurnApartWhileTheyOrbitAndShrink) {
  TBlobBinaryBlackHole holes[3];
  for (int i = 0; i < 3; ++i) Wire(holes[i], 120 * i);

  // First spawning frame: on the orbit of radius 400 at the start angle.
  for (auto& h : holes) Frame(h);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(OrbitDistance(holes[i]), 400, 0.01f);
    EXPECT_NEAR(AngleBetween(OrbitDegrees(holes[i]), 120.0f * i), 0, 0.01f);
  }
  for (auto& h : holes) EXPECT_EQ(RunUntil(h, BlobState::Alive), 24);

  for (int frame = 1; frame <= 700; ++frame) {
    for (auto& h : holes) Frame(h);
    if (frame % 100 != 0) continue;
    for (int i = 0; i < 3; ++i) {
      const float gap = AngleBetween(OrbitDegrees(holes[(i + 1) % 3]), OrbitDegrees(holes[i]));
      EXPECT_NEAR(gap, 120, 0.05f) << "frame " << frame;
      EXPECT_FLOAT_EQ(holes[i].OrbitRadius, holes[0].OrbitRadius);
    }
  }
  // Anticlockwise at a degree a frame; the position uses the radius before
  // this frame's shrink.
  EXPECT_EQ(holes[0].OrbitAngle, 700 % 360);
  EXPECT_NEAR(OrbitDistance(holes[0]), 400 - 699 * 0.2f, 0.05f);
  EXPECT_NEAR(holes[0].OrbitRadius, 400 - 700 * 0.2f, 0.05f);
}

TEST_F(BlackHoleTest, ALoneHoleCollapsesAfter1950FramesAndHurtsTheShipWhenItsExplosionEnds) {
  // The collapse counts towards the quota, for no points, only once its blow
  // has landed and only when the ship lives through it; a held ship never
  // passes 100, however many holes collapse in the same frame.
  struct TCase {
    const char* What;
    int Holes, Damage;
    bool Held, Wrecked;
    int DamageAfter, Counted;
  };
  const TCase cases[] = {
      {"a fresh ship lives through it", 1, 0, false, false, 100, 1},
      {"the blow wrecks the ship", 1, 7, false, false, 107, 0},
      {"the game is already over", 1, 0, false, true, 100, 0},
      {"three at once on a fresh ship", 3, 0, false, false, 300, 1},
      {"three at once on a held ship", 3, 50, true, false, 100, 3},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    Player.Create();
    Deaths = TDeaths{};
    TBlobBinaryBlackHole holes[3];
    for (int i = 0; i < c.Holes; ++i) {
      Wire(holes[i], 240);
      RunUntil(holes[i], BlobState::Alive);
    }
    Player.Damage = c.Damage;
    Player.DamageHeld = c.Held;
    Player.Wrecked = c.Wrecked;

    TBlobBinaryBlackHole& h = holes[0];
    auto frame = [&] {
      for (int i = 0; i < c.Holes; ++i) holes[i].Update();
    };
    for (int i = 0; i < 1949; ++i) frame();
    EXPECT_EQ(h.State, BlobState::Alive);
    frame();
    EXPECT_EQ(h.State, BlobState::Dying);
    EXPECT_TRUE(h.Collapsed);
    EXPECT_LT(h.OrbitRadius, 10);

    // The blow lands on the last frame of the 50-frame explosion, not before.
    for (int i = 0; i < 49; ++i) frame();
    EXPECT_EQ(Player.Damage, c.Damage);
    EXPECT_EQ(Deaths.Count, 0) << "nothing counts before the blow";
    EXPECT_EQ(h.State, BlobState::Dying);
    frame();
    EXPECT_EQ(Player.Damage, c.DamageAfter);
    EXPECT_FALSE(h.Active);
    EXPECT_EQ(Deaths.Count, c.Counted);
    EXPECT_EQ(Player.Score, 0);
  }
}

TEST_F(BlackHoleTest, ACollapsedHoleSwellsWhiteWhileAShotOneSwellsBlue) {
  TBlobBinaryBlackHole h;
  Wire(h, 0);
  RunUntil(h, BlobState::Alive);
  h.Shield = 1;
  h.Hit();
  ASSERT_EQ(h.State, BlobState::Dying);
  Rec.Reset();
  Frame(h);
  auto lines = Rec.Find(TPrimitive::Lines);
  ASSERT_FALSE(lines.empty());
  EXPECT_FLOAT_EQ(lines[0]->Colour.B, 1);
  EXPECT_FLOAT_EQ(lines[0]->Colour.R, 0);

  TBlobBinaryBlackHole c;
  Wire(c, 0);
  RunUntil(c, BlobState::Alive);
  RunUntil(c, BlobState::Dying);
  Rec.Reset();
  const float pulse = c.PulseScale;
  Frame(c);
  lines = Rec.Find(TPrimitive::Lines);
  ASSERT_FALSE(lines.empty());
  EXPECT_FLOAT_EQ(lines[0]->Colour.R, 1);
  EXPECT_FLOAT_EQ(lines[0]->Colour.G, 1);
  // Drawn at 1.4 times the pulse, which then grows by 8 percent a frame.
  const TVector3 v = lines[0]->Vertices[0];
  EXPECT_NEAR(std::hypot(v.X - c.Position.X, v.Y - c.Position.Y), 25 * 1.4f * pulse, 0.01f);
  EXPECT_FLOAT_EQ(c.PulseScale, pulse * 1.08f);
}

TEST_F(BlackHoleTest, FiveHundredHitsOrEightyFourBombsDestroyItWithPoints) {
  TBlobBinaryBlackHole h;
  Wire(h, 0);
  h.Sounds = &Sounds;
  RunUntil(h, BlobState::Alive);
  ASSERT_EQ(h.Shield, 500);
  for (int i = 0; i < 499; ++i) h.Hit();
  EXPECT_EQ(h.State, BlobState::Alive);
  EXPECT_EQ(Plays("GruntHit"), 499);
  h.Hit();
  EXPECT_EQ(h.State, BlobState::Dying);
  EXPECT_EQ(Plays("GruntHit"), 500);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 50);

  TBlobBinaryBlackHole b;
  Wire(b, 0);
  b.Sounds = &Sounds;
  RunUntil(b, BlobState::Alive);
  for (int i = 0; i < 83; ++i) {
    b.HitFlash = 0;
    b.Blast();
    EXPECT_EQ(b.HitFlash, 10);  // a bomb flashes like a hit
  }
  EXPECT_EQ(b.Shield, 2);
  EXPECT_EQ(b.State, BlobState::Alive);
  EXPECT_EQ(Plays("GruntHit"), 583);
  b.Blast();  // to -4: destroyed, with points
  EXPECT_EQ(b.State, BlobState::Dying);
  EXPECT_EQ(Deaths.Count, 2);
  EXPECT_EQ(Player.Score, 100);
}

TEST_F(BlackHoleTest, AGravityWellSwallowsItWithoutPointsAndOnlyTheLivingCanBeTouched) {
  TBlobBinaryBlackHole h;
  Wire(h, 0);
  Frame(h);
  ExpectUntouchable(h);
  EXPECT_EQ(h.Shield, 500);

  RunUntil(h, BlobState::Alive);
  h.Absorb();
  EXPECT_EQ(h.State, BlobState::Dying);
  EXPECT_EQ(h.Shield, -1);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 0);
  EXPECT_FALSE(h.Collapsed);

  h.Hit();
  h.Blast();
  h.Absorb();
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 0);
  // Its explosion ends without harm to the ship.
  RunUntil(h, BlobState::Spawning);
  EXPECT_EQ(Player.Damage, 0);
}

TEST_F(BlackHoleTest, GridMassClimbsInSteps0f10000AndDropsToZeroPastFiveMillion) {
  TBlobBinaryBlackHole h;
  Wire(h, 0);
  RunUntil(h, BlobState::Alive);
  EXPECT_EQ(h.GridMass, 0);
  Frame(h);
  EXPECT_EQ(h.GridMass, 10000);
  for (int i = 0; i < 499; ++i) Frame(h);
  EXPECT_EQ(h.GridMass, 5000000);  // at the peak, not past it
  Frame(h);
  EXPECT_EQ(h.GridMass, 0);
  Frame(h);
  EXPECT_EQ(h.GridMass, 10000);

  // A spawn starts the pulse from nothing.
  h.Absorb();
  RunUntil(h, BlobState::Spawning);
  h.Lives = h.LivesLeft = 2;  // give it another life for the check
  h.SetActive(true);
  Frame(h);
  EXPECT_EQ(h.GridMass, 0);
}

TEST_F(BlackHoleTest, ARespawnAppearsAnywhereThenReturnsToAFullOrbit) {
  TBlobBinaryBlackHole h;
  Wire(h, 90, 2);
  RunUntil(h, BlobState::Alive);
  for (int i = 0; i < 300; ++i) Frame(h);
  ASSERT_LT(h.OrbitRadius, 350);
  h.Absorb();
  RunUntil(h, BlobState::Spawning);
  ASSERT_TRUE(h.Active);

  Frame(h);
  EXPECT_EQ(h.OrbitRadius, 400);
  EXPECT_EQ(h.Shield, 500);
  EXPECT_FALSE(h.Collapsed);
  EXPECT_EQ(h.Position.X, std::floor(h.Position.X));  // a random whole-unit place
  RunUntil(h, BlobState::Alive);
  const int angle = h.OrbitAngle;
  Frame(h);
  EXPECT_NEAR(OrbitDistance(h), 400, 0.01f);
  EXPECT_NEAR(AngleBetween(OrbitDegrees(h), float(angle + 1)), 0, 0.01f);
}

TEST_F(BlackHoleTest, AnOrbitAngleOutsideAWholeTurnIsFoldedIntoIt) {
  const int given[] = {725, -90, 360, -1000};
  const float expected[] = {5, 270, 0, 80};
  for (int i = 0; i < 4; ++i) {
    TBlobBinaryBlackHole h;
    Wire(h, given[i]);
    Frame(h);
    EXPECT_GE(h.OrbitAngle, 0);
    EXPECT_LE(h.OrbitAngle, 359);
    EXPECT_NEAR(AngleBetween(OrbitDegrees(h), expected[i]), 0, 0.01f) << given[i];
    EXPECT_NEAR(OrbitDistance(h), 400, 0.01f);
    RunUntil(h, BlobState::Alive);
    for (int f = 0; f < 400; ++f) Frame(h);
    EXPECT_GE(h.OrbitAngle, 0);
    EXPECT_LE(h.OrbitAngle, 359);
  }
}

TEST_F(BlackHoleTest, EachDrawnFrameShowsTheRingAndTwentyFourSwirlSparks) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobBinaryBlackHole h;
  Wire(h, 0);
  h.Particles = &particles;
  RunUntil(h, BlobState::Alive);
  particles.Clear();
  Rec.Reset();
  const TVector3 at = h.Position;
  Frame(h);

  // A 30-sided circle of radius 25 as separate segments, line width 2.
  auto lines = Rec.Find(TPrimitive::Lines);
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(lines[0]->Vertices.size(), 62u);
  EXPECT_EQ(lines[0]->LineWidth, 2);
  EXPECT_FLOAT_EQ(lines[0]->Colour.B, 0.5f);
  for (const TVector3& v : lines[0]->Vertices)
    EXPECT_NEAR(std::hypot(v.X - at.X, v.Y - at.Y), 25 * h.PulseScale, 0.01f);
  // The last segment closes the circle.
  EXPECT_NEAR(lines[0]->Vertices[61].X, lines[0]->Vertices[0].X, 1e-3f);

  int blue = 0, white = 0;
  for (int i = 0; i < particles.Count(); ++i) {
    const TParticle& p = particles[i];
    if (!p.Active) continue;
    if (p.Style == 4 && p.Colour.Z == 1 && p.Colour.X == 0) ++blue;
    if (p.Style == 9 && p.Colour.X == 1 && p.Colour.Y == 1) ++white;
    // Never more than 29 units from the centre.
    EXPECT_LE(std::hypot(p.Position.X - at.X, p.Position.Y - at.Y), 29.01f);
  }
  EXPECT_EQ(blue, 12);
  EXPECT_EQ(white, 12);
  // Afterwards the blending a glow would leave.
  EXPECT_FALSE(Rec.IsEnabled(TCapability::Lighting));
  EXPECT_TRUE(Rec.IsEnabled(TCapability::Blend));
}

TEST_F(BlackHoleTest, TheSwirlWidensToItsFullSizeAndStaysThere) {
  TBlobBinaryBlackHole h;
  Wire(h, 0);
  RunUntil(h, BlobState::Alive);
  for (int i = 0; i < 200; ++i) Frame(h);  // 2400 spark pairs: about 1200 steps out
  EXPECT_EQ(h.SwirlRadius, 359);
  EXPECT_EQ(h.SwirlDir, -1);
  EXPECT_GE(h.SwirlAngle, 0);
  EXPECT_LE(h.SwirlAngle, 359);
}

TEST_F(BlackHoleTest, CreateOnAPooledHoleStartsItAfresh) {
  TBlobBinaryBlackHole h;
  Wire(h, 120);
  RunUntil(h, BlobState::Alive);
  for (int i = 0; i < 2000; ++i) Frame(h);
  ASSERT_TRUE(h.Collapsed);
  h.Create();
  ExpectFresh(h, BlobKind::BlackHole, 50);
  EXPECT_TRUE(h.Active);
  EXPECT_FALSE(h.Collapsed);
  EXPECT_EQ(h.OrbitAngle, 0);
  EXPECT_EQ(h.SwirlRadius, 0);
  EXPECT_EQ(h.SwirlDir, 1);
  EXPECT_EQ(h.GridMass, 0);
  EXPECT_EQ(h.Radius, 25);
}

}  // namespace
