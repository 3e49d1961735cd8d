#pragma once
// Everything the score service keeps, over either database: tickets,
// submissions (the verifiers' queue, leased by whoever works on one), their
// verdicts and the board read from the accepted ones. Times are milliseconds
// since 1970 (UTC), given by the caller.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/store/SqlDatabase.h"

// What a submission's ticket was when the submission came in.
namespace TicketState {
constexpr const char* Ok = "ok";  // good, and now used by this submission
constexpr const char* Used = "used";
constexpr const char* Expired = "expired";
constexpr const char* Unknown = "unknown";
}  // namespace TicketState

struct TSubmissionIn {
  std::string Ticket;
  std::string Name;        // already checked and trimmed
  std::string PlayerHash;  // of the player's key; the key itself is never kept
  std::optional<std::int64_t> ClaimedScore;
  std::string Replay;  // the file's bytes
};

// A submission a verifier has claimed.
struct TJob {
  std::int64_t Id = 0;
  std::string TicketState;
  std::uint64_t Seed = 0;       // the ticket's (0: no good ticket)
  std::int64_t IssuedAt = 0;    // the ticket's
  std::int64_t ReceivedAt = 0;  // the submission's
  std::optional<std::int64_t> ClaimedScore;
  int Attempts = 0;  // this claim included
  std::string Replay;
};

struct TVerdict {
  bool Accepted = false;
  std::string Reason;  // refused: why, in one line
  std::int64_t Score = 0, Level = 0, Frames = 0;
};

struct TSubmissionView {
  std::string Status;  // queued, working, accepted, refused
  std::string Reason;
  std::string Name, PlayerHash;
  std::int64_t Score = 0, Level = 0, Rank = 0;  // Rank: accepted ones still on the board
  bool Deleted = false;
};

struct TBoardRow {
  std::int64_t Rank = 0, Id = 0, Score = 0, Level = 0, ReceivedAt = 0;
  std::string Name, PlayerHash;
};

struct TQueueCounts {
  std::int64_t Queued = 0, Working = 0, Accepted = 0, Refused = 0;
};

class TScoreStore {
 public:
  // Migrates the schema first (throws TSqlError if it cannot).
  explicit TScoreStore(TSqlDatabase& db);

  void AddTicket(const std::string& id, std::uint64_t seed, std::int64_t now);
  // Drops the tickets issued before `before` (a submission on one of them is
  // then refused as unknown); returns how many.
  std::int64_t ForgetTickets(std::int64_t before);
  // Queues it and, in the same transaction, uses its ticket up if the ticket
  // is good (known, unused, younger than lifetime). Returns its id. The same
  // game sent again on the ticket it used (the same replay bytes) is not a
  // new submission: the first one's id comes back, with resent set.
  std::int64_t Submit(const TSubmissionIn& in, std::int64_t now, std::int64_t ticketLifetime, bool* resent = nullptr);
  // The oldest submission queued, or working under a lease that has lapsed,
  // now leased to owner until now + lease.
  std::optional<TJob> Claim(const std::string& owner, std::int64_t now, std::int64_t lease);
  // Extends owner's lease on a job it is still working on (false when the
  // job is no longer its own).
  bool Renew(std::int64_t id, const std::string& owner, std::int64_t until);
  // Records the verdict, only if owner still holds the lease (false when
  // another verifier took the job over, or it is done).
  bool Finish(std::int64_t id, const std::string& owner, const TVerdict& verdict, std::int64_t now);

  std::optional<TSubmissionView> Submission(std::int64_t id);
  // One best entry per player key, submitted at or after since; ties go to
  // the entry submitted first.
  std::vector<TBoardRow> Board(std::int64_t since, int limit);
  // The player's row and up to `around` rows either side of it (empty: none).
  std::vector<TBoardRow> PlayerStanding(const std::string& playerHash, std::int64_t since, int around);
  // The replay of an entry on the board (accepted, not deleted).
  std::optional<std::string> EntryReplay(std::int64_t id);
  // A moderator's removal: false when there was no such entry.
  bool DeleteEntry(std::int64_t id);
  TQueueCounts Counts();

 private:
  TSqlDatabase& Db;
};
