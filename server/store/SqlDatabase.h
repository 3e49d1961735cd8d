#pragma once
// The one interface the score store talks to: a database that runs
// parameterised statements inside transactions. Two real ones stand behind
// it, SQLite (one file, the default) and PostgreSQL (shared by several
// service processes on any machines).
//
// Statements are written once, with PostgreSQL's $1, $2, ... placeholders;
// values are only ever bound, never pasted into the text.
#include <functional>
#include <stdexcept>
#include <string>

#include "server/store/SqlValue.h"

enum class TSqlDialect { Sqlite, Postgres };

// Runs statements inside the transaction it was handed in.
class TSqlRunner {
 public:
  virtual ~TSqlRunner() = default;
  virtual TSqlRows Run(const std::string& sql, const std::vector<TSqlValue>& params = {}) = 0;
};

// Whatever the database said when it failed.
class TSqlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSqlDatabase {
 public:
  virtual ~TSqlDatabase() = default;
  virtual TSqlDialect Dialect() const = 0;
  // Runs body in one transaction: committed when it returns, rolled back when
  // it throws (the exception goes on). A writer waits for other writers.
  virtual void Transact(const std::function<void(TSqlRunner&)>& body) = 0;
};
