// Pickups: what each bonus does to the ship, how a pickup is taken, shot or
// left to blink away, and what its wreck shows.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/blobPickup.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/RecordingRenderer.h"
#include "gfx/ScopedRenderer.h"
#include "tests/support/EnemyFixture.h"

namespace {
class PickupTest : public ::testing::Test {
 protected:
  void SetUp() override { RandomSeed(5); }

  void Spawn(TBlobPickup& p, std::uint8_t kind, const TVector3& at = MakeVector(100, -50, 0), int lives = 1) {
    p.PickupKind = kind;
    p.Player = &Player;
    p.Printer = &Printer;
    p.SetSpawn(at, lives, false, TVector3{});
    p.OnDestroyed = TBlobEvent::Bind<&TDeaths::OnDestroyed>(&Deaths);
  }

  // One frame; true when anything was drawn.
  bool DrawnFrame(TBlobPickup& p) {
    Rec.Reset();
    p.Update();
    return !Rec.Primitives.empty();
  }

  TRecordingRenderer Rec;
  TScopedRenderer Installed{Rec};
  TGLPrinter Printer;
  TBlobPlayer Player;
  TDeaths Deaths;
};

TEST(PickupEffects, EachKindChangesTheShipAsItSays) {
  TBlobPlayer ship;
  ship.Speed = 2;
  ApplyPickup(ship, PickupKinds::Velocity1);
  EXPECT_EQ(ship.Speed, 4);
  ApplyPickup(ship, PickupKinds::Velocity3);
  EXPECT_EQ(ship.Speed, 8);
  ApplyPickup(ship, PickupKinds::Velocity2);
  EXPECT_EQ(ship.Speed, 6);

  ship.BulletLevel = 3;
  ApplyPickup(ship, PickupKinds::Bullet1);  // three bullets back to one
  EXPECT_EQ(ship.BulletLevel, 1);
  ApplyPickup(ship, PickupKinds::Bullet2);
  EXPECT_EQ(ship.BulletLevel, 2);
  ApplyPickup(ship, PickupKinds::Bullet3);
  EXPECT_EQ(ship.BulletLevel, 3);

  ship.GraviBombs = 1;
  ApplyPickup(ship, PickupKinds::GraviBomb);
  ApplyPickup(ship, PickupKinds::GraviBomb);
  EXPECT_EQ(ship.GraviBombs, 3);
}

TEST(PickupEffects, RepairNeverTakesDamageBelowZero) {
  TBlobPlayer ship;
  ship.Damage = 30;
  ApplyPickup(ship, PickupKinds::Energy10);
  EXPECT_EQ(ship.Damage, 20);
  ApplyPickup(ship, PickupKinds::Energy50);
  EXPECT_EQ(ship.Damage, 0);
  ship.Damage = 5;
  ApplyPickup(ship, PickupKinds::Energy10);
  EXPECT_EQ(ship.Damage, 0);
}

TEST(PickupEffects, AnUnknownKindGivesNothing) {
  TBlobPlayer ship;
  ship.Speed = 4;
  ship.Damage = 40;
  ship.BulletLevel = 2;
  ship.GraviBombs = 1;
  for (int kind : {9, 100, 255}) ApplyPickup(ship, std::uint8_t(kind));
  EXPECT_EQ(ship.Speed, 4);
  EXPECT_EQ(ship.Damage, 40);
  EXPECT_EQ(ship.BulletLevel, 2);
  EXPECT_EQ(ship.GraviBombs, 1);
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
  p.Update();
  // The name, centred by its length, squashing and fading.
  TRecordingRenderer ref;
  SetRenderer(&ref);
  Printer.PrintText("Velocity x 2", MakeVector(p.Position.X - 60, p.Position.Y, 0), TVector3{},
                    MakeVector(1 - 0.02f / 4, 0.98f, 1), MakeColor4(1, 1, 1, 0.98f));
  SetRenderer(&Rec);
  ASSERT_FALSE(ref.Primitives.empty());
  ASSERT_GT(Rec.Primitives.size(), ref.Primitives.size());
  for (size_t i = 0; i < ref.Primitives.size(); ++i) {
    ASSERT_EQ(Rec.Primitives[i].Vertices.size(), ref.Primitives[i].Vertices.size());
    for (size_t k = 0; k < ref.Primitives[i].Vertices.size(); ++k) {
      EXPECT_NEAR(Rec.Primitives[i].Vertices[k].X, ref.Primitives[i].Vertices[k].X, 1e-3);
      EXPECT_NEAR(Rec.Primitives[i].Vertices[k].Y, ref.Primitives[i].Vertices[k].Y, 1e-3);
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
  p.Update();
  // Only the square flying apart.
  ASSERT_EQ(Rec.Primitives.size(), 1u);
  EXPECT_EQ(Rec.Primitives[0].Prim, TPrimitive::Lines);
  EXPECT_EQ(Rec.Primitives[0].Vertices.size(), 8u);
}

TEST_F(PickupTest, BombsAndWellsTakeItWithoutItsName) {
  TBlobPickup bombed, swallowed;
  Spawn(bombed, PickupKinds::Bullet3);
  Spawn(swallowed, PickupKinds::Bullet3);
  RunUntilAlive(bombed);
  RunUntilAlive(swallowed);
  bombed.Blast();
  swallowed.Absorb();
  EXPECT_EQ(bombed.State, BlobState::Dying);
  EXPECT_EQ(swallowed.State, BlobState::Dying);
  EXPECT_FALSE(bombed.Collected);
  EXPECT_FALSE(swallowed.Collected);
  EXPECT_EQ(Deaths.Count, 2);
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
  p.Update();
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
  for (int i = 0; i < 50; ++i) p.Update();
  EXPECT_EQ(p.Position.X, -200);
  EXPECT_EQ(p.Position.Y, 300);
  EXPECT_FLOAT_EQ(p.SpinAngle, spin + 200);
}

TEST_F(PickupTest, WithLivesLeftItComesBackElsewhere) {
  TBlobPickup p;
  Spawn(p, PickupKinds::GraviBomb, MakeVector(10, 10, 0), 2);
  RunUntilAlive(p);
  p.Collect();
  for (int i = 0; i < 50; ++i) p.Update();
  EXPECT_TRUE(p.Active);
  EXPECT_EQ(p.State, BlobState::Spawning);
  p.Update();
  EXPECT_FALSE(p.Collected);
  EXPECT_FALSE(p.Position.X == 10 && p.Position.Y == 10);
}

}  // namespace
