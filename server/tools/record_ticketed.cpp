// Records a game played on a score board ticket's seed, as a player's client
// would: the automatic pilot flies a mortal ship with one bullet and no
// bombs (no assists at all), from the title into play on the seed.
//   quadrovolt_record_ticketed --seed S --out FILE [--frames N] [--level L] [--assists]
// --assists records the pilot's developer assists instead (a tool's game,
// which a board refuses). Ends with the game's final line.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "server/tools/TicketedGame.h"
#include "tools/CommandLine.h"

int main(int argc, char** argv) {
  std::uint64_t seed = 0;
  int frames = 500, level = 1;
  bool assists = false;
  std::string out;
  TCommandLine options("quadrovolt_record_ticketed", "Records a pilot's game on a score board ticket's seed.");
  options.Unsigned64("--seed", "S", seed, "the ticket's seed (not 0)").Required();
  options.Path("--out", "FILE", out, "where the replay goes").Required();
  options.Integer("--frames", "N", 1, int(MaxReplayTicks), frames, "frames of play at most (500)");
  options.Integer("--level", "L", 1, 40, level, "the start level (1)");
  options.Flag("--assists", assists, "record the pilot's developer assists: a tool's game");
  if (int code; !options.Parse(argc, argv, code)) return code;
  if (seed == 0) return options.Refuse("--seed: a ticket's seed is never 0");
  TReplayResult result;
  if (!RecordTicketedGame(TTicketedGame{seed, frames, level, assists}, out, result)) {
    std::fprintf(stderr, "quadrovolt_record_ticketed: cannot write %s: %s\n", out.c_str(), std::strerror(errno));
    return 1;
  }
  char line[160];
  FormatFinalLine(result, line, sizeof line);
  std::printf("%s\n", line);
  return 0;
}
