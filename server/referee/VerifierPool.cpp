#include "server/referee/VerifierPool.h"

#include <unistd.h>

#include <chrono>

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

TVerifierPool::TVerifierPool(TScoreStore& store, const TVerifierOptions& options, TReplayer replayer, TLog log,
                             std::function<void()> onAccepted)
    : Store(store),
      Options(options),
      Replayer(std::move(replayer)),
      Log(std::move(log)),
      OnAccepted(std::move(onAccepted)) {
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  OwnerPrefix = std::string(host) + ":" + std::to_string(getpid()) + ":";
  Held.assign(std::size_t(Options.Workers), 0);
  for (int i = 0; i < Options.Workers; ++i) Workers.emplace_back([this, i] { Work(i); });
  Renewer = std::thread([this] { RenewLeases(); });
}

TVerifierPool::~TVerifierPool() {
  {
    std::lock_guard<std::mutex> hold(Lock);
    Stopping = true;
  }
  Wake.notify_all();
  for (std::thread& t : Workers) t.join();
  Renewer.join();
}

void TVerifierPool::RenewLeases() {
  std::unique_lock<std::mutex> hold(Lock);
  while (!Stopping) {
    Wake.wait_for(hold, std::chrono::milliseconds(Options.LeaseMs / 3), [&] { return bool(Stopping); });
    if (Stopping) break;
    const std::vector<std::int64_t> jobs = Held;
    hold.unlock();
    for (std::size_t i = 0; i < jobs.size(); ++i) {
      if (jobs[i] == 0) continue;
      try {
        Store.Renew(jobs[i], OwnerPrefix + std::to_string(i), NowMs() + Options.LeaseMs);
      } catch (const std::exception& e) {
        Log("verifier: cannot renew the lease on " + std::to_string(jobs[i]) + ": " + e.what());
      }
    }
    hold.lock();
  }
}

void TVerifierPool::Nudge() {
  {
    std::lock_guard<std::mutex> hold(Lock);
    ++Nudges;
  }
  Wake.notify_one();
}

void TVerifierPool::Work(int index) {
  const std::string owner = OwnerPrefix + std::to_string(index);
  std::uint64_t seen = 0;
  while (!Stopping) {
    std::optional<TJob> job;
    try {
      job = Store.Claim(owner, NowMs(), Options.LeaseMs);
    } catch (const std::exception& e) {
      Log(std::string("verifier ") + owner + ": cannot claim: " + e.what());
    }
    if (!job) {
      std::unique_lock<std::mutex> hold(Lock);
      Wake.wait_for(hold, std::chrono::milliseconds(Options.IdlePollMs), [&] { return Stopping || Nudges != seen; });
      seen = Nudges;
      continue;
    }
    {
      std::lock_guard<std::mutex> hold(Lock);
      Held[std::size_t(index)] = job->Id;
    }
    if (Options.HoldMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(Options.HoldMs));
    const auto start = std::chrono::steady_clock::now();
    TVerdict verdict;
    if (job->Attempts > Options.MaxAttempts) {
      verdict.Reason = "gave up after " + std::to_string(Options.MaxAttempts) + " attempts to re-play it";
    } else {
      verdict = JudgeSubmission(*job, Options.Clock, Replayer);
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    bool kept = false;
    try {
      kept = Store.Finish(job->Id, owner, verdict, NowMs());
      std::lock_guard<std::mutex> hold(Lock);
      Held[std::size_t(index)] = 0;
    } catch (const std::exception& e) {
      std::lock_guard<std::mutex> hold(Lock);
      Held[std::size_t(index)] = 0;
      Log("verdict " + std::to_string(job->Id) + ": cannot be written: " + e.what());
      continue;
    }
    char took[32];
    std::snprintf(took, sizeof took, "%.0f ms", ms);
    if (kept && verdict.Accepted && OnAccepted) OnAccepted();
    if (!kept)
      Log("verdict " + std::to_string(job->Id) + ": dropped, its lease went to another verifier");
    else if (verdict.Accepted)
      Log("verdict " + std::to_string(job->Id) + ": accepted score " + std::to_string(verdict.Score) + " level " +
          std::to_string(verdict.Level) + " frames " + std::to_string(verdict.Frames) + " in " + took);
    else
      Log("verdict " + std::to_string(job->Id) + ": refused: " + verdict.Reason + " (" + took + ")");
  }
}
