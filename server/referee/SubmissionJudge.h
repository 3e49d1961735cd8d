#pragma once
// Decides a submission's verdict: every check that needs only the ticket,
// the times and the replay's header first (cheap, in the service), then the
// re-play itself (in a child), then the claimed score against the computed
// one. The first check that fails is the one reason given.
#include <functional>
#include <string>

#include "server/referee/ReplayReferee.h"
#include "server/store/ScoreStore.h"

struct TClockRule {
  // A game may show this much more play than wall time since its ticket
  // (a client's clock running a little fast), and no more: beyond it, a
  // program played it faster than real time.
  double ToleranceSeconds = 2.0;
  double ToleranceShare = 0.02;  // of the wall time
};

using TReplayer = std::function<TReplayOutcome(const std::string& bytes)>;

TVerdict JudgeSubmission(const TJob& job, const TClockRule& clock, const TReplayer& replay);
