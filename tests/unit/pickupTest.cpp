// Pickups: what each bonus does to the ship, how a pickup is taken, shot or
// left to blink away, and what its wreck shows.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/blobPickup.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "tests/support/EnemyFixture.h"

namespace {
class PickupTest : public TDrawingTest<TEnemyTest> {
 protected:
  void SetUp() override { RandomSeed(5); }

  void Spawn(TBlobPickup& p, std::uint8_t kind, const TVector3& at = MakeVector(100, -50, 0), int lives = 1) {
    p.PickupKind = kind;
    p.Player = &Player;
    p.Printer = &Printer;
    p.SetSpawn(at, lives, false, TVector3{});  // the pickup's own: it takes the kind's look
    p.OnDestroyed = TBlobEvent::Bind<&TDeaths::OnDestroyed>(&Deaths);
  }

  // One frame; true when anything was drawn.
  bool DrawnFrame(TBlobPickup& p) {
    Rec.Reset();
    Frame(p);
    return !Rec.Primitives.empty();
  }

  TGLPrinter Printer;
};

TEST(PickupEffects, EachKindChangesOnlyWhatItSaysAndRepairStopsAtZero) {
  // One ship takes the bonuses in turn; the whole ship after each.
  struct TStep {
    int Kind;
    float Speed;
    int BulletLevel, GraviBombs, Damage;
  };
  const TStep steps[] = {
      {PickupKinds::Velocity1, 4, 3, 1, 30},
      {PickupKinds::Velocity3, 8, 3, 1, 30},
      {PickupKinds::Velocity2, 6, 3, 1, 30},
      {PickupKinds::Bullet1, 6, 1, 1, 30},  // three bullets back to one
      {PickupKinds::Bullet2, 6, 2, 1, 30},
      {PickupKinds::Bullet3, 6, 3, 1, 30},
      {PickupKinds::GraviBomb, 6, 3, 2, 30},
      {PickupKinds::GraviBomb, 6, 3, 3, 30},
      {PickupKinds::Energy10, 6, 3, 3, 20},
      {PickupKinds::Energy50, 6, 3, 3, 0},
      {PickupKinds::Energy10, 6, 3, 3, 0},
      {9, 6, 3, 3, 0},  // not kinds: nothing
      {100, 6, 3, 3, 0},
      {255, 6, 3, 3, 0},
  };
  TBlobPlayer ship;
  ship.Speed = 2;
  ship.BulletLevel = 3;
  ship.GraviBombs = 1;
  ship.Damage = 30;
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Kind);
    ApplyPickup(ship, std::uint8_t(step.Kind));
    EXPECT_EQ(ship.Speed, step.Speed);
    EXPECT_EQ(ship.BulletLevel, step.BulletLevel);
    EXPECT_EQ(ship.GraviBombs, step.GraviBombs);
    EXPECT_EQ(ship.Damage, step.Damage);
  }
}

TEST_F(PickupTest, SetSpawnGivesTheKindItsNamesAndColours) {
  TBlobPickup p;
  Spawn(p, PickupKinds::Energy10);
  EXPECT_EQ(p.PickupName, "Energy x 10");
  EXPECT_EQ(p.PickupAbbrev, "E10");
  EXPECT_EQ(p.BodyColour.X, 1);
  EXPECT_EQ(p.BodyColour.Y, 0);
  EXPECT_EQ(p.TextColour.Z, 0);  // yellow text

  Spawn(p, PickupKinds::GraviBomb);
  EXPECT_EQ(p.PickupName, "Gravi Bomb");
  EXPECT_EQ(p.PickupAbbrev, "GrB");

  TBlobPickup odd;
  Spawn(odd, 42);  // not a kind: blank, and no read past the table
  EXPECT_TRUE(odd.PickupName.empty());
  EXPECT_TRUE(odd.PickupAbbrev.empty());
}

TEST_F(PickupTest, CollectedItBurstsAndShowsItsFullName) {
  TBlobPickup p;
  Spawn(p, PickupKinds::Velocity2);
  p.Collect();  // still growing in: nothing happens
  EXPECT_EQ(Deaths.Count, 0);
  RunUntilAlive(p);

  p.Collect();
  EXPECT_TRUE(p.Collected);
  EXPECT_EQ(p.State, BlobState::Dying);
  EXPECT_EQ(Deaths.Count, 1);
  p.Collect();  // once only
  EXPECT_EQ(Deaths.Count, 1);

  Rec.Reset();
  Frame(p);
  // The name, centred by its length, squashing and fading.
  const std::vector<TRecordedPrimitive> name = RecordApart([&] {
    Printer.PrintText("Velocity x 2", MakeVector(p.Position.X - 60, p.Position.Y, 0), TVector3{},
                      MakeVector(1 - 0.02f / 4, 0.98f, 1), MakeColor4(1, 1, 1, 0.98f));
  });
  ASSERT_FALSE(name.empty());
  ASSERT_GT(Rec.Primitives.size(), name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    ASSERT_EQ(Rec.Primitives[i].Vertices.size(), name[i].Vertices.size());
    for (size_t k = 0; k < name[i].Vertices.size(); ++k) {
      EXPECT_NEAR(Rec.Primitives[i].Vertices[k].X, name[i].Vertices[k].X, 1e-3);
      EXPECT_NEAR(Rec.Primitives[i].Vertices[k].Y, name[i].Vertices[k].Y, 1e-3);
    }
  }
}

TEST_F(PickupTest, AShotPickupGivesNothingAndShowsNoName) {
  TBlobPickup p;
  Spawn(p, PickupKinds::Energy50);
  RunUntilAlive(p);
  for (int i = 0; i < 4; ++i) p.Hit();
  EXPECT_EQ(p.State, BlobState::Alive);
  p.Hit();
  EXPECT_EQ(p.State, BlobState::Dying);
  EXPECT_FALSE(p.Collected);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 0);

  Rec.Reset();
  Frame(p);
  // Only the square flying apart.
  ASSERT_EQ(Rec.Primitives.size(), 1u);
  EXPECT_EQ(Rec.Primitives[0].Prim, TPrimitive::Lines);
  EXPECT_EQ(Rec.Primitives[0].Vertices.size(), 8u);
}

TEST_F(PickupTest, BombsAndWellsTakeItWithoutItsName) {
  TBlobPickup bombed, swallowed;
  Spawn(bombed, PickupKinds::Bullet3);
  Spawn(swallowed, PickupKinds::Bullet3);
  EXPECT_EQ(BombAndSwallow(bombed, swallowed), std::make_pair(0, 0));
  EXPECT_FALSE(bombed.Collected);
  EXPECT_FALSE(swallowed.Collected);
}

TEST_F(PickupTest, LeftAloneItBlinksFromFrame501AndIsGoneAfter1000) {
  TBlobPickup p;
  Spawn(p, PickupKinds::Velocity1);
  for (int age = 1; age <= 500; ++age) ASSERT_TRUE(DrawnFrame(p)) << age;
  EXPECT_EQ(p.Age, 500);
  // Five frames shown, six hidden, over and over.
  for (int age = 501; age <= 1000; ++age) {
    const bool shown = (age - 501) % 11 < 5;
    ASSERT_EQ(DrawnFrame(p), shown) << age;
  }
  EXPECT_TRUE(p.Active);
  Frame(p);
  EXPECT_FALSE(p.Active);
  EXPECT_NE(p.State, BlobState::Dying);  // no explosion
  EXPECT_EQ(Deaths.Count, 0);            // and not counted
}

TEST_F(PickupTest, ItSpinsInPlaceAndNeverChasesTheShip) {
  TBlobPickup p;
  Spawn(p, PickupKinds::Bullet2, MakeVector(-200, 300, 0));
  Player.Position = MakeVector(0, 0, 0);
  RunUntilAlive(p);
  const float spin = p.SpinAngle;
  for (int i = 0; i < 50; ++i) Frame(p);
  EXPECT_EQ(p.Position.X, -200);
  EXPECT_EQ(p.Position.Y, 300);
  EXPECT_FLOAT_EQ(p.SpinAngle, spin + 200);
}

TEST_F(PickupTest, WithLivesLeftItComesBackElsewhere) {
  TBlobPickup p;
  Spawn(p, PickupKinds::GraviBomb, MakeVector(10, 10, 0), 2);
  RunUntilAlive(p);
  p.Collect();
  for (int i = 0; i < 50; ++i) Frame(p);
  EXPECT_TRUE(p.Active);
  EXPECT_EQ(p.State, BlobState::Spawning);
  Frame(p);
  EXPECT_FALSE(p.Collected);
  EXPECT_FALSE(p.Position.X == 10 && p.Position.Y == 10);
}

}  // namespace
