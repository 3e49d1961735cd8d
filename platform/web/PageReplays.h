#pragma once
// The page's replays. A page has no folder a player can open, so a game that
// ends offers its replay as a download, and a replay file the player picks
// (one the desktop game or the headless runner wrote, or another page) is
// watched from the title. The last game's final line, played or watched, is
// kept for the page to show and for the tests that compare it with the
// desktop's.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/GameHost.h"
#include "app/Replay.h"

class TPageReplays {
 public:
  // After every frame. True when a recorded game has just ended: its replay
  // is then in Offer().
  bool AfterFrame(TGameHost& host);
  // A file the player picked: false, with the reason, when it is not a replay
  // this game can play. It starts on the title (at once, or once the game in
  // progress is over).
  bool Pick(const std::uint8_t* data, std::size_t size, std::string& why);

  const std::vector<std::uint8_t>& Offer() const { return Bytes; }
  const std::string& FinalLine() const { return Final; }
  bool WatchPending() const { return Picked.has_value(); }

 private:
  void KeepFinalLine(const TGameHost& host);

  bool WasRecording = false, WasWatching = false;
  std::optional<TReplay> Picked;
  std::vector<std::uint8_t> Bytes;
  std::string Final;
};
