#include "server/referee/ReplayReferee.h"

#include <chrono>
#include <utility>

#include "app/GameHost.h"
#include "tools/harness/WindowlessGame.h"

TReplayOutcome ReplayToTheEnd(const std::string& bytes) {
  TReplayOutcome out;
  TReplay replay;
  std::string why;
  if (!ParseReplay(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), replay, why)) {
    out.Failure = why;
    return out;
  }
  if (!ReplayPlaysHere(replay.Header, why)) {
    out.Failure = why;
    return out;
  }
  const std::uint32_t ticks = replay.Header.Ticks;
  TWindowlessSetup setup;
  setup.Host.KeepReplays = false;
  setup.Host.SoundOn = false;
  TWindowlessGame game(setup);
  TGameHost& host = game.Host();
  const auto start = std::chrono::steady_clock::now();
  host.Watch(std::move(replay));
  // The reader has capped the ticks; the title's frames around the game and
  // a margin keep a game that never ended (a fault) from looping for ever.
  for (std::uint64_t f = 0; host.Watching(); ++f) {
    if (f > std::uint64_t(ticks) + 1000) {
      out.Failure = "the replay does not end where its header says";
      return out;
    }
    host.Tick();
  }
  out.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  out.DivergedAt = host.ReplayDivergedAt();
  if (out.DivergedAt != 0) {
    out.Failure = "replay diverges at tick " + std::to_string(out.DivergedAt);
    return out;
  }
  out.Finished = true;
  out.Result = host.LastResult();
  return out;
}
