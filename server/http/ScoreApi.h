#pragma once
// The score board's HTTP API (JSON) and its pages, on a cpp-httplib server.
// The routes and their answers are written in the README ("Host a score
// board"); every refusal is a 4xx with {"error": "..."}.
#include <httplib.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "server/http/BoardCache.h"
#include "server/http/RateLimiter.h"
#include "server/store/ScoreStore.h"

// The largest replay taken; bodies are capped before they are read at what
// its base64 in a JSON object can take.
constexpr std::size_t MaxSubmittedReplay = 1u << 20;
constexpr std::size_t MaxSubmissionBody = (MaxSubmittedReplay + 2) / 3 * 4 + 8192;

struct TApiOptions {
  std::int64_t TicketLifetimeMs = 6ll * 3600 * 1000;
  std::string AdminToken;  // empty: no moderator
  double RatePerSecond = 20;
  std::string WebDir;  // served under /play/ when set
};

class TScoreApi {
 public:
  using TLog = std::function<void(const std::string& line)>;
  // onQueued is called after each submission is queued (wakes a verifier);
  // the board is read through cache, which the verifiers clear.
  TScoreApi(TScoreStore& store, TBoardCache& cache, const TApiOptions& options, std::function<void()> onQueued,
            TLog log);
  // Adds the routes, the rate limit, the error answers and the log line per
  // request. False when the web folder cannot be served.
  bool Mount(httplib::Server& server);

 private:
  void Tickets(const httplib::Request& req, httplib::Response& res);
  void Submit(const httplib::Request& req, httplib::Response& res);
  void SubmissionStatus(const httplib::Request& req, httplib::Response& res);
  void Board(const httplib::Request& req, httplib::Response& res);
  void PlayerRank(const httplib::Request& req, httplib::Response& res);
  void EntryReplay(const httplib::Request& req, httplib::Response& res);
  void DeleteEntry(const httplib::Request& req, httplib::Response& res);
  void BoardPage(const httplib::Request& req, httplib::Response& res);
  void Health(const httplib::Request& req, httplib::Response& res);

  TScoreStore& Store;
  TApiOptions Options;
  std::function<void()> OnQueued;
  TLog Log;
  TRateLimiter Limiter;
  TBoardCache& Cache;
  std::atomic<std::int64_t> TicketsSwept{0};  // when the old tickets were last forgotten
};
