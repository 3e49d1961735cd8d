#pragma once
// quadrovolt-scores' command line.
#include <cstdint>
#include <string>

struct TServiceOptions {
  std::string Host = "127.0.0.1";
  int Port = 8470;
  std::string SqlitePath = "quadrovolt-scores.db";
  std::string Postgres;  // a connection string: PostgreSQL instead of the SQLite file
  int Workers = 0;       // 0: one per core
  int HttpThreads = 16;
  std::string WebDir;
  std::string AdminTokenFile;
  double RatePerSecond = 20;
  int ReadTimeoutSeconds = 10;
  int WriteTimeoutSeconds = 10;
  int LeaseSeconds = 60;
  int CpuCapSeconds = 600;
  std::int64_t TicketLifetimeSeconds = 6 * 3600;
  int HoldJobsMs = 0;
};

constexpr const char* ServiceUsage =
    "usage: quadrovolt-scores [options]          serve the score board\n"
    "       quadrovolt-scores backup --db FILE --to FILE\n"
    "       quadrovolt-scores referee [--cpu-seconds N] < REPLAY\n"
    "options:\n"
    "  --listen ADDR:PORT       where to listen (127.0.0.1:8470; port 0 picks a free one)\n"
    "  --db FILE                the SQLite database file (quadrovolt-scores.db)\n"
    "  --postgres CONNINFO      PostgreSQL instead, e.g. \"host=db dbname=scores user=scores\"\n"
    "  --workers N              verifier threads (one per core)\n"
    "  --http-threads N         request threads (16)\n"
    "  --web DIR                serve the built web game from DIR under /play/\n"
    "  --admin-token-file FILE  the moderator's token (or QUADROVOLT_SCORES_ADMIN_TOKEN)\n"
    "  --rate-limit N           requests a second per address, bursts of 2N (20; 0: none)\n"
    "  --read-timeout S         a whole request must arrive within S seconds (10)\n"
    "  --write-timeout S        each write of an answer waits at most S seconds (10)\n"
    "  --lease S                a verifier's hold on a job, renewed while it lives (60)\n"
    "  --cpu-cap S              CPU seconds one re-play may use (600)\n"
    "  --ticket-lifetime S      seconds a ticket stays good (21600)\n"
    "  --hold-jobs MS           hold each job that long before judging it (fault tests)\n"
    "  --help                   this text\n";

// Parses the serving options (argv[first..]); false with why on a bad one.
bool ParseServiceOptions(int argc, char** argv, int first, TServiceOptions& out, std::string& why);
