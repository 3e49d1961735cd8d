// The setup dialog: which display mode it offers, what its controls change,
// and how it ends.
#include <gtest/gtest.h>

#include <vector>

#include "app/GameConstants.h"
#include "app/frmSetup.h"
#include "gfx/RecordingRenderer.h"
#include "gfx/ScopedRenderer.h"

namespace {
class TListedModes : public TDisplayModeSource {
 public:
  std::vector<TDisplayMode> List;
  bool Mode(int index, TDisplayMode& mode) override {
    if (index < 0 || index >= int(List.size())) return false;
    mode = List[index];
    return true;
  }
};

TListedModes Desktop() {
  TListedModes m;
  m.List = {{32, 1920, 1080, 60}, {32, 1024, 768, 60}, {16, 1024, 768, 60}, {32, 1024, 768, 75}, {32, 800, 600, 60}};
  return m;
}
}  // namespace

TEST(SetupDialog, OffersTheLast32Bit1024By768ModeAndListsEveryMode) {
  TListedModes modes = Desktop();
  TFormQuadrovoltSetup form(modes);
  ASSERT_EQ(form.ModeLines.size(), 5u);
  EXPECT_EQ(form.ModeLines[0], "32 bits 1920 x 1080");
  EXPECT_EQ(form.ModeLines[1], form.ModeLines[3]) << "duplicates stay, in the platform's order";
  EXPECT_EQ(form.SelectedLine, 3);
  EXPECT_EQ(form.ModeIndex, 3);
  EXPECT_EQ(form.ScreenWidth, 1024);
  EXPECT_EQ(form.ScreenHeight, 768);
  EXPECT_EQ(form.Bits, 32);
  EXPECT_TRUE(form.FullScreen);
  EXPECT_TRUE(form.SoundOn);
  EXPECT_EQ(form.InputMode, InputModes::Mouse);
}

TEST(SetupDialog, WithoutThatModeTheFirstIsOfferedAndWithNoModesPlayWaits) {
  TListedModes modes;
  modes.List = {{24, 1280, 1024, 60}, {16, 640, 480, 60}};
  TFormQuadrovoltSetup form(modes);
  EXPECT_EQ(form.SelectedLine, 0);
  EXPECT_EQ(form.ScreenWidth, 1280);

  TListedModes none;
  TFormQuadrovoltSetup empty(none);
  EXPECT_EQ(empty.SelectedLine, -1);
  empty.KeyDown(13);
  EXPECT_EQ(empty.ModalResult, TFormQuadrovoltSetup::TResult::None) << "nothing to play in yet";
  empty.KeyDown(VK::Down);  // an empty list ignores the arrows
  EXPECT_EQ(empty.SelectedLine, -1);
}

TEST(SetupDialog, KeysMoveTheSelectionToggleAndEnd) {
  TListedModes modes = Desktop();
  TFormQuadrovoltSetup form(modes);
  form.KeyDown(VK::Down);
  form.KeyDown(VK::Down);  // stops at the last line
  EXPECT_EQ(form.SelectedLine, 4);
  EXPECT_EQ(form.ScreenWidth, 800);
  form.KeyDown(VK::Up);
  EXPECT_EQ(form.SelectedLine, 3);

  form.KeyDown(9);  // Tab: Sound
  form.KeyDown(VK::Space);
  EXPECT_FALSE(form.SoundOn);
  form.KeyDown(9);  // Play!
  form.KeyDown(9);  // Full screen
  form.KeyDown(VK::Space);
  EXPECT_FALSE(form.FullScreen);
  form.KeyDown(9);  // the controls
  form.KeyDown(VK::Down);
  EXPECT_EQ(form.InputMode, InputModes::Joystick);
  form.KeyDown(VK::Down);
  EXPECT_EQ(form.InputMode, InputModes::Keyboard);
  form.KeyDown(VK::Down);
  EXPECT_EQ(form.InputMode, InputModes::Mouse);
  EXPECT_EQ(form.SelectedLine, 3) << "arrows on the controls leave the mode alone";

  form.KeyDown(VK::Escape);
  EXPECT_EQ(form.ModalResult, TFormQuadrovoltSetup::TResult::None) << "Escape ends the dialog on release";
  form.KeyUp(VK::Escape);
  EXPECT_EQ(form.ModalResult, TFormQuadrovoltSetup::TResult::Cancel);
}

TEST(SetupDialog, ClicksWorkTheControls) {
  TListedModes modes = Desktop();
  TFormQuadrovoltSetup form(modes);
  form.MouseDown(30, 84 + 2 + 0 * 21 + 5);  // the first line of the list
  EXPECT_EQ(form.SelectedLine, 0);
  EXPECT_EQ(form.ScreenWidth, 1920);
  form.MouseDown(300, 95);  // Sound
  EXPECT_FALSE(form.SoundOn);
  form.MouseDown(300, 120);  // Full screen
  EXPECT_FALSE(form.FullScreen);
  form.MouseDown(300, 220);  // Keys
  EXPECT_EQ(form.InputMode, InputModes::Keyboard);
  form.MouseDown(300, 200);  // Joystick
  EXPECT_EQ(form.InputMode, InputModes::Joystick);
  form.MouseDown(10, 10);  // nowhere
  EXPECT_EQ(form.ModalResult, TFormQuadrovoltSetup::TResult::None);
  form.MouseDown(300, 250);  // Play!
  EXPECT_EQ(form.ModalResult, TFormQuadrovoltSetup::TResult::Ok);
}

TEST(SetupDialog, ALongListScrollsToKeepTheSelectionInView) {
  TListedModes modes;
  for (int i = 0; i < 20; ++i) modes.List.push_back({16, 640 + 16 * i, 480, 60});
  modes.List.push_back({32, 1024, 768, 60});
  TFormQuadrovoltSetup form(modes);
  EXPECT_EQ(form.SelectedLine, 20);
  EXPECT_EQ(form.TopLine, 20 - TFormQuadrovoltSetup::VisibleModeLines + 1);
  TRecordingRenderer rec;
  const TScopedRenderer installed(rec);
  form.Draw();
  EXPECT_GT(rec.Primitives.size(), 100u);
  for (int i = 0; i < 20; ++i) form.KeyDown(VK::Up);
  EXPECT_EQ(form.SelectedLine, 0);
  EXPECT_EQ(form.TopLine, 0);
}

TEST(SetupDialog, SharingScoresTakesOnlyANameTheBoardWould) {
  TListedModes modes = Desktop();
  TFormQuadrovoltSetup form(modes);
  EXPECT_FALSE(form.ShareScores) << "off until the player turns it on";
  for (int i = 0; i < 5; ++i) form.KeyDown(9);  // past the original controls: Share scores
  EXPECT_EQ(form.Focus, TFormQuadrovoltSetup::TFocus::Share);
  form.KeyDown(VK::Space);
  EXPECT_TRUE(form.ShareScores);
  form.KeyDown(13);
  EXPECT_EQ(form.ModalResult, TFormQuadrovoltSetup::TResult::None) << "no name yet";
  EXPECT_FALSE(form.Refusal.empty());
  EXPECT_EQ(form.Focus, TFormQuadrovoltSetup::TFocus::Name) << "the refusal shows where to type";

  // Typed as text: Space is a space here, not a press; what the board
  // refuses is never typed, and twelve characters is the most.
  form.KeyDown(VK::Space);
  EXPECT_TRUE(form.ShareScores);
  form.TextInput(" Ada/\xC3\xAB B.");
  EXPECT_EQ(form.PlayerName, " Ada B.");
  EXPECT_TRUE(form.Refusal.empty());
  form.TextInput("-_0123456789");
  EXPECT_EQ(form.PlayerName.size(), 12u);
  form.KeyDown(8);
  EXPECT_EQ(form.PlayerName, " Ada B.-_01");
  form.KeyDown(9);  // the address
  form.TextInput("http://b:1 x");
  EXPECT_EQ(form.BoardAddress, "http://b:1x") << "no spaces in an address";
  EXPECT_EQ(form.PlayerName, " Ada B.-_01") << "the name is not the focus now";
  form.KeyDown(13);
  EXPECT_EQ(form.ModalResult, TFormQuadrovoltSetup::TResult::Ok);
  EXPECT_EQ(form.PlayerName, "Ada B.-_01") << "trimmed as the board trims it";

  TFormQuadrovoltSetup off(modes);
  off.KeyDown(13);
  EXPECT_EQ(off.ModalResult, TFormQuadrovoltSetup::TResult::Ok) << "no name needed while nothing is shared";
  TFormQuadrovoltSetup clicked(modes);
  clicked.MouseDown(30, 398);  // Share scores
  EXPECT_TRUE(clicked.ShareScores);
  clicked.MouseDown(300, 396);  // the name
  EXPECT_EQ(clicked.Focus, TFormQuadrovoltSetup::TFocus::Name);
  clicked.MouseDown(100, 424);  // the address
  EXPECT_EQ(clicked.Focus, TFormQuadrovoltSetup::TFocus::Address);
}
