#include "server/store/PostgresDatabase.h"

#include <pqxx/pqxx>

struct TPostgresConnection {
  explicit TPostgresConnection(const std::string& conninfo) : C(conninfo) {}
  pqxx::connection C;
};

namespace {
// bytea's type number in every PostgreSQL.
constexpr pqxx::oid ByteaOid = 17;

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out = "\\x";
  out.reserve(2 + bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

class TPostgresRunner : public TSqlRunner {
 public:
  explicit TPostgresRunner(pqxx::work& work) : Work(work) {}

  TSqlRows Run(const std::string& sql, const std::vector<TSqlValue>& params) override {
    // Every value goes as text; a blob in bytea's hex form, which the server
    // reads back into the same bytes.
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size());
    for (std::size_t i = 0; i < params.size(); ++i) {
      if (params[i].IsNull()) continue;
      texts[i] = params[i].Kind == TSqlValue::TKind::Blob ? Hex(params[i].Data) : params[i].Data;
      values[i] = texts[i].c_str();
    }
    pqxx::result result;
    try {
      result = Work.exec_params(sql, pqxx::prepare::make_dynamic_params(values));
    } catch (const pqxx::failure& e) {
      throw TSqlError(e.what());
    }
    TSqlRows rows;
    rows.reserve(result.size());
    for (const auto& r : result) {
      TSqlRow row;
      row.reserve(r.size());
      for (const auto& f : r) {
        if (f.is_null())
          row.push_back(TSqlValue::Null());
        else if (f.type() == ByteaOid)
          row.push_back(TSqlValue::Blob(pqxx::binarystring(f).str()));
        else
          row.push_back(TSqlValue::Text(f.c_str()));
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }

 private:
  pqxx::work& Work;
};
}  // namespace

TPostgresDatabase::TPostgresDatabase(const std::string& conninfo, int connections)
    : ConnInfo(conninfo), Capacity(connections < 1 ? 1 : connections) {
  Give(Take());
}

TPostgresDatabase::~TPostgresDatabase() = default;

std::unique_ptr<TPostgresConnection> TPostgresDatabase::Take() {
  {
    std::unique_lock<std::mutex> hold(Lock);
    Freed.wait(hold, [&] { return !Idle.empty() || Open < Capacity; });
    if (!Idle.empty()) {
      auto c = std::move(Idle.back());
      Idle.pop_back();
      return c;
    }
    ++Open;
  }
  try {
    return std::make_unique<TPostgresConnection>(ConnInfo);
  } catch (const std::exception& e) {
    std::lock_guard<std::mutex> hold(Lock);
    --Open;
    Freed.notify_one();
    throw TSqlError(std::string("cannot connect to PostgreSQL: ") + e.what());
  }
}

void TPostgresDatabase::Give(std::unique_ptr<TPostgresConnection> c) {
  std::lock_guard<std::mutex> hold(Lock);
  if (c && c->C.is_open())
    Idle.push_back(std::move(c));
  else
    --Open;
  Freed.notify_one();
}

void TPostgresDatabase::Transact(const std::function<void(TSqlRunner&)>& body) {
  std::unique_ptr<TPostgresConnection> c = Take();
  try {
    {
      pqxx::work work(c->C);
      TPostgresRunner runner(work);
      body(runner);
      work.commit();
    }
    Give(std::move(c));
  } catch (const pqxx::broken_connection& e) {
    Give(nullptr);
    throw TSqlError(std::string("PostgreSQL connection lost: ") + e.what());
  } catch (const pqxx::failure& e) {
    Give(std::move(c));
    throw TSqlError(e.what());
  } catch (...) {
    Give(std::move(c));
    throw;
  }
}
