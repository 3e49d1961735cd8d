// The ship's blinking, its volleys, and the bullet pool's rules of flight.
#include <gtest/gtest.h>

#include "entities/blobBullet.h"
#include "gameTestSupport.h"

namespace {
int Flying(const TQuadrovoltMain& g) {
  int n = 0;
  for (TBlob* b : g.Bullets) n += b->Active;
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
  for (int i = 0; i < 100; ++i) {
    t.Run(1);
    shown += ShipDrawn(t.Recorder);
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
  t.Player().BulletLevel = 3;
  t.Run(1);
  EXPECT_EQ(Flying(*t.Game), 3) << "the first shot leaves at once";
  t.Run(3);
  EXPECT_EQ(Flying(*t.Game), 3);
  t.Run(1);
  EXPECT_EQ(Flying(*t.Game), 6);
  EXPECT_EQ(t.Sound.Count(TSoundEvent::TKind::Play, "PlayerShoot"), 2) << "one shot sound per volley";
}

TEST(Ship, AFullPoolFiresNothing) {
  TTestGame t;
  t.StartPlaying();
  for (int i = 0; i < TQuadrovoltMain::BulletCount; ++i) t.Game->FireBullet(0);
  EXPECT_EQ(Flying(*t.Game), 48);
  TVector3 lastPos = t.Game->Bullets[47]->Position;
  t.Player().Position = TVector3{100, 100, 0};
  t.Game->FireBullet(0);
  EXPECT_EQ(Flying(*t.Game), 48);
  EXPECT_EQ(t.Game->Bullets[47]->Position.X, lastPos.X);
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

TEST(Bullets, ExactlyAtTheWallIsNotPastIt) {
  TBlobList none;
  TBlobBullet b;
  b.Launch(TVector3{492, 0, 0}, 0);  // 8 units a frame: lands on 500 exactly
  b.Fly(none, nullptr);
  EXPECT_FLOAT_EQ(b.Position.X, 500);
  EXPECT_TRUE(b.Active);
  b.Fly(none, nullptr);
  EXPECT_FALSE(b.Active);
  EXPECT_FLOAT_EQ(b.Velocity.X, -0.8f);
  EXPECT_FLOAT_EQ(b.Position.X, 500 - 12 * 0.8f);
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
  TBlobBullet bullet;
  bullet.Launch(TVector3{496, 0, 0}, 0);
  EXPECT_EQ(bullet.CollideWithList(enemies, &bullet, TBlobEvent()), 2);
  EXPECT_EQ(a->Hits, 1);
  EXPECT_EQ(b->Hits, 1);
  EXPECT_EQ(dying->Hits, 0) << "a dying enemy takes no more bullets";
  bullet.Fly(enemies, nullptr);  // hits both again, spent, and meets the wall
  EXPECT_FALSE(bullet.Active);
  EXPECT_LT(bullet.Velocity.X, 0) << "it still bounced off the wall in the same frame";
}
