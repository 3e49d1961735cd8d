// Records a game played on a score board ticket's seed, as a player's client
// would: the automatic pilot flies a mortal ship with one bullet and no
// bombs (no assists at all), from the title into play on the seed.
//   quadrovolt_record_ticketed --seed S --out FILE [--frames N] [--level L] [--assists]
// --assists records the pilot's developer assists instead (a tool's game,
// which a board refuses). Ends with the game's final line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/GameHost.h"
#include "tools/harness/WindowlessGame.h"
#include "tools/pilot/AutoPilot.h"

int main(int argc, char** argv) {
  unsigned long long seed = 0;
  int frames = 500, level = 1;
  bool assists = false;
  const char* out = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
      seed = std::strtoull(argv[++i], nullptr, 10);
    else if (!std::strcmp(argv[i], "--frames") && i + 1 < argc)
      frames = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--level") && i + 1 < argc)
      level = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--out") && i + 1 < argc)
      out = argv[++i];
    else if (!std::strcmp(argv[i], "--assists"))
      assists = true;
    else {
      const bool help = !std::strcmp(argv[i], "--help");
      std::fprintf(help ? stdout : stderr, "usage: %s --seed S --out FILE [--frames N] [--level L] [--assists]\n",
                   argv[0]);
      return help ? 0 : 2;
    }
  }
  if (seed == 0 || !out || frames < 1) {
    std::fprintf(stderr, "%s: --seed (nonzero) and --out are needed\n", argv[0]);
    return 2;
  }
  TAutoPilotOptions flying{level, 1, false, true};
  TWindowlessSetup setup;
  setup.Host.AllLevelsOpen = true;
  setup.Host.KeepReplays = false;
  if (assists) {
    flying = TAutoPilotOptions{level, 3, true, false};
    setup.Host.Assists = flying.Assists();
  }
  TWindowlessGame windowless(setup);
  TGameHost& host = windowless.Host();
  host.PlayNextGameOnSeed(seed);
  TAutoPilot pilot(host, flying);
  pilot.StartGame();
  // The title's frame that starts the game comes first.
  for (int f = 0; f <= frames; ++f) {
    pilot.BeforeTick(f);
    host.Tick();
    if (f > 0 && !host.Recording()) break;  // game over
  }
  host.FinishGame();
  if (!host.WriteRecording(out)) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], out);
    return 1;
  }
  char line[160];
  FormatFinalLine(host.LastResult(), line, sizeof line);
  std::printf("%s\n", line);
  return 0;
}
