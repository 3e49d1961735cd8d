// The automatic pilot's curve, shared by the tools and the page: it stays in
// the picture, and a picture of another size gets the same point scaled.
#include <gtest/gtest.h>

#include "pilot/PilotCurve.h"

TEST(PilotCurve, TheTargetStaysInThePictureAndScalesWithIt) {
  const TPilotPoint first = PilotTargetAt(0);
  EXPECT_EQ(first.X, 892);  // 512 + 380 at the curve's start
  EXPECT_EQ(first.Y, 384);
  struct TPicture {
    int Width, Height;
  };
  for (const TPicture picture : {TPicture{1024, 768}, TPicture{2048, 1536}, TPicture{412, 915}}) {
    SCOPED_TRACE(picture.Width);
    for (int frame = 0; frame < 20000; frame += PilotSwingFrames) {
      const TPilotPoint game = PilotTargetAt(frame), here = PilotTargetAt(frame, picture.Width, picture.Height);
      ASSERT_GE(here.X, 0);
      ASSERT_LT(here.X, picture.Width);
      ASSERT_GE(here.Y, 0);
      ASSERT_LT(here.Y, picture.Height);
      // The same point, give or take the whole pixel each is cut to.
      EXPECT_NEAR(here.X, double(game.X) * picture.Width / 1024, double(picture.Width) / 1024 + 1) << frame;
      EXPECT_NEAR(here.Y, double(game.Y) * picture.Height / 768, double(picture.Height) / 768 + 1) << frame;
    }
  }
}
