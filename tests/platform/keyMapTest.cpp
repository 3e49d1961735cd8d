// Keys are read by where they sit on the keyboard, so Z X C S and the arrows
// work the same on every layout.
#include <gtest/gtest.h>

#include "app/GameConstants.h"
#include "platform/GLFrame.h"

TEST(KeyMap, GameKeysComeFromTheirPhysicalPlaces) {
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_Z), VK::Z);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_X), VK::X);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_C), VK::C);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_S), VK::S);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_P), VK::P);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_A), 'A');
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_LEFT), VK::Left);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_UP), VK::Up);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_RIGHT), VK::Right);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_DOWN), VK::Down);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_SPACE), VK::Space);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_ESCAPE), VK::Escape);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_RETURN), 13);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_TAB), 9);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_0), '0');
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_9), '9');
}

TEST(KeyMap, KeysTheGameDoesNotKnowAreDropped) {
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_UNKNOWN), -1);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_AUDIOMUTE), -1);
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    const int vk = VirtualKeyFromScancode(SDL_Scancode(sc));
    EXPECT_TRUE(vk == -1 || (vk > 0 && vk < 256)) << "scancode " << sc;
  }
}
