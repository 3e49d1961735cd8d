// Quadrovolt for Linux: asks SDL for a window with an OpenGL context and runs
// the game in it until the player quits from the title screen.
#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "gfx/MessageBox.h"
#include "platform/GLFrame.h"

namespace {
void ShowSdlMessageBox(const std::string& caption, const std::string& text) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption.c_str(), text.c_str(), nullptr) != 0)
    SDL_Log("%s: %s", caption.c_str(), text.c_str());
}

bool EnvFlag(const char* name) {
  const char* v = std::getenv(name);
  return v && *v && std::strcmp(v, "0") != 0;
}

// Until the setup dialog exists the request is fixed: 1024 x 768, 32 bits,
// windowed, sound on, mouse control. QUADROVOLT_FULLSCREEN=1 takes the full
// screen path, QUADROVOLT_CONTROLS=keyboard|mouse|joystick picks the controls.
TWindowRequest FixedRequest() {
  TWindowRequest r;
  r.FullScreen = EnvFlag("QUADROVOLT_FULLSCREEN");
  if (const char* c = std::getenv("QUADROVOLT_CONTROLS")) {
    if (!std::strcmp(c, "keyboard")) r.InputMode = 0;
    if (!std::strcmp(c, "joystick")) r.InputMode = 2;
  }
  return r;
}
}  // namespace

int main(int, char**) {
  SetMessageSink(ShowSdlMessageBox);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) {
    ShowMessageBox("Error", "Error Creating OpenGL Window");
    return 1;
  }
  // With no display SDL falls back to drawing off screen: the game would run
  // where nobody can see it. Unless that was asked for, it is a failure.
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool invisible = driver && (!std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy"));
  if (invisible && !std::getenv("SDL_VIDEODRIVER")) {
    ShowMessageBox("Error", "Error Creating OpenGL Window");
    SDL_Quit();
    return 1;
  }
  int code = 0;
  {
    TFrameWindow frame(FixedRequest());
    if (frame.Create()) {
      code = frame.Run();
    } else {
      ShowMessageBox("Error", "Error Creating OpenGL Window");
      code = 1;
    }
  }
  SDL_Quit();
  return code;
}
