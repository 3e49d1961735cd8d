#pragma once
// TFormQuadrovoltSetup: the dialog shown before the game window opens. The
// player picks a display mode, full screen or window, sound on or off and the
// controls, then presses "Play!" (Enter) or leaves with Escape. It draws itself
// through the drawing seam; the platform feeds it keys and clicks and asks the
// display modes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/GameConstants.h"

struct TDisplayMode {
  int Bits = 0, Width = 0, Height = 0, RefreshRate = 0;
};

// The display modes of the screen, by number, in the platform's order.
class TDisplayModeSource {
 public:
  virtual ~TDisplayModeSource() = default;
  virtual bool Mode(int index, TDisplayMode& mode) = 0;  // false past the last
};

class TFormQuadrovoltSetup {
 public:
  static constexpr int ClientWidth = 505;
  // The score board's settings sit in a band under the original dialog.
  static constexpr int ClientHeight = 462;
  static constexpr int VisibleModeLines = 8;

  enum class TResult { None, Ok, Cancel };
  // The controls that take the keyboard focus, in tab order.
  enum class TFocus { ModeList, Sound, Play, FullScreen, Controls, Share, Name, Address };
  static constexpr int FocusCount = 8;

  explicit TFormQuadrovoltSetup(TDisplayModeSource& modes);

  // Handlers, named as the dialog's controls.
  void FormCreate();
  void ListBoxScreenModesClick();
  void CheckBoxFullScreenClick(bool checked);
  void CheckBoxSoundClick(bool checked);
  void RadioButtonMouseClick();
  void RadioButtonJoystickClick();
  void RadioButtonKeysClick();

  // Input in dialog pixels (0, 0 top left) and the game's key codes.
  void KeyDown(int vk);
  void KeyUp(int vk);
  void MouseDown(int x, int y);
  // Typed text (UTF-8) for the name or the address, whichever has the focus.
  void TextInput(std::string_view text);

  // Draws the whole dialog; the caller has set a camera of one unit per pixel
  // with (0, 0) at the centre and y up.
  void Draw();

  // Results.
  int Bits = 0;
  int ScreenWidth = 0;
  int ScreenHeight = 0;
  int ModeIndex = -1;
  bool FullScreen = true;
  bool SoundOn = true;
  std::uint8_t InputMode = InputModes::Mouse;
  // The score board: shared or not, the name shown there, the service.
  bool ShareScores = false;
  std::string PlayerName;
  std::string BoardAddress;
  // Play was refused for this reason (a name the board would not take).
  std::string Refusal;

  std::vector<std::string> ModeLines;  // "%d bits %d x %d", one per mode
  int SelectedLine = -1;
  int TopLine = 0;  // first line shown in the list
  TFocus Focus = TFocus::ModeList;
  TResult ModalResult = TResult::None;

 private:
  void SelectLine(int line);
  void Press(TFocus control);

  TDisplayModeSource& Modes;
};
