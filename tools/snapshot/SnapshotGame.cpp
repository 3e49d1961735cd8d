#include "tools/snapshot/SnapshotGame.h"

#include <unistd.h>

#include <filesystem>

#include "app/PictureLayout.h"
#include "gfx/Random.h"

TSnapshotGame::TSnapshotGame(const TSnapshotOptions& options) : Options(options) {
  static int serial = 0;
  SavePath = (std::filesystem::temp_directory_path() /
              ("quadrovolt-snapshot-" + std::to_string(::getpid()) + "-" + std::to_string(++serial) + ".dat"))
                 .string();
  RandomSeed(Options.Seed);
  GameObject = std::make_unique<TQuadrovoltMain>(Sound, Joystick, SavePath);
  // The same 4:3 picture between bars that the game window shows at this size.
  TPictureLayout picture;
  picture.Resize(Options.Width, Options.Height, Options.Width, Options.Height);
  GameObject->ScreenWidth = picture.Width;
  GameObject->ScreenHeight = picture.Height;
  GameObject->ViewportX = picture.Left;
  GameObject->ViewportY = picture.Bottom();
  // The pilot starts every game with the mouse; the asked mode takes over
  // once play has begun.
  GameObject->InputMode = InputModes::Mouse;
  GameObject->MaxLevel = 40;
  Frame = std::make_unique<TFrameController>(GameObject.get());
  Pilot = std::make_unique<TAutoPilot>(*GameObject, *Frame,
                                       TAutoPilotOptions{Options.Level, Options.Bullets, Options.Bombs, false});
}

TSnapshotGame::~TSnapshotGame() {
  Pilot.reset();
  Frame.reset();
  GameObject.reset();  // it saves a best score as it goes: clear up after it
  std::error_code ignored;
  std::filesystem::remove(SavePath, ignored);
}

void TSnapshotGame::Run() {
  if (Options.Title) {
    Pilot->ShowLevel();
  } else {
    Pilot->StartGame();
    Frame->Tick();  // the title frame that starts the game
  }
  GameObject->InputMode = Options.Mode;
  for (int f = 0; f < Options.Frames; ++f) Step();
}

void TSnapshotGame::Step() {
  Pilot->BeforeTick(FrameNumber);  // on the title it only swings the cursor
  if (Options.HoldCursor) {
    GameObject->CursorX = Options.CursorX;
    GameObject->CursorY = Options.CursorY;
  }
  Frame->Tick();
  ++FrameNumber;
}
