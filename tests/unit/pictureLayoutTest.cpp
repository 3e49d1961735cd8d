// The 4:3 picture inside windows and screen modes of other shapes, and the
// pointer's way from a window position to a pixel of that picture.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/PictureLayout.h"

TEST(PictureLayout, FitsTheLargestCentredFourByThreePicture) {
  struct Case {
    int W, H;  // the drawable
    int Left, Top, Width, Height, Bottom;
  };
  const Case cases[] = {
      {1024, 768, 0, 0, 1024, 768, 0},      // the game's own shape: nothing changes
      {1280, 720, 160, 0, 960, 720, 0},     // 16:9: bars left and right
      {1366, 768, 171, 0, 1024, 768, 0},    // odd spare width: the extra column goes right
      {1680, 1050, 140, 0, 1400, 1050, 0},  // 16:10
      {1280, 1024, 0, 32, 1280, 960, 32},   // 5:4: bars above and below
      {1001, 1000, 0, 125, 1001, 750, 125},
      {640, 481, 0, 0, 640, 480, 1},  // one spare row goes to the bottom bar
      {0, 0, 0, 0, 0, 0, 0},
      {-5, 300, 0, 150, 0, 0, 150},  // nonsense sizes count as empty
  };
  for (const Case& c : cases) {
    TPictureLayout p;
    p.Resize(c.W, c.H, c.W, c.H);
    SCOPED_TRACE(testing::Message() << c.W << " x " << c.H);
    EXPECT_EQ(p.Left, c.Left);
    EXPECT_EQ(p.Top, c.Top);
    EXPECT_EQ(p.Width, c.Width);
    EXPECT_EQ(p.Height, c.Height);
    EXPECT_EQ(p.Bottom(), c.Bottom);
    EXPECT_EQ(p.HasBars(), c.W != c.Width || std::max(c.H, 0) != c.Height);
  }
}

TEST(PictureLayout, MapsThePointerOntoThePictureAndStopsItAtTheEdges) {
  struct Case {
    int WinW, WinH, DrawW, DrawH;
    int X, Y;    // window coordinates
    int PX, PY;  // picture pixel
  };
  const Case cases[] = {
      {1024, 768, 1024, 768, 0, 0, 0, 0},
      {1024, 768, 1024, 768, 1023, 767, 1023, 767},
      {1024, 768, 1024, 768, 512, 384, 512, 384},
      {1280, 720, 1280, 720, 640, 360, 480, 360},   // the middle stays the middle
      {1280, 720, 1280, 720, 160, 10, 0, 10},       // the picture's first column
      {1280, 720, 1280, 720, 1119, 719, 959, 719},  // its last column
      {1280, 720, 1280, 720, 20, 300, 0, 300},      // over the left bar
      {1280, 720, 1280, 720, 1270, 300, 959, 300},  // over the right bar
      {1280, 720, 1280, 720, -40, -3, 0, 0},        // outside the window (a drag)
      {1280, 1024, 1280, 1024, 600, 10, 600, 0},    // over the top bar of 5:4
      {1280, 1024, 1280, 1024, 600, 1000, 600, 959},
      // HiDPI: the drawable has twice the window's pixels each way.
      {1280, 720, 2560, 1440, 640, 360, 960, 720},
      {1280, 720, 2560, 1440, 161, 1, 2, 2},
      {1024, 768, 2048, 1536, 1023, 767, 2046, 1534},
  };
  for (const Case& c : cases) {
    TPictureLayout p;
    p.Resize(c.WinW, c.WinH, c.DrawW, c.DrawH);
    int x = c.X, y = c.Y;
    p.WindowToPicture(x, y);
    SCOPED_TRACE(testing::Message() << c.WinW << "x" << c.WinH << " in " << c.DrawW << "x" << c.DrawH << " at " << c.X
                                    << "," << c.Y);
    EXPECT_EQ(x, c.PX);
    EXPECT_EQ(y, c.PY);
  }
  // An empty window never divides by zero and maps everything to the corner.
  TPictureLayout empty;
  empty.Resize(0, 0, 0, 0);
  int x = 50, y = 60;
  empty.WindowToPicture(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}
