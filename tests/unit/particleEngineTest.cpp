// The particle pool: emission into the first free slot, life and fade, the
// bounce off the arena walls, and what every style puts on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "gfx/MS3DObj.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/RecordingRenderer.h"
#include "gfx/ScopedRenderer.h"

namespace {
const TIntRect Arena{-500, 500, 500, -500};

class ParticleEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { RandomSeed(1234); }

  // One particle going nowhere (speed 0, fixed), living long.
  void AddStill(TVector3 pos, std::uint8_t style, int tailBase = 8) {
    Engine.AddParticle(pos, true, MakeVector(0.6f, 0.8f, 0), style, MakeColor(1, 0.5f, 0.25f), false, 0, 0, 1000, 1000,
                       tailBase);
  }

  TRecordingRenderer Rec;
  TScopedRenderer Installed{Rec};
  TParticleEngine Engine{Arena};
};

TEST_F(ParticleEngineTest, EmissionFillsTheFirstFreeSlotWithTheRequestedRanges) {
  for (int n = 0; n < 300; ++n)
    Engine.AddParticle(MakeVector(1, 2, 0), false, TVector3{}, 5, MakeColor(0, 1, 0), true, 2, 6, 50, 100, 8);
  EXPECT_EQ(Engine.ActiveCount(), 300);
  for (int i = 0; i < 300; ++i) {
    const TParticle& p = std::as_const(Engine)[i];
    EXPECT_GE(p.Life, 50);
    EXPECT_LT(p.Life, 100);
    EXPECT_GE(p.Speed, 2);
    EXPECT_LT(p.Speed, 6);
    EXPECT_GE(p.TailLength, 8);
    EXPECT_LT(p.TailLength, 16);
    EXPECT_FLOAT_EQ(p.Alpha, 1.0f);
    EXPECT_NEAR(std::hypot(p.Velocity.X, p.Velocity.Y), 1.0f, 1e-5f);  // a random heading
    EXPECT_EQ(p.Velocity.Z, 0);
  }
  // A freed slot in the middle is the next one used.
  Engine[137].SetActive(false);
  Engine.AddParticle(MakeVector(9, 9, 0), true, MakeVector(0, 1, 0), 3, MakeColor(1, 1, 1), false, 0, 3, 10, 10, 0);
  EXPECT_EQ(Engine[137].Position.X, 9);
  EXPECT_EQ(Engine[137].Speed, 3);
  EXPECT_EQ(Engine[137].Life, 10);
  EXPECT_FALSE(Engine[300].Active);

  // Each frame takes a uniform bite below a sixth out of every speed.
  float before[300], lost = 0, most = 0;
  for (int i = 0; i < 300; ++i) before[i] = Engine[i].Speed;
  Engine.UpdateAndDraw();
  for (int i = 0; i < 300; ++i) {
    const float bite = before[i] - Engine[i].Speed;
    EXPECT_GE(bite, 0);
    lost += bite;
    most = std::max(most, bite);
  }
  EXPECT_LT(most, 1.0f / 6);
  EXPECT_GT(most, 0.15f);
  EXPECT_NEAR(lost / 300, 1.0f / 12, 0.01f);
}

TEST_F(ParticleEngineTest, EmptyOrInvertedRangesGiveTheirLowerEnd) {
  Engine.AddParticle(TVector3{}, true, MakeVector(1, 0, 0), 3, MakeColor(1, 1, 1), true, 7, 4, 60, 20, 5);
  EXPECT_EQ(Engine[0].Speed, 7);
  EXPECT_EQ(Engine[0].Life, 60);
}

TEST_F(ParticleEngineTest, AFullPoolDropsTheRequest) {
  for (int n = 0; n < TParticleEngine::PoolSize; ++n) AddStill(MakeVector(float(n), 0, 0), 3);
  ASSERT_EQ(Engine.ActiveCount(), TParticleEngine::PoolSize);
  Engine.AddParticle(MakeVector(-77, -77, 0), true, MakeVector(1, 0, 0), 6, MakeColor(0, 0, 1), false, 0, 9, 5, 5, 1);
  EXPECT_EQ(Engine.ActiveCount(), TParticleEngine::PoolSize);
  for (int i = 0; i < TParticleEngine::PoolSize; ++i) {
    ASSERT_EQ(Engine[i].Position.X, float(i));
    ASSERT_EQ(Engine[i].Style, 3);
  }
}

TEST_F(ParticleEngineTest, ZeroLifeIsFreedUnmovedAndUndrawn) {
  Engine.AddParticle(MakeVector(10, 20, 0), true, MakeVector(1, 0, 0), 5, MakeColor(1, 1, 1), false, 0, 5, 0, 0, 8);
  ASSERT_EQ(Engine[0].Life, 0);
  Engine.UpdateAndDraw();
  EXPECT_FALSE(Engine[0].Active);
  EXPECT_EQ(Engine[0].Position.X, 10);
  EXPECT_TRUE(Rec.Primitives.empty());
}

TEST_F(ParticleEngineTest, ALongLivedParticleFadesOutAfterFortyDrawnFrames) {
  AddStill(TVector3{}, 3);
  int drawnFrames = 0;
  for (int frame = 0; frame < 100; ++frame) {
    Rec.Reset();
    Engine.UpdateAndDraw();
    if (!Rec.Primitives.empty()) ++drawnFrames;
  }
  EXPECT_EQ(drawnFrames, 40);
  EXPECT_FALSE(Engine[0].Active);
}

TEST_F(ParticleEngineTest, BouncesOffTheWallByTheDirectionAlone) {
  // The move ends at X = 505: back to the wall, reversed, one step of -0.8.
  Engine.AddParticle(MakeVector(504.2f, 0, 0), true, MakeVector(0.8f, 0, 0), 3, MakeColor(1, 1, 1), false, 0, 1, 50, 50,
                     8);
  // The same off the bottom wall.
  Engine.AddParticle(MakeVector(0, -503.8f, 0), true, MakeVector(0, -0.6f, 0), 3, MakeColor(1, 1, 1), false, 0, 2, 50,
                     50, 8);
  Engine.UpdateAndDraw();
  EXPECT_NEAR(Engine[0].Position.X, 499.2f, 1e-4f);
  EXPECT_FLOAT_EQ(Engine[0].Velocity.X, -0.8f);
  EXPECT_NEAR(Engine[1].Position.Y, -499.4f, 1e-4f);
  EXPECT_FLOAT_EQ(Engine[1].Velocity.Y, 0.6f);
  // Speed is then slowed by less than a sixth of a unit.
  EXPECT_LE(Engine[0].Speed, 1.0f);
  EXPECT_GT(Engine[0].Speed, 1.0f - 1.0f / 6);
  // Ending exactly on a wall is not beyond it.
  Engine.AddParticle(MakeVector(498, 0, 0), true, MakeVector(1, 0, 0), 3, MakeColor(1, 1, 1), false, 0, 2, 50, 50, 8);
  Engine.AddParticle(MakeVector(0, -498, 0), true, MakeVector(0, -1, 0), 3, MakeColor(1, 1, 1), false, 0, 2, 50, 50, 8);
  Engine.UpdateAndDraw();
  EXPECT_EQ(Engine[2].Position.X, 500);
  EXPECT_EQ(Engine[2].Velocity.X, 1);
  EXPECT_EQ(Engine[3].Position.Y, -500);
  EXPECT_EQ(Engine[3].Velocity.Y, -1);
}

TEST_F(ParticleEngineTest, ClearLeavesNothingToDraw) {
  for (int n = 0; n < 50; ++n) AddStill(MakeVector(float(n), 0, 0), std::uint8_t(n % 7));
  Engine.Clear();
  EXPECT_EQ(Engine.ActiveCount(), 0);
  Engine.UpdateAndDraw();
  EXPECT_TRUE(Rec.Primitives.empty());
}

TEST_F(ParticleEngineTest, UnknownStylesLiveMoveAndFadeUnseen) {
  Engine.AddParticle(TVector3{}, true, MakeVector(1, 0, 0), 11, MakeColor(1, 1, 1), false, 0, 2, 1000, 1000, 8);
  Engine.UpdateAndDraw();
  EXPECT_TRUE(Engine[0].Active);
  EXPECT_EQ(Engine[0].Position.X, 2);
  EXPECT_FLOAT_EQ(Engine[0].Alpha, 0.98f);
  EXPECT_TRUE(Rec.Primitives.empty());
  EXPECT_EQ(Rec.StackDepth(), 0);
}

// What each line and point style draws: core then half-alpha glow.
struct TStyleLook {
  std::uint8_t Style;
  TPrimitive Prim;
  int Passes;
  float First, Second;  // line width or point size of each pass
};

TEST_F(ParticleEngineTest, LineAndPointStylesDrawCoreAndGlow) {
  const TStyleLook looks[] = {
      {0, TPrimitive::Lines, 2, 1, 2},  {1, TPrimitive::Lines, 2, 2, 4},  {2, TPrimitive::Lines, 2, 4, 8},
      {3, TPrimitive::Points, 1, 1, 0}, {4, TPrimitive::Points, 2, 1, 3}, {5, TPrimitive::Points, 2, 2, 4},
      {6, TPrimitive::Points, 2, 4, 8},
  };
  for (const TStyleLook& look : looks) {
    SCOPED_TRACE(int(look.Style));
    Engine.Clear();
    Rec.Reset();
    AddStill(MakeVector(100, -50, 0), look.Style, 10);
    const int tail = Engine[0].TailLength;
    Engine.UpdateAndDraw();
    ASSERT_EQ(int(Rec.Primitives.size()), look.Passes);
    const float alpha = Engine[0].Alpha;
    for (int pass = 0; pass < look.Passes; ++pass) {
      const TRecordedPrimitive& prim = Rec.Primitives[pass];
      EXPECT_EQ(prim.Prim, look.Prim);
      const float size = pass == 0 ? look.First : look.Second;
      EXPECT_EQ(look.Prim == TPrimitive::Lines ? prim.LineWidth : prim.PointSize, size);
      EXPECT_FLOAT_EQ(prim.Colour.A, pass == 0 ? alpha : alpha / 2);
      EXPECT_FLOAT_EQ(prim.Colour.G, 0.5f);
      EXPECT_FLOAT_EQ(prim.Vertices[0].X, 100);
      EXPECT_FLOAT_EQ(prim.Vertices[0].Y, -50);
      if (look.Prim == TPrimitive::Lines) {
        // The tail points back against the direction of travel.
        ASSERT_EQ(prim.Vertices.size(), 2u);
        EXPECT_NEAR(prim.Vertices[1].X, 100 - 0.6f * float(tail), 1e-4f);
        EXPECT_NEAR(prim.Vertices[1].Y, -50 - 0.8f * float(tail), 1e-4f);
      } else {
        EXPECT_EQ(prim.Vertices.size(), 1u);
      }
    }
    EXPECT_EQ(Rec.StackDepth(), 0);
  }
}

TEST_F(ParticleEngineTest, SpriteStylesLeaveLightingOffAndBlendingOn) {
  // Without a model nothing is drawn, but the state is left as the frame expects.
  for (std::uint8_t style = 7; style <= 10; ++style) AddStill(TVector3{}, style);
  Rec.Enable(TCapability::Light0);
  Rec.BlendFunc(TBlendMode::AlphaOne);
  Engine.UpdateAndDraw();
  EXPECT_TRUE(Rec.Primitives.empty());
  EXPECT_FALSE(Rec.IsEnabled(TCapability::Lighting));
  EXPECT_FALSE(Rec.IsEnabled(TCapability::Light0));
  EXPECT_TRUE(Rec.IsEnabled(TCapability::Blend));
  EXPECT_EQ(Rec.CurrentBlend(), TBlendMode::AlphaOneMinusAlpha);
  EXPECT_EQ(Rec.StackDepth(), 0);
}

// A one-triangle model with a corner lifted off the plane, to see the
// flattening and the scale of the sprite styles.
const char* const TriangleModel = R"(// MilkShape 3D ASCII

Frames: 30
Frame: 1

Meshes: 1
"Tri" 0 0
3
0 -1.000000 -1.000000 0.000000 0.000000 0.000000 -1
0 1.000000 -1.000000 0.000000 1.000000 0.000000 -1
0 0.000000 1.000000 5.000000 0.500000 1.000000 -1
1
0.000000 0.000000 1.000000
1
0 0 1 2 0 0 0 1

Materials: 1
"Mat"
0.200000 0.200000 0.200000 1.000000
0.800000 0.800000 0.800000 1.000000
0.000000 0.000000 0.000000 1.000000
0.000000 0.000000 0.000000 1.000000
0.000000
1.000000
""
""

Bones: 0
)";

TEST_F(ParticleEngineTest, SpriteStylesDrawTheModelFlatAndScaledLitByItsColour) {
  TMS3DObj model;
  model.LoadFromText(TriangleModel);
  Engine.Model = &model;
  for (std::uint8_t style = 7; style <= 10; ++style) {
    SCOPED_TRACE(int(style));
    Engine.Clear();
    Rec.Reset();
    AddStill(MakeVector(40, 30, 0), style);
    Engine.UpdateAndDraw();
    ASSERT_FALSE(Rec.Primitives.empty());
    const float scale = 2.0f * float(style - 6);
    float minX = 1e9f, maxX = -1e9f;
    for (const TRecordedPrimitive& prim : Rec.Primitives) {
      EXPECT_TRUE(prim.Lighting);
      for (const TVector3& v : prim.Vertices) {
        EXPECT_FLOAT_EQ(v.Z, 0);  // flattened onto the arena
        minX = std::min(minX, v.X);
        maxX = std::max(maxX, v.X);
      }
    }
    EXPECT_FLOAT_EQ(minX, 40 - scale);
    EXPECT_FLOAT_EQ(maxX, 40 + scale);
    ASSERT_FALSE(Rec.Materials.empty());
    EXPECT_FLOAT_EQ(Rec.Materials.back().Ambient[1], 0.5f);  // the particle's own colour
    EXPECT_FALSE(Rec.IsEnabled(TCapability::Lighting));
  }
  Engine.Model = nullptr;
}
}  // namespace
