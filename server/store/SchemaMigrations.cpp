#include "server/store/SchemaMigrations.h"

#include <string>
#include <vector>

namespace {
struct TMigration {
  const char* Sqlite;
  const char* Postgres;
};

// Append only: a migration, once released, is never edited.
const std::vector<TMigration>& Migrations() {
  static const std::vector<TMigration> list = {
      // 1: tickets, and submissions that are also the board's entries once
      // accepted (the queue of the verifiers is their status and lease).
      {R"(CREATE TABLE tickets (
            id TEXT PRIMARY KEY, seed TEXT NOT NULL, issued_at INTEGER NOT NULL, used INTEGER NOT NULL DEFAULT 0);
          CREATE TABLE submissions (
            id INTEGER PRIMARY KEY AUTOINCREMENT, ticket TEXT NOT NULL, ticket_state TEXT NOT NULL,
            seed TEXT, issued_at INTEGER, name TEXT NOT NULL, player_hash TEXT NOT NULL, claimed_score INTEGER,
            replay BLOB NOT NULL, received_at INTEGER NOT NULL, status TEXT NOT NULL, reason TEXT,
            score INTEGER, level INTEGER, frames INTEGER, lease_owner TEXT, lease_until INTEGER,
            attempts INTEGER NOT NULL DEFAULT 0, finished_at INTEGER, deleted INTEGER NOT NULL DEFAULT 0);
          CREATE INDEX submissions_queue ON submissions (status, id);
          CREATE INDEX submissions_board ON submissions (status, deleted, player_hash, score);)",
       R"(CREATE TABLE tickets (
            id TEXT PRIMARY KEY, seed TEXT NOT NULL, issued_at BIGINT NOT NULL, used INTEGER NOT NULL DEFAULT 0);
          CREATE TABLE submissions (
            id BIGSERIAL PRIMARY KEY, ticket TEXT NOT NULL, ticket_state TEXT NOT NULL,
            seed TEXT, issued_at BIGINT, name TEXT NOT NULL, player_hash TEXT NOT NULL, claimed_score BIGINT,
            replay BYTEA NOT NULL, received_at BIGINT NOT NULL, status TEXT NOT NULL, reason TEXT,
            score BIGINT, level INTEGER, frames BIGINT, lease_owner TEXT, lease_until BIGINT,
            attempts INTEGER NOT NULL DEFAULT 0, finished_at BIGINT, deleted INTEGER NOT NULL DEFAULT 0);
          CREATE INDEX submissions_queue ON submissions (status, id);
          CREATE INDEX submissions_board ON submissions (status, deleted, player_hash, score);)"},
      // 2: tickets long past their lifetime are forgotten, oldest first.
      {"CREATE INDEX tickets_issued ON tickets (issued_at)", "CREATE INDEX tickets_issued ON tickets (issued_at)"},
      // 3: a game sent again on its ticket is found among that ticket's submissions.
      {"CREATE INDEX submissions_ticket ON submissions (ticket)",
       "CREATE INDEX submissions_ticket ON submissions (ticket)"},
  };
  return list;
}

// Runs each statement of a migration on its own (SQLite's prepare takes one).
void RunScript(TSqlRunner& run, const std::string& script) {
  std::size_t start = 0;
  while (start < script.size()) {
    std::size_t end = script.find(';', start);
    if (end == std::string::npos) end = script.size();
    const std::string statement = script.substr(start, end - start);
    if (statement.find_first_not_of(" \n\t") != std::string::npos) run.Run(statement);
    start = end + 1;
  }
}
}  // namespace

int LatestSchemaVersion() { return int(Migrations().size()); }

int MigrateSchema(TSqlDatabase& db) {
  int was = 0;
  db.Transact([&](TSqlRunner& run) {
    // Two processes starting at once on one PostgreSQL: one migrates, the
    // other waits for it and then finds nothing to do.
    if (db.Dialect() == TSqlDialect::Postgres) run.Run("SELECT pg_advisory_xact_lock(7294011)");
    run.Run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    TSqlRows rows = run.Run("SELECT version FROM schema_version");
    if (rows.empty()) {
      run.Run("INSERT INTO schema_version (version) VALUES (0)");
    } else {
      was = int(rows[0][0].AsInt());
    }
    const int latest = LatestSchemaVersion();
    if (was > latest)
      throw TSqlError("the database's schema is version " + std::to_string(was) + ", newer than this service's " +
                      std::to_string(latest) + ": run a newer quadrovolt-scores");
    for (int v = was + 1; v <= latest; ++v) {
      const TMigration& m = Migrations()[std::size_t(v - 1)];
      RunScript(run, db.Dialect() == TSqlDialect::Sqlite ? m.Sqlite : m.Postgres);
      run.Run("UPDATE schema_version SET version = $1", {TSqlValue::Int(v)});
    }
  });
  return was;
}
