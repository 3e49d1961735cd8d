#include "server/store/SqliteDatabase.h"

#include <sqlite3.h>

#include <cctype>
#include <memory>

namespace {
[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
  throw TSqlError(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

class TSqliteRunner : public TSqlRunner {
 public:
  explicit TSqliteRunner(sqlite3* db) : Db(db) {}

  TSqlRows Run(const std::string& sql, const std::vector<TSqlValue>& params) override {
    sqlite3_stmt* raw = nullptr;
    const std::string text = TSqliteDatabase::SqliteText(sql);
    if (sqlite3_prepare_v2(Db, text.c_str(), int(text.size()), &raw, nullptr) != SQLITE_OK) Fail(Db, "prepare");
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> stmt(raw, sqlite3_finalize);
    for (std::size_t i = 0; i < params.size(); ++i) {
      const TSqlValue& v = params[i];
      const int n = int(i + 1);
      int rc = SQLITE_OK;
      switch (v.Kind) {
        case TSqlValue::TKind::Null: rc = sqlite3_bind_null(raw, n); break;
        case TSqlValue::TKind::Int: rc = sqlite3_bind_int64(raw, n, v.AsInt()); break;
        case TSqlValue::TKind::Text:
          rc = sqlite3_bind_text(raw, n, v.Data.data(), int(v.Data.size()), SQLITE_TRANSIENT);
          break;
        case TSqlValue::TKind::Blob:
          rc = sqlite3_bind_blob(raw, n, v.Data.data(), int(v.Data.size()), SQLITE_TRANSIENT);
          break;
      }
      if (rc != SQLITE_OK) Fail(Db, "bind");
    }
    TSqlRows rows;
    for (;;) {
      const int rc = sqlite3_step(raw);
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) Fail(Db, "step");
      TSqlRow row;
      const int columns = sqlite3_column_count(raw);
      for (int c = 0; c < columns; ++c) {
        switch (sqlite3_column_type(raw, c)) {
          case SQLITE_NULL: row.push_back(TSqlValue::Null()); break;
          case SQLITE_INTEGER: row.push_back(TSqlValue::Int(sqlite3_column_int64(raw, c))); break;
          case SQLITE_BLOB: {
            const auto* p = static_cast<const char*>(sqlite3_column_blob(raw, c));
            row.push_back(TSqlValue::Blob(std::string(p ? p : "", std::size_t(sqlite3_column_bytes(raw, c)))));
            break;
          }
          default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(raw, c));
            row.push_back(TSqlValue::Text(std::string(p ? p : "", std::size_t(sqlite3_column_bytes(raw, c)))));
          }
        }
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }

 private:
  sqlite3* Db;
};

void Exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    std::string why = error ? error : "failed";
    sqlite3_free(error);
    throw TSqlError(std::string(sql) + ": " + why);
  }
}
}  // namespace

TSqliteDatabase::TSqliteDatabase(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr) !=
      SQLITE_OK) {
    const std::string why = Db ? sqlite3_errmsg(Db) : "out of memory";
    sqlite3_close(Db);
    Db = nullptr;
    throw TSqlError(path + ": " + why);
  }
  // Another process on the same file (a backup, a second service) holds the
  // write lock only briefly: wait for it rather than fail.
  sqlite3_busy_timeout(Db, 10000);
  try {
    Exec(Db, "PRAGMA journal_mode=WAL");
    Exec(Db, "PRAGMA synchronous=NORMAL");
    Exec(Db, "PRAGMA foreign_keys=ON");
  } catch (...) {
    sqlite3_close(Db);
    throw;
  }
}

TSqliteDatabase::~TSqliteDatabase() { sqlite3_close(Db); }

void TSqliteDatabase::Transact(const std::function<void(TSqlRunner&)>& body) {
  std::lock_guard<std::mutex> hold(Lock);
  // IMMEDIATE takes the write lock at once: two processes never both read
  // a queued job and then both claim it.
  Exec(Db, "BEGIN IMMEDIATE");
  try {
    TSqliteRunner runner(Db);
    body(runner);
    Exec(Db, "COMMIT");
  } catch (...) {
    sqlite3_exec(Db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

std::string TSqliteDatabase::SqliteText(const std::string& sql) {
  std::string out;
  out.reserve(sql.size());
  for (std::size_t i = 0; i < sql.size(); ++i) {
    if (sql[i] == '$' && i + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i + 1])))
      out += '?';
    else
      out += sql[i];
  }
  return out;
}
