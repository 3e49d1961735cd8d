#include "platform/BoardSession.h"

#include <openssl/evp.h>

#include <cstdio>
#include <limits>

#include "app/GameConstants.h"
#include "app/GameHost.h"
#include "platform/BoardClient.h"

namespace {
constexpr long TicketTimeoutMs = 300;  // the start of a game never waits for it anyway
constexpr long RequestTimeoutMs = 4000;
constexpr long ReplayTimeoutMs = 8000;
constexpr std::uint64_t TicketRetryMs = 3000;
constexpr std::uint64_t PollEveryMs = 1500;
constexpr std::uint64_t BoardEveryMs = 30000;
constexpr std::uint64_t Never = std::numeric_limits<std::uint64_t>::max();

// The board knows a player by the SHA-256 of the key's 16 bytes: the key
// itself need not travel in a request's address.
std::string PlayerHash(const std::string& key) {
  unsigned char bytes[16], digest[EVP_MAX_MD_SIZE];
  for (int i = 0; i < 16; ++i) bytes[i] = std::uint8_t(std::stoi(key.substr(std::size_t(2 * i), 2), nullptr, 16));
  unsigned int size = 0;
  EVP_Digest(bytes, sizeof bytes, digest, &size, EVP_sha256(), nullptr);
  static const char Hex[] = "0123456789abcdef";
  std::string out;
  for (unsigned int i = 0; i < size; ++i) out += {Hex[digest[i] >> 4], Hex[digest[i] & 15]};
  return out;
}
}  // namespace

TBoardSession::TBoardSession(const TBoardSettings& settings, const std::string& folder)
    : Settings(settings), Folder(folder.empty() || folder.back() == '/' ? folder : folder + "/") {
  OutboxPath = Folder + BoardOutboxFileName;
  if (!Settings.Sharing) return;
  Address = BoardAddress(Settings);
  while (!Address.empty() && Address.back() == '/') Address.pop_back();
  std::string why;
  if (!Outbox.Load(OutboxPath, why)) std::fprintf(stderr, "quadrovolt: the score board's outbox: %s\n", why.c_str());
  Client = std::make_unique<TBoardClient>();
  View.Shown = true;
}

TBoardSession::~TBoardSession() = default;

bool TBoardSession::OnTitle(const TGameHost& game) const {
  return game.State() == GameState::Title && !game.Recording() && !game.Watching();
}

void TBoardSession::BetweenSteps(TGameHost& game, std::uint64_t now) {
  if (!Client) return;
  // What the last steps did comes first: an answer taken now belongs to
  // what follows (a ticket that arrives after a start is the next game's).
  Noticed(game, now);
  TBoardAnswer a;
  while (Client->Take(a)) Answered(game, a, now);
  Ask(game, now);
  View.Verdict = VerdictWords(Verdict);
  if (View.Verdict != Shown.Verdict || View.Rows.size() != Shown.Rows.size() || View.Chosen != Shown.Chosen ||
      View.PlayerRank != Shown.PlayerRank || View.Note != Shown.Note || View.Shown != Shown.Shown || [&] {
        for (std::size_t i = 0; i < View.Rows.size(); ++i)
          if (View.Rows[i].Id != Shown.Rows[i].Id || View.Rows[i].Rank != Shown.Rows[i].Rank) return true;
        return false;
      }()) {
    Shown = View;
    game.ShowBoard(View);
    // The verdict line on standard error too, for whoever started the game from a terminal.
    static std::string said;
    if (View.Verdict != said && !View.Verdict.empty()) std::fprintf(stderr, "score board: %s\n", View.Verdict.c_str());
    said = View.Verdict;
  }
}

void TBoardSession::Noticed(TGameHost& game, std::uint64_t now) {
  const bool recording = game.Recording();
  if (recording && !WasRecording) {
    // The start consumed the seed handed over, if one was: then it is
    // this ticket's game, and the ticket is used up.
    GameTicket = HeldTicket;
    HeldTicket.clear();
    NextTicketTry = now;
    if (GameTicket.empty()) Verdict = TVerdict{TVerdictKind::NoTicket, 0, ""};
    View.Chosen = -1;
  } else if (!recording && WasRecording) {
    if (!GameTicket.empty()) KeepFinishedGame(game, now);
    GameTicket.clear();
  }
  WasRecording = recording;
  if (WatchingEntry && !game.Watching()) {
    // How the entry came out here, in the final line's words: the board's
    // game as its player's own game printed it.
    char line[160];
    FormatFinalLine(game.LastResult(), line, sizeof line);
    std::printf("board entry %lld watched: %s\n", static_cast<long long>(WatchingEntry), line);
    std::fflush(stdout);
    WatchingEntry = 0;
  }
}

void TBoardSession::KeepFinishedGame(TGameHost& game, std::uint64_t now) {
  TPendingGame g{GameTicket, Settings.Name, Settings.Key, game.LastResult().Score, game.RecordingBytes()};
  if (!Outbox.Add(std::move(g))) {
    std::fprintf(stderr, "quadrovolt: the game's replay could not be kept for the score board\n");
    return;
  }
  if (!Outbox.Save(OutboxPath))
    std::fprintf(stderr, "quadrovolt: the score board's outbox could not be written: %s\n", OutboxPath.c_str());
  NextFlush = now;
}

void TBoardSession::Reached(std::uint64_t now) {
  if (!Submitting && NextFlush == Never) NextFlush = now;
}

void TBoardSession::Answered(TGameHost& game, const TBoardAnswer& a, std::uint64_t now) {
  using K = TBoardJob::TKind;
  const bool ok = a.Reached && a.Status >= 200 && a.Status < 300;
  if (a.Reached) Reached(now);
  switch (a.Kind) {
    case K::Ticket:
      AskingTicket = false;
      if (ok && a.Seed && !a.Ticket.empty()) {
        HeldTicket = a.Ticket;
        // Given back a minute before it lapses, or halfway through a short
        // life (never sooner than half a second: no storm of requests).
        const std::int64_t lifeMs = a.ExpiresIn > 120 ? (a.ExpiresIn - 60) * 1000 : a.ExpiresIn * 500;
        HeldUntil = now + std::uint64_t(lifeMs > 500 ? lifeMs : 500);
        game.PlayNextGameOnSeed(a.Seed);
      } else {
        NextTicketTry = now + TicketRetryMs;
      }
      break;
    case K::Submit:
      Submitting = false;
      if (ok && a.Id > 0) {
        Outbox.Remove(a.Ticketed);
        if (!Outbox.Save(OutboxPath))
          std::fprintf(stderr, "quadrovolt: the score board's outbox could not be written: %s\n", OutboxPath.c_str());
        LastId = a.Id;
        AcceptedId = 0;
        Verdict = TVerdict{TVerdictKind::Queued, 0, ""};
        Polling = true;
        NextPoll = a.SubmissionStatus == "queued" ? now + PollEveryMs : now;
        NextFlush = now;
      } else if (a.Reached && a.Status >= 400 && a.Status < 500 && a.Status != 429) {
        // Refused as it stands (a name, a size): sending it again changes nothing.
        Outbox.Remove(a.Ticketed);
        Outbox.Save(OutboxPath);
        Verdict = TVerdict{TVerdictKind::Refused, 0, a.Error};
        NextFlush = now;
      } else {
        if (!a.Reached) Verdict = TVerdict{TVerdictKind::WaitingOffline, 0, ""};
        NextFlush = a.Reached ? now + 5000 : Never;  // again when the service answers again
      }
      break;
    case K::Poll:
      PollInFlight = false;
      if (!ok || a.Id != LastId) {
        NextPoll = now + PollEveryMs;
      } else if (a.SubmissionStatus == "queued") {
        NextPoll = now + PollEveryMs;
      } else {
        Polling = false;
        if (a.SubmissionStatus == "accepted") {
          Verdict = TVerdict{TVerdictKind::Accepted, int(a.Rank), ""};
          AcceptedId = a.Id;
        } else {
          Verdict = TVerdict{TVerdictKind::Refused, 0, a.Reason};
        }
        NextBoard = now;  // the board as it stands after the verdict
      }
      break;
    case K::Board:
      BoardInFlight = false;
      if (!ok) {
        NextBoard = now + TicketRetryMs * 3;
        break;
      }
      View.Rows = a.Rows;
      // The accepted game's rank this week, as the week's board has it.
      for (const TBoardViewRow& r : View.Rows)
        if (AcceptedId && r.Id == AcceptedId) Verdict.Rank = r.Rank;
      break;
    case K::Rank:
      if (a.Reached && a.Status == 404) View.PlayerRank = 0;
      if (!ok) break;
      View.PlayerRank = int(a.Rank);
      if (AcceptedId && a.Entry == AcceptedId) Verdict.Rank = int(a.Rank);
      break;
    case K::Replay: {
      Downloading = false;
      TReplay replay;
      std::string why;
      if (!ok || a.Bytes.empty()) {
        why = a.Reached ? "the board has no replay of that entry" : a.Error;
      } else if (ParseReplay(a.Bytes.data(), a.Bytes.size(), replay, why) && ReplayPlaysHere(replay.Header, why)) {
        View.Note.clear();
        if (!OnTitle(game)) break;
        game.Watch(std::move(replay));
        if (game.Watching()) WatchingEntry = a.Id;
        break;
      }
      View.Note = "cannot watch: " + why;
      std::fprintf(stderr, "quadrovolt: the board's replay cannot be watched: %s\n", why.c_str());
      break;
    }
  }
}

void TBoardSession::Ask(TGameHost& game, std::uint64_t now) {
  auto post = [&](TBoardJob::TKind kind, long timeout) {
    TBoardJob job;
    job.Kind = kind;
    job.Address = Address;
    job.TimeoutMs = timeout;
    return job;
  };
  if (OnTitle(game)) {
    if (!HeldTicket.empty() && now >= HeldUntil) {
      HeldTicket.clear();
      game.PlayNextGameOnSeed(0);
      NextTicketTry = now;
    }
    if (HeldTicket.empty() && !AskingTicket && now >= NextTicketTry) {
      AskingTicket = true;
      Client->Post(post(TBoardJob::TKind::Ticket, TicketTimeoutMs));
    }
    if (!BoardInFlight && now >= NextBoard) {
      BoardInFlight = true;
      NextBoard = now + BoardEveryMs;
      Client->Post(post(TBoardJob::TKind::Board, RequestTimeoutMs));
      TBoardJob rank = post(TBoardJob::TKind::Rank, RequestTimeoutMs);
      rank.Key = PlayerHash(Settings.Key);
      Client->Post(std::move(rank));
    }
  }
  if (!Outbox.Empty() && !Submitting && now >= NextFlush) {
    Submitting = true;
    TBoardJob job = post(TBoardJob::TKind::Submit, RequestTimeoutMs);
    job.Game = Outbox.Games().front();
    Client->Post(std::move(job));
  }
  if (Polling && !PollInFlight && now >= NextPoll) {
    PollInFlight = true;
    TBoardJob job = post(TBoardJob::TKind::Poll, RequestTimeoutMs);
    job.Id = LastId;
    Client->Post(std::move(job));
  }
}

bool TBoardSession::TakeKey(TGameHost& game, int vk) {
  if (!Client || !OnTitle(game)) return false;
  const int rows = int(View.Rows.size());
  if (View.Chosen < 0) {
    if (vk != 'B' || rows == 0 || Downloading) return false;
    View.Chosen = 0;
    View.Note = "Up Down Enter: watch   B: close";
    return true;
  }
  if (vk == VK::Up && View.Chosen > 0) --View.Chosen;
  if (vk == VK::Down && View.Chosen + 1 < rows) ++View.Chosen;
  int pick = -1;
  if (vk == 13) pick = View.Chosen;
  if (vk >= '1' && vk <= '9') pick = vk - '1';
  if (vk == '0') pick = 9;
  if (pick >= 0 && pick < rows) {
    Download(View.Rows[std::size_t(pick)].Id);
  } else if (vk == 'B' || vk == VK::Escape) {
    View.Chosen = -1;
    View.Note.clear();
  }
  return true;  // the list open, every key is its own
}

void TBoardSession::Download(std::int64_t entry) {
  Downloading = true;
  View.Chosen = -1;
  View.Note = "fetching the replay...";
  TBoardJob job;
  job.Kind = TBoardJob::TKind::Replay;
  job.Address = Address;
  job.TimeoutMs = ReplayTimeoutMs;
  job.Id = entry;
  Client->Post(std::move(job));
}

void TBoardSession::SessionEnds(TGameHost& game) {
  if (!Client || GameTicket.empty() || !game.Recording()) return;
  game.FinishGame();
  Noticed(game, 0);
}
