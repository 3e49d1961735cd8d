// Recording every game and playing one back. A game is a function of the
// level script, the generator's state when play begins and the input of each
// tick; everything else is put back to the same start by BeginPlay, so a game
// replayed in a fresh game object or after any number of other games comes
// out the same, frame for frame.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "app/QuadrovoltMain.h"
#include "app/SaveFile.h"
#include "app/World.h"
#include "entities/blobBullet.h"
#include "entities/blobPlayer.h"
#include "gfx/ParticleEngine.h"
#include "gfx/Random.h"
#include "gfx/geometryGrid.h"
#include "levels/LevelManager.h"

namespace {
constexpr std::uint64_t HashStart = 0xCBF29CE484222325ull;

std::uint32_t Bits(float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, sizeof u);
  return u;
}
}  // namespace

TReplayHeader TQuadrovoltMain::PlayHeader() const {
  TReplayHeader h;
  h.ScriptState = ScriptState;
  h.PlaySeed = RandomState();
  h.StartLevel = Level;
  h.InputMode = InputMode;
  h.Assists = Assists;
  TReplayInputState& s = h.Start;
  std::memcpy(s.Keys, Keys, sizeof Keys);
  s.MouseLeft = MouseLeft, s.MouseRight = MouseRight;
  s.KeyFire = KeyFire, s.JoyFire = JoyFire;
  s.CursorX = CursorX, s.CursorY = CursorY;
  s.JoyInfo = JoyInfo;
  return h;
}

void TQuadrovoltMain::BeginPlay(const TReplayHeader& header) {
  // What the title or an earlier game left behind must not reach this game:
  // the enemy pool is made afresh (its order decides who moves and is hit
  // first), and every particle, bullet, the grid and the ship start as new.
  Arena->LevelManager().Reset();
  Arena->GravityWells().Clear();
  Arena->GridWarpers().Clear();
  Arena->Enemies().Clear();
  for (int i = 0; i < Arena->Particles().Count(); ++i) Arena->Particles()[i].Create();
  for (TBlob* b : Arena->Bullets()) b->Create();
  Arena->Grid().Initialise();
  Arena->Player().Create();
  Arena->Player().Radius = 25;
  ResetPlayerForTitle();
  Arena->Player().Invulnerable = 100;

  const TReplayInputState& s = header.Start;
  std::memcpy(Keys, s.Keys, sizeof Keys);
  MouseLeft = s.MouseLeft, MouseRight = s.MouseRight;
  KeyFire = s.KeyFire, JoyFire = s.JoyFire;
  CursorX = s.CursorX, CursorY = s.CursorY;
  JoyInfo = s.JoyInfo;
  Level = header.StartLevel;
  InputMode = header.InputMode;
  RandomRestore(header.PlaySeed);

  // The recorded game began unpaused; a title left paused would run a
  // replay's ticks without drawing a frame.
  Paused = false;
  StateTimer = 0;
  State = GameState::Playing;
  InGame = true;
  PlayTicks = 0;
  PlayChecksum = HashStart;
  Progress.GameBegins();
}

bool TQuadrovoltMain::PassCheckpoint() {
  if (PlayTicks == 0) return true;
  if (!Watching()) {
    Recorder.Checkpoint(PlayChecksum);
    return true;
  }
  std::uint64_t recorded;
  if (!Watch.CheckpointAt(PlayTicks, recorded) || recorded == PlayChecksum) return true;
  ReplayDivergedAt = PlayTicks;
  return false;
}

void TQuadrovoltMain::TickBegins() {
  if (!InGame) return;
  // The game as it stands after the ticks so far: recorded every so often,
  // and compared with the recording while a replay plays.
  if ((Watching() || PlayTicks % ReplayCheckpointTicks == 0) && !PassCheckpoint()) {
    SetState(GameState::Title);  // what follows is no longer the recorded game
    return;
  }
  if (Watching()) {
    if (!Watch.BeginTick()) {
      SetState(GameState::Title);  // the replay is over
      return;
    }
    TInputEvent e;
    while (Watch.NextEvent(e)) ApplyInput(e);
  } else {
    Recorder.Tick();
  }
  ++PlayTicks;
  const TReplayAssists& assists = Watching() ? Watch.Header().Assists : Assists;
  if (State == GameState::Playing && assists.Any()) {
    if (assists.BulletLevel) Arena->Player().BulletLevel = assists.BulletLevel;
    if (assists.NoDamage) {
      // Held where the blows land too: several in one frame cannot end the game.
      Arena->Player().Damage = 0;
      Arena->Player().DamageHeld = true;
    }
    if (assists.Bombs) Arena->Player().GraviBombs = 9;
  }
  // The host ends a game at the first event or tick after Escape went down;
  // when that was this tick, the recorded game ended here, before its step.
  if (Watching() && Keys[VK::Escape]) SetState(GameState::Title);
}

void TQuadrovoltMain::FoldChecksum() {
  std::uint64_t h = PlayChecksum;
  auto mix = [&h](std::uint64_t v) {
    h = (h ^ v) * 0x100000001B3ull;
    h ^= h >> 31;
  };
  for (const TBlob* e : Arena->Enemies()) {
    if (!e->Active) continue;
    mix(std::uint64_t(e->Kind) | std::uint64_t(e->State) << 8);
    mix(std::uint64_t(Bits(e->Position.X)) << 32 | Bits(e->Position.Y));
  }
  for (const TBlob* b : Arena->Bullets())
    if (b->Active) mix(std::uint64_t(Bits(b->Position.X)) << 32 | Bits(b->Position.Y));
  const TBlobPlayer& p = Arena->Player();
  mix(std::uint64_t(Bits(p.Position.X)) << 32 | Bits(p.Position.Y));
  mix(std::uint64_t(std::uint32_t(p.Damage)) << 32 | std::uint32_t(p.Score));
  mix(std::uint64_t(std::uint32_t(Level)) << 32 | std::uint32_t(Arena->LevelManager().Tick));
  mix(RandomState());
  PlayChecksum = h;
}

void TQuadrovoltMain::GameEnded() {
  PassCheckpoint();  // the last one, at the end
  InGame = false;
  LastResult = TReplayResult{PlayTicks, Level, Arena->Player().Score, Arena->Player().Damage, PlayChecksum};
  if (Watching()) {
    if (ReplayDivergedAt) std::fprintf(stderr, "replay diverges at tick %u\n", unsigned(ReplayDivergedAt));
    // Back to the live game as it was before the replay.
    Watch.Unload();
    Joystick.Player = nullptr;
    std::memcpy(Keys, LiveInput.Keys, sizeof Keys);
    MouseLeft = LiveInput.MouseLeft, MouseRight = LiveInput.MouseRight;
    KeyFire = LiveInput.KeyFire, JoyFire = LiveInput.JoyFire;
    CursorX = LiveInput.CursorX, CursorY = LiveInput.CursorY;
    JoyInfo = LiveInput.JoyInfo;
    Progress.PutBack(LiveRecord);
    Level = LiveLevel;
    TitleScreen.PutBack(LiveStrip);
    InputMode = LiveInputMode;
    Paused = false;
    if (ScriptState != LiveScript) RebuildScript(LiveScript);
    RandomRestore(LiveRandom);
    return;
  }
  Recorder.End();
  // Kept first, told after: the output may be a closed pipe or a terminal
  // that hung up, and nothing it does may cost the game its files.
  if (KeepReplays) WriteReplays();
  SaveIfChanged();
  if (ReportFinalLine) {
    char line[160];
    FormatFinalLine(LastResult, line, sizeof line);
    std::printf("%s\n", line);
    std::fflush(stdout);
  }
}

void TQuadrovoltMain::WriteReplays() {
  // Each file is written beside itself and renamed into place: a failed
  // write (a read-only folder, a full disk) leaves the old one as it was.
  auto write = [this](const std::string& path) {
    if (!Recorder.Write(path.c_str()))
      std::fprintf(stderr, "quadrovolt: could not write the replay %s: %s\n", SaveFile::ShownPath(path).c_str(),
                   std::strerror(errno));
  };
  write(ReplayLastPath);
  // The best replay is the game that holds the best score: not one that
  // only scored more in the game-over pause, nor one that a game in the same
  // folder has beaten meanwhile.
  if (Progress.HoldsHiScore()) TakeBetterSavedRecord();
  if (Progress.HoldsHiScore()) write(ReplayBestPath);
}

void TQuadrovoltMain::FinishGame() {
  if (InGame) SetState(GameState::Title);
}

void TQuadrovoltMain::RebuildScript(std::uint64_t state) {
  RandomRestore(state);
  Arena->LevelManager().Rebuild();
  ScriptState = state;
}

void TQuadrovoltMain::StartWatching(TReplay replay) {
  if (State != GameState::Title || InGame) return;
  const TReplayHeader live = PlayHeader();
  LiveInput = live.Start;
  LiveRecord = Progress.Keep();
  // The title's choice of start level, which the replay's play moves on.
  LiveLevel = Level;
  LiveStrip = TitleScreen.Strip();
  LiveInputMode = InputMode;
  ReplayDivergedAt = 0;
  LiveRandom = live.PlaySeed;
  LiveScript = ScriptState;
  if (replay.Header.ScriptState != ScriptState) RebuildScript(replay.Header.ScriptState);
  Watch.Load(std::move(replay));
  Joystick.Player = &Watch;
  BeginPlay(Watch.Header());
}

bool TQuadrovoltMain::WatchSavedReplay(std::string& why) {
  TReplay replay;
  std::string best, last;
  // A replay of other rules of play would show another game than was played.
  auto playable = [&replay](const std::string& path, std::string& reason) {
    return LoadReplayFile(path, replay, reason) && ReplayPlaysHere(replay.Header, reason);
  };
  if (!playable(ReplayBestPath, best) && !playable(ReplayLastPath, last)) {
    why = ReplayBestPath + ": " + best + "; " + ReplayLastPath + ": " + last;
    return false;
  }
  StartWatching(std::move(replay));
  return true;
}

bool TQuadrovoltMain::WatchSwallows(const TInputEvent& e) {
  if (!Watching()) return false;
  // The player's own input while a replay plays: kept for afterwards, and a
  // new key or a click ends the replay (a held key's repeats do not).
  using E = TInputEvent::TKind;
  bool stop = false;
  switch (e.Kind) {
    case E::KeyDown:
      stop = !LiveInput.Keys[e.Key];
      LiveInput.Keys[e.Key] = true;
      break;
    case E::KeyUp: LiveInput.Keys[e.Key] = false; break;
    case E::OtherKeyDown: stop = true; break;
    case E::Cursor: LiveInput.CursorX = e.X, LiveInput.CursorY = e.Y; break;
    case E::LeftDown: stop = LiveInput.MouseLeft = true; break;
    case E::LeftUp: LiveInput.MouseLeft = false; break;
    case E::RightDown: stop = LiveInput.MouseRight = true; break;
    case E::RightUp: LiveInput.MouseRight = false; break;
  }
  if (stop) SetState(GameState::Title);
  return true;
}
