#include "board/BoardView.h"

std::string VerdictWords(const TVerdict& v) {
  switch (v.Kind) {
    case TVerdictKind::None: return "";
    case TVerdictKind::Queued: return "queued";
    case TVerdictKind::Accepted:
      return v.Rank > 0 ? "accepted: rank " + std::to_string(v.Rank) + " this week" : "accepted";
    case TVerdictKind::Refused: return "refused: " + v.Reason;
    case TVerdictKind::NoTicket: return "not eligible: offline";
    case TVerdictKind::WaitingOffline: return "not sent yet: offline";
  }
  return "";
}
