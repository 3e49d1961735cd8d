#include "platform/GLFrame.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/GameConstants.h"
#include "app/GameHost.h"
#include "app/TickClock.h"
#include "gfx/MessageBox.h"
#include "gfx/Random.h"
#include "platform/BoardSession.h"
#include "platform/RendererChoice.h"
#include "platform/SdlJoystick.h"
#include "platform/SdlMixerSoundDevice.h"
#include "platform/SessionEnd.h"

// Last: it brings Xlib's macros (Bool, None, Status), which must not meet the
// game's headers.
// clang-format off
#include <SDL_syswm.h>
// clang-format on

namespace {
void ShowError(const std::string& text) { ShowMessageBox("Error", text); }
}  // namespace

int VirtualKeyFromScancode(SDL_Scancode sc) {
  // By physical position, so Z X C S and the arrows sit in the same place on
  // every keyboard layout.
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return 112 + (sc - SDL_SCANCODE_F1);
  switch (sc) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_ESCAPE: return VK::Escape;
    case SDL_SCANCODE_SPACE: return VK::Space;
    case SDL_SCANCODE_LEFT: return VK::Left;
    case SDL_SCANCODE_UP: return VK::Up;
    case SDL_SCANCODE_RIGHT: return VK::Right;
    case SDL_SCANCODE_DOWN: return VK::Down;
    case SDL_SCANCODE_RETURN: return 13;
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return 16;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return 17;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return 18;
    default: return -1;
  }
}

TFrameWindow::~TFrameWindow() { Destroy(); }

bool TFrameWindow::SetDisplayMode() {
  SDL_DisplayMode mode{};
  mode.w = Request.Width;
  mode.h = Request.Height;
  mode.format = Request.Bits == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
  SDL_DisplayMode closest{};
  if (!SDL_GetClosestDisplayMode(0, &mode, &closest)) return false;
  if (closest.w != Request.Width || closest.h != Request.Height) return false;
  if (SDL_SetWindowDisplayMode(Window, &closest) != 0) return false;
  return SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN) == 0;
}

bool TFrameWindow::Create() {
  Backend = RendererKindFromEnvironment();
  if (OpenWindow()) return true;
  if (!NeedsEsContext(Backend)) return false;
  // Asked for by name, so say why it is not used; the game still plays.
  std::fprintf(stderr, "QUADROVOLT_RENDERER=gles3: no OpenGL ES 3.0 context here (%s): drawing batched\n",
               SDL_GetError());
  Backend = TRendererKind::Batched;
  return OpenWindow();
}

bool TFrameWindow::OpenWindow() {
  RequestContextFor(Backend, Request.Bits);

  Window = SDL_CreateWindow(Request.Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, Request.Width,
                            Request.Height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!Window) {
    Destroy();
    return false;
  }
  if (Request.FullScreen) {
    if (SetDisplayMode()) {
      SDL_ShowCursor(SDL_DISABLE);
    } else {
      ShowError("Mode Switch Failed.\nRunning In Windowed Mode.");
      Request.FullScreen = false;
      SDL_SetWindowFullscreen(Window, 0);
    }
  }
  Context = SDL_GL_CreateContext(Window);
  if (!Context || SDL_GL_MakeCurrent(Window, Context) != 0) {
    Destroy();
    return false;
  }
  SetContextDefaultsFor(Backend);
  // Vsync off: the 100 Hz tick sets the pace, a swap must never cap it.
  SDL_GL_SetSwapInterval(0);
  SDL_ShowWindow(Window);
  Visible = true;
  SDL_SysWMinfo wm;
  SDL_VERSION(&wm.version);
  if (SDL_GetWindowWMInfo(Window, &wm) && wm.subsystem == SDL_SYSWM_X11)
    WatchGameWindow(wm.info.x11.display, wm.info.x11.window);
  return true;
}

void TFrameWindow::Destroy() {
  if (Context) {
    SDL_GL_MakeCurrent(Window, nullptr);
    SDL_GL_DeleteContext(Context);
    Context = nullptr;
  }
  if (Window) {
    if (Request.FullScreen) {
      SDL_SetWindowFullscreen(Window, 0);  // gives the desktop its mode back
      SDL_ShowCursor(SDL_ENABLE);
    }
    SDL_DestroyWindow(Window);
    Window = nullptr;
  }
}

void TFrameWindow::LayOutPicture(TGameHost& game) {
  int windowWidth = 0, windowHeight = 0, drawableWidth = 0, drawableHeight = 0;
  SDL_GetWindowSize(Window, &windowWidth, &windowHeight);
  SDL_GL_GetDrawableSize(Window, &drawableWidth, &drawableHeight);
  Picture.Resize(windowWidth, windowHeight, drawableWidth, drawableHeight);
  // The game sees the picture as its whole screen: its mouse rule and its
  // viewport both work in picture pixels.
  game.SetPicture(Picture.Place());
}

void TFrameWindow::ClearBars() const {
  glDisable(GL_SCISSOR_TEST);
  if (!Picture.HasBars()) return;
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  // Wide lines and points near the picture's edge would spill onto the bars.
  glScissor(Picture.Left, Picture.Bottom(), Picture.Width, Picture.Height);
  glEnable(GL_SCISSOR_TEST);
}

int TFrameWindow::Run() {
  const std::unique_ptr<TRenderer> renderer = MakeGLRenderer(Backend);
  SetRenderer(renderer.get());
  SDL_DisableScreenSaver();  // no screen saver or monitor power-off mid-game

  TSdlMixerSoundDevice sound;
  TSdlJoystick joystick;
  // A new run, new randomness: the level script is drawn as the game is made.
  RandomSeedFromClock();
  THostOptions options;
  options.ControlMode = Request.InputMode;
  options.SoundOn = Request.SoundOn;
  options.ReportFinalLine = true;  // each recorded game's final line, for checking its replay
  auto game = std::make_unique<TGameHost>(sound, options);
  LayOutPicture(*game);
  KeepGameOnSessionEnd(game.get());  // a lost display or a hangup still saves it

  // QUADROVOLT_FPS=1 prints the steps run and the time a step took, on
  // average and at worst, every 5 s: one step over 10 ms costs a tick.
  const bool reportRate = std::getenv("QUADROVOLT_FPS") != nullptr;
  Uint64 reportStart = SDL_GetPerformanceCounter(), busy = 0, slowest = 0;
  int stepsSinceReport = 0;
  TTickClock clock(SDL_GetTicks64());
  // What the player does between two steps, handed to the game with the next.
  TTickInput input;
  bool running = true;
  while (running) {
    SDL_Event ev;
    while (running && SDL_PollEvent(&ev)) {
      switch (ev.type) {
        case SDL_QUIT: running = false; break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
          int vk = VirtualKeyFromScancode(ev.key.keysym.scancode);
          if (vk >= 0 && ev.type == SDL_KEYDOWN && Board && Board->TakeKey(*game, vk)) break;
          if (vk >= 0 && ev.type == SDL_KEYDOWN)  // auto-repeats arrive as further key-downs
            input.Press(vk);
          else if (vk >= 0)
            input.Release(vk);
          break;
        }
        case SDL_MOUSEMOTION: {
          int x = ev.motion.x, y = ev.motion.y;
          Picture.WindowToPicture(x, y);
          input.Pointer(x, y, Picture.Width, Picture.Height);
          break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
          const bool down = ev.type == SDL_MOUSEBUTTONDOWN;
          if (ev.button.button == SDL_BUTTON_LEFT || ev.button.button == SDL_BUTTON_RIGHT)
            input.Button(ev.button.button == SDL_BUTTON_LEFT, down);
          break;
        }
        case SDL_WINDOWEVENT:
          // Minimised, the game keeps running; only the idle check rests.
          if (ev.window.event == SDL_WINDOWEVENT_MINIMIZED) Visible = false;
          if (ev.window.event == SDL_WINDOWEVENT_RESTORED || ev.window.event == SDL_WINDOWEVENT_MAXIMIZED ||
              ev.window.event == SDL_WINDOWEVENT_SHOWN)
            Visible = true;
          if (ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) LayOutPicture(*game);
          break;
        default: break;
      }
    }
    // As SDL_QUIT: the teardown below saves.
    if (HangupRequested() || WindowLost()) running = false;
    if (!running) break;

    const Uint64 now = SDL_GetTicks64();
    if (Board) Board->BetweenSteps(*game, now);
    if (clock.Due(now)) {
      const Uint64 stepStart = SDL_GetPerformanceCounter();
      input.Joystick.Ok = joystick.Read(input.Joystick.Info);  // the pad is read once a step
      const bool stepped = game->Step(input);
      input.NextTick();
      running = !game->WantsQuit();
      // A paused game draws nothing new: swapping would flip between two old
      // pictures, so the last one stays up instead.
      if (stepped) {
        ClearBars();
        game->Render();
        renderer->Flush();  // a batching backend may still hold the frame
        SDL_GL_SwapWindow(Window);
      }
      if (reportRate) {
        const Uint64 end = SDL_GetPerformanceCounter(), freq = SDL_GetPerformanceFrequency();
        busy += end - stepStart;
        slowest = std::max(slowest, end - stepStart);
        ++stepsSinceReport;
        if (end - reportStart >= 5 * freq) {
          const double seconds = double(end - reportStart) / double(freq);
          SDL_Log("%.1f steps a second, %.2f ms a step, slowest %.2f ms", stepsSinceReport / seconds,
                  1000.0 * double(busy) / double(freq) / stepsSinceReport, 1000.0 * double(slowest) / double(freq));
          reportStart = end, busy = 0, slowest = 0, stepsSinceReport = 0;
        }
      }
      clock.Stepped(SDL_GetTicks64());
    } else {
      if (Visible) game->Idle();
      running = !game->WantsQuit();
      SDL_Delay(Uint32(clock.Wait(now) > 1 ? 1 : clock.Wait(now)));
    }
  }

  KeepGameOnSessionEnd(nullptr);
  const char* ended = WindowLost() ? WhatEndingDoes(*game) : nullptr;
  if (Board) Board->SessionEnds(*game);
  game.reset();
  if (ended) std::fprintf(stderr, "quadrovolt: the game window was destroyed; %s\n", ended);
  SetRenderer(nullptr);
  SDL_EnableScreenSaver();
  return 0;
}
