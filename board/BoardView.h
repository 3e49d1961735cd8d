#pragma once
// The score board as the title shows it: this week's top ten, the player's
// own place, and what became of the last game sent. Filled in by whoever
// talks to the board's service; the title only draws it.
#include <cstdint>
#include <string>
#include <vector>

struct TBoardViewRow {
  int Rank = 0;
  std::string Name;
  std::int64_t Score = 0;
  std::int64_t Id = 0;  // the entry, for watching its replay
};

struct TBoardView {
  static constexpr std::size_t MaxRows = 10;
  bool Shown = false;  // sharing is on: the title draws the board
  std::vector<TBoardViewRow> Rows;
  int PlayerRank = 0;   // this week; 0: not on the board
  std::string Verdict;  // the last game's, in words ("" before any)
  int Chosen = -1;      // the row picked to watch, while the list is open (-1: closed)
  std::string Note;     // a line under the board (a download under way, why it failed)
};

// What became of the last game sent, as the client knows it.
enum class TVerdictKind { None, Queued, Accepted, Refused, NoTicket, WaitingOffline };
struct TVerdict {
  TVerdictKind Kind = TVerdictKind::None;
  int Rank = 0;        // Accepted: the entry's rank this week (0: not known)
  std::string Reason;  // Refused: the service's reason
};

// The verdict line: "queued", "accepted: rank 12 this week", "refused: " and
// the reason, "not eligible: offline", "not sent yet: offline" ("" for None).
std::string VerdictWords(const TVerdict& verdict);
