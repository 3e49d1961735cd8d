#include "tools/harness/WindowlessGame.h"

#include "gfx/Random.h"

TWindowlessGame::TWindowlessGame(const TWindowlessSetup& setup)
    : Renderer(setup.Renderer ? *setup.Renderer : NoPicture) {
  THostOptions options = setup.Host;
  options.SavePath = (Temp.Path() / std::filesystem::path(options.SavePath).filename()).string();
  RandomSeed(setup.Seed);  // the level script is drawn as the game is made
  GameHost = std::make_unique<TGameHost>(setup.Sound ? *setup.Sound : NoSound, options);
}

// The game goes first (it saves and writes its replays into the folder), then
// the renderer that was there before comes back, then the folder goes.
TWindowlessGame::~TWindowlessGame() { GameHost.reset(); }
