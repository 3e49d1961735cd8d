#include "server/store/SqliteBackup.h"

#include <sqlite3.h>

bool BackUpSqlite(const std::string& from, const std::string& to, std::string& why) {
  sqlite3* source = nullptr;
  sqlite3* target = nullptr;
  bool ok = false;
  if (sqlite3_open_v2(from.c_str(), &source, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    why = from + ": " + sqlite3_errmsg(source);
  } else if (sqlite3_open_v2(to.c_str(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    why = to + ": " + sqlite3_errmsg(target);
  } else if (sqlite3_backup* b = sqlite3_backup_init(target, "main", source, "main")) {
    sqlite3_busy_timeout(source, 10000);
    // A step at a time, so the service is never kept waiting for long.
    int rc;
    do {
      rc = sqlite3_backup_step(b, 256);
      if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) sqlite3_sleep(20);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(b);
    ok = rc == SQLITE_DONE;
    if (!ok) why = std::string("backup failed: ") + sqlite3_errstr(rc);
  } else {
    why = to + ": " + sqlite3_errmsg(target);
  }
  sqlite3_close(source);
  sqlite3_close(target);
  return ok;
}
