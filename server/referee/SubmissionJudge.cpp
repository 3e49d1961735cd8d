#include "server/referee/SubmissionJudge.h"

#include <cstdio>

namespace {
TVerdict Refused(std::string reason) {
  TVerdict v;
  v.Reason = std::move(reason);
  return v;
}

std::string AssistNames(const TReplayAssists& a) {
  std::string names;
  auto add = [&](const char* n) { names += names.empty() ? n : std::string(", ") + n; };
  if (a.BulletLevel) add("held bullet level");
  if (a.NoDamage) add("no damage");
  if (a.Bombs) add("bombs");
  return names;
}

std::string Seconds(double s) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", s);
  return text;
}
}  // namespace

TVerdict JudgeSubmission(const TJob& job, const TClockRule& clock, const TReplayer& replay) {
  if (job.TicketState == TicketState::Unknown) return Refused("ticket unknown");
  if (job.TicketState == TicketState::Used) return Refused("ticket already used");
  if (job.TicketState == TicketState::Expired) return Refused("ticket expired");
  if (job.TicketState != TicketState::Ok) return Refused("ticket not usable");

  TReplay parsed;
  std::string why;
  if (!ParseReplay(reinterpret_cast<const std::uint8_t*>(job.Replay.data()), job.Replay.size(), parsed, why))
    return Refused(why);
  const TReplayHeader& h = parsed.Header;
  if (!ReplayPlaysHere(h, why)) return Refused(why);
  if (h.Ticks > MaxReplayTicks) return Refused("longer than two hours of play");
  if (h.Assists.Any()) return Refused("made with developer assists (" + AssistNames(h.Assists) + ")");
  if (h.ScriptState != job.Seed || h.PlaySeed != job.Seed) return Refused("wrong seed for the ticket");
  // Play much slower than the clock is normal (pauses, slow machines); play
  // faster than it is not.
  const double played = h.Ticks / 100.0;
  const double wall = (job.ReceivedAt - job.IssuedAt) / 1000.0;
  if (played > wall + clock.ToleranceSeconds + clock.ToleranceShare * wall)
    return Refused("played faster than the clock: " + Seconds(played) + " of play " + Seconds(wall) +
                   " after its ticket");

  const TReplayOutcome outcome = replay(job.Replay);
  if (!outcome.Finished) return Refused(outcome.Failure.empty() ? "could not be re-played" : outcome.Failure);
  if (job.ClaimedScore && *job.ClaimedScore != outcome.Result.Score)
    return Refused("claimed score " + std::to_string(*job.ClaimedScore) + ", the game scores " +
                   std::to_string(outcome.Result.Score));
  TVerdict v;
  v.Accepted = true;
  v.Score = outcome.Result.Score;
  v.Level = outcome.Result.Level;
  v.Frames = outcome.Result.Frames;
  return v;
}
