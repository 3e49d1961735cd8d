// Headless runner: plays the game with the null renderer, silent sound and an
// automatic pilot, and prints how many game steps a second the logic runs.
//   quadrovolt_headless [--frames N] [--level L] [--bullets 1..3] [--no-grid]
//                       [--bombs] [--mortal] [--seed S]
//                       [--record FILE | --replay FILE]
// The automatic pilot (tools/pilot) flies; --mortal lets the ship be hurt,
// --bombs keeps a shockwave always running.
// --record writes the replay of the run (N frames of play, or less if the
// game ends first; the pilot's repairs, bullets and bombs are kept in it as
// assists); --replay plays one back instead of the pilot. Both end with
//   final: frame N level L score S damage D checksum C
// A replay that cannot be read is refused with its reason and exit code 2; one
// that no longer plays as recorded stops where it parted, with
//   replay diverges at tick N
// and exit code 1.
// Every frame it checks every entity (tools/pilot/EntityCheck.h says what that
// means); a broken frame ends the run with exit code 1.
// --until-levels N stops once N levels are complete, printing
//   level L: N levels complete at frame F
// and fails (exit code 1) when the frames run out first: the soak.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "app/GameHost.h"
#include "app/QuadrovoltMain.h"
#include "gfx/ParticleEngine.h"
#include "tools/harness/WindowlessGame.h"
#include "tools/pilot/AutoPilot.h"
#include "tools/pilot/EntityCheck.h"

namespace {
void PrintFinalLine(const TReplayResult& result) {
  char line[160];
  FormatFinalLine(result, line, sizeof line);
  std::printf("%s\n", line);
}
}  // namespace

int main(int argc, char** argv) {
  const char* recordPath = nullptr;
  const char* replayPath = nullptr;
  int frames = 3000, level = 1, bullets = 1;
  unsigned long seed = 1;
  bool grid = true, mortal = false, bombs = false;
  int untilLevels = 0;
  for (int i = 1; i < argc; ++i) {
    auto next = [&](int& v) {
      if (i + 1 < argc) v = std::atoi(argv[++i]);
    };
    if (!std::strcmp(argv[i], "--frames"))
      next(frames);
    else if (!std::strcmp(argv[i], "--level"))
      next(level);
    else if (!std::strcmp(argv[i], "--bullets"))
      next(bullets);
    else if (!std::strcmp(argv[i], "--no-grid"))
      grid = false;
    else if (!std::strcmp(argv[i], "--mortal"))
      mortal = true;
    else if (!std::strcmp(argv[i], "--bombs"))
      bombs = true;
    else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
      seed = std::strtoul(argv[++i], nullptr, 10);
    else if (!std::strcmp(argv[i], "--record") && i + 1 < argc)
      recordPath = argv[++i];
    else if (!std::strcmp(argv[i], "--replay") && i + 1 < argc)
      replayPath = argv[++i];
    else if (!std::strcmp(argv[i], "--until-levels"))
      next(untilLevels);
    else {
      const bool help = !std::strcmp(argv[i], "--help");
      std::fprintf(help ? stdout : stderr,
                   "usage: %s [--frames N] [--level L] [--bullets 1..3] [--no-grid] [--bombs] [--mortal] [--seed S]\n"
                   "          [--record FILE | --replay FILE] [--until-levels N]\n",
                   argv[0]);
      return help ? 0 : 2;
    }
  }
  // The grid carries the bomb's shockwave: without it a run is another game.
  if ((recordPath || replayPath) && (!grid || (recordPath && replayPath))) {
    std::fprintf(stderr, "%s: --record and --replay go alone, and with the grid\n", argv[0]);
    return 2;
  }
  TReplay replay;
  if (replayPath) {
    std::string why;
    if (!LoadReplayFile(replayPath, replay, why)) {
      std::fprintf(stderr, "%s: %s\n", replayPath, why.c_str());
      return 2;
    }
  }

  // The save file and the replays go to a folder of this run's own, removed
  // when it ends: runs side by side never share a file.
  TWindowlessSetup setup;
  setup.Seed = seed;
  setup.Host.ControlMode = InputModes::Mouse;
  setup.Host.Grid = grid;
  setup.Host.AllLevelsOpen = true;
  setup.Host.KeepReplays = false;
  const TAutoPilotOptions flying{level, bullets, bombs, mortal};
  if (!replayPath) setup.Host.Assists = flying.Assists();
  TWindowlessGame windowless(setup);
  TGameHost& host = windowless.Host();
  const TQuadrovoltMain& game = windowless.Game();

  if (replayPath) {
    if (replay.Header.GameVersion != GameVersion)
      std::fprintf(stderr, "%s: recorded by game version %u, this is %u\n", replayPath,
                   unsigned(replay.Header.GameVersion), unsigned(GameVersion));
    host.Watch(std::move(replay));
    for (int f = 0; host.Watching(); ++f) {
      host.Step();  // nobody looks: the steps are not drawn
      char why[160];
      if (!EntitiesSane(game, why, sizeof why)) {
        std::printf("frame %d: %s\n", f, why);
        return 1;
      }
    }
    // The game object has said where it parted, on standard error.
    const bool diverged = host.ReplayDivergedAt() != 0;
    if (!diverged) PrintFinalLine(host.LastResult());
    return diverged ? 1 : 0;
  }
  if (recordPath) ++frames;  // the title's frame that starts the game comes first

  TAutoPilot pilot(host, flying);
  pilot.StartGame();

  int levelsCompleted = 0, lastLevel = level, gameOvers = 0, peakEnemies = 0, peakParticles = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int f = 0; f < frames; ++f) {
    pilot.BeforeTick(f);
    const std::uint8_t before = host.State();
    host.Step();
    if (before == GameState::Playing && host.State() == GameState::GameOver) ++gameOvers;
    if (host.Level() != lastLevel) ++levelsCompleted, lastLevel = host.Level();
    if (recordPath && f > 0 && !host.Recording()) break;  // the recorded game is over
    char why[160];
    if (!EntitiesSane(game, why, sizeof why)) {
      std::printf("frame %d: %s\n", f, why);
      return 1;
    }
    if (untilLevels > 0 && levelsCompleted >= untilLevels) {
      std::printf("level %d: %d levels complete at frame %d\n", level, untilLevels, f + 1);
      frames = f + 1;
      break;
    }
    int active = 0;
    for (const TBlob* e : game.Enemies) active += e->Active;
    if (active > peakEnemies) peakEnemies = active;
    if (game.Particles->ActiveCount() > peakParticles) peakParticles = game.Particles->ActiveCount();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const bool soakFailed = untilLevels > 0 && levelsCompleted < untilLevels;
  if (soakFailed)
    std::printf("level %d: only %d of %d levels complete in %d frames (now on level %d)\n", level, levelsCompleted,
                untilLevels, frames, host.Level());

  std::printf("frames %d in %.3f s: %.0f frames per second (%.1f us per frame)\n", frames, seconds, frames / seconds,
              seconds * 1e6 / frames);
  std::printf("start level %d, now level %d, levels completed %d, game overs %d, score %d\n", level, host.Level(),
              levelsCompleted, gameOvers, host.Score());
  std::printf("enemies in list %d, peak active %d, peak particles %d, grid %s\n", game.Enemies.Count(), peakEnemies,
              peakParticles, grid ? "on" : "off");
  if (recordPath) {
    host.FinishGame();
    if (!host.WriteRecording(recordPath)) {
      std::fprintf(stderr, "%s: cannot write the replay\n", recordPath);
      return 1;
    }
    PrintFinalLine(host.LastResult());
  }
  return soakFailed ? 1 : 0;
}
