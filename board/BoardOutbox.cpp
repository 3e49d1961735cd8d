#include "board/BoardOutbox.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "app/AtomicFile.h"

namespace {
// "QVOUTBOX", a version, the count, the games, then an FNV-1a hash of all
// that came before it. Numbers little-endian.
constexpr char Magic[8] = {'Q', 'V', 'O', 'U', 'T', 'B', 'O', 'X'};
constexpr std::uint32_t Version = 1;
constexpr std::size_t MaxFieldBytes = 255;  // ticket, name and key are all far shorter

std::uint64_t Fnv1a(const std::uint8_t* p, std::size_t n) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001B3ull;
  return h;
}

void PutNumber(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

void PutText(std::vector<std::uint8_t>& out, const std::string& s) {
  const std::size_t n = s.size() < MaxFieldBytes ? s.size() : MaxFieldBytes;
  out.push_back(std::uint8_t(n));
  out.insert(out.end(), s.begin(), s.begin() + std::ptrdiff_t(n));
}

class TReader {
 public:
  TReader(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}
  bool Number(std::uint64_t& v, int bytes) {
    if (Size - Pos < std::size_t(bytes)) return false;
    v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint64_t(Data[Pos + std::size_t(i)]) << (8 * i);
    Pos += std::size_t(bytes);
    return true;
  }
  bool Bytes(std::size_t n, const std::uint8_t*& p) {
    if (Size - Pos < n) return false;
    p = Data + Pos;
    Pos += n;
    return true;
  }
  bool Text(std::string& s) {
    std::uint64_t n;
    const std::uint8_t* p;
    if (!Number(n, 1) || !Bytes(std::size_t(n), p)) return false;
    s.assign(reinterpret_cast<const char*>(p), std::size_t(n));
    return true;
  }
  std::size_t Pos = 0;

 private:
  const std::uint8_t* Data;
  std::size_t Size;
};
}  // namespace

bool TBoardOutbox::Add(TPendingGame game) {
  if (game.Replay.empty() || game.Replay.size() > MaxReplayBytes) return false;
  Remove(game.Ticket);
  if (Waiting.size() >= MaxGames) Waiting.erase(Waiting.begin());
  Waiting.push_back(std::move(game));
  return true;
}

void TBoardOutbox::Remove(const std::string& ticket) {
  for (auto it = Waiting.begin(); it != Waiting.end();) it = it->Ticket == ticket ? Waiting.erase(it) : it + 1;
}

std::vector<std::uint8_t> TBoardOutbox::Encode() const {
  std::vector<std::uint8_t> out(std::begin(Magic), std::end(Magic));
  PutNumber(out, Version, 4);
  PutNumber(out, Waiting.size(), 4);
  for (const TPendingGame& g : Waiting) {
    PutText(out, g.Ticket);
    PutText(out, g.Name);
    PutText(out, g.Key);
    PutNumber(out, std::uint64_t(g.ClaimedScore), 8);
    PutNumber(out, g.Replay.size(), 4);
    out.insert(out.end(), g.Replay.begin(), g.Replay.end());
  }
  PutNumber(out, Fnv1a(out.data(), out.size()), 8);
  return out;
}

bool TBoardOutbox::Decode(const std::uint8_t* data, std::size_t size, std::vector<TPendingGame>& out) {
  out.clear();
  if (size < sizeof Magic + 16 || std::memcmp(data, Magic, sizeof Magic) != 0) return false;
  const std::size_t body = size - 8;
  TReader tail(data + body, 8);
  std::uint64_t hash = 0;
  if (!tail.Number(hash, 8) || hash != Fnv1a(data, body)) return false;
  TReader r(data, body);
  r.Pos = sizeof Magic;
  std::uint64_t version = 0, count = 0;
  if (!r.Number(version, 4) || version != Version || !r.Number(count, 4) || count > MaxGames) return false;
  for (std::uint64_t i = 0; i < count; ++i) {
    TPendingGame g;
    std::uint64_t score = 0, length = 0;
    const std::uint8_t* replay = nullptr;
    if (!r.Text(g.Ticket) || !r.Text(g.Name) || !r.Text(g.Key) || !r.Number(score, 8) || !r.Number(length, 4) ||
        length == 0 || length > MaxReplayBytes || !r.Bytes(std::size_t(length), replay))
      return false;
    g.ClaimedScore = std::int64_t(score);
    g.Replay.assign(replay, replay + length);
    out.push_back(std::move(g));
  }
  if (r.Pos != body) {
    out.clear();
    return false;
  }
  return true;
}

bool TBoardOutbox::Load(const std::string& path, std::string& why) {
  Waiting.clear();
  RemoveStaleTemporary(path.c_str());
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return true;  // nothing waits
  // Never more than the biggest outbox there can be, and a regular file only.
  const std::size_t most = sizeof Magic + 16 + MaxGames * (3 * 256 + 12 + MaxReplayBytes);
  bool ok = S_ISREG(st.st_mode) && std::size_t(st.st_size) <= most;
  if (ok) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ok = file.good() || file.eof();
    ok = ok && Decode(bytes.data(), bytes.size(), Waiting);
  }
  if (ok) return true;
  Waiting.clear();
  const std::string aside = path + ".damaged";
  if (S_ISREG(st.st_mode) && std::rename(path.c_str(), aside.c_str()) == 0)
    why = path + " could not be read; set aside as " + aside;
  else
    why = path + " could not be read and is left as it is";
  return false;
}

bool TBoardOutbox::Save(const std::string& path) const {
  const std::vector<std::uint8_t> bytes = Encode();
  const TFileChunk chunk{bytes.data(), bytes.size()};
  return WriteFileAtomically(path.c_str(), &chunk, 1);
}
