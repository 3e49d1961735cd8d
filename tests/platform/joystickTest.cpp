// The joystick as the game reads it through SDL: SDL's virtual pads through
// the real TSdlJoystick, and the whole game flown by one. (The calibration
// rules on their own are tested with the core, in tests/unit.)
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/JoystickCalibration.h"
#include "entities/blobBullet.h"
#include "platform/SdlJoystick.h"
#include "tests/support/TestGame.h"

namespace {
constexpr unsigned C = AxisCentre;
constexpr double Pi = 3.14159265358979323846;
}  // namespace

namespace {
// A pad made with SDL's virtual joystick: a game controller with every
// standard axis and button, or a plain joystick when asked.
class TVirtualPad {
 public:
  explicit TVirtualPad(bool controller = true) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    if (controller) {
      desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
      desc.naxes = SDL_CONTROLLER_AXIS_MAX;
      desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
      desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
      desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
      desc.name = "Virtual test pad";
    } else {
      desc.type = SDL_JOYSTICK_TYPE_FLIGHT_STICK;
      desc.naxes = 3;
      desc.nbuttons = 4;
      desc.name = "Virtual test stick";
    }
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    Handle = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    // A trigger at rest sits at the bottom of its raw range.
    if (Handle && controller) Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
  }
  ~TVirtualPad() { Unplug(); }

  bool Plugged() const { return Handle != nullptr; }
  void Axis(int axis, int value) { SDL_JoystickSetVirtualAxis(Handle, axis, Sint16(value)); }
  void Button(int button, bool down) { SDL_JoystickSetVirtualButton(Handle, button, down); }
  void Stick(int axisX, double degrees, double length) {
    const double a = degrees * Pi / 180;
    Axis(axisX, int(std::lround(32767 * length * std::cos(a))));
    Axis(axisX + 1, int(std::lround(-32767 * length * std::sin(a))));  // SDL's y grows downwards
  }
  void Unplug() {
    if (!Handle) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(Handle);
    SDL_JoystickClose(Handle);
    Handle = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }

 private:
  SDL_Joystick* Handle = nullptr;
};

class VirtualPad : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    // A real pad would come first and be the one read.
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a joystick is plugged in; these tests need only virtual ones";
  }
  void TearDown() override { SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER); }
};

std::string Describe(const TJoyInfo& i) {
  return std::to_string(i.XPos) + "," + std::to_string(i.YPos) + " right " + std::to_string(i.RightX) + "," +
         std::to_string(i.RightY) + " trigger " + std::to_string(i.RightTrigger) + " buttons " +
         std::to_string(i.Buttons);
}
}  // namespace

TEST_F(VirtualPad, AControllerReadsCalibratedSticksTriggerAndFaceButtons) {
  TSdlJoystick joystick;
  TJoyInfo info;
  EXPECT_FALSE(joystick.Read(info));  // nothing plugged in yet
  TVirtualPad pad;
  ASSERT_TRUE(pad.Plugged()) << SDL_GetError();

  struct Case {
    int leftX, leftY, rightX, rightY, trigger;
    unsigned x, y, rx, ry, pulled;
  } cases[] = {
      // Resting a little off centre, trigger barely touched: exact rest.
      {1500, -1200, -900, 1800, -32768 + 3000, C, C, C, C, 0},
      // Full deflection both ways on both sticks, trigger fully pulled.
      {32767, -32768, -32768, 32767, 32767, 65535, 0, 0, 65535, 65535},
      {-32768, 32767, 32767, -32768, -32768, 0, 65535, 65535, 0, 0},
  };
  for (const Case& c : cases) {
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, c.leftX);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, c.leftY);
    pad.Axis(SDL_CONTROLLER_AXIS_RIGHTX, c.rightX);
    pad.Axis(SDL_CONTROLLER_AXIS_RIGHTY, c.rightY);
    pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, c.trigger);
    ASSERT_TRUE(joystick.Read(info));
    EXPECT_EQ(info.XPos, c.x) << Describe(info);
    EXPECT_EQ(info.YPos, c.y) << Describe(info);
    EXPECT_EQ(info.RightX, c.rx) << Describe(info);
    EXPECT_EQ(info.RightY, c.ry) << Describe(info);
    EXPECT_EQ(info.RightTrigger, c.pulled) << Describe(info);
    EXPECT_EQ(info.ZPos, C);
  }

  // West, north, south, east are the game's buttons 1 to 4 (left, up, down, right).
  const std::pair<int, unsigned> buttons[] = {{SDL_CONTROLLER_BUTTON_X, 1},
                                              {SDL_CONTROLLER_BUTTON_Y, 2},
                                              {SDL_CONTROLLER_BUTTON_A, 4},
                                              {SDL_CONTROLLER_BUTTON_B, 8},
                                              {SDL_CONTROLLER_BUTTON_START, 0}};
  for (auto [button, bit] : buttons) {
    pad.Button(button, true);
    ASSERT_TRUE(joystick.Read(info));
    EXPECT_EQ(info.Buttons, bit) << button;
    pad.Button(button, false);
  }
}

TEST_F(VirtualPad, APlainJoystickHasNoRightStick) {
  TSdlJoystick joystick;
  TVirtualPad stick(false);
  ASSERT_TRUE(stick.Plugged()) << SDL_GetError();
  stick.Axis(0, 1000);
  stick.Axis(1, -800);
  TJoyInfo info;
  ASSERT_TRUE(joystick.Read(info));
  EXPECT_EQ(info.XPos, C) << Describe(info);
  EXPECT_EQ(info.YPos, C) << Describe(info);

  stick.Axis(0, 0);
  stick.Axis(1, 32767);
  stick.Axis(2, -32768);  // a throttle pulled right back must not aim or fire
  stick.Button(3, true);
  ASSERT_TRUE(joystick.Read(info));
  EXPECT_EQ(info.XPos, C) << Describe(info);
  EXPECT_EQ(info.YPos, 65535u) << Describe(info);
  EXPECT_EQ(info.ZPos, 0u);
  EXPECT_EQ(info.Buttons, 8u);
  EXPECT_EQ(info.RightX, C);
  EXPECT_EQ(info.RightY, C);
  EXPECT_EQ(info.RightTrigger, 0u);
}

TEST_F(VirtualPad, PadsComeAndGoAndTheFirstOneIsRead) {
  TSdlJoystick joystick;
  TJoyInfo info;
  auto first = std::make_unique<TVirtualPad>();
  first->Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  ASSERT_TRUE(joystick.Read(info));
  EXPECT_EQ(info.XPos, 65535u);

  // A second pad plugged in later does not take over.
  TVirtualPad second;
  second.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
  ASSERT_TRUE(joystick.Read(info));
  EXPECT_EQ(info.XPos, 65535u);

  // The first pulled out: the other is picked up on the next read.
  first.reset();
  ASSERT_TRUE(joystick.Read(info));
  EXPECT_EQ(info.XPos, 0u);

  // The last one pulled mid-game: no joystick, and the record is left alone.
  second.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  second.Unplug();
  info.XPos = 1234;
  EXPECT_FALSE(joystick.Read(info));
  EXPECT_FALSE(joystick.Read(info));
  EXPECT_EQ(info.XPos, 1234u);

  // Two plugged in at once: the first of them is read.
  TVirtualPad again, another;
  again.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
  another.Axis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
  ASSERT_TRUE(joystick.Read(info));
  EXPECT_EQ(info.YPos, 0u);
}

TEST_F(VirtualPad, TheGameFliesAimsAndFiresWithAPad) {
  TSdlJoystick joystick;
  TVirtualPad pad;
  ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
  TTestGame t(InputModes::Joystick, &joystick);

  // The south button starts a game from the title.
  TArrange(t.Host).TitleReadyForFire();
  pad.Button(SDL_CONTROLLER_BUTTON_A, true);
  t.Run(1);
  pad.Button(SDL_CONTROLLER_BUTTON_A, false);
  ASSERT_EQ(t.Host.State(), GameState::Playing);
  t.Run(1);
  t.Player().Position = TVector3{};

  // A stick resting a little off centre leaves the ship where it is.
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 1800);
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 1400);
  t.Run(20);
  EXPECT_EQ(t.Player().Position.X, 0);
  EXPECT_EQ(t.Player().Position.Y, 0);
  EXPECT_FALSE(TArrange(t.Host).PadFire());

  // Pushed fully up, it flies the ship up the arena at full speed.
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
  t.Run(10);
  EXPECT_NEAR(t.Player().Position.Y, 10 * t.Player().Speed, 1e-3);
  EXPECT_EQ(t.Player().HeadingDeg, 90);
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);

  // The right stick at 30 degrees aims there and fires.
  pad.Stick(SDL_CONTROLLER_AXIS_RIGHTX, 30, 0.9);
  t.Run(30);
  EXPECT_EQ(t.Player().AimAngle, 30);
  EXPECT_TRUE(TArrange(t.Host).PadFire());
  int flying = 0;
  for (TBlob* b : t.Game->World().Bullets()) {
    if (!b->Active) continue;
    ++flying;
    EXPECT_NEAR(std::atan2(b->Velocity.Y, b->Velocity.X) * 180 / Pi, 30, 0.5);
  }
  EXPECT_GE(flying, 2);

  // The trigger keeps firing where the gun points when the stick lets go.
  pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
  pad.Stick(SDL_CONTROLLER_AXIS_RIGHTX, 0, 0);
  t.Run(1);
  EXPECT_EQ(t.Player().AimAngle, 30);
  EXPECT_TRUE(TArrange(t.Host).PadFire());
  // Both let go: the gun faces right again and stops, as with the buttons.
  pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
  t.Run(1);
  EXPECT_EQ(t.Player().AimAngle, 0);
  EXPECT_FALSE(TArrange(t.Host).PadFire());

  // Pulled out mid-game: the ship keeps what it had.
  pad.Stick(SDL_CONTROLLER_AXIS_RIGHTX, 210, 1);
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  t.Run(1);
  const TVector3 at = t.Player().Position;
  pad.Unplug();
  t.Run(5);
  EXPECT_EQ(t.Player().Position.X, at.X);
  EXPECT_EQ(t.Player().Position.Y, at.Y);
  EXPECT_EQ(t.Player().AimAngle, 210);
  EXPECT_TRUE(TArrange(t.Host).PadFire());
}
