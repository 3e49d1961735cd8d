// The forty-level script: row counts and quotas against the design sheet,
// the quota and title rows, the laid-out shapes (spirals, circles, waves,
// chains, point lists) at hand-computed spots, and the random terms.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "entities/blob.h"
#include "gfx/Random.h"
#include "levels/LevelCatalogue.h"

namespace {
struct THeader {
  int Level;
  const char* Title;
  float R, G, B;
  int Quota;
  int Rows;
};

// Typed from the design sheet of each level.
const THeader Headers[40] = {
    {1, "Level 1: Creation", 0.6f, 0.6f, 0.6f, 10, 13},
    {2, "Level 2: Time And Light", 0.6f, 0.6f, 0, 10, 13},
    {3, "Level 3: The Ether World", 1, 0, 1, 70, 58},
    {4, "Level 4: Hissssssssss", 1, 0, 0, 20, 23},
    {5, "Level 5: Boid Mania *", 0, 0, 1, 21, 24},
    {6, "Level 6: Pods - Eaaaasy", 0.25f, 0.5f, 1, 61, 27},
    {7, "Level 7: Grunt Massacre", 1, 0.5f, 0.5f, 80, 44},
    {8, "Level 8: Grunt Massacre 2 - I Hate Sequels", 1, 1, 0, 80, 44},
    {9, "Level 9: Take It Easy", 0, 0, 1, 60, 35},
    {10, "Level 10: Circle Of Fear ", 0.5f, 0.5f, 1, 21, 23},
    {11, "Level 11: Mix It Up", 0, 1, 0, 70, 26},
    {12, "Level 12: Pod Tastic", 1, 1, 1, 70, 26},
    {13, "Level 13: A Shock To The System", 1, 0, 0, 41, 25},
    {14, "Level 14: Pods - Tough", 1, 0, 1, 122, 52},
    {15, "Level 15: GruntXY Revenge", 0.5f, 0, 1, 22, 26},
    {16, "Level 16: Spirality", 0, 0, 1, 36, 38},
    {17, "Level 17: Ulmar", 0.5f, 0.5f, 0.5f, 126, 56},
    {18, "Level 18: Spiral Singularity", 1, 0, 1, 105, 55},
    {19, "Level 19: Nightmare", 0, 0, 1, 174, 119},
    {20, "Level 20: Monolith - It's Full Of Stars ", 0.5f, 0.5f, 1, 33, 19},
    {21, "Level 21: Bubbles Of Chaos", 0, 0, 1, 80, 84},
    {22, "Level 22: Sine Of Destruction", 0, 0, 1, 112, 68},
    {23, "Level 23: Spiral Of Boid", 0, 0, 1, 124, 66},
    {24, "Level 24: Black Hole Boid", 0, 0, 1, 147, 67},
    {25, "Level 25: Black Hole Disaster", 0, 0, 1, 24, 26},
    {26, "Level 26: Bubbloids", 0, 0, 1, 116, 73},
    {27, "Level 27: From All Corners Of The Ether..", 0, 0, 1, 85, 24},
    {28, "Level 28: Circle Of Pain", 0, 0, 1, 68, 71},
    {29, "Level 29: Radial Destruction", 0, 0, 1, 52, 55},
    {30, "Level 30: Gravitar Revenge", 0, 0, 1, 23, 27},
    {31, "Level 31: ", 0, 0, 1, 85, 39},
    {32, "Level 32: Helix Of Destruction ", 0, 0, 1, 36, 38},
    {33, "Level 33: Hissteria ", 0.5f, 0.5f, 1, 64, 34},
    {34, "Level 34: Feel The Pain", 0, 0, 1, 214, 60},
    {35, "Level 35: Pinwheel Spirality", 0, 0, 1, 137, 73},
    {36, "Level 36: Arcs Of Fear", 0, 0, 1, 145, 49},
    {37, "Level 37: Curves Of Anger", 0, 0, 1, 45, 29},
    {38, "Level 38: Escape The Void..", 0, 0, 1, 175, 132},
    {39, "Level 39: At The Edge Of Infinity Beyond Time And Space..", 0, 0, 1, 187, 133},
    {40, "Level 40: Cosmic Cataclysmic The End Of All?", 0.6f, 0.6f, 0.6f, 31, 34},
};

const char* const Note = "Use To Set Number of Aliens to destroy before next wave";

std::vector<TSpawnRecord> BuildScript(std::uint64_t seed) {
  RandomSeed(seed);
  std::vector<TSpawnRecord> spawns;
  AppendLevelCatalogue(spawns);
  return spawns;
}

// The rows of one level, in script order.
std::vector<TSpawnRecord> LevelRows(const std::vector<TSpawnRecord>& spawns, int level) {
  std::vector<TSpawnRecord> rows;
  for (const TSpawnRecord& r : spawns)
    if (r.Level == level) rows.push_back(r);
  return rows;
}

int CountAliens(const std::vector<TSpawnRecord>& rows) {
  int count = 0;
  for (const TSpawnRecord& r : rows) {
    if (r.Action != ActionSpawn) continue;
    switch (r.Kind) {
      case 2:
      case 3:
      case 4:
      case 5:
      case 12:
      case 13:
      case 15:
      case 16:
      case 18: count += r.Lives; break;
      case 10: count += 13 * r.Lives; break;
      default: break;
    }
  }
  return count;
}

bool IsWhole(float v) { return v == std::floor(v); }

void ExpectAt(const TSpawnRecord& r, double x, double y, double tolerance = 0.002) {
  EXPECT_NEAR(r.Position.X, x, tolerance) << "level " << r.Level << " tick " << r.Tick;
  EXPECT_NEAR(r.Position.Y, y, tolerance) << "level " << r.Level << " tick " << r.Tick;
  EXPECT_EQ(r.Position.Z, 0.0f);
}

void ExpectExtraIsPosition(const TSpawnRecord& r) {
  EXPECT_EQ(r.Extra.X, r.Position.X);
  EXPECT_EQ(r.Extra.Y, r.Position.Y);
}

class LevelCatalogue : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Script = new std::vector<TSpawnRecord>(BuildScript(1234)); }
  static void TearDownTestSuite() {
    delete Script;
    Script = nullptr;
  }
  static std::vector<TSpawnRecord> Rows(int level) { return LevelRows(*Script, level); }
  static std::vector<TSpawnRecord>* Script;
};
std::vector<TSpawnRecord>* LevelCatalogue::Script = nullptr;

}  // namespace

TEST_F(LevelCatalogue, FortyLevelsInOrderWithTheirRowCountsAndQuotas) {
  const std::vector<TSpawnRecord>& s = *Script;
  ASSERT_EQ(s.size(), 1928u);
  // Ascending and contiguous: the level number never goes down and only ever steps by one.
  EXPECT_EQ(s.front().Level, 1);
  EXPECT_EQ(s.back().Level, 40);
  for (std::size_t i = 1; i < s.size(); ++i) {
    const int step = s[i].Level - s[i - 1].Level;
    ASSERT_TRUE(step == 0 || step == 1) << "row " << i;
  }
  for (const THeader& h : Headers) {
    const std::vector<TSpawnRecord> rows = Rows(h.Level);
    EXPECT_EQ(int(rows.size()), h.Rows) << "level " << h.Level;
    EXPECT_EQ(CountAliens(rows), h.Quota) << "level " << h.Level;
  }
  for (const TSpawnRecord& r : s) {
    EXPECT_EQ(r.Trigger, TriggerOnTick);
    EXPECT_FALSE(r.Skip);
    EXPECT_GE(r.Tick, 0);
    EXPECT_EQ(r.Position.Z, 0.0f);
    if (r.Kind != BlobKind::Message) {  // a title's extra is its colour
      EXPECT_EQ(r.Extra.Z, 0.0f);
    }
  }
}

TEST_F(LevelCatalogue, EachLevelOpensWithItsQuotaRowAndTitle) {
  for (const THeader& h : Headers) {
    SCOPED_TRACE(h.Title);
    const std::vector<TSpawnRecord> rows = Rows(h.Level);
    int quotaRows = 0, titles = 0;
    for (const TSpawnRecord& r : rows) {
      quotaRows += r.Action == ActionSetQuota;
      titles += r.Kind == BlobKind::Message;
    }
    EXPECT_EQ(quotaRows, 1);
    EXPECT_EQ(titles, 1);

    // Levels 1 and 40 drop their first pickup before the title comes up.
    const bool pickupLeads = h.Level == 1 || h.Level == 40;
    std::size_t q = 0;
    if (pickupLeads) {
      EXPECT_EQ(rows[0].Kind, BlobKind::Pickup);
      EXPECT_EQ(rows[0].Param, 3);
      q = 1;
    }
    const TSpawnRecord& quota = rows[q];
    EXPECT_EQ(quota.Action, ActionSetQuota);
    EXPECT_EQ(quota.Tick, 0);
    EXPECT_EQ(quota.Kind, 0);
    EXPECT_EQ(quota.Lives, 0);
    EXPECT_TRUE(quota.FixedSpawn);
    EXPECT_EQ(quota.Text, Note);
    EXPECT_EQ(quota.Position.X, 0.0f);
    EXPECT_EQ(quota.Extra.X, 0.0f);

    const TSpawnRecord& title = rows[q + 1];
    EXPECT_EQ(title.Action, ActionSpawn);
    EXPECT_EQ(title.Kind, BlobKind::Message);
    EXPECT_EQ(title.Tick, 0);
    EXPECT_EQ(title.Text, h.Title);
    EXPECT_EQ(title.Position.X, 0.0f);
    EXPECT_EQ(title.Position.Y, -500.0f);
    EXPECT_EQ(title.Lives, 5);
    EXPECT_FALSE(title.FixedSpawn);
    EXPECT_EQ(title.Param, -1);
    EXPECT_FLOAT_EQ(title.Extra.X, h.R);
    EXPECT_FLOAT_EQ(title.Extra.Y, h.G);
    EXPECT_FLOAT_EQ(title.Extra.Z, h.B);
  }
  // The titles keep their trailing spaces and the one with nothing after the colon.
  EXPECT_EQ(Rows(10)[1].Text, "Level 10: Circle Of Fear ");
  EXPECT_EQ(Rows(31)[1].Text, "Level 31: ");
}

TEST_F(LevelCatalogue, ParametersFollowTheKind) {
  std::multiset<int> blackHoleAngles;
  for (const TSpawnRecord& r : *Script) {
    if (r.Action != ActionSpawn) continue;
    switch (r.Kind) {
      case BlobKind::Pickup:
        EXPECT_GE(r.Param, 0);
        EXPECT_LE(r.Param, 8);
        EXPECT_EQ(r.Lives, 1);
        break;
      case BlobKind::BlackHole: blackHoleAngles.insert(r.Param); break;
      case BlobKind::Boss2:
      case BlobKind::Boss3: EXPECT_EQ(r.Param, 0); break;
      default: EXPECT_EQ(r.Param, -1) << "level " << r.Level << " kind " << int(r.Kind);
    }
  }
  EXPECT_EQ(blackHoleAngles, (std::multiset<int>{0, 120, 240}));
  // Level 5's title promises boids it never sends.
  for (const TSpawnRecord& r : Rows(5)) EXPECT_NE(r.Kind, BlobKind::Boid);
  // Level 6: 10 + 10 + 2 snakes + 3 pods at 13 each.
  EXPECT_EQ(CountAliens(Rows(6)), 61);
}

TEST_F(LevelCatalogue, SpiralsInDegreesAreKeptToTwoDecimals) {
  const auto l16 = Rows(16);
  ExpectAt(l16[2], 0, 0);
  ExpectAt(l16[3], 1.74, 9.85, 1e-4);
  ExpectAt(l16[37], -60.78, 344.68, 1e-4);
  // Level 17's GruntXY arm picks the spiral up at radius 160, -110 degrees.
  const auto l17 = Rows(17);
  ExpectAt(l17[18], -54.72, -150.35, 1e-4);
  EXPECT_EQ(l17[18].Tick, 400);
  EXPECT_EQ(l17[19].Tick, 350);
  EXPECT_EQ(l17[18].Kind, BlobKind::GruntXY);
  // Level 28's rings.
  const auto l28 = Rows(28);
  ExpectAt(l28[3], 98.66, -16.33, 1e-4);
  ExpectAt(l28[66], 227.71, -328.86, 1e-4);
  EXPECT_EQ(l28[66].Tick, 580);
  EXPECT_EQ(l28[66].Kind, BlobKind::GruntXY);
}

TEST_F(LevelCatalogue, TwinSpiralsOfLevel18Alternate) {
  const auto l18 = Rows(18);
  EXPECT_EQ(l18[2].Kind, BlobKind::Gravitar);
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(l18[3 + 2 * i].Kind, BlobKind::GruntXY);
    EXPECT_EQ(l18[4 + 2 * i].Kind, BlobKind::Grunt);
    EXPECT_EQ(l18[3 + 2 * i].Tick, 5 * i);
    EXPECT_EQ(l18[4 + 2 * i].Tick, 5 * i);
    EXPECT_EQ(l18[3 + 2 * i].Lives, 2);
    EXPECT_TRUE(l18[4 + 2 * i].FixedSpawn);
  }
  ExpectAt(l18[6], 7.26, -29.11, 1e-4);  // Grunt arm, radius 30 at -76 degrees
}

TEST_F(LevelCatalogue, CirclesRunOnTheDegreeCounterWithPiAs3142) {
  const auto l21 = Rows(21);
  ExpectAt(l21[4], -104.8956, 230.9056);  // GruntXY ring about (-200, 200), D = 18
  ExpectAt(l21[5], 295.0792, -169.0170);  // Grunt ring about (200, -200), D = 378
  ExpectAt(l21[6], -119.1031, 258.7851);  // GruntXY, D = 36
  EXPECT_EQ(l21[4].Kind, BlobKind::GruntXY);
  EXPECT_EQ(l21[5].Kind, BlobKind::Grunt);
  ExpectAt(l21[44], 95.0539, 31.0605);  // first boid, D = 738
  EXPECT_EQ(l21[44].Tick, 0);
  EXPECT_EQ(l21[63].Tick, 0);
  EXPECT_EQ(l21[64].Tick, 255);
  EXPECT_EQ(l21[83].Tick, 350);
  ExpectAt(l21[83], 99.9995, 0.3259);

  // D = 2358 is six turns and 198 degrees, but pi taken as 3.142 lands it
  // visibly off the exact point (-190.21, -61.80).
  const auto l39 = Rows(39);
  ExpectAt(l39[10], -189.8788, -62.8175);
  ExpectExtraIsPosition(l39[10]);
  EXPECT_EQ(l39[10].Kind, BlobKind::GruntXY);

  // Spirals on the counter too.
  const auto l23 = Rows(23);
  ExpectAt(l23[3], 4.0107, 4.4626);
  EXPECT_EQ(l23[3].Tick, 4);
}

TEST_F(LevelCatalogue, SineWavesAcrossAndDown) {
  const auto l22 = Rows(22);
  ExpectAt(l22[4], -280, 41.5877);
  ExpectAt(l22[5], 280, 41.5877);
  EXPECT_EQ(l22[4].Tick, 1);
  EXPECT_EQ(l22[5].Tick, 1);
  ExpectAt(l22[62], 300, 0.1629);
  ExpectAt(l22[63], -300, 0.1629);
  EXPECT_EQ(l22[63].Tick, 30);

  const auto l32 = Rows(32);
  ExpectAt(l32[2], 65.5514, 350);
  ExpectAt(l32[3], -83.8963, 350);
  ExpectAt(l32[32], 19.0833, -400);
  ExpectExtraIsPosition(l32[32]);

  const auto l36 = Rows(36);
  ExpectAt(l36[4], -360, -137.4182);
  ExpectAt(l36[43], -400, 200.1629);
}

TEST_F(LevelCatalogue, ChainsStepFromOneRandomPoint) {
  const auto l29 = Rows(29);
  // Chain 1 (Grunts, 50 apart) and chain 2 (GruntXYs) alternate.
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(l29[3 + 2 * i].Kind, BlobKind::Grunt);
    EXPECT_EQ(l29[4 + 2 * i].Kind, BlobKind::GruntXY);
    EXPECT_EQ(l29[3 + 2 * i].Tick, 5 + 5 * i);
    ExpectExtraIsPosition(l29[3 + 2 * i]);
  }
  // The first link is one step from a whole-number start point in the arena.
  const double startX = l29[3].Position.X - 49.2013, startY = l29[3].Position.Y + 8.9011;
  EXPECT_NEAR(startX, std::round(startX), 0.002);
  EXPECT_NEAR(startY, std::round(startY), 0.002);
  EXPECT_GE(startX, -500.01);
  EXPECT_LE(startX, 499.01);
  EXPECT_NEAR(l29[5].Position.X - l29[3].Position.X, 41.0817, 0.002);
  EXPECT_NEAR(l29[5].Position.Y - l29[3].Position.Y, 28.5007, 0.002);
  EXPECT_NEAR(l29[17].Position.X - l29[15].Position.X, 28.5258, 0.002);
  EXPECT_NEAR(l29[17].Position.Y - l29[15].Position.Y, -41.0643, 0.002);
  // Chains 3 and 4 alternate in the second wave.
  EXPECT_EQ(l29[19].Tick, 355);
  EXPECT_EQ(l29[20].Tick, 355);
  EXPECT_EQ(l29[19].Kind, BlobKind::Grunt);
  EXPECT_NEAR(l29[21].Position.X - l29[19].Position.X, 147.1629, 0.002);
  EXPECT_NEAR(l29[21].Position.Y - l29[19].Position.Y, -29.0359, 0.002);
}

TEST_F(LevelCatalogue, PointListsAndTheirTicks) {
  const auto l35 = Rows(35);
  ExpectAt(l35[4], 240, 26.5);
  ExpectAt(l35[12], 97.02, -70.78);
  ExpectAt(l35[51], 218.3, 164.69);
  EXPECT_EQ(l35[4].Tick, 5);
  EXPECT_EQ(l35[11].Tick, 40);
  EXPECT_EQ(l35[12].Tick, 5);
  EXPECT_EQ(l35[51].Tick, 40);
  ExpectExtraIsPosition(l35[51]);

  // Level 31: four arms, one GruntXY per arm each tick.
  const auto l31 = Rows(31);
  ExpectAt(l31[2], 100, 0);
  ExpectAt(l31[3], 0, 100);
  ExpectAt(l31[4], 0, -100);
  ExpectAt(l31[5], -100, 0);
  EXPECT_EQ(l31[5].Tick, 5);
  EXPECT_EQ(l31[6].Tick, 10);
  ExpectAt(l31[33], -450, 0);
  EXPECT_EQ(l31[33].Tick, 40);

  // Level 19: the six columns at 1200 alternate, then the snake's curve.
  const auto l19 = Rows(19);
  ExpectAt(l19[61], 400, 150);
  ExpectAt(l19[62], 400, -50);
  ExpectAt(l19[72], 150, -50);
  ExpectAt(l19[73], 400, 50);
  EXPECT_EQ(l19[73].Kind, BlobKind::GruntXY);
  ExpectAt(l19[86], -235.34, 88.99);
  ExpectAt(l19[95], 0, 0);
  EXPECT_EQ(l19[95].Kind, BlobKind::Snake);
  EXPECT_EQ(l19[118].Tick, 2500);
  EXPECT_EQ(l19[118].Kind, BlobKind::Snake);
}

TEST(LevelCatalogueRandom, LevelOneDrawsEachTermInRowOrder) {
  // Replay the draws level 1 should make: the pickup's tick and point, then
  // the two corner waves alternating, X before Y, each term its own draw.
  RandomSeed(99);
  const int pickupTick = Random(200);
  const int pickupX = Random(1000) - 500, pickupY = Random(1000) - 500;
  int waveX[10], waveY[10];
  for (int i = 0; i < 10; ++i) {
    const bool gruntXY = i % 2 == 0;
    waveX[i] = (gruntXY ? -425 : 375) + Random(50);
    waveY[i] = (gruntXY ? 375 : -425) + Random(50);
  }
  const std::vector<TSpawnRecord> l1 = LevelRows(BuildScript(99), 1);
  EXPECT_EQ(l1[0].Tick, pickupTick);
  ExpectAt(l1[0], pickupX, pickupY, 0);
  EXPECT_EQ(l1[0].Extra.X, 0.0f);
  for (int i = 0; i < 10; ++i) {
    const TSpawnRecord& r = l1[3 + i];
    EXPECT_EQ(r.Kind, i % 2 == 0 ? BlobKind::GruntXY : BlobKind::Grunt);
    EXPECT_EQ(r.Tick, 25 + 25 * (i / 2));
    EXPECT_TRUE(r.FixedSpawn);
    ExpectAt(r, waveX[i], waveY[i], 0);
    EXPECT_EQ(r.Extra.X, i % 2 == 0 ? -400.0f : 400.0f);
  }
}

TEST(LevelCatalogueRandom, RandomTermsStayInTheirRanges) {
  float pickupMin = 1e9f, pickupMax = -1e9f;
  int pickupsOffDiagonal = 0;
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    const std::vector<TSpawnRecord> s = BuildScript(seed);
    for (const TSpawnRecord& r : s) {
      if (r.Kind != BlobKind::Pickup) continue;
      // (A, A): whole numbers -500..499, drawn separately for X and Y.
      for (float v : {r.Position.X, r.Position.Y}) {
        EXPECT_TRUE(IsWhole(v));
        pickupMin = std::min(pickupMin, v);
        pickupMax = std::max(pickupMax, v);
      }
      pickupsOffDiagonal += r.Position.X != r.Position.Y;
    }
    for (const TSpawnRecord& r : LevelRows(s, 1))
      if (r.Kind == BlobKind::Pickup) {
        EXPECT_LT(r.Tick, 200);
      }
    for (const TSpawnRecord& r : LevelRows(s, 5)) {
      if (r.Kind == BlobKind::GruntXY) {  // (375 - r, 375 + r)
        EXPECT_TRUE(r.Position.X >= 326 && r.Position.X <= 375);
        EXPECT_TRUE(r.Position.Y >= 375 && r.Position.Y <= 424);
      } else if (r.Kind == BlobKind::Grunt) {  // (-425 - r, 375 - r)
        EXPECT_TRUE(r.Position.X >= -474 && r.Position.X <= -425);
        EXPECT_TRUE(r.Position.Y >= 326 && r.Position.Y <= 375);
      }
    }
    for (const TSpawnRecord& r : LevelRows(s, 9))  // B: -400..399
      if (r.Kind == BlobKind::Boid) {
        EXPECT_TRUE(r.Position.X >= -400 && r.Position.X <= 399 && IsWhole(r.Position.X));
      }
    for (const TSpawnRecord& r : LevelRows(s, 2))  // C: -375..624, extra drawn too
      if (r.Kind == BlobKind::GruntXY) {
        EXPECT_TRUE(r.Extra.Y >= -375 && r.Extra.Y <= 624);
      }
    for (const TSpawnRecord& r : LevelRows(s, 7))  // 200 + Random(400)
      if (r.Kind == BlobKind::Pickup && r.Param == 1) {
        EXPECT_TRUE(r.Tick >= 200 && r.Tick <= 599);
      }
    // i x Random(50): row i fires on a multiple of i below 50 i.
    const auto l10 = LevelRows(s, 10);
    for (int i = 0; i < 20; ++i) {
      const int tick = l10[3 + i].Tick;
      if (i == 0) {
        EXPECT_EQ(tick, 0);
      } else {
        EXPECT_EQ(tick % i, 0);
        EXPECT_LT(tick, 50 * i);
      }
    }
    const auto l40 = LevelRows(s, 40);
    for (int i = 1; i < 20; ++i) EXPECT_EQ((l40[4 + i].Tick - 500) % i, 0);
  }
  EXPECT_EQ(pickupMin, -500.0f);
  EXPECT_EQ(pickupMax, 499.0f);
  EXPECT_GT(pickupsOffDiagonal, 0);
}

TEST(LevelCatalogueRandom, SameSeedSameScriptOtherSeedOtherPoints) {
  const std::vector<TSpawnRecord> a = BuildScript(7), b = BuildScript(7), c = BuildScript(8);
  ASSERT_EQ(a.size(), b.size());
  ASSERT_EQ(a.size(), c.size());
  int differing = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].Tick, b[i].Tick);
    EXPECT_EQ(a[i].Position.X, b[i].Position.X);
    EXPECT_EQ(a[i].Position.Y, b[i].Position.Y);
    EXPECT_EQ(a[i].Extra.X, b[i].Extra.X);
    EXPECT_EQ(a[i].Extra.Y, b[i].Extra.Y);
    EXPECT_EQ(a[i].Kind, c[i].Kind);  // the shape of the script never depends on the draws
    differing += a[i].Position.X != c[i].Position.X || a[i].Tick != c[i].Tick;
  }
  EXPECT_GT(differing, 300);
  // The laid-out shapes do not move with the seed.
  const auto a16 = LevelRows(a, 16), c16 = LevelRows(c, 16);
  for (std::size_t i = 0; i < a16.size(); ++i) EXPECT_EQ(a16[i].Position.X, c16[i].Position.X);
}
