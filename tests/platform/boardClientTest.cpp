// The score board's HTTP client: what it sends, how it reads the board's
// answers (and answers that are not the board's), and that it never waits
// past its timeout or holds the program up when it ends.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "platform/BoardClient.h"

namespace {
using Clock = std::chrono::steady_clock;

// A listening socket on 127.0.0.1 that answers one request with a canned
// reply (none: it reads and never answers), keeping what was asked.
class TOneAnswer {
 public:
  explicit TOneAnswer(std::string reply, bool answer = true) : Reply(std::move(reply)) {
    Listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(Listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(Listener, 4);
    socklen_t size = sizeof a;
    ::getsockname(Listener, reinterpret_cast<sockaddr*>(&a), &size);
    Port = ntohs(a.sin_port);
    Server = std::thread([this, answer] {
      const int c = ::accept(Listener, nullptr, nullptr);
      if (c < 0) return;
      char buffer[65536];
      // Headers, then as much body as Content-Length says.
      for (;;) {
        const ssize_t n = ::recv(c, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        Request.append(buffer, std::size_t(n));
        const std::size_t end = Request.find("\r\n\r\n");
        if (end == std::string::npos) continue;
        std::size_t length = 0;
        const std::size_t cl = Request.find("Content-Length: ");
        if (cl != std::string::npos) length = std::stoul(Request.substr(cl + 16));
        if (Request.size() >= end + 4 + length) break;
      }
      if (answer) {
        ::send(c, Reply.data(), Reply.size(), MSG_NOSIGNAL);
      } else {
        // Until the client gives up and closes its end.
        while (::recv(c, buffer, sizeof buffer, 0) > 0) {
        }
      }
      ::close(c);
    });
  }
  ~TOneAnswer() {
    ::shutdown(Listener, SHUT_RDWR);
    ::close(Listener);
    Server.join();
  }
  std::string Address() const { return "http://127.0.0.1:" + std::to_string(Port); }
  std::string Body() const { return Request.substr(Request.find("\r\n\r\n") + 4); }

  std::string Request;

 private:
  std::string Reply;
  int Listener = -1;
  int Port = 0;
  std::thread Server;
};

std::string Http(int status, const std::string& body) {
  return "HTTP/1.1 " + std::to_string(status) +
         " X\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

TBoardJob Job(TBoardJob::TKind kind, const std::string& address) {
  TBoardJob job;
  job.Kind = kind;
  job.Address = address;
  job.TimeoutMs = 2000;
  return job;
}
}  // namespace

TEST(BoardClient, ReadsTheBoardsAnswersAndRefusesOthers) {
  using K = TBoardJob::TKind;
  std::string twelve = R"({"entries": [)";
  for (int i = 1; i <= 12; ++i)
    twelve += (i > 1 ? "," : "") + std::string(R"({"rank": )") + std::to_string(i) + R"(, "id": )" +
              std::to_string(100 + i) + R"(, "name": "P", "score": )" + std::to_string(1000 - i) + "}";
  twelve += "]}";
  const struct {
    K Kind;
    int Status;
    std::string Body;
    std::string Error;
  } cases[] = {
      {K::Ticket, 201, R"({"ticket": "abc", "seed": "18446744073709551615", "expires_in": 21600})", ""},
      {K::Board, 200, twelve, ""},
      {K::Poll, 200, R"({"id": 7, "status": "refused", "reason": "ticket expired"})", ""},
      {K::Ticket, 200, "<html>a captive portal</html>", "the board's answer is not JSON"},
      {K::Submit, 400, R"j({"error": "the player key is 32 hexadecimal digits (128 bits)"})j",
       "the player key is 32 hexadecimal digits (128 bits)"},
      {K::Rank, 200, R"({"rank": "first", "entry": null})", ""},
  };
  for (const auto& c : cases) {
    TOneAnswer server(Http(c.Status, c.Body));
    TBoardJob job = Job(c.Kind, server.Address());
    job.Id = 7;
    const TBoardAnswer a = TBoardClient::Run(job);
    ASSERT_TRUE(a.Reached) << c.Body;
    EXPECT_EQ(a.Status, c.Status);
    EXPECT_EQ(a.Error, c.Error) << c.Body;
    if (c.Kind == K::Ticket && c.Error.empty()) {
      EXPECT_EQ(a.Ticket, "abc");
      EXPECT_EQ(a.Seed, 18446744073709551615ull);
      EXPECT_EQ(a.ExpiresIn, 21600);
      EXPECT_EQ(server.Request.rfind("POST /api/tickets ", 0), 0u);
      EXPECT_NE(server.Request.find("Content-Length: 0"), std::string::npos) << "the board reads an empty body";
    }
    if (c.Kind == K::Board) {
      ASSERT_EQ(a.Rows.size(), TBoardView::MaxRows) << "the title shows ten";
      EXPECT_EQ(a.Rows[9].Rank, 10);
      EXPECT_EQ(a.Rows[9].Id, 110);
      EXPECT_EQ(a.Rows[9].Score, 990);
      EXPECT_EQ(server.Request.rfind("GET /api/board?period=week", 0), 0u);
    }
    if (c.Kind == K::Poll) {
      EXPECT_EQ(a.SubmissionStatus, "refused");
      EXPECT_EQ(a.Reason, "ticket expired");
      EXPECT_EQ(server.Request.rfind("GET /api/submissions/7 ", 0), 0u);
    }
    if (c.Kind == K::Rank) {
      EXPECT_EQ(a.Rank, 0) << "a field of another type is no number";
    }
  }
}

TEST(BoardClient, SendsTheGameAsTheBoardReadsIt) {
  TOneAnswer server(Http(202, R"({"id": 12, "status": "queued", "player": "x"})"));
  TBoardJob job = Job(TBoardJob::TKind::Submit, server.Address());
  job.Game = TPendingGame{"t1", "Ada", std::string(32, 'b'), 4250, {'Q', 'V', 0, 255, 10}};
  const TBoardAnswer a = TBoardClient::Run(job);
  ASSERT_TRUE(a.Reached);
  EXPECT_EQ(a.Id, 12);
  EXPECT_EQ(a.Ticketed, "t1");
  EXPECT_NE(server.Request.find("Content-Type: application/json"), std::string::npos);
  const nlohmann::json sent = nlohmann::json::parse(server.Body());
  EXPECT_EQ(sent["ticket"], "t1");
  EXPECT_EQ(sent["name"], "Ada");
  EXPECT_EQ(sent["key"], std::string(32, 'b'));
  EXPECT_EQ(sent["claimed_score"], 4250);
  EXPECT_EQ(sent["replay"], "UVYA/wo=");
}

TEST(BoardClient, NeverWaitsPastItsTimeout) {
  TOneAnswer silent("", false);
  TBoardJob job = Job(TBoardJob::TKind::Ticket, silent.Address());
  job.TimeoutMs = 300;
  const auto start = Clock::now();
  const TBoardAnswer a = TBoardClient::Run(job);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_FALSE(a.Reached);
  EXPECT_FALSE(a.Error.empty());
  EXPECT_GE(took, 250);
  EXPECT_LT(took, 1500) << "a ticket's request waits 300 ms at most";

  // Nobody there at all: at once.
  TBoardJob closed = Job(TBoardJob::TKind::Board, "http://127.0.0.1:1");
  EXPECT_FALSE(TBoardClient::Run(closed).Reached);
}

TEST(BoardClient, AnswersComeBackFromItsThreadAndItsEndIsPrompt) {
  TOneAnswer server(Http(201, R"({"ticket": "t", "seed": "5", "expires_in": 60})"));
  TOneAnswer silent("", false);
  auto client = std::make_unique<TBoardClient>();
  client->Post(Job(TBoardJob::TKind::Ticket, server.Address()));
  TBoardAnswer a;
  const auto until = Clock::now() + std::chrono::seconds(5);
  while (!client->Take(a) && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(a.Seed, 5u);
  EXPECT_EQ(client->Pending(), 0);
  // A request under way to a service that never answers is cut off.
  TBoardJob slow = Job(TBoardJob::TKind::Board, silent.Address());
  slow.TimeoutMs = 10000;
  client->Post(slow);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto start = Clock::now();
  client.reset();
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 2000);
}
