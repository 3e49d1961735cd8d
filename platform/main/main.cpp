// Quadrovolt for Linux: the setup dialog, then one SDL window with an OpenGL
// context running the game until the player quits from the title screen.
#include <SDL.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/MessageBox.h"
#include "platform/BoardSession.h"
#include "platform/GLFrame.h"
#include "platform/HeapTuning.h"
#include "platform/SessionEnd.h"
#include "platform/SetupWindow.h"

#ifndef QUADROVOLT_VERSION
#define QUADROVOLT_VERSION "unknown"
#endif

namespace {
const char* const HelpText =
    "Usage: quadrovolt [--help | --version]\n"
    "Quadrovolt: an arcade shooter in a glowing vector arena.\n"
    "\n"
    "Every start opens the setup dialog (display mode, full screen, sound, control mode);\n"
    "the game takes no options that change play.\n"
    "\n"
    "  --help     print this text and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "The best score and the highest level reached are kept in QUADROVOLT.DAT in the\n"
    "working directory; the quadrovolt command starts the game in\n"
    "${XDG_DATA_HOME:-$HOME/.local/share}/quadrovolt.\n"
    "QUADROVOLT_FPS=1 prints the steps run each second and the time a step takes.\n";

// --help and --version answer without opening a window; anything else is
// refused. Returns the exit code, or -1 when the game should start.
int HandleCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") && std::strcmp(argv[i], "--version")) {
      std::fprintf(stderr, "quadrovolt: unknown argument '%s' (try --help)\n", argv[i]);
      return 2;
    }
  }
  if (argc < 2) return -1;
  if (!std::strcmp(argv[1], "--help"))
    std::fputs(HelpText, stdout);
  else
    std::printf("quadrovolt %s\n", QUADROVOLT_VERSION);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

// Every box is said on standard error too: a player who started the game
// from a terminal, or a box that cannot be shown, still learns what happened.
void ShowSdlMessageBox(const std::string& caption, const std::string& text) {
  std::string line = text;
  for (char& c : line)
    if (c == '\n') c = ' ';
  std::fprintf(stderr, "quadrovolt: %s: %s\n", caption.c_str(), line.c_str());
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption.c_str(), text.c_str(), nullptr);
}

// A start-up failure: SDL's reason on standard error, then the game's box.
int FailToStart() {
  std::fprintf(stderr, "quadrovolt: no window can be opened: %s\n", SDL_GetError());
  ShowMessageBox("Error", "Error Creating OpenGL Window");
  SDL_Quit();
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  // A closed output (stdout piped into a program that exited, a terminal's
  // tee gone with the hangup) makes a write fail, never the game end.
  std::signal(SIGPIPE, SIG_IGN);
  if (const int code = HandleCommandLine(argc, argv); code >= 0) return code;
  KeepFreedHeapForReuse();
  SetMessageSink(ShowSdlMessageBox);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0)
    return FailToStart();
  // After SDL's video is up, so that its own handlers do not replace these.
  InstallSessionEndHandlers();
  // With no display SDL falls back to drawing off screen: the game would run
  // where nobody can see it. Unless that was asked for, it is a failure.
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool invisible = driver && (!std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy"));
  if (invisible && !std::getenv("SDL_VIDEODRIVER")) {
    SDL_SetError("no display (DISPLAY is not set or cannot be reached)");
    return FailToStart();
  }
  // The score board's settings beside the save file, in the working folder.
  std::vector<std::string> complaints;
  TBoardSettings board = LoadBoardSettings(BoardSettingsFileName, complaints);
  for (const std::string& c : complaints) std::fprintf(stderr, "quadrovolt: %s %s\n", BoardSettingsFileName, c.c_str());
  // The setup dialog first; leaving it with Escape ends the program.
  TWindowRequest request;
  switch (RunSetupDialog(request, board)) {
    case TSetupOutcome::Play: break;
    case TSetupOutcome::Quit: SDL_Quit(); return 0;
    case TSetupOutcome::Failed: return FailToStart();
  }
  if (!KeepBoardSettings(BoardSettingsFileName, board))
    std::fprintf(stderr, "quadrovolt: %s could not be written: %s\n", BoardSettingsFileName, std::strerror(errno));
  int code = 0;
  {
    TBoardSession session(board, "");
    TFrameWindow frame(request);
    frame.UseBoard(&session);
    if (frame.Create()) {
      code = frame.Run();
    } else {
      std::fprintf(stderr, "quadrovolt: the game window cannot be opened: %s\n", SDL_GetError());
      ShowMessageBox("Error", "Error Creating OpenGL Window");
      code = 1;
    }
  }
  SettleLostWindow();
  SDL_Quit();
  return code;
}
