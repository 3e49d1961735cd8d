#pragma once
// TReplaySession: the game's side of recording and watching. The recorder of
// the game being played, the replay being watched, the live game's state
// kept while one is watched, the game in progress (its ticks and running
// checksum, for its final line and its checkpoints), how the last game came
// out, a ticket's seed for the next game, the level script's state and the
// paths the replay files are written to.
#include <cstdint>
#include <string>

#include "app/Joystick.h"
#include "app/Progress.h"
#include "app/Replay.h"
#include "app/ReplayJoystick.h"
#include "app/ReplayPlayer.h"
#include "app/ReplayRecorder.h"
#include "app/Title.h"

class TReplaySession {
 public:
  // The pad is read through the session, which records its readings or
  // hands a watched replay's instead; the replay files go beside savePath.
  TReplaySession(TJoystick& device, const std::string& savePath, const char* lastName, const char* bestName);
  TReplaySession(const TReplaySession&) = delete;
  TReplaySession& operator=(const TReplaySession&) = delete;

  TJoystick& Joystick() { return Pad; }
  TReplayRecorder& Recorder() { return Recording; }
  const TReplayRecorder& Recorder() const { return Recording; }
  bool Watching() const { return Watched.Loaded(); }
  TReplayPlayer& Watch() { return Watched; }
  const TReplayPlayer& Watch() const { return Watched; }

  // What a replay watched from the title must give back when it ends.
  struct TLive {
    TReplayInputState Input;
    TProgress::TKept Record;
    std::uint8_t InputMode = 0;
    std::uint64_t Random = 0, Script = 0;
    int Level = 1;
    TTitle::TStrip Strip;
  };
  // The replay takes over the pad; the live game is kept.
  void StartWatching(TReplay replay, const TLive& live);
  // The replay lets go of the pad; the live game as it was kept, with the
  // player's input taken while the replay played.
  const TLive& StopWatching();
  // The player's own input while a replay plays: kept for afterwards. True
  // when it stops the replay (a new key or a click; a held key's repeats
  // do not).
  bool KeepLiveInput(const TInputEvent& e);

  // The game in progress, from its first tick to its end.
  void GameBegins();
  bool InGame() const { return Playing; }
  std::uint32_t PlayTicks() const { return Ticks; }
  void TickPlayed() { ++Ticks; }
  std::uint64_t Checksum() const { return Sum; }
  void SetChecksum(std::uint64_t sum) { Sum = sum; }
  // The game as it stands after the ticks so far: recorded, or compared
  // with the replay's recording while one is watched. False where they part.
  bool PassCheckpoint();
  void GameEnds(const TReplayResult& result);
  const TReplayResult& LastResult() const { return Result; }
  // The tick where the last replay watched parted from its recording (0: never).
  std::uint32_t DivergedAt() const { return Diverged; }

  // A ticket's seed for the next game started (0: none); taking it uses it up.
  void PlayNextOnSeed(std::uint64_t seed) { NextSeed = seed; }
  std::uint64_t TakeNextSeed();
  // The generator's state when the level script in use was drawn.
  std::uint64_t ScriptState() const { return Script; }
  void ScriptDrawnFrom(std::uint64_t state) { Script = state; }

  const std::string& LastPath() const { return PathOfLast; }
  const std::string& BestPath() const { return PathOfBest; }

 private:
  TReplayRecorder Recording;
  TReplayPlayer Watched;
  TReplayJoystick Pad;
  TLive Live;
  bool Playing = false;
  std::uint32_t Ticks = 0;
  std::uint64_t Sum = 0;
  TReplayResult Result;
  std::uint32_t Diverged = 0;
  std::uint64_t NextSeed = 0;
  std::uint64_t Script = 0;
  std::string PathOfLast, PathOfBest;
};
