#include "app/frmSetup.h"

#include <cstdio>

#include "app/GameConstants.h"
#include "board/BoardSettings.h"
#include "gfx/GLPrinter.h"
#include "gfx/Renderer.h"

namespace {
constexpr int LineHeight = 21;

struct TRect {
  int Left, Top, Right, Bottom;  // dialog pixels, y down
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

// Where everything sits on the 505 x 382 dialog.
constexpr TRect ModeListRect{20, 84, 240, 84 + TFormQuadrovoltSetup::VisibleModeLines* LineHeight + 4};
constexpr TRect SoundRect{262, 88, 490, 108};
constexpr TRect FullScreenRect{262, 112, 490, 132};
constexpr TRect MouseRect{262, 168, 490, 188};
constexpr TRect JoystickRect{262, 190, 490, 210};
constexpr TRect KeysRect{262, 212, 490, 232};
constexpr TRect PlayRect{262, 240, 392, 266};
constexpr TRect ShareRect{20, 388, 240, 408};
constexpr TRect NameRect{262, 386, 490, 408};
constexpr TRect AddressRect{20, 414, 490, 436};
constexpr std::size_t MaxAddress = 40;

// Dialog pixels to drawing units: the origin at the centre, y up.
float X(float px) { return px - TFormQuadrovoltSetup::ClientWidth / 2.0f; }
float Y(float py) { return TFormQuadrovoltSetup::ClientHeight / 2.0f - py; }

const TVector3 Yellow{1, 1, 0};
const TVector3 White{1, 1, 1};
const TVector3 Dim{0.55f, 0.55f, 0.2f};
const TVector3 Red{1, 0.3f, 0.2f};

void Text(TGLPrinter& p, float px, float py, std::string_view s, float scale = 0.8f, const TVector3& colour = Yellow,
          int width = 1) {
  // The printer draws each glyph centred on its position: shift by half a cell.
  p.PrintAt(width, colour, X(px + 5 * scale), Y(py + 10 * scale), TVector3{scale, scale, 1}, s);
}

void Frame(const TRect& r, const TVector3& colour, float width = 1) {
  TRenderer& gl = GL();
  gl.Color(colour.X, colour.Y, colour.Z, 1);
  gl.LineWidth(width);
  gl.Begin(TPrimitive::LineLoop);
  gl.Vertex(X(float(r.Left)), Y(float(r.Top)), 0);
  gl.Vertex(X(float(r.Left)), Y(float(r.Bottom)), 0);
  gl.Vertex(X(float(r.Right)), Y(float(r.Bottom)), 0);
  gl.Vertex(X(float(r.Right)), Y(float(r.Top)), 0);
  gl.End();
}

void Fill(const TRect& r, float red, float green, float blue) {
  TRenderer& gl = GL();
  gl.Color(red, green, blue, 1);
  gl.Begin(TPrimitive::Quads);
  gl.Vertex(X(float(r.Left)), Y(float(r.Top)), 0);
  gl.Vertex(X(float(r.Left)), Y(float(r.Bottom)), 0);
  gl.Vertex(X(float(r.Right)), Y(float(r.Bottom)), 0);
  gl.Vertex(X(float(r.Right)), Y(float(r.Top)), 0);
  gl.End();
}

// A check box or radio button: its mark, then its label.
void Option(TGLPrinter& p, const TRect& r, bool on, bool round, std::string_view label) {
  Text(p, float(r.Left), float(r.Top + 2), round ? (on ? "(*)" : "( )") : (on ? "[X]" : "[ ]"));
  Text(p, float(r.Left + 40), float(r.Top + 2), label);
}

// The controls chart of each mode, in place of a picture.
const char* const ChartLines[3][3] = {
    {"Keys: cursors move, Z X C S shoot", "left, down, right, up", ""},
    {"Mouse: left button shoots, right", "button moves, the gun aims at it", ""},
    {"Joystick: the left stick moves, the right stick", "aims and fires, the right trigger fires, and",
     "buttons 1 to 4 shoot left, up, down, right"},
};
}  // namespace

TFormQuadrovoltSetup::TFormQuadrovoltSetup(TDisplayModeSource& modes) : Modes(modes) { FormCreate(); }

void TFormQuadrovoltSetup::FormCreate() {
  FullScreen = true;
  SoundOn = true;
  InputMode = InputModes::Mouse;
  ModeLines.clear();
  SelectedLine = -1;
  char line[64];
  TDisplayMode mode;
  for (int i = 0; Modes.Mode(i, mode); ++i) {
    std::snprintf(line, sizeof line, "%d bits %d x %d", mode.Bits, mode.Width, mode.Height);
    ModeLines.push_back(line);
    // The last 32-bit 1024 x 768 mode listed is the one offered.
    if (mode.Bits == 32 && mode.Width == 1024 && mode.Height == 768) SelectedLine = i;
  }
  // No such mode: offer the first one rather than nothing, so "Play!" always
  // has a mode to play in.
  if (SelectedLine < 0 && !ModeLines.empty()) SelectedLine = 0;
  if (SelectedLine >= VisibleModeLines) TopLine = SelectedLine - VisibleModeLines + 1;
  ListBoxScreenModesClick();
}

void TFormQuadrovoltSetup::ListBoxScreenModesClick() {
  ModeIndex = SelectedLine;
  TDisplayMode mode;
  if (SelectedLine >= 0 && Modes.Mode(SelectedLine, mode)) {
    Bits = mode.Bits;
    ScreenWidth = mode.Width;
    ScreenHeight = mode.Height;
  }
}

void TFormQuadrovoltSetup::CheckBoxFullScreenClick(bool checked) { FullScreen = checked; }
void TFormQuadrovoltSetup::CheckBoxSoundClick(bool checked) { SoundOn = checked; }
void TFormQuadrovoltSetup::RadioButtonMouseClick() { InputMode = InputModes::Mouse; }
void TFormQuadrovoltSetup::RadioButtonJoystickClick() { InputMode = InputModes::Joystick; }
void TFormQuadrovoltSetup::RadioButtonKeysClick() { InputMode = InputModes::Keyboard; }

void TFormQuadrovoltSetup::SelectLine(int line) {
  if (ModeLines.empty()) return;
  if (line < 0) line = 0;
  if (line >= int(ModeLines.size())) line = int(ModeLines.size()) - 1;
  SelectedLine = line;
  if (SelectedLine < TopLine) TopLine = SelectedLine;
  if (SelectedLine >= TopLine + VisibleModeLines) TopLine = SelectedLine - VisibleModeLines + 1;
  ListBoxScreenModesClick();
}

void TFormQuadrovoltSetup::Press(TFocus control) {
  Focus = control;
  switch (control) {
    case TFocus::Sound: CheckBoxSoundClick(!SoundOn); break;
    case TFocus::FullScreen: CheckBoxFullScreenClick(!FullScreen); break;
    case TFocus::Share: ShareScores = !ShareScores; break;
    case TFocus::Play:
      if (SelectedLine < 0) break;
      // A name the board would refuse is refused here, before anything is sent.
      if (ShareScores && BoardName(PlayerName).empty()) {
        Refusal = "name: 1-12 letters, digits, spaces . - _";
        Focus = TFocus::Name;
        break;
      }
      PlayerName = BoardName(PlayerName);
      ModalResult = TResult::Ok;
      break;
    default: break;
  }
}

void TFormQuadrovoltSetup::KeyDown(int vk) {
  switch (vk) {
    case 9:  // Tab: the next control
      Focus = TFocus((int(Focus) + 1) % FocusCount);
      break;
    case 8:  // Backspace, in a text field
      if (Focus == TFocus::Name && !PlayerName.empty()) PlayerName.pop_back();
      if (Focus == TFocus::Address && !BoardAddress.empty()) BoardAddress.pop_back();
      break;
    case 13:  // Enter plays, whichever control has the focus
      Press(TFocus::Play);
      break;
    case VK::Space:  // in a text field it is typed, as text
      if (Focus != TFocus::Name && Focus != TFocus::Address) Press(Focus);
      break;
    case VK::Up:
    case VK::Down: {
      const int step = vk == VK::Up ? -1 : 1;
      if (Focus == TFocus::ModeList) {
        SelectLine(SelectedLine + step);
      } else if (Focus == TFocus::Controls) {
        // The radio buttons run Mouse, Joystick, Keys from the top.
        static const std::uint8_t order[3] = {InputModes::Mouse, InputModes::Joystick, InputModes::Keyboard};
        int at = InputMode == InputModes::Mouse ? 0 : (InputMode == InputModes::Joystick ? 1 : 2);
        at = (at + step + 3) % 3;
        InputMode = order[at];
      }
      break;
    }
    default: break;
  }
}

void TFormQuadrovoltSetup::KeyUp(int vk) {
  if (vk == VK::Escape) ModalResult = TResult::Cancel;
}

void TFormQuadrovoltSetup::MouseDown(int x, int y) {
  if (ModeListRect.Contains(x, y)) {
    Focus = TFocus::ModeList;
    const int line = TopLine + (y - ModeListRect.Top - 2) / LineHeight;
    if (line < int(ModeLines.size())) SelectLine(line);
  } else if (SoundRect.Contains(x, y)) {
    Press(TFocus::Sound);
  } else if (FullScreenRect.Contains(x, y)) {
    Press(TFocus::FullScreen);
  } else if (MouseRect.Contains(x, y)) {
    Focus = TFocus::Controls;
    RadioButtonMouseClick();
  } else if (JoystickRect.Contains(x, y)) {
    Focus = TFocus::Controls;
    RadioButtonJoystickClick();
  } else if (KeysRect.Contains(x, y)) {
    Focus = TFocus::Controls;
    RadioButtonKeysClick();
  } else if (PlayRect.Contains(x, y)) {
    Press(TFocus::Play);
  } else if (ShareRect.Contains(x, y)) {
    Press(TFocus::Share);
  } else if (NameRect.Contains(x, y)) {
    Focus = TFocus::Name;
  } else if (AddressRect.Contains(x, y)) {
    Focus = TFocus::Address;
  }
}

void TFormQuadrovoltSetup::TextInput(std::string_view text) {
  // Only what the field can hold: the board's name characters, an address's
  // printable ones; anything else (accents, emoji) is not typed at all.
  for (char c : text) {
    if (Focus == TFocus::Name && PlayerName.size() < 12 && !BoardName(std::string("x") + c).empty()) {
      PlayerName += c;
      Refusal.clear();
    }
    if (Focus == TFocus::Address && BoardAddress.size() < MaxAddress && c > ' ' && c < 127) BoardAddress += c;
  }
}

void TFormQuadrovoltSetup::Draw() {
  TGLPrinter p;
  Text(p, 38, 14, "Q U A D R O V O L T", 1.6f, White, 2);
  Text(p, 380, 48, "final edition", 0.7f);

  Text(p, 20, 62, "Screen Mode");
  Frame(ModeListRect, Yellow);
  for (int i = 0; i < VisibleModeLines && TopLine + i < int(ModeLines.size()); ++i) {
    const int line = TopLine + i;
    const int top = ModeListRect.Top + 2 + i * LineHeight;
    if (line == SelectedLine)
      Fill(TRect{ModeListRect.Left + 2, top, ModeListRect.Right - 2, top + LineHeight}, 0, 0, 0.5f);
    Text(p, float(ModeListRect.Left + 6), float(top + 3), ModeLines[line], 0.8f, line == SelectedLine ? White : Yellow);
  }
  if (ModeLines.empty())
    Text(p, float(ModeListRect.Left + 6), float(ModeListRect.Top + 5), "no display modes", 0.8f, Dim);

  Option(p, SoundRect, SoundOn, false, "Sound");
  Option(p, FullScreenRect, FullScreen, false, "Full Screen");
  Text(p, 262, 148, "Controls");
  Option(p, MouseRect, InputMode == InputModes::Mouse, true, "Mouse");
  Option(p, JoystickRect, InputMode == InputModes::Joystick, true, "Joystick");
  Option(p, KeysRect, InputMode == InputModes::Keyboard, true, "Keys");

  Frame(PlayRect, SelectedLine >= 0 ? Yellow : Dim, 2);
  Text(p, float(PlayRect.Left + 38), float(PlayRect.Top + 5), "Play!", 0.9f, SelectedLine >= 0 ? Yellow : Dim, 2);

  // The focused control wears a white frame.
  static const TRect focusFrames[FocusCount] = {
      {ModeListRect.Left - 3, ModeListRect.Top - 3, ModeListRect.Right + 3, ModeListRect.Bottom + 3},
      {SoundRect.Left - 4, SoundRect.Top - 2, SoundRect.Left + 130, SoundRect.Bottom},
      {PlayRect.Left - 3, PlayRect.Top - 3, PlayRect.Right + 3, PlayRect.Bottom + 3},
      {FullScreenRect.Left - 4, FullScreenRect.Top - 2, FullScreenRect.Left + 190, FullScreenRect.Bottom},
      {MouseRect.Left - 4, MouseRect.Top - 2, MouseRect.Left + 170, KeysRect.Bottom},
      {ShareRect.Left - 4, ShareRect.Top - 2, ShareRect.Left + 190, ShareRect.Bottom},
      NameRect,
      AddressRect};
  Frame(focusFrames[int(Focus)], White);

  const auto& chart = ChartLines[InputMode < 3 ? InputMode : 1];
  for (int i = 0; i < 3; ++i) Text(p, 20, float(267 + 15 * i), chart[i], 0.6f, White);

  Text(p, 20, 312, "** Final Edition Extras **", 0.7f);
  Text(p, 20, 330, "SPACE BAR - Gravi Bomb", 0.6f);
  Text(p, 20, 345, "Cursors - Level Select", 0.6f);
  Text(p, 20, 360, "Auto Save - Score/Level", 0.6f);
  Text(p, 250, 330, "P - Pause", 0.6f);
  Text(p, 250, 345, "Pick Ups - Speed/Bullet/Gravi Bomb", 0.6f);
  Text(p, 250, 360, "Enter - Play!   Esc - Quit", 0.6f, Dim);

  // The score board.
  Option(p, ShareRect, ShareScores, false, "Share scores");
  const bool nameBad = ShareScores && BoardName(PlayerName).empty();
  Text(p, float(NameRect.Left + 4), float(NameRect.Top + 4), "Name: " + PlayerName, 0.7f, nameBad ? Red : Yellow);
  Text(p, float(AddressRect.Left + 4), float(AddressRect.Top + 4), "Board: " + BoardAddress, 0.7f,
       ShareScores ? Yellow : Dim);
  if (!Refusal.empty()) Text(p, 20, 442, Refusal, 0.6f, Red);
}
