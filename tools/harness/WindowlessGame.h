#pragma once
// The game without a window, as the headless runner, the snapshot tool, the
// benchmarks and the tests run it: a renderer and a sound device of the
// caller's choice (nothing drawn and nothing heard unless one is given), a
// pad pushed through the host, a seed for the level script and the play, and
// a folder of its own for the save file and the replays, removed at the end.
// Everything is done through the host.
#include <cstdint>
#include <filesystem>
#include <memory>

#include "app/GameHost.h"
#include "gfx/NullRenderer.h"
#include "gfx/ScopedRenderer.h"
#include "sound/SilentSoundDevice.h"
#include "tools/harness/TempFolder.h"

struct TWindowlessSetup {
  THostOptions Host;  // its SavePath is a name in the game's own folder
  std::uint64_t Seed = 1;
  TRenderer* Renderer = nullptr;  // nullptr: draws nothing
  TSoundDevice* Sound = nullptr;  // nullptr: plays nothing
};

class TWindowlessGame {
 public:
  explicit TWindowlessGame(const TWindowlessSetup& setup = {});
  ~TWindowlessGame();
  TWindowlessGame(const TWindowlessGame&) = delete;
  TWindowlessGame& operator=(const TWindowlessGame&) = delete;

  TGameHost& Host() { return *GameHost; }
  // The game object goes now, saving and writing its replays as it goes; the
  // folder stays until this goes. Nothing may be asked of the game after.
  void Close() { GameHost.reset(); }
  // The folder the save file and the replays go to while the game lives.
  const std::filesystem::path& Folder() const { return Temp.Path(); }

 private:
  // Made first and gone last: the game saves into it as it goes away.
  TTempFolder Temp;
  TNullRenderer NoPicture;
  TSilentSoundDevice NoSound;
  TScopedRenderer Renderer;
  std::unique_ptr<TGameHost> GameHost;
};
