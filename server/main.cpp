// quadrovolt-scores: the score board's service. It hands out tickets,
// queues submitted replays, re-plays each one with the game's own core to
// find its true score, and serves the board, the replays and an HTML page.
// See ServiceOptions.h for the command line and the README for the API.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>

#include "server/ServiceOptions.h"
#include "server/http/DeadlineServer.h"
#include "server/http/ScoreApi.h"
#include "server/referee/RefereeProcess.h"
#include "server/referee/VerifierPool.h"
#include "server/store/PostgresDatabase.h"
#include "server/store/SqliteBackup.h"
#include "server/store/SqliteDatabase.h"

namespace {
std::mutex LogLock;

// One line on standard error, whole, whatever thread writes it.
void LogLine(const std::string& line) {
  std::lock_guard<std::mutex> hold(LogLock);
  std::fprintf(stderr, "quadrovolt-scores: %s\n", line.c_str());
  std::fflush(stderr);
}

TDeadlineServer* Serving = nullptr;
void StopServing(int) {
  if (Serving) Serving->stop();
}

std::string AdminToken(const TServiceOptions& o, bool& ok) {
  ok = true;
  std::string token;
  if (!o.AdminTokenFile.empty()) {
    std::ifstream file(o.AdminTokenFile);
    if (!file) {
      ok = false;
      return {};
    }
    std::getline(file, token);
  } else if (const char* env = std::getenv("QUADROVOLT_SCORES_ADMIN_TOKEN")) {
    token = env;
  }
  while (!token.empty() && (token.back() == '\r' || token.back() == ' ')) token.pop_back();
  return token;
}

int Backup(int argc, char** argv) {
  std::string from, to;
  for (int i = 2; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--db") && i + 1 < argc)
      from = argv[++i];
    else if (!std::strcmp(argv[i], "--to") && i + 1 < argc)
      to = argv[++i];
    else {
      std::fprintf(stderr, "%s", ServiceUsage);
      return 2;
    }
  }
  if (from.empty() || to.empty()) {
    std::fprintf(stderr, "quadrovolt-scores backup: --db FILE and --to FILE, both\n");
    return 2;
  }
  std::string why;
  if (!BackUpSqlite(from, to, why)) {
    std::fprintf(stderr, "quadrovolt-scores backup: %s\n", why.c_str());
    return 1;
  }
  return 0;
}

int Serve(const TServiceOptions& o) {
  bool tokenOk = true;
  const std::string token = AdminToken(o, tokenOk);
  if (!tokenOk) {
    std::fprintf(stderr, "quadrovolt-scores: cannot read %s\n", o.AdminTokenFile.c_str());
    return 1;
  }
  std::unique_ptr<TSqlDatabase> db;
  std::unique_ptr<TScoreStore> store;
  try {
    if (!o.Postgres.empty())
      db = std::make_unique<TPostgresDatabase>(o.Postgres, o.HttpThreads + o.Workers + 2);
    else
      db = std::make_unique<TSqliteDatabase>(o.SqlitePath);
    store = std::make_unique<TScoreStore>(*db);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quadrovolt-scores: %s\n", e.what());
    return 1;
  }

  TVerifierOptions verify;
  verify.Workers = o.Workers > 0 ? o.Workers : int(std::max(1u, std::thread::hardware_concurrency()));
  verify.LeaseMs = std::int64_t(o.LeaseSeconds) * 1000;
  verify.HoldMs = o.HoldJobsMs;
  TRefereeLimits limits;
  limits.CpuSeconds = o.CpuCapSeconds;
  TBoardCache board;
  TVerifierPool verifiers(
      *store, verify, [limits](const std::string& bytes) { return RefereeInChild(bytes, limits); }, LogLine,
      [&board] { board.Clear(); });

  TApiOptions api;
  api.TicketLifetimeMs = o.TicketLifetimeSeconds * 1000;
  api.AdminToken = token;
  api.RatePerSecond = o.RatePerSecond;
  api.WebDir = o.WebDir;
  TScoreApi routes(
      *store, board, api, [&verifiers] { verifiers.Nudge(); }, LogLine);

  TDeadlineServer server(std::chrono::seconds(o.ReadTimeoutSeconds), std::chrono::seconds(o.WriteTimeoutSeconds));
  const int threads = o.HttpThreads;
  server.new_task_queue = [threads] { return new httplib::ThreadPool(std::size_t(threads)); };
  if (!routes.Mount(server)) {
    std::fprintf(stderr, "quadrovolt-scores: cannot serve the folder %s\n", o.WebDir.c_str());
    return 1;
  }
  int port = o.Port;
  if (port == 0)
    port = server.bind_to_any_port(o.Host);
  else if (!server.bind_to_port(o.Host, port))
    port = -1;
  if (port >= 0 && !server.WidenBacklog(1024)) LogLine("could not widen the queue of connections to accept");
  if (port < 0) {
    std::fprintf(stderr, "quadrovolt-scores: cannot listen on %s:%d\n", o.Host.c_str(), o.Port);
    return 1;
  }
  Serving = &server;
  signal(SIGTERM, StopServing);
  signal(SIGINT, StopServing);
  LogLine("listening on " + o.Host + ":" + std::to_string(port) + " with " + std::to_string(verify.Workers) +
          " verifiers, " + (o.Postgres.empty() ? "SQLite " + o.SqlitePath : std::string("PostgreSQL")));
  server.listen_after_bind();
  Serving = nullptr;
  LogLine("stopped");
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  // A client gone mid-answer, or a referee gone mid-read, is an error code
  // on that write, not the end of the service.
  signal(SIGPIPE, SIG_IGN);
  if (argc > 1 && !std::strcmp(argv[1], "referee")) {
    int cpu = 0;
    if (argc == 4 && !std::strcmp(argv[2], "--cpu-seconds")) cpu = std::atoi(argv[3]);
    return RunRefereeChild(cpu);
  }
  if (argc > 1 && !std::strcmp(argv[1], "backup")) return Backup(argc, argv);
  for (int i = 1; i < argc; ++i)
    if (!std::strcmp(argv[i], "--help")) {
      std::printf("%s", ServiceUsage);
      return 0;
    }
  TServiceOptions options;
  std::string why;
  if (!ParseServiceOptions(argc, argv, 1, options, why)) {
    std::fprintf(stderr, "quadrovolt-scores: %s\n%s", why.c_str(), ServiceUsage);
    return 2;
  }
  return Serve(options);
}
