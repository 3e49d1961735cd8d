#include "app/FrameController.h"

#include "app/QuadrovoltMain.h"
#include "app/WindowMessages.h"

bool TFrameController::HandleMessage(unsigned message, std::uint64_t wParam, std::int64_t lParam) {
  if (Game) {
    Game->HandleMessage(message, wParam, lParam);
    if (KeyState[VK::Escape]) {
      if (Game->State != GameState::Quit)
        Game->SetState(GameState::Title);
      else
        RequestQuit();
    }
  }
  // Key codes above 255 are not tracked.
  if ((message == Msg::KeyDown || message == Msg::KeyUp) && wParam < 256) KeyState[wParam] = message == Msg::KeyDown;
  return ProgramLooping;
}

bool TFrameController::Tick() {
  if (!HandleMessage(Msg::Timer, 1, 0)) return false;
  if (Game && !Game->Paused) Game->Draw();
  return ProgramLooping;
}

bool TFrameController::IdleCheck() {
  if (KeyState[VK::Escape] && Game && Game->State == GameState::Quit) RequestQuit();
  return ProgramLooping;
}

void TFrameController::ClearKeys() {
  for (bool& k : KeyState) k = false;
}
