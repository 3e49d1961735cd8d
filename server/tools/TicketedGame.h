#pragma once
// A game on a score board ticket's seed as a player's client plays it: the
// automatic pilot flies a mortal ship with one bullet and no bombs (no
// assists), from the title into play on the seed, until the game is over or
// the frames run out. With assists it records the pilot's developer help
// instead: a tool's game, which a board refuses.
#include <cstdint>
#include <string>

#include "app/Replay.h"

struct TTicketedGame {
  std::uint64_t Seed = 0;  // never 0
  int Frames = 500;
  int Level = 1;
  bool Assists = false;
};

// Plays it with no picture and writes its replay to path; false (errno
// says why) when the file cannot be written. The result is the final line's.
bool RecordTicketedGame(const TTicketedGame& game, const std::string& path, TReplayResult& result);
