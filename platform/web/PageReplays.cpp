#include "platform/web/PageReplays.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/GameConstants.h"

namespace {
// Where the page writes a finished game's replay before offering it (the
// page's memory file system; the kept save folder is not needed for it).
constexpr const char* kOfferPath = "/tmp/quadrovolt-offer.rpl";
}  // namespace

bool TPageReplays::AfterFrame(TGameHost& host) {
  bool offered = false;
  const bool recording = host.Recording(), watching = host.Watching();
  if (WasRecording && !recording && !watching) {
    KeepFinalLine(host);
    Bytes.clear();
    if (host.WriteRecording(kOfferPath)) {
      std::ifstream in(kOfferPath, std::ios::binary);
      Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      std::remove(kOfferPath);
    }
    offered = !Bytes.empty();
  }
  if (WasWatching && !watching) KeepFinalLine(host);
  if (Picked && host.State() == GameState::Title && !recording && !watching) {
    host.Watch(std::move(*Picked));
    Picked.reset();
  }
  WasRecording = host.Recording();
  WasWatching = host.Watching();
  return offered;
}

bool TPageReplays::Pick(const std::uint8_t* data, std::size_t size, std::string& why) {
  TReplay replay;
  if (!ParseReplay(data, size, replay, why)) return false;
  if (!ReplayPlaysHere(replay.Header, why)) return false;
  Picked = std::move(replay);
  return true;
}

void TPageReplays::KeepFinalLine(const TGameHost& host) {
  char line[160];
  FormatFinalLine(host.LastResult(), line, sizeof line);
  Final = line;
}
