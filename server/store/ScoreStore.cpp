#include "server/store/ScoreStore.h"

#include <charconv>

#include "server/store/SchemaMigrations.h"

namespace {
using V = TSqlValue;

// Each player's best entry on the board since $1 (one row per player key),
// numbered in board order: score, then the one submitted first.
constexpr const char* RankedBoard = R"(
  WITH best AS (
    SELECT id, name, player_hash, score, level, received_at,
           ROW_NUMBER() OVER (PARTITION BY player_hash ORDER BY score DESC, id ASC) AS nth
    FROM submissions WHERE status = 'accepted' AND deleted = 0 AND received_at >= $1),
  ranked AS (
    SELECT id, name, player_hash, score, level, received_at,
           ROW_NUMBER() OVER (ORDER BY score DESC, id ASC) AS place
    FROM best WHERE nth = 1)
  )";

std::uint64_t ParseSeed(const TSqlValue& v) {
  std::uint64_t s = 0;
  std::from_chars(v.Data.data(), v.Data.data() + v.Data.size(), s);
  return s;
}

TBoardRow RowOf(const TSqlRow& r) {
  TBoardRow b;
  b.Id = r[0].AsInt();
  b.Name = r[1].Data;
  b.PlayerHash = r[2].Data;
  b.Score = r[3].AsInt();
  b.Level = r[4].AsInt();
  b.ReceivedAt = r[5].AsInt();
  b.Rank = r[6].AsInt();
  return b;
}
}  // namespace

TScoreStore::TScoreStore(TSqlDatabase& db) : Db(db) { MigrateSchema(db); }

void TScoreStore::AddTicket(const std::string& id, std::uint64_t seed, std::int64_t now) {
  Db.Transact([&](TSqlRunner& run) {
    run.Run("INSERT INTO tickets (id, seed, issued_at, used) VALUES ($1, $2, $3, 0)",
            {V::Text(id), V::Text(std::to_string(seed)), V::Int(now)});
  });
}

std::int64_t TScoreStore::ForgetTickets(std::int64_t before) {
  std::int64_t n = 0;
  Db.Transact([&](TSqlRunner& run) {
    n = std::int64_t(run.Run("DELETE FROM tickets WHERE issued_at < $1 RETURNING id", {V::Int(before)}).size());
  });
  return n;
}

std::int64_t TScoreStore::Submit(const TSubmissionIn& in, std::int64_t now, std::int64_t ticketLifetime, bool* resent) {
  std::int64_t id = 0;
  bool same = false;
  Db.Transact([&](TSqlRunner& run) {
    same = false;
    // A client that never heard the answer sends the same game again: it is
    // the submission that used the ticket, not a second one.
    auto sentBefore = [&] {
      TSqlRows first = run.Run(
          "SELECT id FROM submissions WHERE ticket = $1 AND ticket_state = 'ok' AND replay = $2 ORDER BY id LIMIT 1",
          {V::Text(in.Ticket), V::Blob(in.Replay)});
      if (first.empty()) return false;
      id = first[0][0].AsInt();
      same = true;
      return true;
    };
    std::string state = TicketState::Unknown;
    V seed = V::Null(), issued = V::Null();
    TSqlRows t = run.Run("SELECT seed, issued_at, used FROM tickets WHERE id = $1", {V::Text(in.Ticket)});
    if (!t.empty()) {
      seed = V::Text(t[0][0].Data);
      issued = V::Int(t[0][1].AsInt());
      if (t[0][2].AsInt() != 0) {
        if (sentBefore()) return;
        state = TicketState::Used;
      } else if (now - t[0][1].AsInt() > ticketLifetime) {
        state = TicketState::Expired;
      } else if (run.Run("UPDATE tickets SET used = 1 WHERE id = $1 AND used = 0 RETURNING id", {V::Text(in.Ticket)})
                     .empty()) {
        // Two submissions of one ticket at once: the second waits for the
        // first's row lock and then finds it used.
        if (sentBefore()) return;
        state = TicketState::Used;
      } else {
        state = TicketState::Ok;
      }
    }
    TSqlRows r = run.Run(
        "INSERT INTO submissions (ticket, ticket_state, seed, issued_at, name, player_hash, claimed_score, replay, "
        "received_at, status) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, 'queued') RETURNING id",
        {V::Text(in.Ticket), V::Text(state), seed, issued, V::Text(in.Name), V::Text(in.PlayerHash),
         in.ClaimedScore ? V::Int(*in.ClaimedScore) : V::Null(), V::Blob(in.Replay), V::Int(now)});
    id = r.at(0).at(0).AsInt();
  });
  if (resent) *resent = same;
  return id;
}

std::optional<TJob> TScoreStore::Claim(const std::string& owner, std::int64_t now, std::int64_t lease) {
  std::optional<TJob> job;
  // PostgreSQL: a row another process is claiming right now is skipped, not
  // waited for. SQLite: the whole claim holds the file's write lock.
  const std::string lock = Db.Dialect() == TSqlDialect::Postgres ? " FOR UPDATE SKIP LOCKED" : "";
  Db.Transact([&](TSqlRunner& run) {
    TSqlRows r = run.Run(
        "UPDATE submissions SET status = 'working', lease_owner = $1, lease_until = $2, attempts = attempts + 1 "
        "WHERE id = (SELECT id FROM submissions WHERE status = 'queued' OR (status = 'working' AND lease_until < $3) "
        "ORDER BY id LIMIT 1" +
            lock + ") RETURNING id, ticket_state, seed, issued_at, received_at, claimed_score, attempts, replay",
        {V::Text(owner), V::Int(now + lease), V::Int(now)});
    if (r.empty()) return;
    const TSqlRow& row = r[0];
    TJob j;
    j.Id = row[0].AsInt();
    j.TicketState = row[1].Data;
    j.Seed = ParseSeed(row[2]);
    j.IssuedAt = row[3].AsInt();
    j.ReceivedAt = row[4].AsInt();
    if (!row[5].IsNull()) j.ClaimedScore = row[5].AsInt();
    j.Attempts = int(row[6].AsInt());
    j.Replay = row[7].Data;
    job = std::move(j);
  });
  return job;
}

bool TScoreStore::Renew(std::int64_t id, const std::string& owner, std::int64_t until) {
  bool renewed = false;
  Db.Transact([&](TSqlRunner& run) {
    renewed = !run.Run(
                      "UPDATE submissions SET lease_until = $1 WHERE id = $2 AND status = 'working' AND "
                      "lease_owner = $3 RETURNING id",
                      {V::Int(until), V::Int(id), V::Text(owner)})
                   .empty();
  });
  return renewed;
}

bool TScoreStore::Finish(std::int64_t id, const std::string& owner, const TVerdict& verdict, std::int64_t now) {
  bool done = false;
  Db.Transact([&](TSqlRunner& run) {
    TSqlRows r = run.Run(
        "UPDATE submissions SET status = $1, reason = $2, score = $3, level = $4, frames = $5, finished_at = $6, "
        "lease_owner = NULL, lease_until = NULL WHERE id = $7 AND status = 'working' AND lease_owner = $8 "
        "RETURNING id",
        {V::Text(verdict.Accepted ? "accepted" : "refused"), verdict.Accepted ? V::Null() : V::Text(verdict.Reason),
         verdict.Accepted ? V::Int(verdict.Score) : V::Null(), verdict.Accepted ? V::Int(verdict.Level) : V::Null(),
         verdict.Accepted ? V::Int(verdict.Frames) : V::Null(), V::Int(now), V::Int(id), V::Text(owner)});
    done = !r.empty();
  });
  return done;
}

std::optional<TSubmissionView> TScoreStore::Submission(std::int64_t id) {
  std::optional<TSubmissionView> view;
  Db.Transact([&](TSqlRunner& run) {
    TSqlRows r = run.Run(
        "SELECT status, reason, name, player_hash, score, level, deleted FROM submissions WHERE id = $1", {V::Int(id)});
    if (r.empty()) return;
    TSubmissionView v;
    v.Status = r[0][0].Data;
    v.Reason = r[0][1].Data;
    v.Name = r[0][2].Data;
    v.PlayerHash = r[0][3].Data;
    v.Score = r[0][4].AsInt();
    v.Level = r[0][5].AsInt();
    v.Deleted = r[0][6].AsInt() != 0;
    if (v.Status == "accepted" && !v.Deleted) {
      // The place this score holds among the other players' best entries.
      TSqlRows p = run.Run(std::string(RankedBoard) +
                               "SELECT COUNT(*) FROM ranked WHERE player_hash <> $2 AND "
                               "(score > $3 OR (score = $3 AND id < $4))",
                           {V::Int(0), V::Text(v.PlayerHash), V::Int(v.Score), V::Int(id)});
      v.Rank = p.at(0).at(0).AsInt() + 1;
    }
    view = std::move(v);
  });
  return view;
}

std::vector<TBoardRow> TScoreStore::Board(std::int64_t since, int limit) {
  std::vector<TBoardRow> rows;
  Db.Transact([&](TSqlRunner& run) {
    for (const TSqlRow& r : run.Run(std::string(RankedBoard) +
                                        "SELECT id, name, player_hash, score, level, received_at, place FROM ranked "
                                        "ORDER BY place LIMIT $2",
                                    {V::Int(since), V::Int(limit)}))
      rows.push_back(RowOf(r));
  });
  return rows;
}

std::vector<TBoardRow> TScoreStore::PlayerStanding(const std::string& playerHash, std::int64_t since, int around) {
  std::vector<TBoardRow> rows;
  Db.Transact([&](TSqlRunner& run) {
    for (const TSqlRow& r :
         run.Run(std::string(RankedBoard) +
                     ", mine AS (SELECT place FROM ranked WHERE player_hash = $2) "
                     "SELECT id, name, player_hash, score, level, received_at, ranked.place FROM ranked, mine "
                     "WHERE ranked.place BETWEEN mine.place - $3 AND mine.place + $3 ORDER BY ranked.place",
                 {V::Int(since), V::Text(playerHash), V::Int(around)}))
      rows.push_back(RowOf(r));
  });
  return rows;
}

std::optional<std::string> TScoreStore::EntryReplay(std::int64_t id) {
  std::optional<std::string> replay;
  Db.Transact([&](TSqlRunner& run) {
    TSqlRows r =
        run.Run("SELECT replay FROM submissions WHERE id = $1 AND status = 'accepted' AND deleted = 0", {V::Int(id)});
    if (!r.empty()) replay = r[0][0].Data;
  });
  return replay;
}

bool TScoreStore::DeleteEntry(std::int64_t id) {
  bool deleted = false;
  Db.Transact([&](TSqlRunner& run) {
    deleted = !run.Run(
                      "UPDATE submissions SET deleted = 1 WHERE id = $1 AND status = 'accepted' AND deleted = 0 "
                      "RETURNING id",
                      {V::Int(id)})
                   .empty();
  });
  return deleted;
}

TQueueCounts TScoreStore::Counts() {
  TQueueCounts c;
  Db.Transact([&](TSqlRunner& run) {
    for (const TSqlRow& r : run.Run("SELECT status, COUNT(*) FROM submissions GROUP BY status")) {
      const std::int64_t n = r[1].AsInt();
      if (r[0].Data == "queued") c.Queued = n;
      if (r[0].Data == "working") c.Working = n;
      if (r[0].Data == "accepted") c.Accepted = n;
      if (r[0].Data == "refused") c.Refused = n;
    }
  });
  return c;
}
