// Quadrovolt for Linux: the setup dialog, then one SDL window with an OpenGL
// context running the game until the player quits from the title screen.
#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "gfx/MessageBox.h"
#include "platform/GLFrame.h"
#include "platform/SetupWindow.h"

namespace {
void ShowSdlMessageBox(const std::string& caption, const std::string& text) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption.c_str(), text.c_str(), nullptr) != 0)
    SDL_Log("%s: %s", caption.c_str(), text.c_str());
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
  // The setup dialog first; leaving it with Escape ends the program.
  TWindowRequest request;
  if (!RunSetupDialog(request)) {
    SDL_Quit();
    return 0;
  }
  int code = 0;
  {
    TFrameWindow frame(request);
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
