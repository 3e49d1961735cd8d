#include "platform/web/PageReplays.h"

#include "app/GameConstants.h"

bool TPageReplays::AfterFrame(TGameHost& host) {
  bool offered = false;
  const bool recording = host.Recording(), watching = host.Watching();
  if (WasRecording && !recording && !watching) {
    KeepFinalLine(host);
    Bytes = host.RecordingBytes();
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
