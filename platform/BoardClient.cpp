#include "platform/BoardClient.h"

#include <curl/curl.h>
#include <openssl/evp.h>

#include <nlohmann/json.hpp>

using json = nlohmann::json;

namespace {
// A replay is at most 1 MiB, a board far less: anything longer is not the service.
constexpr std::size_t MaxAnswerBytes = 2 * 1024 * 1024;

struct TTransfer {
  std::string Body;
  const std::atomic<bool>* Stop = nullptr;
  bool TooLong = false;
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  TTransfer& t = *static_cast<TTransfer*>(user);
  if (t.Body.size() + size * count > MaxAnswerBytes) {
    t.TooLong = true;
    return 0;
  }
  t.Body.append(data, size * count);
  return size * count;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const TTransfer& t = *static_cast<const TTransfer*>(user);
  return t.Stop && *t.Stop ? 1 : 0;  // nonzero aborts the transfer
}

std::string Base64(const std::vector<std::uint8_t>& bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), bytes.data(), int(bytes.size()));
  out.resize(std::size_t(n));
  return out;
}

// The answer's number or text field, or the default when it is missing or of
// another type.
std::int64_t Number(const json& j, const char* field) {
  const auto it = j.find(field);
  return it != j.end() && it->is_number_integer() ? it->get<std::int64_t>() : 0;
}
std::string Text(const json& j, const char* field) {
  const auto it = j.find(field);
  return it != j.end() && it->is_string() ? it->get<std::string>() : "";
}

void ReadAnswer(const TBoardJob& job, const std::string& body, TBoardAnswer& a) {
  using K = TBoardJob::TKind;
  if (job.Kind == K::Replay) {
    if (a.Status == 200) a.Bytes.assign(body.begin(), body.end());
    return;
  }
  const json j = json::parse(body, nullptr, false);
  if (j.is_discarded() || !j.is_object()) {
    a.Error = "the board's answer is not JSON";
    return;
  }
  if (a.Status >= 400) {
    a.Error = Text(j, "error");
    return;
  }
  switch (job.Kind) {
    case K::Ticket:
      a.Ticket = Text(j, "ticket");
      try {
        a.Seed = std::stoull(Text(j, "seed"));
      } catch (...) {
        a.Seed = 0;
      }
      a.ExpiresIn = Number(j, "expires_in");
      break;
    case K::Submit:
    case K::Poll:
      a.Id = Number(j, "id");
      a.SubmissionStatus = Text(j, "status");
      a.Reason = Text(j, "reason");
      a.Rank = Number(j, "rank");
      break;
    case K::Board: {
      const auto entries = j.find("entries");
      if (entries == j.end() || !entries->is_array()) break;
      for (const json& e : *entries) {
        if (!e.is_object() || a.Rows.size() >= TBoardView::MaxRows) continue;
        a.Rows.push_back(TBoardViewRow{int(Number(e, "rank")), Text(e, "name"), Number(e, "score"), Number(e, "id")});
      }
      break;
    }
    case K::Rank:
      a.Rank = Number(j, "rank");
      a.Entry = Number(j, "entry");
      break;
    case K::Replay: break;
  }
}
}  // namespace

TBoardAnswer TBoardClient::Run(const TBoardJob& job, const std::atomic<bool>* stop) {
  using K = TBoardJob::TKind;
  TBoardAnswer a;
  a.Kind = job.Kind;
  a.Ticketed = job.Game.Ticket;
  a.Id = job.Id;
  std::string url = job.Address, body;
  const char* method = "GET";
  switch (job.Kind) {
    case K::Ticket:
      url += "/api/tickets";
      method = "POST";
      break;
    case K::Submit: {
      url += "/api/submissions";
      method = "POST";
      body = json{{"ticket", job.Game.Ticket},
                  {"name", job.Game.Name},
                  {"key", job.Game.Key},
                  {"claimed_score", job.Game.ClaimedScore},
                  {"replay", Base64(job.Game.Replay)}}
                 .dump();
      break;
    }
    case K::Poll: url += "/api/submissions/" + std::to_string(job.Id); break;
    case K::Board: url += "/api/board?period=week&limit=10"; break;
    case K::Rank: url += "/api/players/" + job.Key + "/rank?period=week"; break;
    case K::Replay: url += "/api/entries/" + std::to_string(job.Id) + "/replay"; break;
  }

  CURL* curl = curl_easy_init();
  if (!curl) {
    a.Error = "no HTTP client";
    return a;
  }
  TTransfer t;
  t.Stop = stop;
  curl_slist* headers = nullptr;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, job.TimeoutMs);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, job.TimeoutMs);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // a thread of its own: no alarms
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  if (std::string(method) == "POST") {
    headers = curl_slist_append(headers, "Content-Type: application/json");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, long(body.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
  }
  const CURLcode code = curl_easy_perform(curl);
  if (code == CURLE_OK) {
    a.Reached = true;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &a.Status);
    ReadAnswer(job, t.Body, a);
  } else {
    a.Error = t.TooLong ? "the board's answer is too long" : curl_easy_strerror(code);
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return a;
}

TBoardClient::TBoardClient() {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  Worker = std::thread([this] { Work(); });
}

TBoardClient::~TBoardClient() {
  {
    std::lock_guard<std::mutex> hold(Lock);
    Stopping = true;
    Jobs.clear();
  }
  Wake.notify_all();
  Worker.join();
  curl_global_cleanup();
}

void TBoardClient::Post(TBoardJob job) {
  {
    std::lock_guard<std::mutex> hold(Lock);
    Jobs.push_back(std::move(job));
    ++Outstanding;
  }
  Wake.notify_one();
}

bool TBoardClient::Take(TBoardAnswer& answer) {
  std::lock_guard<std::mutex> hold(Lock);
  if (Answers.empty()) return false;
  answer = std::move(Answers.front());
  Answers.pop_front();
  --Outstanding;
  return true;
}

int TBoardClient::Pending() const {
  std::lock_guard<std::mutex> hold(Lock);
  return Outstanding;
}

void TBoardClient::Work() {
  std::unique_lock<std::mutex> hold(Lock);
  for (;;) {
    Wake.wait(hold, [this] { return Stopping || !Jobs.empty(); });
    if (Stopping) return;
    TBoardJob job = std::move(Jobs.front());
    Jobs.pop_front();
    hold.unlock();
    TBoardAnswer answer = Run(job, &Stopping);
    hold.lock();
    Answers.push_back(std::move(answer));
  }
}
