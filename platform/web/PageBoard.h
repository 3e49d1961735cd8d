#pragma once
// The page's side of the score board inside the game: the seed of the ticket
// the page holds is handed to the next game started from the title, and the
// page hears which game started on it and how that game ended. A game counts
// as ticketed only when its replay really was played on the ticket's seed
// (both of its seeds equal to it), which is what the service checks.
//
// The page's script holds the ticket itself (asks for it, forgets it, sends
// the game); this only follows the game object through the host. Header only,
// so the page's native tests drive it through a real host.
#include <cstdint>
#include <string>
#include <vector>

#include "app/GameHost.h"
#include "app/Replay.h"

class TPageBoard {
 public:
  // What a frame brought: a game started (on the ticket's seed or not), a
  // game ended (with its replay, the ticket's seed it played on and its
  // final score), the title shown again.
  struct TNews {
    bool Started = false;
    std::uint64_t StartedOn = 0;  // the ticket's seed the game started on (0: none)
    bool Ended = false;
    std::uint64_t EndedOn = 0;  // the ticket's seed its replay was played on (0: not ticketed)
    int Score = 0;
    bool TitleShown = false;  // the title came back (or showed for the first time)
    bool Any() const { return Started || Ended || TitleShown; }
  };

  // The ticket's seed for the next game from the title (0: none held).
  void Hold(std::uint64_t seed) { Held = seed; }
  std::uint64_t HeldSeed() const { return Held; }

  // After every frame's steps; offered is the replay of a recorded game that
  // ended in them (PageReplays' offer), else null.
  TNews AfterFrame(TGameHost& host, const std::vector<std::uint8_t>* offered) {
    TNews news;
    const bool watching = host.Watching();
    const bool recording = host.Recording() && !watching;
    if (recording && !WasRecording) {
      // The steps just run started a game, on what was handed before them.
      news.Started = true;
      news.StartedOn = Handed;
      Playing = Handed;
      if (Held == Handed) Held = 0;  // a ticket plays one game only
      Handed = 0;
    }
    if (offered) {
      news.Ended = true;
      news.Score = host.LastResult().Score;
      news.EndedOn = PlayedOn(*offered) == Playing ? Playing : 0;
      Playing = 0;
    }
    const bool title = host.State() == GameState::Title && !watching && !recording;
    if (title) {
      // Every title frame: a host made anew (the page ended and started
      // again) gets the ticket too, and a ticket dropped is taken back.
      host.PlayNextGameOnSeed(Held);
      Handed = Held;
    }
    news.TitleShown = title && !WasTitle;
    WasTitle = title;
    WasRecording = recording;
    return news;
  }

  // The seed both of a replay's seeds equal (0: not one seed, or not a replay).
  static std::uint64_t PlayedOn(const std::vector<std::uint8_t>& bytes) {
    TReplay replay;
    std::string why;
    if (!ParseReplay(bytes.data(), bytes.size(), replay, why)) return 0;
    return replay.Header.PlaySeed == replay.Header.ScriptState ? replay.Header.PlaySeed : 0;
  }

 private:
  std::uint64_t Held = 0, Handed = 0, Playing = 0;
  bool WasRecording = false, WasTitle = false;
};
