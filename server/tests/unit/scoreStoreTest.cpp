// The score store on a real SQLite file: the schema's versions, tickets used
// once, the queue's leases and the board's order.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "server/store/SchemaMigrations.h"
#include "server/store/ScoreStore.h"
#include "server/store/SqliteDatabase.h"
#include "tools/harness/TempFolder.h"

namespace {
constexpr std::int64_t Hour = 3600 * 1000;

struct TStoreOnFile {
  TTempFolder Folder;
  std::string Path = (Folder.Path() / "scores.db").string();
  TSqliteDatabase Db{Path};
  TScoreStore Store{Db};

  // An accepted entry of a player, verdict given at once.
  std::int64_t Accept(const std::string& player, std::int64_t score, std::int64_t when, const std::string& name = "P") {
    const std::string ticket = "t" + std::to_string(++Tickets);
    Store.AddTicket(ticket, 7, when);
    const std::int64_t id = Store.Submit({ticket, name, player, std::nullopt, "bytes"}, when, Hour);
    const std::optional<TJob> job = Store.Claim("me", when, 1000);
    EXPECT_TRUE(job && job->Id == id);
    TVerdict v;
    v.Accepted = true;
    v.Score = score;
    v.Level = 2;
    EXPECT_TRUE(Store.Finish(id, "me", v, when));
    return id;
  }
  int Tickets = 0;
};

TEST(ScoreStore, MigratesOnceAndRefusesANewerSchema) {
  TStoreOnFile s;
  EXPECT_EQ(LatestSchemaVersion(), 3);
  // A database at version 1 gets the later steps only.
  s.Db.Transact([](TSqlRunner& run) {
    run.Run("DROP INDEX tickets_issued");
    run.Run("DROP INDEX submissions_ticket");
    run.Run("UPDATE schema_version SET version = 1");
  });
  EXPECT_EQ(MigrateSchema(s.Db), 1);
  s.Db.Transact([](TSqlRunner& run) {
    for (const char* index : {"tickets_issued", "submissions_ticket"})
      EXPECT_EQ(
          run.Run(std::string("SELECT COUNT(*) FROM sqlite_master WHERE name = '") + index + "'").at(0).at(0).AsInt(),
          1)
          << index;
    EXPECT_EQ(run.Run("SELECT version FROM schema_version").at(0).at(0).AsInt(), 3);
  });
  EXPECT_EQ(MigrateSchema(s.Db), LatestSchemaVersion());  // already there: nothing to do
  s.Db.Transact([](TSqlRunner& run) { run.Run("UPDATE schema_version SET version = version + 1"); });
  try {
    MigrateSchema(s.Db);
    FAIL() << "a newer schema was taken";
  } catch (const TSqlError& e) {
    EXPECT_NE(std::string(e.what()).find("newer"), std::string::npos) << e.what();
  }
}

TEST(ScoreStore, ATicketIsGoodForOneSubmissionAndExpires) {
  TStoreOnFile s;
  s.Store.AddTicket("a", 42, 0);
  s.Store.AddTicket("old", 43, 0);
  const TSubmissionIn base{"a", "Ada", "h", std::nullopt, "r"};
  bool resent = true;
  const std::int64_t first = s.Store.Submit(base, 1000, Hour, &resent);
  EXPECT_FALSE(resent);
  // The same game sent again (its answer lost on the way) is the first
  // submission; another game on the same ticket is a second, on a used one.
  EXPECT_EQ(s.Store.Submit(base, 1500, Hour, &resent), first);
  EXPECT_TRUE(resent);
  TSubmissionIn other = base;
  other.Replay = "r2";
  const std::int64_t second = s.Store.Submit(other, 2000, Hour, &resent);
  EXPECT_FALSE(resent);
  EXPECT_NE(second, first);
  TSubmissionIn unknown = base, expired = base;
  unknown.Ticket = "nobody's";
  expired.Ticket = "old";
  const std::int64_t third = s.Store.Submit(unknown, 3000, Hour);
  const std::int64_t fourth = s.Store.Submit(expired, Hour + 1, Hour);
  // Forgotten tickets: a submission on one is on an unknown ticket.
  s.Store.AddTicket("older", 44, 10);
  s.Store.AddTicket("newer", 45, 20);
  EXPECT_EQ(s.Store.ForgetTickets(11), 3) << "a, old and older";
  TSubmissionIn forgotten = base;
  forgotten.Ticket = "older";
  s.Store.Submit(forgotten, 30, Hour);
  const struct {
    std::int64_t Id;
    std::string State;
    std::uint64_t Seed;
  } expected[] = {{first, TicketState::Ok, 42},
                  {second, TicketState::Used, 42},
                  {third, TicketState::Unknown, 0},
                  {fourth, TicketState::Expired, 43},
                  {fourth + 1, TicketState::Unknown, 0}};
  for (const auto& e : expected) {
    const std::optional<TJob> job = s.Store.Claim("w", 5 * Hour, 1000);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->Id, e.Id);
    EXPECT_EQ(job->TicketState, e.State) << "submission " << e.Id;
    EXPECT_EQ(job->Seed, e.Seed);
  }
  EXPECT_FALSE(s.Store.Claim("w", 5 * Hour, 1000));
}

TEST(ScoreStore, ALapsedLeaseIsTakenOverAndOnlyItsHolderFinishes) {
  TStoreOnFile s;
  s.Store.AddTicket("a", 42, 0);
  const std::int64_t id = s.Store.Submit({"a", "Ada", "h", 100, "replay bytes"}, 10, Hour);
  const std::optional<TJob> first = s.Store.Claim("one", 100, 1000);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Replay, "replay bytes");
  EXPECT_EQ(first->ClaimedScore, 100);
  EXPECT_EQ(first->Attempts, 1);
  EXPECT_FALSE(s.Store.Claim("two", 1099, 1000)) << "taken while its lease held";
  EXPECT_FALSE(s.Store.Renew(id, "two", 5000)) << "renewed by a verifier that does not hold it";
  EXPECT_TRUE(s.Store.Renew(id, "one", 2000));
  EXPECT_FALSE(s.Store.Claim("two", 1999, 1000)) << "taken while its renewed lease held";
  EXPECT_FALSE(s.Store.Claim("two", 1101, 1000)) << "the renewal did not hold";
  const std::optional<TJob> second = s.Store.Claim("two", 2001, 1000);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->Id, id);
  EXPECT_EQ(second->Attempts, 2);
  TVerdict accepted;
  accepted.Accepted = true;
  accepted.Score = 100;
  EXPECT_FALSE(s.Store.Finish(id, "one", accepted, 1200)) << "the first holder's late verdict was kept";
  EXPECT_TRUE(s.Store.Finish(id, "two", accepted, 1200));
  EXPECT_FALSE(s.Store.Finish(id, "two", accepted, 1300)) << "a verdict given twice";
  const TQueueCounts c = s.Store.Counts();
  EXPECT_EQ(c.Accepted, 1);
  EXPECT_EQ(c.Queued + c.Working, 0);
}

TEST(ScoreStore, TheBoardKeepsEachPlayersBestAndTiesGoToTheFirst) {
  TStoreOnFile s;
  const std::int64_t week = 10 * 24 * Hour;
  const std::int64_t aOld = s.Accept("A", 900, 0, "Ann");
  s.Accept("A", 500, week);
  const std::int64_t bFirst = s.Accept("B", 700, week + 1, "Bob");
  s.Accept("B", 700, week + 2);  // the same score again: the first one stands
  const std::int64_t c = s.Accept("C", 700, week + 3, "Cy");
  const std::int64_t d = s.Accept("D", 100, week + 4, "Di");

  const std::vector<TBoardRow> all = s.Store.Board(0, 100);
  ASSERT_EQ(all.size(), 4u);
  const std::int64_t order[] = {aOld, bFirst, c, d};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(all[i].Id, order[i]) << "place " << i + 1;
    EXPECT_EQ(all[i].Rank, std::int64_t(i + 1));
  }
  EXPECT_EQ(all[0].Name, "Ann");
  // From the week's start on, A's best is the later 500.
  const std::vector<TBoardRow> recent = s.Store.Board(week, 100);
  ASSERT_EQ(recent.size(), 4u);
  EXPECT_EQ(recent[0].PlayerHash, "B");
  EXPECT_EQ(recent[2].PlayerHash, "A");
  EXPECT_EQ(recent[2].Score, 500);
  EXPECT_EQ(s.Store.Board(0, 2).size(), 2u);

  // C's standing: one either side.
  const std::vector<TBoardRow> around = s.Store.PlayerStanding("C", 0, 1);
  ASSERT_EQ(around.size(), 3u);
  EXPECT_EQ(around[0].PlayerHash, "B");
  EXPECT_EQ(around[1].Rank, 3);
  EXPECT_EQ(around[2].PlayerHash, "D");
  EXPECT_TRUE(s.Store.PlayerStanding("nobody", 0, 2).empty());

  // A submission's rank counts the other players' best entries before it.
  EXPECT_EQ(s.Store.Submission(c)->Rank, 3);
  EXPECT_EQ(s.Store.Submission(d)->Rank, 4);

  // A moderator removes A's entry: its replay goes, B leads.
  EXPECT_TRUE(s.Store.EntryReplay(aOld));
  EXPECT_TRUE(s.Store.DeleteEntry(aOld));
  EXPECT_FALSE(s.Store.DeleteEntry(aOld));
  EXPECT_FALSE(s.Store.EntryReplay(aOld));
  const std::vector<TBoardRow> after = s.Store.Board(0, 100);
  ASSERT_EQ(after.size(), 4u) << "A's other entry still stands";
  EXPECT_EQ(after[0].Id, bFirst);
  EXPECT_EQ(after[2].PlayerHash, "A");
  EXPECT_EQ(after[2].Score, 500);
}

TEST(ScoreStore, ValuesAreBoundNeverPastedIn) {
  TStoreOnFile s;
  const std::string nasty = "x'); DROP TABLE submissions; --";
  std::string bytes("\0\x01\xff'\"", 5);
  s.Store.AddTicket(nasty, 5, 0);
  const std::int64_t id = s.Store.Submit({nasty, nasty, nasty, std::nullopt, bytes}, 1, Hour);
  const std::optional<TJob> job = s.Store.Claim("w", 2, 1000);
  ASSERT_TRUE(job);
  EXPECT_EQ(job->Id, id);
  EXPECT_EQ(job->TicketState, TicketState::Ok);
  EXPECT_EQ(job->Replay, bytes) << "a blob with a zero byte came back changed";
  EXPECT_EQ(s.Store.Submission(id)->Name, nasty);
}

TEST(ScoreStore, SqlitePlaceholdersKeepTheirNumbers) {
  EXPECT_EQ(TSqliteDatabase::SqliteText("a = $1 AND b = $12 AND c = '$'"), "a = ?1 AND b = ?12 AND c = '$'");
}
}  // namespace
