#include "tools/snapshot/SnapshotGame.h"

#include "app/GameConstants.h"
#include "app/PictureLayout.h"

namespace {
TAutoPilotOptions Flying(const TSnapshotOptions& options) {
  return TAutoPilotOptions{options.Level, options.Bullets, options.Bombs, false};
}
}  // namespace

TWindowlessSetup TSnapshotGame::Setup(const TSnapshotOptions& options) {
  TWindowlessSetup setup;
  setup.Host.Assists = Flying(options).Assists();
  setup.Seed = options.Seed;
  setup.Renderer = &GL();  // the renderer the caller installed
  // The pilot starts every game with the mouse; the asked mode takes over
  // once play has begun.
  setup.Host.ControlMode = InputModes::Mouse;
  setup.Host.AllLevelsOpen = true;
  return setup;
}

TSnapshotGame::TSnapshotGame(const TSnapshotOptions& options)
    : Options(options), Windowless(Setup(options)), Pilot(Windowless.Host(), Flying(options)) {
  // The same 4:3 picture between bars that the game window shows at this size.
  TPictureLayout picture;
  picture.Resize(Options.Width, Options.Height, Options.Width, Options.Height);
  Host().SetPicture(picture.Place());
}

void TSnapshotGame::Run() {
  if (Options.Title) {
    Pilot.ShowLevel();
  } else {
    Pilot.StartGame();
    Host().Step();  // the title frame that starts the game
  }
  Host().SetControlMode(Options.Mode);
  // Only the last step is seen: the ones before it are not drawn.
  for (int f = 0; f < Options.Frames; ++f) Advance();
  if (!Options.Title || Options.Frames > 0) Host().Render();
}

void TSnapshotGame::Step() {
  Advance();
  Host().Render();
}

void TSnapshotGame::Advance() {
  Pilot.BeforeTick(FrameNumber);  // on the title it only swings the cursor
  if (Options.HoldCursor) Host().NextInput().Cursor(Options.CursorX, Options.CursorY);
  Host().Step();
  ++FrameNumber;
}
