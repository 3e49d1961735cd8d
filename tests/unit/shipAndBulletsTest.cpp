// The ship's blinking, its volleys, what touching an enemy costs it, and the
// bullet pool's rules of flight.
#include <gtest/gtest.h>

#include "enemies/blobPickup.h"
#include "entities/blobBullet.h"
#include "gfx/ParticleEngine.h"
#include "gfx/geometryGrid.h"
#include "levels/LevelManager.h"
#include "tests/support/TestGame.h"

namespace {
int Flying(const TQuadrovoltMain& g) {
  int n = 0;
  for (TBlob* b : g.World().Bullets()) n += b->Active;
  return n;
}

// Whether the ship was drawn this frame: its gun is the one olive outline.
bool ShipDrawn(const TRecordingRenderer& rec) {
  for (const auto& p : rec.Primitives)
    if (p.Prim == TPrimitive::LineLoop && p.Vertices.size() == 4 && p.Colour.R == 0.75f && p.Colour.G == 0.75f &&
        p.Colour.B == 0)
      return true;
  return false;
}
}  // namespace

TEST(Ship, BlinksInTwentyOfTheHundredProtectedFrames) {
  TTestGame t;
  t.StartPlaying();
  ASSERT_EQ(t.Player().Invulnerable, 100);
  int shown = 0;
  for (int frame = 1; frame <= 100; ++frame) {
    t.Run(1);
    shown += ShipDrawn(t.Recorder);
    EXPECT_EQ(ShipDrawn(t.Recorder), frame % 5 == 0) << "frame " << frame;
  }
  EXPECT_EQ(shown, 20);
  EXPECT_EQ(t.Player().Invulnerable, 0);
  t.Run(1);
  EXPECT_TRUE(ShipDrawn(t.Recorder));
}

TEST(Ship, VolleysFollowTheBulletLevelEveryFourthFrame) {
  TTestGame t;
  t.StartPlaying();
  t.Click(true);
  TArrange(t.Host).CursorAt(200, 200);  // aim at 45 degrees
  t.Player().BulletLevel = 3;
  t.Run(1);
  EXPECT_EQ(Flying(*t.Game), 3) << "the first shot leaves at once";
  t.Run(3);
  EXPECT_EQ(Flying(*t.Game), 3);
  t.Player().BulletLevel = 2;
  t.Run(1);
  EXPECT_EQ(Flying(*t.Game), 5);
  // One degree either side of the aim, the middle shot only in a volley of three.
  const int expected[5] = {46, 45, 44, 46, 44};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(t.Game->World().Bullets()[i]->Direction, expected[i]) << "bullet " << i;
  EXPECT_EQ(t.Sound.Count(TSoundEvent::TKind::Play, "PlayerShoot"), 2) << "one shot sound per volley";
}

namespace {
// Sits on the ship and does nothing; the bosses' own shape test answers as told.
class TStillEnemy : public TBlob {
 public:
  TStillEnemy(std::uint8_t kind, bool shapeHit) : ShapeHit(shapeHit) {
    Kind = kind;
    Radius = 25;
    Active = true;
    State = BlobState::Alive;
  }
  void Update() override {}
  void Hit() override {}
  bool HitTest(TBlob*, float, float) override { return ShapeHit; }
  bool ShapeHit;
};

// The white sparks of a hit.
int HitSparks(const TParticleEngine& particles) {
  int n = 0;
  for (int i = 0; i < TParticleEngine::PoolSize; ++i) n += particles[i].Active && particles[i].Style == 10;
  return n;
}

// A game in play with an empty level script: only what a test adds is about.
void StartQuietGame(TTestGame& t) {
  t.StartPlaying();
  TArrange(t.Host).World().LevelManager().Spawns.clear();
  t.Player().Invulnerable = 0;
}
}  // namespace

TEST(Ship, ContactCostsAPointAFrameAndBurstsEveryTwentyFirstFrame) {
  TTestGame t;
  StartQuietGame(t);
  TArrange(t.Host).World().Enemies().Adopt(std::make_unique<TStillEnemy>(BlobKind::Grunt, false));
  for (int frame = 1; frame <= 22; ++frame) {
    t.Run(1);
    ASSERT_EQ(t.Player().Damage, frame);
    EXPECT_EQ(HitSparks(t.Game->World().Particles()), frame < 22 ? 8 : 16) << "frame " << frame;
    EXPECT_EQ(t.Player().BurstCooldown, frame < 22 ? 21 - frame : 20) << "frame " << frame;
    EXPECT_EQ(t.Game->World().Grid().Push, -4000000) << "the lattice is sucked towards the ship";
  }
  EXPECT_EQ(t.Sound.Count(TSoundEvent::TKind::Play, "PlayerHit"), 22);
}

TEST(Ship, WhatOneFrameOfContactCosts) {
  struct TCase {
    std::uint8_t Kind;
    bool ShapeHit;
    int Invulnerable;
    int Damage;
  } const cases[] = {
      {BlobKind::Grunt, false, 0, 1},
      {BlobKind::Boss3, true, 0, 2},
      {BlobKind::Boss4, true, 0, 2},
      // The bosses' own shape decides, not the circle; protected, nothing counts.
      {BlobKind::Boss3, false, 0, 0},
      {BlobKind::Boss4, false, 0, 0},
      {BlobKind::Grunt, false, 50, 0},
      {BlobKind::Boss4, true, 50, 0},
  };
  for (const TCase& c : cases) {
    TTestGame t;
    StartQuietGame(t);
    t.Player().Invulnerable = c.Invulnerable;
    TArrange(t.Host).World().Enemies().Adopt(std::make_unique<TStillEnemy>(c.Kind, c.ShapeHit));
    t.Run(1);
    EXPECT_EQ(t.Player().Damage, c.Damage) << "kind " << int(c.Kind) << ", protected " << c.Invulnerable;
  }
}

TEST(Ship, APickupTouchedWhileProtectedCountsItsHitFirst) {
  TTestGame t;
  StartQuietGame(t);
  t.Player().Invulnerable = 100;
  t.Player().Damage = 5;
  auto* pickup = static_cast<TBlobPickup*>(TArrange(t.Host).World().Enemies().Adopt(std::make_unique<TBlobPickup>()));
  pickup->PickupKind = PickupKinds::Energy10;
  pickup->Player = &t.Player();
  pickup->Printer = &TArrange(t.Host).World().Printer();
  pickup->Particles = &TArrange(t.Host).World().Particles();
  pickup->Sounds = &TArrange(t.Host).World().Sounds();
  pickup->SetSpawn(TVector3{}, 1, true, TVector3{});
  for (int i = 0; i < 100 && !pickup->Collected; ++i) t.Run(1);
  ASSERT_TRUE(pickup->Collected);
  EXPECT_GT(t.Player().Invulnerable, 0) << "taken while the ship is still protected";
  EXPECT_EQ(t.Player().Damage, 0) << "5 + 1 - 10, not 5 - 10 + 1";
  EXPECT_EQ(t.Sound.Count(TSoundEvent::TKind::Play, "PlayerHit"), 1);
}

TEST(Ship, AFullPoolFiresNothing) {
  TTestGame t;
  t.StartPlaying();
  for (int i = 0; i < TWorld::BulletCount; ++i) TArrange(t.Host).FireBullet();
  EXPECT_EQ(Flying(*t.Game), 48);
  TVector3 lastPos = t.Game->World().Bullets()[47]->Position;
  t.Player().Position = TVector3{100, 100, 0};
  TArrange(t.Host).FireBullet();
  EXPECT_EQ(Flying(*t.Game), 48);
  EXPECT_EQ(t.Game->World().Bullets()[47]->Position.X, lastPos.X);
}

TEST(Bullets, LaunchAlongTheAimAtFourFifthsOfAUnit) {
  TBlobBullet b;
  b.Launch(TVector3{10, 20, 0}, 90 + 360.0f);
  EXPECT_TRUE(b.Active);
  EXPECT_EQ(b.Direction, 90);
  EXPECT_NEAR(b.Velocity.X, 0, 1e-6);
  EXPECT_FLOAT_EQ(b.Velocity.Y, 0.8f);
  EXPECT_EQ(b.Radius, 4);
  b.Launch(TVector3{}, -1);
  EXPECT_EQ(b.Direction, 359);
}

TEST(Bullets, ExactlyAtTheWallIsNotPastItAndPastItBursts) {
  TBlobList none;
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobBullet b;
  b.Launch(TVector3{492, 0, 0}, 0);  // 8 units a frame: lands on 500 exactly
  b.Fly(none, &particles);
  EXPECT_FLOAT_EQ(b.Position.X, 500);
  EXPECT_TRUE(b.Active);
  EXPECT_EQ(particles.ActiveCount(), 0);
  b.Fly(none, &particles);
  EXPECT_FALSE(b.Active);
  EXPECT_FLOAT_EQ(b.Velocity.X, -0.8f);
  EXPECT_FLOAT_EQ(b.Position.X, 500 - 12 * 0.8f);
  // Seventeen red and yellow pairs of sparks where it hit.
  ASSERT_EQ(particles.ActiveCount(), 34);
  for (int i = 0; i < 34; ++i) {
    EXPECT_EQ(particles[i].Colour.Y, i % 2 ? 1.0f : 0.0f) << i;
    EXPECT_EQ(particles[i].Style, 4);
    EXPECT_EQ(particles[i].Position.X, b.Position.X);
  }
}

TEST(Bullets, DrawAYellowStreakTrailingBehind) {
  TRecordingRenderer rec;
  const TScopedRenderer installed(rec);
  TBlobList none;
  TBlobBullet b;
  b.Draw();
  EXPECT_TRUE(rec.Primitives.empty()) << "a bullet that never flew shows nothing";
  b.Launch(TVector3{10, 20, 0}, 90);
  b.Fly(none, nullptr);
  EXPECT_TRUE(rec.Primitives.empty()) << "the flight itself draws nothing";
  // A well's pull after the flight shows only in the next picture.
  b.Position.X += 50;
  b.Draw();
  auto lines = rec.Find(TPrimitive::Lines);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]->LineWidth, 3);
  EXPECT_EQ(lines[0]->Colour.B, 0);
  ASSERT_EQ(lines[0]->Vertices.size(), 2u);
  EXPECT_NEAR(lines[0]->Vertices[0].Y, 28 - 12.8f, 1e-4);  // 16 velocities back
  EXPECT_NEAR(lines[0]->Vertices[1].Y, 28, 1e-4);
  EXPECT_NEAR(lines[0]->Vertices[0].X, 10, 1e-4);
}

TEST(Bullets, ExpireAfterTwoHundredFrames) {
  TBlobList none;
  TBlobBullet b;
  b.Launch(TVector3{}, 0);
  b.Velocity = TVector3{};  // hovering, as if a well held it
  for (int i = 0; i < 200; ++i) b.Fly(none, nullptr);
  EXPECT_TRUE(b.Active);
  b.Fly(none, nullptr);
  EXPECT_FALSE(b.Active);
}

namespace {
class TTarget : public TBlob {
 public:
  explicit TTarget(float x) {
    Kind = BlobKind::Grunt;
    Radius = 25;
    Active = true;
    State = BlobState::Alive;
    Position = TVector3{x, 0, 0};
  }
  void Hit() override { ++Hits; }
  int Hits = 0;
};
}  // namespace

TEST(Bullets, OneBulletHitsEveryEnemyItTouchesAndStillBursts) {
  TBlobList enemies;
  auto* a = static_cast<TTarget*>(enemies.Adopt(std::make_unique<TTarget>(480)));
  auto* b = static_cast<TTarget*>(enemies.Adopt(std::make_unique<TTarget>(490)));
  auto* dying = static_cast<TTarget*>(enemies.Adopt(std::make_unique<TTarget>(485)));
  dying->State = BlobState::Dying;
  auto* growing = static_cast<TTarget*>(enemies.Adopt(std::make_unique<TTarget>(470)));
  growing->State = BlobState::Spawning;
  // Squares, not circles: corner to corner the two are 35 apart, more than 25 + 4.
  auto* corner = static_cast<TTarget*>(enemies.Adopt(std::make_unique<TTarget>(521)));
  corner->Position.Y = 25;
  TBlobBullet bullet;
  bullet.Launch(TVector3{496, 0, 0}, 0);
  EXPECT_EQ(bullet.CollideWithList(enemies, &bullet, TBlobEvent()), 4);
  EXPECT_EQ(a->Hits, 1);
  EXPECT_EQ(b->Hits, 1);
  EXPECT_EQ(growing->Hits, 1) << "a spawning enemy is touched all the same";
  EXPECT_EQ(corner->Hits, 1);
  EXPECT_EQ(dying->Hits, 0) << "a dying enemy takes no more bullets";
  bullet.Fly(enemies, nullptr);  // hits both again, spent, and meets the wall
  EXPECT_FALSE(bullet.Active);
  EXPECT_LT(bullet.Velocity.X, 0) << "it still bounced off the wall in the same frame";

  // A bullet that only grazes a spawning enemy is used up too.
  TBlobList spawning;
  spawning.Adopt(std::make_unique<TTarget>(0))->State = BlobState::Spawning;
  bullet.Launch(TVector3{20, 0, 0}, 0);
  bullet.Fly(spawning, nullptr);
  EXPECT_FALSE(bullet.Active);
}
