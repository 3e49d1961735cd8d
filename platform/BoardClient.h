#pragma once
// Talks to the score board's service over HTTP (libcurl) on a thread of its
// own: the game posts jobs and takes their results between steps, and never
// waits for the network. Every request has its own timeout; answers are read
// into plain values here (nlohmann-json), so the game never parses.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "board/BoardOutbox.h"
#include "board/BoardView.h"

struct TBoardJob {
  enum class TKind { Ticket, Submit, Poll, Board, Rank, Replay };
  TKind Kind = TKind::Ticket;
  std::string Address;  // http://host:port, no trailing slash
  long TimeoutMs = 3000;
  TPendingGame Game;    // Submit
  std::int64_t Id = 0;  // Poll: the submission; Replay: the entry
  std::string Key;      // Rank: the player's key
};

struct TBoardAnswer {
  TBoardJob::TKind Kind = TBoardJob::TKind::Ticket;
  bool Reached = false;  // the service answered (any status)
  long Status = 0;
  std::string Error;  // not reached: curl's reason; a 4xx: the service's "error"
  // Ticket
  std::string Ticket;
  std::uint64_t Seed = 0;
  std::int64_t ExpiresIn = 0;
  // Submit and Poll
  std::string Ticketed;  // Submit: the game's ticket
  std::int64_t Id = 0;
  std::string SubmissionStatus;  // queued, accepted, refused
  std::string Reason;
  std::int64_t Rank = 0, Entry = 0;
  // Board
  std::vector<TBoardViewRow> Rows;
  // Replay
  std::vector<std::uint8_t> Bytes;
};

class TBoardClient {
 public:
  TBoardClient();
  // Stops at once: a request under way is cut off, the rest are dropped (a
  // game waiting to be sent stays in the outbox).
  ~TBoardClient();
  TBoardClient(const TBoardClient&) = delete;
  TBoardClient& operator=(const TBoardClient&) = delete;

  void Post(TBoardJob job);
  // A finished job's answer, oldest first; false when none is ready.
  bool Take(TBoardAnswer& answer);
  // Jobs posted and not yet taken back.
  int Pending() const;

  // One request, on the calling thread (the worker's; tests).
  static TBoardAnswer Run(const TBoardJob& job, const std::atomic<bool>* stop = nullptr);

 private:
  void Work();

  mutable std::mutex Lock;
  std::condition_variable Wake;
  std::deque<TBoardJob> Jobs;
  std::deque<TBoardAnswer> Answers;
  int Outstanding = 0;
  std::atomic<bool> Stopping{false};
  std::thread Worker;
};
