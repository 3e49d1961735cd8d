#include "server/http/ScoreApi.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "server/PlayerName.h"
#include "server/Secrets.h"
#include "server/http/BoardPage.h"
#include "server/referee/VerifierPool.h"

namespace {
using nlohmann::json;

void Answer(httplib::Response& res, int status, const json& body) {
  res.status = status;
  res.set_content(body.dump(), "application/json");
}

void Error(httplib::Response& res, int status, const std::string& why) { Answer(res, status, {{"error", why}}); }

// A whole positive decimal number, nothing else.
std::optional<std::int64_t> Id(const std::string& text) {
  std::int64_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v <= 0) return std::nullopt;
  return v;
}

// "all" (the default) or "week": the time the board starts from.
bool Period(const httplib::Request& req, std::string& period, std::int64_t& since) {
  period = req.has_param("period") ? req.get_param_value("period") : "all";
  if (period == "all") {
    since = 0;
    return true;
  }
  if (period == "week") {
    since = WeekStartMs(NowMs());
    return true;
  }
  return false;
}

// A player looked up by their key: the key is a secret, so the log shows
// that it was one, never the key.
std::string LoggedPath(const std::string& path) {
  const std::string players = "/api/players/";
  if (path.compare(0, players.size(), players) != 0) return path;
  const std::size_t end = path.find('/', players.size());
  const std::size_t size = (end == std::string::npos ? path.size() : end) - players.size();
  if (size == 64) return path;
  return players + "(key)" + (end == std::string::npos ? "" : path.substr(end));
}

std::string RefusalReason(int status) {
  switch (status) {
    case 400: return "the request could not be read";
    case 404: return "nothing here";
    case 405: return "not a method this address takes";
    case 408: return "the request did not arrive in time";
    case 413: return "the body is over " + std::to_string(MaxSubmissionBody) + " bytes";
    case 414: return "the address is too long";
    default: return "refused";
  }
}

json RowJson(const TBoardRow& r) {
  return {{"rank", r.Rank},
          {"id", r.Id},
          {"name", r.Name},
          {"player", r.PlayerHash},
          {"score", r.Score},
          {"level", r.Level},
          {"submitted", r.ReceivedAt},
          {"replay", ReplayLink(r.Id)},
          {"watch", WatchLink(r.Id)}};
}
}  // namespace

TScoreApi::TScoreApi(TScoreStore& store, TBoardCache& cache, const TApiOptions& options, std::function<void()> onQueued,
                     TLog log)
    : Store(store),
      Options(options),
      OnQueued(std::move(onQueued)),
      Log(std::move(log)),
      Limiter(options.RatePerSecond),
      Cache(cache) {}

bool TScoreApi::Mount(httplib::Server& server) {
  server.set_payload_max_length(MaxSubmissionBody);
  server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (Limiter.Allow(req.remote_addr)) return httplib::Server::HandlerResponse::Unhandled;
    res.set_header("Retry-After", "1");
    Error(res, 429, "too many requests from this address: try again in a second");
    return httplib::Server::HandlerResponse::Handled;
  });
  // The library's own refusals (413 before a long body is read, 404, a
  // request it could not read) get a JSON reason too.
  server.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    Error(res, res.status, RefusalReason(res.status));
    return httplib::Server::HandlerResponse::Handled;
  }));
  server.set_exception_handler([this](const httplib::Request&, httplib::Response& res, std::exception_ptr e) {
    std::string why = "unknown";
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& x) {
      why = x.what();
    } catch (...) {
    }
    Log("internal error: " + why);
    Error(res, 503, "the score board cannot answer now");
  });
  server.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
    Log(req.remote_addr + " " + req.method + " " + LoggedPath(req.path) + " " + std::to_string(res.status) + " " +
        std::to_string(res.body.size()));
  });
  using TMethod = void (TScoreApi::*)(const httplib::Request&, httplib::Response&);
  auto route = [this](TMethod m) {
    return httplib::Server::Handler([this, m](const httplib::Request& q, httplib::Response& s) { (this->*m)(q, s); });
  };
  server.Post("/api/tickets", route(&TScoreApi::Tickets));
  server.Post("/api/submissions", route(&TScoreApi::Submit));
  server.Get(R"(/api/submissions/([^/]+))", route(&TScoreApi::SubmissionStatus));
  server.Get("/api/board", route(&TScoreApi::Board));
  server.Get(R"(/api/players/([^/]+)/rank)", route(&TScoreApi::PlayerRank));
  server.Get(R"(/api/entries/([^/]+)/replay)", route(&TScoreApi::EntryReplay));
  server.Delete(R"(/api/entries/([^/]+))", route(&TScoreApi::DeleteEntry));
  server.Get("/api/health", route(&TScoreApi::Health));
  server.Get("/board", route(&TScoreApi::BoardPage));
  server.Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/board"); });
  if (!Options.WebDir.empty()) {
    server.set_file_extension_and_mimetype_mapping("wasm", "application/wasm");
    if (!server.set_mount_point("/play", Options.WebDir)) return false;
  }
  return true;
}

void TScoreApi::Tickets(const httplib::Request&, httplib::Response& res) {
  const std::string id = FreshToken();
  const std::uint64_t seed = FreshSeed();
  const std::int64_t now = NowMs();
  Store.AddTicket(id, seed, now);
  // Every game start leaves a ticket: once an hour, those a day past their
  // lifetime go (a submission on one is refused as unknown rather than expired).
  std::int64_t swept = TicketsSwept;
  if (now - swept > 3600 * 1000 && TicketsSwept.compare_exchange_strong(swept, now)) {
    const std::int64_t gone = Store.ForgetTickets(now - Options.TicketLifetimeMs - 24ll * 3600 * 1000);
    if (gone > 0) Log("forgot " + std::to_string(gone) + " tickets past their lifetime");
  }
  Answer(res, 201, {{"ticket", id}, {"seed", std::to_string(seed)}, {"expires_in", Options.TicketLifetimeMs / 1000}});
}

void TScoreApi::Submit(const httplib::Request& req, httplib::Response& res) {
  const std::string type = req.get_header_value("Content-Type");
  if (type.substr(0, type.find(';')) != "application/json")
    return Error(res, 415, "a submission is sent as application/json");
  const json body = json::parse(req.body, nullptr, false);
  if (body.is_discarded()) return Error(res, 400, "the body is not JSON");
  if (!body.is_object()) return Error(res, 400, "the body is not a JSON object");
  for (const char* field : {"ticket", "name", "key", "replay"})
    if (!body.contains(field) || !body[field].is_string())
      return Error(res, 400, std::string("missing text field \"") + field + "\"");
  TSubmissionIn in;
  in.Ticket = body["ticket"].get<std::string>();
  if (in.Ticket.empty() || in.Ticket.size() > 64) return Error(res, 400, "the ticket is not one this board gives");
  const std::optional<std::string> name = BoardName(body["name"].get<std::string>());
  if (!name) return Error(res, 400, BoardNameRule);
  in.Name = *name;
  const std::optional<std::string> player = PlayerKeyHash(body["key"].get<std::string>());
  if (!player) return Error(res, 400, "the player key is 32 hexadecimal digits (128 bits)");
  in.PlayerHash = *player;
  if (body.contains("claimed_score") && !body["claimed_score"].is_null()) {
    if (!body["claimed_score"].is_number_integer()) return Error(res, 400, "claimed_score is a whole number");
    in.ClaimedScore = body["claimed_score"].get<std::int64_t>();
  }
  const std::string& encoded = body["replay"].get_ref<const std::string&>();
  if (encoded.size() > (MaxSubmittedReplay + 2) / 3 * 4)
    return Error(res, 413, "the replay is over " + std::to_string(MaxSubmittedReplay) + " bytes");
  std::optional<std::string> replay = DecodeBase64(encoded);
  if (!replay) return Error(res, 400, "the replay is not base64");
  if (replay->empty()) return Error(res, 400, "the replay is empty");
  if (replay->size() > MaxSubmittedReplay)
    return Error(res, 413, "the replay is over " + std::to_string(MaxSubmittedReplay) + " bytes");
  in.Replay = std::move(*replay);
  bool resent = false;
  const std::int64_t id = Store.Submit(in, NowMs(), Options.TicketLifetimeMs, &resent);
  if (resent) {
    // The first submission's answer again, as it stands now.
    const std::optional<TSubmissionView> s = Store.Submission(id);
    const std::string status = !s || s->Status == "working" ? "queued" : s->Status;
    return Answer(res, status == "queued" ? 202 : 200, {{"id", id}, {"status", status}, {"player", in.PlayerHash}});
  }
  if (OnQueued) OnQueued();
  Answer(res, 202, {{"id", id}, {"status", "queued"}, {"player", in.PlayerHash}});
}

void TScoreApi::SubmissionStatus(const httplib::Request& req, httplib::Response& res) {
  const std::optional<std::int64_t> id = Id(req.matches[1]);
  if (!id) return Error(res, 400, "a submission id is a positive whole number");
  const std::optional<TSubmissionView> s = Store.Submission(*id);
  if (!s) return Error(res, 404, "no such submission");
  json out = {{"id", *id}, {"status", s->Status == "working" ? "queued" : s->Status}};
  if (s->Status == "refused") out["reason"] = s->Reason;
  if (s->Status == "accepted") {
    out["score"] = s->Score;
    out["level"] = s->Level;
    if (s->Deleted)
      out["removed"] = true;
    else
      out["rank"] = s->Rank;
  }
  Answer(res, 200, out);
}

void TScoreApi::Board(const httplib::Request& req, httplib::Response& res) {
  std::string period;
  std::int64_t since = 0;
  if (!Period(req, period, since)) return Error(res, 400, "period is all or week");
  int limit = 100;
  if (req.has_param("limit")) {
    const std::optional<std::int64_t> n = Id(req.get_param_value("limit"));
    if (!n || *n > 100) return Error(res, 400, "limit is 1 to 100");
    limit = int(*n);
  }
  json entries = json::array();
  for (const TBoardRow& r : Cache.Board(since, limit, [&] { return Store.Board(since, limit); }))
    entries.push_back(RowJson(r));
  Answer(res, 200, {{"period", period}, {"since", since}, {"entries", entries}});
}

void TScoreApi::PlayerRank(const httplib::Request& req, httplib::Response& res) {
  std::string player = req.matches[1];
  std::string period;
  std::int64_t since = 0;
  if (!Period(req, period, since)) return Error(res, 400, "period is all or week");
  // By the key's hash (what the board shows), or by the key itself.
  if (player.size() == 32) {
    const std::optional<std::string> hash = PlayerKeyHash(player);
    if (!hash) return Error(res, 400, "a player is a key's 64-digit hash or the 32-digit key");
    player = *hash;
  }
  if (player.size() != 64 || player.find_first_not_of("0123456789abcdef") != std::string::npos)
    return Error(res, 400, "a player is a key's 64-digit hash or the 32-digit key");
  const std::vector<TBoardRow> rows = Store.PlayerStanding(player, since, 2);
  json out = {{"player", player}, {"period", period}};
  json neighbours = json::array();
  for (const TBoardRow& r : rows) {
    if (r.PlayerHash == player) {
      out["rank"] = r.Rank;
      out["score"] = r.Score;
      out["entry"] = r.Id;
    }
    neighbours.push_back(RowJson(r));
  }
  if (!out.contains("rank")) return Error(res, 404, "this player has no entry on the board");
  out["neighbours"] = neighbours;
  Answer(res, 200, out);
}

void TScoreApi::EntryReplay(const httplib::Request& req, httplib::Response& res) {
  const std::optional<std::int64_t> id = Id(req.matches[1]);
  if (!id) return Error(res, 400, "an entry id is a positive whole number");
  std::optional<std::string> replay = Store.EntryReplay(*id);
  if (!replay) return Error(res, 404, "no such entry on the board");
  res.set_header("Content-Disposition", "attachment; filename=\"quadrovolt-" + std::to_string(*id) + ".rpl\"");
  res.set_content(std::move(*replay), "application/octet-stream");
}

void TScoreApi::DeleteEntry(const httplib::Request& req, httplib::Response& res) {
  if (Options.AdminToken.empty()) return Error(res, 403, "this board has no moderator token");
  const std::string auth = req.get_header_value("Authorization");
  const std::string prefix = "Bearer ";
  if (auth.compare(0, prefix.size(), prefix) != 0 || !SameSecret(auth.substr(prefix.size()), Options.AdminToken))
    return Error(res, 401, "a moderator's token is needed (Authorization: Bearer TOKEN)");
  const std::optional<std::int64_t> id = Id(req.matches[1]);
  if (!id) return Error(res, 400, "an entry id is a positive whole number");
  if (!Store.DeleteEntry(*id)) return Error(res, 404, "no such entry on the board");
  Cache.Clear();
  Log("moderator removed entry " + std::to_string(*id));
  Answer(res, 200, {{"deleted", *id}});
}

void TScoreApi::BoardPage(const httplib::Request& req, httplib::Response& res) {
  std::string period;
  std::int64_t since = 0;
  if (!Period(req, period, since)) {
    res.status = 400;
    res.set_content("period is all or week\n", "text/plain");
    return;
  }
  res.set_content(BoardPageHtml(Cache.Board(since, 100, [&] { return Store.Board(since, 100); }), period),
                  "text/html; charset=utf-8");
}

void TScoreApi::Health(const httplib::Request&, httplib::Response& res) {
  const TQueueCounts c = Store.Counts();
  Answer(res, 200,
         {{"status", "ok"}, {"queued", c.Queued + c.Working}, {"accepted", c.Accepted}, {"refused", c.Refused}});
}
