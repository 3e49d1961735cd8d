#pragma once
// The games waiting to go to the score board: each one kept in a file in the
// data folder (board-outbox.dat) from the moment it ends until the service
// has answered it with an id, so that a game played while the board was out
// of reach, or the program ending first, loses nothing. The file is written
// whole, beside itself, and renamed into place; one that does not read back
// (damaged, cut short) is set aside as board-outbox.dat.damaged and the
// outbox starts empty.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr const char* BoardOutboxFileName = "board-outbox.dat";

struct TPendingGame {
  std::string Ticket;
  std::string Name;
  std::string Key;
  std::int64_t ClaimedScore = 0;
  std::vector<std::uint8_t> Replay;  // the .rpl file's bytes
};

class TBoardOutbox {
 public:
  // At most this many games wait; a game beyond them pushes out the oldest.
  static constexpr std::size_t MaxGames = 16;
  // The board takes no replay over 1 MiB: a bigger one is never kept.
  static constexpr std::size_t MaxReplayBytes = 1024 * 1024;

  const std::vector<TPendingGame>& Games() const { return Waiting; }
  bool Empty() const { return Waiting.empty(); }
  // False (nothing kept) for a replay the board would refuse for its size.
  bool Add(TPendingGame game);
  // The game on this ticket has its answer: it leaves the outbox.
  void Remove(const std::string& ticket);

  // The file's bytes, and the games read back from them (false: damaged).
  std::vector<std::uint8_t> Encode() const;
  static bool Decode(const std::uint8_t* data, std::size_t size, std::vector<TPendingGame>& out);

  // Reads the file: none is an empty outbox; a damaged one is renamed aside
  // (said in why) and the outbox is empty. False only for a damaged file.
  bool Load(const std::string& path, std::string& why);
  // False (errno) when the file could not be written; the old one stays.
  bool Save(const std::string& path) const;

 private:
  std::vector<TPendingGame> Waiting;
};
