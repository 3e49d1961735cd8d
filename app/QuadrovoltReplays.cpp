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
std::uint32_t Bits(float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, sizeof u);
  return u;
}
}  // namespace

TReplayHeader TQuadrovoltMain::PlayHeader() const {
  TReplayHeader h;
  h.ScriptState = Session.ScriptState();
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

void TQuadrovoltMain::HoldInput(const TReplayInputState& s) {
  std::memcpy(Keys, s.Keys, sizeof Keys);
  MouseLeft = s.MouseLeft, MouseRight = s.MouseRight;
  KeyFire = s.KeyFire, JoyFire = s.JoyFire;
  CursorX = s.CursorX, CursorY = s.CursorY;
  JoyInfo = s.JoyInfo;
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

  HoldInput(header.Start);
  Level = header.StartLevel;
  InputMode = header.InputMode;
  RandomRestore(header.PlaySeed);

  // The recorded game began unpaused; a title left paused would run a
  // replay's ticks without drawing a frame.
  Paused = false;
  StateTimer = 0;
  State = GameState::Playing;
  Session.GameBegins();
  Progress.GameBegins();
}

void TQuadrovoltMain::TickBegins() {
  if (!Session.InGame()) return;
  // The game as it stands after the ticks so far: recorded every so often,
  // and compared with the recording while a replay plays.
  if ((Watching() || Session.PlayTicks() % ReplayCheckpointTicks == 0) && !Session.PassCheckpoint()) {
    SetState(GameState::Title);  // what follows is no longer the recorded game
    return;
  }
  if (Watching()) {
    if (!Session.Watch().BeginTick()) {
      SetState(GameState::Title);  // the replay is over
      return;
    }
    TInputEvent e;
    while (Session.Watch().NextEvent(e)) ApplyInput(e);
  } else {
    Session.Recorder().Tick();
  }
  Session.TickPlayed();
  const TReplayAssists& assists = Watching() ? Session.Watch().Header().Assists : Assists;
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
  std::uint64_t h = Session.Checksum();
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
  Session.SetChecksum(h);
}

void TQuadrovoltMain::GameEnded() {
  Session.PassCheckpoint();  // the last one, at the end
  const TBlobPlayer& ship = Arena->Player();
  Session.GameEnds(TReplayResult{Session.PlayTicks(), Level, ship.Score, ship.Damage, Session.Checksum()});
  if (Watching()) {
    if (Session.DivergedAt()) std::fprintf(stderr, "replay diverges at tick %u\n", unsigned(Session.DivergedAt()));
    // Back to the live game as it was before the replay.
    const TReplaySession::TLive& live = Session.StopWatching();
    HoldInput(live.Input);
    Progress.PutBack(live.Record);
    Level = live.Level;
    TitleScreen.PutBack(live.Strip);
    InputMode = live.InputMode;
    Paused = false;
    if (Session.ScriptState() != live.Script) RebuildScript(live.Script);
    RandomRestore(live.Random);
    return;
  }
  Session.Recorder().End();
  // Kept first, told after: the output may be a closed pipe or a terminal
  // that hung up, and nothing it does may cost the game its files.
  if (KeepReplays) WriteReplays();
  SaveIfChanged();
  if (ReportFinalLine) {
    char line[160];
    FormatFinalLine(Session.LastResult(), line, sizeof line);
    std::printf("%s\n", line);
    std::fflush(stdout);
  }
}

void TQuadrovoltMain::WriteReplays() {
  // Each file is written beside itself and renamed into place: a failed
  // write (a read-only folder, a full disk) leaves the old one as it was.
  auto write = [this](const std::string& path) {
    if (!Session.Recorder().Write(path.c_str()))
      std::fprintf(stderr, "quadrovolt: could not write the replay %s: %s\n", SaveFile::ShownPath(path).c_str(),
                   std::strerror(errno));
  };
  write(Session.LastPath());
  // The best replay is the game that holds the best score: not one that
  // only scored more in the game-over pause, nor one that a game in the same
  // folder has beaten meanwhile.
  if (Progress.HoldsHiScore()) TakeBetterSavedRecord();
  if (Progress.HoldsHiScore()) write(Session.BestPath());
}

void TQuadrovoltMain::FinishGame() {
  if (Session.InGame()) SetState(GameState::Title);
}

void TQuadrovoltMain::RebuildScript(std::uint64_t state) {
  RandomRestore(state);
  Arena->LevelManager().Rebuild();
  Session.ScriptDrawnFrom(state);
}

void TQuadrovoltMain::StartWatching(TReplay replay) {
  if (State != GameState::Title || Session.InGame()) return;
  const TReplayHeader header = PlayHeader();
  TReplaySession::TLive live;
  live.Input = header.Start;
  live.Record = Progress.Keep();
  // The title's choice of start level, which the replay's play moves on.
  live.Level = Level;
  live.Strip = TitleScreen.Strip();
  live.InputMode = InputMode;
  live.Random = header.PlaySeed;
  live.Script = Session.ScriptState();
  if (replay.Header.ScriptState != Session.ScriptState()) RebuildScript(replay.Header.ScriptState);
  Session.StartWatching(std::move(replay), live);
  BeginPlay(Session.Watch().Header());
}

bool TQuadrovoltMain::WatchSavedReplay(std::string& why) {
  TReplay replay;
  std::string best, last;
  // A replay of other rules of play would show another game than was played.
  auto playable = [&replay](const std::string& path, std::string& reason) {
    return LoadReplayFile(path, replay, reason) && ReplayPlaysHere(replay.Header, reason);
  };
  const std::string& bestPath = Session.BestPath();
  const std::string& lastPath = Session.LastPath();
  if (!playable(bestPath, best) && !playable(lastPath, last)) {
    why = bestPath + ": " + best + "; " + lastPath + ": " + last;
    return false;
  }
  StartWatching(std::move(replay));
  return true;
}

bool TQuadrovoltMain::WatchSwallows(const TInputEvent& e) {
  if (!Watching()) return false;
  // The player's own input while a replay plays is kept for afterwards; a
  // new key or a click ends the replay.
  if (Session.KeepLiveInput(e)) SetState(GameState::Title);
  return true;
}
