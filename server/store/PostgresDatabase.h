#pragma once
// PostgreSQL through libpqxx: the database several service processes, on any
// machines, share. A small pool of connections, one per transaction at a
// time; a connection that broke is dropped and a new one opened.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/store/SqlDatabase.h"

struct TPostgresConnection;

class TPostgresDatabase : public TSqlDatabase {
 public:
  // conninfo: "host=... port=... dbname=... user=..." or a postgresql:// URL.
  // Connects once at once, so a wrong address fails at start (TSqlError).
  TPostgresDatabase(const std::string& conninfo, int connections);
  ~TPostgresDatabase() override;

  TSqlDialect Dialect() const override { return TSqlDialect::Postgres; }
  void Transact(const std::function<void(TSqlRunner&)>& body) override;

 private:
  std::unique_ptr<TPostgresConnection> Take();
  void Give(std::unique_ptr<TPostgresConnection> c);

  std::string ConnInfo;
  int Capacity;
  int Open = 0;
  std::mutex Lock;
  std::condition_variable Freed;
  std::vector<std::unique_ptr<TPostgresConnection>> Idle;
};
