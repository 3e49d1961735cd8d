// What the player sees, read from the real OpenGL picture: the cursor's cross
// over its glow, overlapping grunts drawn whole, the title and the HUD.
#include <vector>

#include "enemies/blobGrunt.h"
#include "entities/blobPlayer.h"
#include "gfx/ParticleEngine.h"
#include "levels/LevelManager.h"
#include "tests/support/Arrange.h"
#include "tests/support/PixelTest.h"

namespace {
TSnapshotOptions Play(int level, int frames, unsigned long seed, std::uint8_t mode) {
  TSnapshotOptions o;
  o.Level = level, o.Frames = frames, o.Seed = seed, o.Mode = mode;
  return o;
}

bool Grey(TRgb c) { return c.R > 90 && c.R < 170 && std::abs(c.R - c.G) < 12 && std::abs(c.G - c.B) < 12; }
bool Magenta(TRgb c) { return c.R > 200 && c.B > 200 && c.G < 60; }
bool Purple(TRgb c) { return c.R > 90 && c.R < 170 && c.B > 200 && c.G < 60; }
bool PureBlue(TRgb c) { return c.R < 50 && c.B > 200 && c.G < 60; }
// The cursor's glow: a faint yellow, far below the cross's brightness.
bool FaintYellow(TRgb c) { return c.R > 1 && c.G > 1 && c.R < 100 && std::abs(c.R - c.G) <= 2; }
}  // namespace

TEST_F(PixelTest, CursorCrossIsDrawnOverItsGlowInMouseModeOnly) {
  const float cx = 300, cy = -250;
  for (const std::uint8_t mode : {InputModes::Mouse, InputModes::Keyboard}) {
    SCOPED_TRACE(mode == InputModes::Mouse ? "mouse" : "keyboard");
    TSnapshotOptions options = Play(1, 60, 5, mode);
    options.HoldCursor = true, options.CursorX = int(cx), options.CursorY = int(cy);
    TSnapshotGame game(options);
    game.Run();
    // The ship fires at the cursor: take its bullets away so none crosses it.
    for (TBlob* b : TArrange(game.Host()).World().Bullets()) b->SetActive(false);
    game.Step();
    const TGameHost::TShipReport ship = game.Host().Ship();
    ASSERT_GT(std::hypot(ship.X - cx, ship.Y - cy), 120) << "the ship's sparks would be in the way";

    const TPixelPicture picture = Picture();
    // Both arms of the cross, from (-10, 10) to (10, -10) and (10, 10) to (-10, -10).
    int onCross = 0;
    for (const float t : {-7.0f, -4.0f, 4.0f, 7.0f}) {
      onCross += picture.AnyNear(cx + t, cy - t, BrightYellow);
      onCross += picture.AnyNear(cx + t, cy + t, BrightYellow);
    }
    const int glow = picture.CountIn(cx - 20, cy - 20, cx + 20, cy + 20, FaintYellow);
    if (mode == InputModes::Mouse) {
      EXPECT_EQ(onCross, 8) << "the yellow cross over the cursor; beside it " << picture.Describe(cx + 4, cy - 4);
      EXPECT_GT(glow, 200) << "the cursor's glow under the cross";
    } else {
      EXPECT_EQ(onCross, 0) << "no cursor without the mouse";
      EXPECT_LT(glow, 20) << "no cursor glow without the mouse";
    }
  }
}

TEST_F(PixelTest, TwoOverlappingGruntsEachShowAllFourEdges) {
  TSnapshotGame game(Play(1, 1, 3, InputModes::Keyboard));  // the ship rests at the centre
  game.Run();
  TWorld& world = TArrange(game.Host()).World();
  world.LevelManager().Spawns.clear();  // an empty arena but for ours
  for (TBlob* e : world.Enemies()) e->SetActive(false);
  std::vector<TBlobGrunt*> grunts;
  for (const TVector3 at : {TVector3{200, 150, 0}, TVector3{225, 170, 0}}) {
    auto grunt = std::make_unique<TBlobGrunt>();
    grunt->SetSpawn(at, 1, true, TVector3{});
    grunt->Player = &world.Player();
    grunt->Particles = &world.Particles();
    grunt->GlowModel = &world.ModelRectFrame();
    grunts.push_back(grunt.get());
    world.Enemies().Adopt(std::move(grunt));
  }
  for (int f = 0; f < 40; ++f) game.Step();  // grown in and hunting
  // Each draws itself where it stood before this frame's step.
  const TVector3 drawnAt[2] = {grunts[0]->Position, grunts[1]->Position};
  game.Step();

  const TPixelPicture picture = Picture();
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(grunts[i]->State, BlobState::Alive);
    const float h = 20 * grunts[i]->PulseScale, x = drawnAt[i].X, y = drawnAt[i].Y;
    const struct {
      const char* Name;
      float X0, Y0, X1, Y1;
    } edges[] = {{"left", x - h, y - h, x - h, y + h},
                 {"right", x + h, y - h, x + h, y + h},
                 {"bottom", x - h, y - h, x + h, y - h},
                 {"top", x - h, y + h, x + h, y + h}};
    for (const auto& e : edges) {
      std::string missing;
      for (int k = 1; k <= 9; ++k) {
        const float s = 0.1f * float(k), px = e.X0 + s * (e.X1 - e.X0), py = e.Y0 + s * (e.Y1 - e.Y0);
        if (!picture.AnyNear(px, py, BrightBlue)) missing += " " + picture.Describe(px, py);
      }
      EXPECT_TRUE(missing.empty()) << "grunt " << i << ", " << e.Name << " edge missing at:" << missing;
    }
  }
}

TEST_F(PixelTest, TitleShowsTheHeadingTheEditionAndTheMiddleBracket) {
  for (const bool locked : {false, true}) {
    SCOPED_TRACE(locked ? "level locked" : "level open");
    TSnapshotOptions options = Play(10, 5, 4, InputModes::Mouse);
    options.Title = true;
    options.HoldCursor = true, options.CursorX = -450, options.CursorY = -450;  // its sparkles out of the way
    TSnapshotGame game(options);
    if (locked) TArrange(game.Host()).LevelsOpen(3);
    game.Run();
    const TPixelPicture picture = Picture();

    // "Q U A D R O V O L T" from x -450 at y 200, four times wide and eight tall.
    EXPECT_GT(picture.CountIn(-475, 120, 475, 280, White), 2000);
    EXPECT_LT(picture.CountIn(-475, 120, 475, 280, BrightYellow), 50);
    // "final edition" at (350, 100) in yellow.
    EXPECT_GT(picture.CountIn(340, 88, 515, 112, BrightYellow), 100);
    EXPECT_LT(picture.CountIn(340, 88, 515, 112, White), 20);

    // The brackets round the middle number: white when it can be chosen, grey when locked.
    const TPixelTest bracket = locked ? TPixelTest(Grey) : TPixelTest(White);
    const float points[][2] = {{52, -116}, {66, -116}, {80, -116}, {52, -160}, {66, -160},
                               {80, -160}, {48, -121}, {84, -121}, {48, -155}, {84, -155}};
    for (const auto& p : points)
      EXPECT_TRUE(picture.AnyNear(p[0], p[1], bracket))
          << "bracket at " << p[0] << "," << p[1] << ": " << picture.Describe(p[0], p[1]);
  }
}

TEST_F(PixelTest, EnergyBarRunsFromMagentaToBlue) {
  TSnapshotGame game(Play(1, 30, 2, InputModes::Keyboard));
  game.Run();
  const TPixelPicture picture = Picture();
  // 200 units from x -400 at full energy, along y 520.
  EXPECT_TRUE(picture.AnyNear(-396, 520, Magenta)) << picture.Describe(-396, 520);
  EXPECT_TRUE(picture.AnyNear(-300, 520, Purple)) << picture.Describe(-300, 520);
  EXPECT_TRUE(picture.AnyNear(-204, 520, PureBlue)) << picture.Describe(-204, 520);
  EXPECT_FALSE(picture.AnyNear(-190, 520, PureBlue)) << "the bar ends at -200: " << picture.Describe(-190, 520);
}
