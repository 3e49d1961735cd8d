#pragma once
// The verifiers: worker threads that take submissions from the queue in the
// database, each under a lease, judge them and write the verdict. Several
// processes (on one SQLite file, or on any machines sharing PostgreSQL) take
// from the same queue; a job whose worker died is taken over by whoever
// claims after its lease lapsed, and a verdict is kept only from the worker
// still holding the lease.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/referee/SubmissionJudge.h"
#include "server/store/ScoreStore.h"

struct TVerifierOptions {
  int Workers = 1;
  // A job's lease, renewed every third of it while its worker lives: a
  // process that died gives its jobs up this long after.
  std::int64_t LeaseMs = 60000;
  std::int64_t IdlePollMs = 250;  // how often an idle worker looks for work another process queued
  int MaxAttempts = 5;            // claims of one job before it is refused as unplayable
  std::int64_t HoldMs = 0;        // fault tests: time a claimed job is held before it is judged
  TClockRule Clock;
};

class TVerifierPool {
 public:
  using TLog = std::function<void(const std::string& line)>;
  // onAccepted: called after each accepted verdict is written.
  TVerifierPool(TScoreStore& store, const TVerifierOptions& options, TReplayer replayer, TLog log,
                std::function<void()> onAccepted = nullptr);
  ~TVerifierPool();  // stops and joins the workers (a job under way is finished first)

  // A submission was queued in this process: wake a worker now.
  void Nudge();

 private:
  void Work(int index);
  void RenewLeases();

  TScoreStore& Store;
  TVerifierOptions Options;
  TReplayer Replayer;
  TLog Log;
  std::function<void()> OnAccepted;
  std::string OwnerPrefix;
  std::atomic<bool> Stopping{false};
  std::mutex Lock;
  std::condition_variable Wake;
  std::uint64_t Nudges = 0;
  std::vector<std::int64_t> Held;  // each worker's job (0: none)
  std::vector<std::thread> Workers;
  std::thread Renewer;
};

std::int64_t NowMs();
