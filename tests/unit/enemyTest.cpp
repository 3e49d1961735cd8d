// The shared enemy life cycle driven by another kind's numbers than the
// grunt's: a separate destroyed sound, a longer explosion, a wider respawn
// scatter and a five-sided outline.
#include <gtest/gtest.h>

#include "enemies/blobEnemy.h"
#include "entities/blobPlayer.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/RecordingRenderer.h"
#include "gfx/ScopedRenderer.h"
#include "sound/RecordingSoundDevice.h"
#include "sound/frmDXSounds.h"
#include "tests/support/EnemyFixture.h"

namespace {
class TPointedEnemy : public TBlobEnemy {
 public:
  TPointedEnemy() { TPointedEnemy::Create(); }
  void Create() override {
    TBlobEnemy::Create();
    static const TVector3 shape[5] = {{-15, 15, 0}, {-15, -15, 0}, {15, -15, 0}, {15, 15, 0}, {0, 25, 0}};
    Kind = BlobKind::Snake;
    Points = 1000;
    SetActive(true);
    SetOutline(shape, 5);
    DyingLength = 75;
    SpawnShield = 3;
    SpawnScatter = 375;
    SpreadRate = 0.25f;
    HitSound = &TFormSounds::PlaySnakeHit;
    DestroyedSound = &TFormSounds::PlaySnakeDestroyed;
    BlastAwardsPoints = true;
    Burst.Rounds = 4;
    Burst.RandomSpeed = true;
  }
};

TEST(EnemyLifeCycle, TheLastHitPlaysTheDestroyedSoundInsteadOfTheHit) {
  TRecordingSoundDevice device;
  TFormSounds sounds(device);
  TBlobPlayer player;
  TPointedEnemy e;
  e.Player = &player;
  e.Sounds = &sounds;
  e.SetSpawn(MakeVector(0, 0, 0), 1, false, TVector3{});
  for (int i = 0; i < 25; ++i) Frame(e);
  ASSERT_EQ(e.State, BlobState::Alive);
  e.Hit();
  e.Hit();
  e.Hit();
  EXPECT_EQ(device.Count(TSoundEvent::TKind::Play, "SnakeHit"), 2);
  EXPECT_EQ(device.Count(TSoundEvent::TKind::Play, "SnakeDestroyed"), 1);
  EXPECT_EQ(player.Score, 1000);
}

TEST(EnemyLifeCycle, ALongerExplosionBurstsOnItsFirstFrameAndRespawnsWiderApart) {
  RandomSeed(11);
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TPointedEnemy e;
  e.Particles = &particles;
  e.SetSpawn(MakeVector(0, 0, 0), 40, false, TVector3{});
  for (int life = 0; life < 39; ++life) {
    while (e.State != BlobState::Alive) Frame(e);
    e.Blast();
    particles.Clear();
    int frames = 0;
    while (e.State == BlobState::Dying) {
      Frame(e);
      if (frames++ == 0) {
        EXPECT_EQ(particles.ActiveCount(), 4);
      }
    }
    EXPECT_EQ(frames, 75);
    Frame(e);
    EXPECT_GE(e.Position.X, -375);
    EXPECT_LE(e.Position.X, 624);
    EXPECT_GE(e.Position.Y, -375);
    EXPECT_LE(e.Position.Y, 624);
  }
  EXPECT_TRUE(e.Active);
}

TEST(EnemyLifeCycle, EveryEdgeOfTheOutlineFliesApartAlongItsNormal) {
  TRecordingRenderer rec;
  const TScopedRenderer installed(rec);
  TPointedEnemy e;
  e.SetSpawn(MakeVector(0, 0, 0), 1, false, TVector3{});
  while (e.State != BlobState::Alive) Frame(e);
  e.Absorb();
  rec.Reset();
  Frame(e);
  auto lines = rec.Find(TPrimitive::Lines);
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(lines[0]->Vertices.size(), 10u);
  // The slanted edge from (15, 15) to the point (0, 25) has the normal
  // (-10, -15): a quarter of it outward after the first frame.
  EXPECT_NEAR(lines[0]->Vertices[6].X, 15 + 2.5f, 1e-4);
  EXPECT_NEAR(lines[0]->Vertices[6].Y, 15 + 3.75f, 1e-4);
  EXPECT_NEAR(lines[0]->Vertices[7].X, 0 + 2.5f, 1e-4);
  EXPECT_NEAR(lines[0]->Vertices[7].Y, 25 + 3.75f, 1e-4);
  // The closing edge runs from the point back to the first corner.
  EXPECT_NEAR(lines[0]->Vertices[9].X, -15 - 0.25f * 10, 1e-4);
}

}  // namespace
