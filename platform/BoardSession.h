#pragma once
// The score board in the desktop game: between steps it hands the title a
// fresh ticket's seed, notices a game starting and ending, keeps a ticketed
// game's replay in the outbox and sends it, follows its verdict, reads the
// week's board for the title, and lets the player pick an entry to watch.
// With sharing off it does nothing at all: not one request.
#include <cstdint>
#include <memory>
#include <string>

#include "board/BoardOutbox.h"
#include "board/BoardSettings.h"
#include "board/BoardView.h"

class TGameHost;
class TBoardClient;
struct TBoardAnswer;

class TBoardSession {
 public:
  // folder: where the save file is (and board.cfg, the outbox); "" the working one.
  TBoardSession(const TBoardSettings& settings, const std::string& folder);
  ~TBoardSession();
  TBoardSession(const TBoardSession&) = delete;
  TBoardSession& operator=(const TBoardSession&) = delete;

  // Between two steps, never waiting: the answers that came in are taken,
  // and what is due is asked for.
  void BetweenSteps(TGameHost& game, std::uint64_t nowMs);
  // A key pressed on the title: B opens the board's list, which then takes
  // Up, Down, Enter, the digits and Escape. True when the key was the board's.
  bool TakeKey(TGameHost& game, int vk);
  // The program ends: a ticketed game still in play ends now and is kept
  // in the outbox, to be sent at the next start.
  void SessionEnds(TGameHost& game);

 private:
  void Noticed(TGameHost& game, std::uint64_t now);
  void Answered(TGameHost& game, const TBoardAnswer& a, std::uint64_t now);
  void Ask(TGameHost& game, std::uint64_t now);
  void KeepFinishedGame(TGameHost& game, std::uint64_t now);
  void Reached(std::uint64_t now);
  void Download(std::int64_t entry);
  bool OnTitle(const TGameHost& game) const;

  TBoardSettings Settings;
  std::string Address, Folder, OutboxPath;
  TBoardOutbox Outbox;
  std::unique_ptr<TBoardClient> Client;

  std::string HeldTicket;  // its seed handed to the game for its next start
  std::uint64_t HeldUntil = 0;
  bool AskingTicket = false;
  std::uint64_t NextTicketTry = 0;

  bool WasRecording = false;
  std::string GameTicket;  // the game in play's ticket ("" : not eligible)

  bool Submitting = false;
  std::uint64_t NextFlush = 0;
  std::int64_t LastId = 0, AcceptedId = 0;
  bool Polling = false, PollInFlight = false;
  std::uint64_t NextPoll = 0;
  bool BoardInFlight = false;
  std::uint64_t NextBoard = 0;
  bool Downloading = false;
  std::int64_t WatchingEntry = 0;  // the board entry being watched (0: none)

  TVerdict Verdict;
  TBoardView View, Shown;
};
