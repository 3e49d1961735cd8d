// Headless runner: plays the game with the null renderer, silent sound and an
// automatic pilot, and prints how many game steps a second the logic runs.
//   quadrovolt_headless [--frames N] [--level L] [--bullets 1..3] [--no-grid]
//                       [--bombs] [--mortal] [--seed S]
//                       [--record FILE | --replay FILE [--any-version]]
//                       [--until-levels N]
// A bad command line (an unknown option, a value missing, not a whole number
// or out of range) is refused with its reason and exit code 2.
// The automatic pilot (tools/pilot) flies; --mortal lets the ship be hurt,
// --bombs keeps a shockwave always running.
// --record writes the replay of the run (N frames of play, or less if the
// game ends first; the pilot's repairs, bullets and bombs are kept in it as
// assists); --replay plays one back instead of the pilot. Both end with
//   final: frame N level L score S damage D checksum C
// A replay that cannot be read, or that was recorded under other rules of
// play (another game version), is refused with its reason and exit code 2;
// --any-version plays the latter all the same, with a warning on standard
// error (a developer comparing builds). One that no longer plays as recorded
// stops where it parted, with
//   replay diverges at tick N
// and exit code 1.
// Every frame it checks every entity (tools/pilot/EntityCheck.h says what that
// means); a broken frame ends the run with exit code 1.
// --until-levels N stops once N levels are complete, printing
//   level L: N levels complete at frame F
// and fails (exit code 1) when the frames run out first: the soak.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "app/AtomicFile.h"
#include "app/GameHost.h"
#include "tools/CommandLine.h"
#include "tools/harness/WindowlessGame.h"
#include "tools/pilot/AutoPilot.h"
#include "tools/pilot/EntityCheck.h"

namespace {
// Eleven days of play at 100 steps a second: more than any run needs, and
// far from where a frame count would overflow.
constexpr int MaxFrames = 100000000;

void PrintFinalLine(const TReplayResult& result) {
  char line[160];
  FormatFinalLine(result, line, sizeof line);
  std::printf("%s\n", line);
}

// Only a regular file is ever replaced, and a link is never followed: said
// in words, since the system's reason for that ("File exists", "Too many
// levels of symbolic links") does not say it.
int CannotWrite(const std::string& path) {
  const int cause = errno;
  const char* rule =
      cause == ELOOP || cause == EEXIST ? " (only a regular file is replaced, a link is not followed)" : "";
  std::fprintf(stderr, "%s: cannot write the replay: %s%s\n", path.c_str(), std::strerror(cause), rule);
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  std::string recordPath, replayPath;
  int frames = 3000, level = 1, bullets = 1, untilLevels = 0;
  std::uint64_t seed = 1;
  bool noGrid = false, mortal = false, bombs = false, anyVersion = false;
  TCommandLine line("quadrovolt_headless",
                    "Plays the game with no window, the automatic pilot flying, and prints how many game steps\n"
                    "a second the logic runs; records or replays a game and prints its final line.");
  line.Integer("--frames", "N", 1, MaxFrames, frames, "frames to play, 3000 by default");
  line.Integer("--level", "L", 1, 40, level, "the level to start on");
  line.Integer("--bullets", "B", 1, 3, bullets, "bullets the pilot fires a shot");
  line.Flag("--no-grid", noGrid, "no background grid (it carries the bomb's shockwave: not with a replay)");
  line.Flag("--bombs", bombs, "keep a gravi-bomb always going off");
  line.Flag("--mortal", mortal, "let the ship be hurt");
  line.Unsigned64("--seed", "S", seed, "the level script's and the game's random seed, 1 by default");
  line.Path("--record", "FILE", recordPath, "write the replay of the run to FILE");
  line.Path("--replay", "FILE", replayPath, "play FILE back instead of the pilot");
  line.Flag("--any-version", anyVersion, "play a replay recorded under other rules of play, with a warning");
  line.Integer("--until-levels", "N", 1, 1000, untilLevels,
               "stop once N levels are complete; fail when the frames run out first");
  if (int code; !line.Parse(argc, argv, code)) return code;
  const bool grid = !noGrid, recording = line.Given("--record"), replaying = line.Given("--replay");
  // The grid carries the bomb's shockwave: without it a run is another game.
  if ((recording || replaying) && (!grid || (recording && replaying)))
    return line.Refuse("--record and --replay go alone, and with the grid");
  if (anyVersion && !replaying) return line.Refuse("--any-version goes with --replay");
  // A longer recording would be a replay no host reads.
  if (recording && frames > int(MaxReplayTicks))
    return line.Refuse("--record: a replay holds at most " + std::to_string(MaxReplayTicks) +
                       " frames (two hours), not " + std::to_string(frames));
  TReplay replay;
  if (replaying) {
    std::string why;
    if (!LoadReplayFile(replayPath, replay, why)) {
      std::fprintf(stderr, "%s: %s\n", replayPath.c_str(), why.c_str());
      return 2;
    }
    if (!ReplayPlaysHere(replay.Header, why)) {
      if (!anyVersion) {
        std::fprintf(stderr, "%s: %s: it is another game here (--any-version plays it all the same)\n",
                     replayPath.c_str(), why.c_str());
        return 2;
      }
      std::fprintf(stderr, "%s: warning: %s: played under this build's rules, so it may not come out as recorded\n",
                   replayPath.c_str(), why.c_str());
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
  if (!replaying) setup.Host.Assists = flying.Assists();
  TWindowlessGame windowless(setup);
  TGameHost& host = windowless.Host();
  const TWorld& world = host.World();  // for the entity check alone

  if (replaying) {
    host.Watch(std::move(replay));
    for (int f = 0; host.Watching(); ++f) {
      host.Step();  // nobody looks: the steps are not drawn
      char why[160];
      if (!EntitiesSane(world, why, sizeof why)) {
        std::printf("frame %d: %s\n", f, why);
        return 1;
      }
    }
    // The game object has said where it parted, on standard error.
    const bool diverged = host.ReplayDivergedAt() != 0;
    if (!diverged) PrintFinalLine(host.LastResult());
    return diverged ? 1 : 0;
  }
  if (recording) {
    ++frames;  // the title's frame that starts the game comes first
    // What a killed run left beside the file would stop this one's write;
    // anything else in the way is said now, not after the whole run.
    RemoveStaleTemporary(recordPath.c_str());
    if (!MayReplaceAtomically(recordPath.c_str())) return CannotWrite(recordPath);
  }

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
    if (recording && f > 0 && !host.Recording()) break;  // the recorded game is over
    char why[160];
    if (!EntitiesSane(world, why, sizeof why)) {
      std::printf("frame %d: %s\n", f, why);
      return 1;
    }
    if (untilLevels > 0 && levelsCompleted >= untilLevels) {
      std::printf("level %d: %d levels complete at frame %d\n", level, untilLevels, f + 1);
      frames = f + 1;
      break;
    }
    peakEnemies = std::max(peakEnemies, host.ActiveEnemies());
    peakParticles = std::max(peakParticles, host.ActiveParticles());
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
  std::printf("enemies in list %d, peak active %d, peak particles %d, grid %s\n", host.EnemySlots(), peakEnemies,
              peakParticles, grid ? "on" : "off");
  if (recording) {
    host.FinishGame();
    if (!host.WriteRecording(recordPath)) return CannotWrite(recordPath);
    PrintFinalLine(host.LastResult());
  }
  return soakFailed ? 1 : 0;
}
