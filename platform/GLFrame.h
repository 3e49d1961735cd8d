#pragma once
// The frame: one SDL window with an OpenGL context (windowed, or full screen
// after a display-mode change), the event loop at 100 game steps a second, and
// the SDL events gathered into each step's input.
#include <SDL.h>

#include <cstdint>
#include <string>

#include "app/PictureLayout.h"
#include "platform/RendererChoice.h"

struct TWindowRequest {
  std::string Title = "PENDRIX - Quadrovolt Final Edition Beta 0.0.0.2";
  int Width = 1024;
  int Height = 768;
  int Bits = 32;
  bool FullScreen = false;
  bool SoundOn = true;
  std::uint8_t InputMode = 1;  // 0 keyboard, 1 mouse, 2 joystick
};

class TGameHost;
class TBoardSession;

class TFrameWindow {
 public:
  explicit TFrameWindow(TWindowRequest request) : Request(std::move(request)) {}
  ~TFrameWindow();

  // Creates the window and its context; false (after the message box) on failure.
  bool Create();
  // Runs the game until it asks to quit or the window is closed; the exit code.
  int Run();
  // The score board, run between steps (none: the game never asks it).
  void UseBoard(TBoardSession* board) { Board = board; }

 private:
  // The window and a context of the backend's kind; false when either fails.
  bool OpenWindow();
  bool SetDisplayMode();
  void Destroy();
  // Fits the picture to the window's drawable and tells the game its size.
  void LayOutPicture(TGameHost& game);
  // Blacks out the bars and keeps the game's drawing inside its picture.
  void ClearBars() const;

  TWindowRequest Request;
  SDL_Window* Window = nullptr;
  SDL_GLContext Context = nullptr;
  bool Visible = false;
  TPictureLayout Picture;
  TRendererKind Backend = TRendererKind::Batched;
  TBoardSession* Board = nullptr;
};

// The game's key code for a physical key, or -1 for keys the game ignores.
int VirtualKeyFromScancode(SDL_Scancode sc);
