// How each control mode turns input into the ship's heading, aim and motion.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/TestGame.h"

TEST(KeyboardControls, NoKeysFaceRightAndOppositeArrowsStandStill) {
  TTestGame t(InputModes::Keyboard);
  t.StartPlaying();
  t.Player().Heading = 123;
  t.Player().AimAngle = 77;
  TArrange(t.Host).ReadKeyboard({});
  EXPECT_EQ(t.Player().HeadingDeg, 0);
  EXPECT_EQ(t.Player().Heading, 0);
  EXPECT_EQ(t.Player().AimAngle, 0);
  EXPECT_FALSE(TArrange(t.Host).KeyFire());

  t.Player().Position = TVector3{10, 20, 0};
  TArrange(t.Host).ReadKeyboard({VK::Left, VK::Right});
  EXPECT_EQ(t.Player().Position.X, 10);
  EXPECT_EQ(t.Player().HeadingDeg, 0);

  TArrange(t.Host).ReadKeyboard({VK::Up, VK::Left});
  EXPECT_EQ(t.Player().HeadingDeg, 135);
  EXPECT_EQ(t.Player().Position.X, 6);
  EXPECT_EQ(t.Player().Position.Y, 24);
}

TEST(KeyboardControls, FireKeysAimIndependentlyOfMovement) {
  TTestGame t(InputModes::Keyboard);
  struct Case {
    int key1, key2, aim;
  } cases[] = {{VK::Z, 0, 180},
               {VK::C, 0, 0},
               {VK::S, 0, 90},
               {VK::X, 0, 270},
               {VK::Z, VK::S, 135},
               {VK::C, VK::X, 315},
               {VK::Z, VK::C, 0} /* C wins over Z */,
               {VK::X, VK::S, 90} /* S over X */};
  for (const Case& c : cases) {
    // Flying down while shooting elsewhere.
    TArrange(t.Host).ReadKeyboard({c.key1, c.key2 ? c.key2 : c.key1, VK::Down});
    EXPECT_TRUE(TArrange(t.Host).KeyFire());
    EXPECT_EQ(t.Player().AimAngle, c.aim) << char(c.key1) << " " << char(c.key2 ? c.key2 : ' ');
    EXPECT_EQ(t.Player().HeadingDeg, 270);
  }
}

TEST(JoystickControls, DriftIsProportionalAndButtonsAim) {
  TTestGame t(InputModes::Joystick);
  t.Player().Speed = 4;
  t.Player().Position = TVector3{};
  t.Joystick.Info.XPos = 32767 + 3277;  // a tenth of full right
  t.Joystick.Info.YPos = 32767;
  t.ReadJoystick();
  EXPECT_NEAR(t.Player().Position.X, 0.4f, 1e-3);
  EXPECT_EQ(t.Player().HeadingDeg, 0);

  t.Joystick.Info.XPos = 32767;
  t.Joystick.Info.YPos = 0;  // full up (the stick's y grows downwards)
  t.ReadJoystick();
  EXPECT_NEAR(t.Player().Position.Y, 4.0f, 1e-3);
  EXPECT_EQ(t.Player().HeadingDeg, 90);

  const std::pair<unsigned, int> buttons[] = {{1, 180}, {8, 0}, {2, 90}, {4, 270}, {1 | 8, 0}};
  for (auto [bits, aim] : buttons) {
    t.Joystick.Info.Buttons = bits;
    t.ReadJoystick();
    EXPECT_TRUE(TArrange(t.Host).PadFire());
    EXPECT_EQ(t.Player().AimAngle, aim) << bits;
  }
  t.Joystick.Info.Buttons = 0;
  t.ReadJoystick();
  EXPECT_FALSE(TArrange(t.Host).PadFire());
}

TEST(JoystickControls, RightStickAimsAndFiresTheTriggerFiresAlongTheAim) {
  TTestGame t(InputModes::Joystick);
  constexpr unsigned C = 32767;
  struct Case {
    unsigned rightX, rightY, trigger, buttons;
    int aimBefore, aim;
    bool fire;
  } cases[] = {
      {C + 28378, C - 16384, 0, 0, 0, 30, true},  // 30 degrees: right and a little up (y grows down)
      {C, 0, 0, 0, 0, 90, true},                  // pushed up: up the arena, as button 2
      {0, 65535, 0, 0, 0, 225, true},             // down and left
      {C, C + 1, 0, 0, 0, 270, true},             // calibrated: any reading off centre aims
      {C + 28378, C - 16384, 0, 1, 0, 30, true},  // the stick wins over button 1
      {C, C, 0, 0, 45, 0, false},                 // at rest: as before, no button faces right
      {C, C, 0, 2, 45, 90, true},                 // at rest: button 2 still aims up
      {C, C, 1, 0, 45, 45, true},                 // the trigger fires where the gun points
      {C, C, 65535, 4, 45, 270, true},            // ... or where a button aims it
      {0, C, 65535, 0, 45, 180, true},            // ... or the stick
  };
  for (const Case& c : cases) {
    t.Player().Position = TVector3{100, -50, 0};
    t.Player().AimAngle = c.aimBefore;
    t.Joystick.Info = TJoyInfo{};
    t.Joystick.Info.RightX = c.rightX;
    t.Joystick.Info.RightY = c.rightY;
    t.Joystick.Info.RightTrigger = c.trigger;
    t.Joystick.Info.Buttons = c.buttons;
    t.ReadJoystick();
    const std::string which = std::to_string(c.rightX) + "," + std::to_string(c.rightY) + " trigger " +
                              std::to_string(c.trigger) + " buttons " + std::to_string(c.buttons);
    EXPECT_EQ(t.Player().AimAngle, c.aim) << which;
    EXPECT_EQ(TArrange(t.Host).PadFire(), c.fire) << which;
    // The right stick and trigger never fly the ship.
    EXPECT_EQ(t.Player().Position.X, 100) << which;
    EXPECT_EQ(t.Player().Position.Y, -50) << which;
  }
}

TEST(JoystickControls, NoJoystickKeepsTheShipAsItWas) {
  TTestGame t(InputModes::Joystick);
  t.Player().Position = TVector3{50, 60, 0};
  t.Player().AimAngle = 45;
  TArrange(t.Host).PadFireHeld(true);
  t.Joystick.Ok = false;
  t.ReadJoystick();
  EXPECT_EQ(t.Player().Position.X, 50);
  EXPECT_EQ(t.Player().AimAngle, 45);
  EXPECT_TRUE(TArrange(t.Host).PadFire());
}

TEST(MouseControls, CursorMapsThePictureToSixHundredUnitsEachWay) {
  TTestGame t;
  // A picture of 800 x 600 between bars: the pointer counts in its pixels,
  // and the game draws into that place.
  t.Host.SetPicture(TPicturePlace{800, 600, 112, 84});
  const struct {
    int X, Y, CursorX, CursorY;
  } points[] = {{0, 0, -600, 600}, {799, 599, 598, -598}, {400, 300, 0, 0}, {600, 150, 300, 300}};
  for (const auto& p : points) {
    t.Host.PointerAt(p.X, p.Y);
    t.Run(1);
    EXPECT_EQ(TArrange(t.Host).CursorX(), p.CursorX) << p.X << "," << p.Y;
    EXPECT_EQ(TArrange(t.Host).CursorY(), p.CursorY) << p.X << "," << p.Y;
  }
  t.Run(1);
  EXPECT_EQ(std::vector<int>(t.Recorder.LastViewport, t.Recorder.LastViewport + 4),
            (std::vector<int>{112, 84, 800, 600}));
}

TEST(MouseControls, ShipStepsTowardsTheTargetAndJumpsTheLastTwoUnits) {
  TTestGame t;
  t.StartPlaying();
  t.Host.PointerAt(512 + 85, 384);  // cursor x ~ 99
  t.Host.Button(false, true);
  t.Host.Button(false, false);
  t.Run(1);  // the click puts the target under the cursor, then the ship steps
  const float targetX = t.Player().Target.X;
  ASSERT_GT(targetX, 90);
  EXPECT_FLOAT_EQ(t.Player().Position.X, 4);
  EXPECT_EQ(t.Player().HeadingDeg, 0);
  EXPECT_FALSE(t.Player().AtTarget);
  t.Run(60);
  EXPECT_FLOAT_EQ(t.Player().Position.X, targetX);
  EXPECT_TRUE(t.Player().AtTarget);

  // Within 2 units on both axes the ship lands on the target in one jump.
  t.Player().Target = TVector3{targetX + 1.5f, -1.9f, 0};
  t.Run(1);
  EXPECT_FLOAT_EQ(t.Player().Position.X, targetX + 1.5f);
  EXPECT_FLOAT_EQ(t.Player().Position.Y, -1.9f);
}

TEST(MouseControls, TheGunFollowsTheCursorAndTheLeftButtonFires) {
  TTestGame t;
  t.StartPlaying();
  t.Host.PointerAt(512, 100);  // straight up
  t.Run(1);
  EXPECT_EQ(t.Player().AimAngle, 90);
  t.Click(true);
  t.Run(1);
  int flying = 0;
  for (TBlob* b : t.Game->World().Bullets()) flying += b->Active;
  EXPECT_EQ(flying, 1);
}
