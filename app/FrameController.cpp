#include "app/FrameController.h"

#include "app/QuadrovoltMain.h"
#include "app/Replay.h"
#include "app/WindowMessages.h"

bool TFrameController::HandleMessage(unsigned message, std::uint64_t wParam, std::int64_t lParam) {
  if (Game) Game->HandleMessage(message, wParam, lParam);
  // Key codes above 255 are not tracked.
  const bool key = (message == Msg::KeyDown || message == Msg::KeyUp) && wParam < 256;
  return AfterInput(key ? int(wParam) : -1, message == Msg::KeyDown);
}

bool TFrameController::HandleInput(const TInputEvent& e) {
  using E = TInputEvent::TKind;
  if (Game) Game->TakeInput(e);
  const bool key = e.Kind == E::KeyDown || e.Kind == E::KeyUp;
  return AfterInput(key ? e.Key : -1, e.Kind == E::KeyDown);
}

bool TFrameController::AfterInput(int key, bool down) {
  // Escape in play goes back to the title; once the title asked to quit, it
  // ends the program. The game has seen the message first.
  if (Game && KeyState[VK::Escape]) {
    if (Game->State != GameState::Quit)
      Game->SetState(GameState::Title);
    else
      RequestQuit();
  }
  if (key >= 0 && key < 256) KeyState[key] = down;
  return ProgramLooping;
}

bool TFrameController::Step() {
  LastStepRan = false;
  if (!HandleMessage(Msg::Timer, 1, 0)) return false;
  if (Game && !Game->Paused) {
    Game->Step();
    LastStepRan = true;
  }
  return ProgramLooping;
}

void TFrameController::Render() const {
  if (Game) Game->Render();
}

bool TFrameController::Tick() {
  if (!Step()) return false;
  if (LastStepRan) Render();
  return ProgramLooping;
}

bool TFrameController::IdleCheck() {
  if (KeyState[VK::Escape] && Game && Game->State == GameState::Quit) RequestQuit();
  return ProgramLooping;
}

void TFrameController::ClearKeys() {
  for (bool& k : KeyState) k = false;
}
