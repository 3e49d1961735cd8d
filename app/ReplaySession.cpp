#include "app/ReplaySession.h"

#include <filesystem>
#include <utility>

#include "app/AtomicFile.h"

namespace {
constexpr std::uint64_t HashStart = 0xCBF29CE484222325ull;
}  // namespace

TReplaySession::TReplaySession(TJoystick& device, const std::string& savePath, const char* lastName,
                               const char* bestName)
    : Pad(device) {
  Pad.Recorder = &Recording;
  const auto folder = std::filesystem::path(savePath).parent_path();
  PathOfLast = (folder / lastName).string();
  PathOfBest = (folder / bestName).string();
  RemoveStaleTemporary(PathOfLast.c_str());
  RemoveStaleTemporary(PathOfBest.c_str());
}

void TReplaySession::StartWatching(TReplay replay, const TLive& live) {
  Live = live;
  Diverged = 0;
  Watched.Load(std::move(replay));
  Pad.Player = &Watched;
}

const TReplaySession::TLive& TReplaySession::StopWatching() {
  Watched.Unload();
  Pad.Player = nullptr;
  return Live;
}

bool TReplaySession::KeepLiveInput(const TInputEvent& e) {
  using E = TInputEvent::TKind;
  TReplayInputState& in = Live.Input;
  bool stop = false;
  switch (e.Kind) {
    case E::KeyDown:
      stop = !in.Keys[e.Key];
      in.Keys[e.Key] = true;
      break;
    case E::KeyUp: in.Keys[e.Key] = false; break;
    case E::OtherKeyDown: stop = true; break;
    case E::Cursor: in.CursorX = e.X, in.CursorY = e.Y; break;
    case E::LeftDown: stop = in.MouseLeft = true; break;
    case E::LeftUp: in.MouseLeft = false; break;
    case E::RightDown: stop = in.MouseRight = true; break;
    case E::RightUp: in.MouseRight = false; break;
  }
  return stop;
}

void TReplaySession::GameBegins() {
  Playing = true;
  Ticks = 0;
  Sum = HashStart;
}

bool TReplaySession::PassCheckpoint() {
  if (Ticks == 0) return true;
  if (!Watching()) {
    Recording.Checkpoint(Sum);
    return true;
  }
  std::uint64_t recorded;
  if (!Watched.CheckpointAt(Ticks, recorded) || recorded == Sum) return true;
  Diverged = Ticks;
  return false;
}

void TReplaySession::GameEnds(const TReplayResult& result) {
  Playing = false;
  Result = result;
}

std::uint64_t TReplaySession::TakeNextSeed() {
  const std::uint64_t seed = NextSeed;
  NextSeed = 0;
  return seed;
}
