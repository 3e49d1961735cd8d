#pragma once
// The embedded database: one SQLite file in WAL mode, so readers never wait
// for the writer and a killed process loses only what it had not committed.
// One connection, one transaction at a time within the process; other
// processes on the same file wait for the lock (busy timeout).
#include <mutex>
#include <string>

#include "server/store/SqlDatabase.h"

struct sqlite3;

class TSqliteDatabase : public TSqlDatabase {
 public:
  // Opens (creating it if need be) the file; throws TSqlError when it cannot.
  explicit TSqliteDatabase(const std::string& path);
  ~TSqliteDatabase() override;
  TSqliteDatabase(const TSqliteDatabase&) = delete;
  TSqliteDatabase& operator=(const TSqliteDatabase&) = delete;

  TSqlDialect Dialect() const override { return TSqlDialect::Sqlite; }
  void Transact(const std::function<void(TSqlRunner&)>& body) override;

  // $1 placeholders become SQLite's ?1 (the same number binds the same value).
  static std::string SqliteText(const std::string& sql);

 private:
  std::mutex Lock;
  sqlite3* Db = nullptr;
};
