// The step and the picture apart: a step makes no drawing call however busy
// the arena, a picture changes nothing of the game, and the old tick (a step,
// then its picture unless paused) still works for the hosts that use it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "app/GameConstants.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/ParticleEngine.h"
#include "gfx/Random.h"
#include "gfx/RecordingRenderer.h"
#include "gfx/ScopedRenderer.h"
#include "gfx/geometryGrid.h"
#include "levels/LevelManager.h"
#include "tests/support/Arrange.h"
#include "tests/support/Fingerprint.h"
#include "tools/harness/WindowlessGame.h"
#include "tools/pilot/AutoPilot.h"

namespace {
// Every call is a fault: counted, and the first one named.
class TFailingRenderer : public TRenderer {
 public:
  int Calls = 0;
  std::string First;

  void Viewport(int, int, int, int) override { Fail("Viewport"); }
  void Frustum(double, double, double, double, double, double) override { Fail("Frustum"); }
  void ClearFrame() override { Fail("ClearFrame"); }
  void BeginFrameState() override { Fail("BeginFrameState"); }
  void LoadIdentity() override { Fail("LoadIdentity"); }
  void PushMatrix() override { Fail("PushMatrix"); }
  void PopMatrix() override { Fail("PopMatrix"); }
  void Translate(float, float, float) override { Fail("Translate"); }
  void Rotate(float, float, float, float) override { Fail("Rotate"); }
  void Scale(float, float, float) override { Fail("Scale"); }
  void Color(float, float, float, float) override { Fail("Color"); }
  void LineWidth(float) override { Fail("LineWidth"); }
  void PointSize(float) override { Fail("PointSize"); }
  void Enable(TCapability) override { Fail("Enable"); }
  void Disable(TCapability) override { Fail("Disable"); }
  void BlendFunc(TBlendMode) override { Fail("BlendFunc"); }
  void LightAmbient(float, float, float, float) override { Fail("LightAmbient"); }
  void Material(const TMaterialColours&) override { Fail("Material"); }
  unsigned CreateTexture(int, int, const std::uint8_t*) override {
    Fail("CreateTexture");
    return 0;
  }
  void BindTexture(unsigned) override { Fail("BindTexture"); }
  void Begin(TPrimitive) override { Fail("Begin"); }
  void Vertex(float, float, float) override { Fail("Vertex"); }
  void Normal(float, float, float) override { Fail("Normal"); }
  void TexCoord(float, float) override { Fail("TexCoord"); }
  void End() override { Fail("End"); }
  void Flush() override { Fail("Flush"); }

 private:
  void Fail(const char* name) {
    if (Calls++ == 0) First = name;
  }
};

struct TPilotedGame {
  // The game draws through `renderer` (nullptr: nothing) while it lives.
  explicit TPilotedGame(const TAutoPilotOptions& flying, TRenderer* renderer = nullptr) : Flying(flying) {
    TWindowlessSetup setup;
    setup.Seed = 20;
    setup.Renderer = renderer;
    setup.Host.ControlMode = InputModes::Mouse;
    setup.Host.AllLevelsOpen = true;
    setup.Host.KeepReplays = false;
    setup.Host.Assists = flying.Assists();
    Windowless = std::make_unique<TWindowlessGame>(setup);
    Pilot = std::make_unique<TAutoPilot>(Windowless->Host(), flying);
  }
  TGameHost& Host() { return Windowless->Host(); }
  const TQuadrovoltMain& Game() const { return TArrange(Windowless->Host()).ReadOnly(); }
  void Start() {
    Pilot->StartGame();
    Host().Step();  // the title's frame that starts the game
  }
  bool Step() {
    Pilot->BeforeTick(Frame++);
    return Host().Step();
  }

  TAutoPilotOptions Flying;
  std::unique_ptr<TWindowlessGame> Windowless;
  std::unique_ptr<TAutoPilot> Pilot;
  int Frame = 0;
};

TEST(StepApart, BusyStepsMakeNoDrawingCall) {
  const struct {
    const char* Name;
    TAutoPilotOptions Flying;
    bool Title;
    int Steps, MinEnemies, MinParticles;
  } cases[] = {
      {"level 20, three bullets and bombs", {20, 3, true, false}, false, 3000, 30, 900},
      {"level 39, three bullets and bombs", {39, 3, true, false}, false, 3000, 30, 900},
      {"level 4, mortal, through game over", {4, 1, false, true}, false, 4000, 5, 100},
      // Without bombs: the ring would end a boss on its first alive frame.
      {"level 10, the first boss", {10, 3, false, false}, false, 2000, 5, 500},
      {"level 20, the second boss", {20, 3, false, false}, false, 2000, 5, 500},
      {"level 30, the black holes", {30, 3, true, false}, false, 2000, 5, 500},
      {"level 40, the last boss", {40, 3, true, false}, false, 6000, 5, 500},
      {"the title", {10, 1, false, false}, true, 600, 0, 100},
  };
  // Every kind's frames (spawning, alive, dying) ran in a step unseen.
  std::set<std::pair<int, int>> seen;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TPilotedGame game(c.Flying);
    TFailingRenderer failing;
    const TScopedRenderer installed(failing);
    if (c.Title)
      game.Pilot->ShowLevel();
    else
      game.Start();
    int peakEnemies = 0, peakParticles = 0, gameOvers = 0, bulletsFlying = 0;
    for (int f = 0; f < c.Steps; ++f) {
      const std::uint8_t before = game.Host().State();
      ASSERT_TRUE(game.Step()) << "frame " << f;
      gameOvers += before == GameState::Playing && game.Host().State() == GameState::GameOver;
      int active = 0;
      for (const TBlob* e : game.Game().World().Enemies()) {
        active += e->Active;
        if (e->Shown != BlobShown::Nothing) seen.insert({e->Kind, e->Shown});
      }
      for (const TBlob* b : game.Game().World().Bullets()) bulletsFlying += b->Active;
      peakEnemies = std::max(peakEnemies, active);
      peakParticles = std::max(peakParticles, game.Game().World().Particles().ActiveCount());
    }
    EXPECT_EQ(failing.Calls, 0) << "first call from a step: " << failing.First;
    // It was busy: a full arena, a full pool, shots flying (or a game lost).
    EXPECT_GE(peakEnemies, c.MinEnemies);
    EXPECT_GE(peakParticles, c.MinParticles);
    if (c.Title) {
      EXPECT_EQ(game.Host().State(), GameState::Title);
    } else {
      EXPECT_GT(bulletsFlying, 1000);
    }
    if (c.Flying.Mortal) {
      EXPECT_GE(gameOvers, 1);
    }
    // The renderer was there all along: the picture reaches it.
    game.Host().Render();
    EXPECT_GT(failing.Calls, 100);
  }
  for (const std::uint8_t kind :
       {BlobKind::Grunt, BlobKind::GruntXY, BlobKind::Snake, BlobKind::Boid, BlobKind::Pod, BlobKind::PodChild,
        BlobKind::Gravitar, BlobKind::BlackHole, BlobKind::Pickup, BlobKind::Boss2, BlobKind::Boss3, BlobKind::Boss4})
    for (const std::uint8_t frame : {BlobShown::Spawning, BlobShown::Alive, BlobShown::Dying})
      // A snake appears at once, with no spawning frame to show.
      if (kind != BlobKind::Snake || frame != BlobShown::Spawning) {
        EXPECT_TRUE(seen.count({kind, frame})) << "kind " << int(kind) << " never ran frame " << int(frame);
      }
  EXPECT_TRUE(seen.count({BlobKind::Message, BlobShown::Alive}));
}

TEST(StepApart, APictureChangesNothingOfTheGame) {
  // Twins on one seed: one drawn after every step (twice, and through a
  // renderer that records), the other never drawn. They stay the same game.
  for (const bool title : {false, true}) {
    SCOPED_TRACE(title ? "the title" : "level 20");
    const TAutoPilotOptions flying{20, 3, true, false};
    TRecordingRenderer recorder;
    std::uint64_t lastRandom = 0;
    std::size_t primitives = 0;
    auto run = [&](bool drawn) -> std::uint64_t {
      TPilotedGame game(flying, &recorder);
      RandomSeed(77);
      if (title)
        game.Pilot->ShowLevel();
      else
        game.Start();
      for (int f = 0; f < 1500; ++f) {
        game.Step();
        if (!drawn) continue;
        const std::uint64_t before = TFingerprint(game.Host()).Value();
        recorder.Reset();
        game.Host().Render();
        primitives = recorder.Primitives.size();
        game.Host().Render();
        EXPECT_EQ(recorder.Primitives.size(), 2 * primitives) << "the same picture again";
        const std::uint64_t after = TFingerprint(game.Host()).Value();
        EXPECT_EQ(after, before) << "frame " << f;
        if (after != before) break;
      }
      lastRandom = RandomState();
      return TFingerprint(game.Host()).Value();
    };
    const std::uint64_t drawn = run(true);
    const std::uint64_t drawnRandom = lastRandom;
    const std::uint64_t unseen = run(false);
    EXPECT_GT(primitives, title ? 50u : 500u) << "the picture was really drawn";
    EXPECT_EQ(drawn, unseen);
    EXPECT_EQ(drawnRandom, lastRandom);
  }
}

TEST(StepApart, TheTickIsAStepAndItsPictureAndAPausedGameShowsNothingNew) {
  TRecordingRenderer recorder;
  TPilotedGame game(TAutoPilotOptions{3, 1, false, false}, &recorder);
  game.Start();
  for (int f = 0; f < 50; ++f) game.Step();

  recorder.Reset();
  game.Host().Tick();
  const std::size_t oneFrame = recorder.Primitives.size();
  EXPECT_GT(oneFrame, 100u);
  recorder.Reset();
  ASSERT_TRUE(game.Host().Step());
  EXPECT_TRUE(recorder.Primitives.empty()) << "a step alone draws nothing";

  // P pauses: the game stands still and a tick draws nothing new, while
  // Render still shows the last picture.
  game.Host().KeyDown(VK::P);
  game.Host().KeyUp(VK::P);
  recorder.Reset();
  EXPECT_FALSE(game.Host().Step()) << "the step that takes P stands still";
  ASSERT_TRUE(game.Host().Paused());
  const std::uint64_t before = TFingerprint(game.Host()).Value();
  EXPECT_FALSE(game.Host().Step());
  game.Host().Tick();
  EXPECT_TRUE(recorder.Primitives.empty());
  EXPECT_EQ(TFingerprint(game.Host()).Value(), before);
  game.Host().Render();
  EXPECT_GT(recorder.Primitives.size(), 100u);
}
}  // namespace
