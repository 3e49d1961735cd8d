// The stroke-font printer: where characters land, how they are spaced and
// coloured, the glyph strokes themselves, and the title scroller's counting.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "gfx/GLPrinter.h"
#include "gfx/RecordingRenderer.h"
#include "gfx/ScopedRenderer.h"

namespace {
class TextPrinter : public ::testing::Test {
 protected:
  // Primitives of one glyph drawn alone at the origin.
  std::vector<TRecordedPrimitive> Glyph(unsigned char ch) {
    Rec.Reset();
    TGLPrinter::DrawGlyph(ch);
    return Rec.Primitives;
  }

  // Extent of a primitive's transformed vertices.
  static float MidX(const TRecordedPrimitive& p) {
    float lo = p.Vertices[0].X, hi = lo;
    for (const TVector3& v : p.Vertices) lo = std::min(lo, v.X), hi = std::max(hi, v.X);
    return (lo + hi) / 2;
  }
  static float MinY(const TRecordedPrimitive& p) {
    float lo = p.Vertices[0].Y;
    for (const TVector3& v : p.Vertices) lo = std::min(lo, v.Y);
    return lo;
  }
  static float MaxY(const TRecordedPrimitive& p) {
    float hi = p.Vertices[0].Y;
    for (const TVector3& v : p.Vertices) hi = std::max(hi, v.Y);
    return hi;
  }

  TRecordingRenderer Rec;
  TScopedRenderer Installed{Rec};
  TGLPrinter Printer;
};

constexpr TVector3 kNoRotation{0, 0, 0};
constexpr TVector3 kUnit{1, 1, 1};

int CountPrims(const TRecordingRenderer& rec, TPrimitive prim) { return int(rec.Find(prim).size()); }
}  // namespace

// ---------------------------------------------------------------------------
// Glyph table

TEST_F(TextPrinter, GlyphStrokesMatchTheFont) {
  struct TExpected {
    unsigned char Ch;
    std::vector<std::pair<TPrimitive, int>> Strokes;  // kind and vertex count, in order
  };
  using P = TPrimitive;
  const TExpected table[] = {
      {'A', {{P::LineStrip, 4}, {P::Lines, 2}}},
      {'8', {{P::LineLoop, 4}, {P::LineStrip, 4}}},
      {'Q', {{P::LineLoop, 4}, {P::LineStrip, 2}}},
      {'&', {{P::LineStrip, 4}, {P::LineLoop, 4}, {P::LineStrip, 3}}},
      {'#', {{P::Lines, 8}}},
      {'$', {{P::LineStrip, 6}, {P::Lines, 4}}},
      {'x', {{P::Lines, 2}, {P::Lines, 2}}},
      {'W', {{P::LineStrip, 5}}},
      {'1', {{P::Lines, 6}}},
      {'0', {{P::Lines, 2}, {P::LineLoop, 4}}},
      {'~', {{P::LineStrip, 5}}},
      {0, {{P::Quads, 4}}},
  };
  for (const TExpected& e : table) {
    const auto prims = Glyph(e.Ch);
    ASSERT_EQ(prims.size(), e.Strokes.size()) << "glyph " << int(e.Ch);
    for (std::size_t i = 0; i < prims.size(); ++i) {
      EXPECT_EQ(prims[i].Prim, e.Strokes[i].first) << "glyph " << int(e.Ch) << " stroke " << i;
      EXPECT_EQ(int(prims[i].Vertices.size()), e.Strokes[i].second) << "glyph " << int(e.Ch) << " stroke " << i;
    }
  }
  // A few exact points: the tail of p and the comma reach below the cell.
  auto p = Glyph('p');
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].Vertices.back().X, -5);
  EXPECT_EQ(p[0].Vertices.back().Y, -14);
  auto comma = Glyph(',');
  ASSERT_EQ(comma.size(), 1u);
  EXPECT_EQ(comma[0].Vertices[1].X, -3);
  EXPECT_EQ(comma[0].Vertices[1].Y, -14);
  auto d = Glyph('D');  // its right side leans in to x = 4 at the top
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].Vertices[1].X, 4);
  EXPECT_EQ(d[0].Vertices[1].Y, 10);
}

TEST_F(TextPrinter, EveryPrintableGlyphStaysInsideItsCell) {
  for (int ch = 33; ch <= 126; ++ch) {
    const auto prims = Glyph(static_cast<unsigned char>(ch));
    ASSERT_FALSE(prims.empty()) << "glyph " << ch << " draws nothing";
    for (const auto& prim : prims)
      for (const TVector3& v : prim.Vertices) {
        EXPECT_TRUE(v.X >= -5 && v.X <= 5 && v.Y >= -14 && v.Y <= 10 && v.Z == 0)
            << "glyph " << ch << " point (" << v.X << ", " << v.Y << ")";
      }
  }
}

TEST_F(TextPrinter, BlankAndUnprintableCodesDrawNothing) {
  for (int ch : {32, 1, 10, 13, 31, 127, 128, 200, 255})
    EXPECT_TRUE(Glyph(static_cast<unsigned char>(ch)).empty()) << ch;
}

TEST_F(TextPrinter, BlockCursorLeavesOpaqueWhiteAndPercentRestoresPointSize) {
  Rec.Color(0.2f, 0.3f, 0.4f, 0.5f);
  TGLPrinter::DrawGlyph(0);
  EXPECT_EQ(Rec.Primitives.back().Colour.R, 1);
  EXPECT_EQ(Rec.Primitives.back().Colour.A, 1);
  EXPECT_EQ(Rec.CurrentColour().B, 1);
  EXPECT_EQ(Rec.CurrentColour().A, 1);

  const auto percent = Glyph('%');
  ASSERT_EQ(percent.size(), 2u);
  EXPECT_EQ(percent[1].Prim, TPrimitive::Points);
  EXPECT_EQ(percent[1].PointSize, 2);
  EXPECT_EQ(Rec.CurrentPointSize(), 1);
}

// ---------------------------------------------------------------------------
// One-shot printing

TEST_F(TextPrinter, NegativeNumberPrintsMinusAndDigits) {
  Printer.PrintNumber(-120, TVector3{100, 40, 0}, kNoRotation, kUnit, TColor4{1, 0.5f, 0, 0.25f});
  // '-' one segment, '1' one set of segments, '2' one strip, '0' segment + loop.
  ASSERT_EQ(Rec.Primitives.size(), 5u);
  const auto& minus = Rec.Primitives[0];
  EXPECT_EQ(minus.Prim, TPrimitive::Lines);
  EXPECT_EQ(minus.Vertices[0].X, 95);
  EXPECT_EQ(minus.Vertices[1].X, 105);
  EXPECT_EQ(minus.Vertices[0].Y, 40);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[1]), 112.5f);
  EXPECT_EQ(Rec.Primitives[2].Prim, TPrimitive::LineStrip);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[4]), 137.5f);
  for (const auto& p : Rec.Primitives) {
    EXPECT_EQ(p.LineWidth, 2);
    EXPECT_EQ(p.Colour.A, 0.25f);  // alpha kept for fading points
  }
  EXPECT_EQ(Rec.StackDepth(), 0);

  // The widest value fits the formatting buffer.
  Rec.Reset();
  Printer.PrintNumber(INT_MIN, TVector3{}, kNoRotation, kUnit, TColor4{1, 1, 1, 1});
  float rightmost = -1e9f;
  for (const auto& p : Rec.Primitives) rightmost = std::max(rightmost, MidX(p));
  EXPECT_FLOAT_EQ(rightmost, 12.5f * 10);  // eleven characters
}

TEST_F(TextPrinter, TextKeepsItsAdvanceWhateverTheScaleButPrintAtScalesIt) {
  const TVector3 big{2, 2, 2};
  Printer.PrintText("II", TVector3{0, 0, 0}, kNoRotation, big, TColor4{1, 1, 1, 1});
  ASSERT_EQ(Rec.Primitives.size(), 2u);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[1]) - MidX(Rec.Primitives[0]), 12.5f);
  EXPECT_FLOAT_EQ(MaxY(Rec.Primitives[0]), 20);  // twice as tall
  EXPECT_FLOAT_EQ(MinY(Rec.Primitives[0]), -20);

  Rec.Reset();
  Printer.PrintAt(4, TVector3{0, 1, 0}, 10, 20, big, "II");
  ASSERT_EQ(Rec.Primitives.size(), 2u);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[0]), 10);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[1]), 35);
  EXPECT_FLOAT_EQ(MaxY(Rec.Primitives[1]), 40);
  EXPECT_EQ(Rec.Primitives[0].LineWidth, 4);
  EXPECT_EQ(Rec.Primitives[0].Colour.G, 1);
  EXPECT_EQ(Rec.Primitives[0].Colour.A, 1);  // PrintAt is always opaque

  // Non-uniform scale: the title heading is tall and narrow.
  Rec.Reset();
  Printer.PrintAt(4, kUnit, 0, 0, TVector3{4, 8, 1}, "II");
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[1]), 50);
  EXPECT_FLOAT_EQ(MaxY(Rec.Primitives[1]), 80);
}

TEST_F(TextPrinter, TextRotatesEachCharacterAboutItsOwnCentre) {
  Printer.PrintText("--", TVector3{100, 50, 0}, TVector3{90, 45, 45}, kUnit, TColor4{1, 1, 1, 1});
  ASSERT_EQ(Rec.Primitives.size(), 2u);
  for (int k = 0; k < 2; ++k) {
    const auto& seg = Rec.Primitives[std::size_t(k)];
    EXPECT_NEAR(seg.Vertices[0].X, 100 + 12.5f * k, 1e-4);  // the bar now stands upright
    EXPECT_NEAR(seg.Vertices[1].X, 100 + 12.5f * k, 1e-4);
    EXPECT_NEAR(MinY(seg), 45, 1e-4);
    EXPECT_NEAR(MaxY(seg), 55, 1e-4);
  }
}

TEST_F(TextPrinter, SpaceAdvancesWithoutDrawing) {
  Printer.PrintHud(1, kUnit, -100, 520, "I I");
  ASSERT_EQ(Rec.Primitives.size(), 2u);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[0]), -100);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[1]), -75);
  EXPECT_FLOAT_EQ(Rec.Primitives[1].Vertices[0].Y, 530);
  EXPECT_EQ(Rec.Primitives[0].LineWidth, 1);
  EXPECT_EQ(Rec.StackDepth(), 0);
  EXPECT_EQ(Rec.MaxStackDepth, 2);  // the print's own matrix and each character's
}

// ---------------------------------------------------------------------------
// Scroller text

TEST_F(TextPrinter, SetTextSplitsAtCarriageReturns) {
  Printer.LineCounter = 3;
  Printer.SetText("no breaks at all");
  EXPECT_EQ(Printer.Lines, std::vector<std::string>{"no breaks at all"});
  EXPECT_EQ(Printer.LineCounter, 0);
  EXPECT_EQ(Printer.FullText, "no breaks at all");

  Printer.SetText("");
  EXPECT_TRUE(Printer.Lines.empty());

  Printer.SetText("one\r\rthree\r");
  EXPECT_EQ(Printer.Lines, (std::vector<std::string>{"one", "", "three"}));

  Printer.SetText("a\rEnd#1\x01");
  EXPECT_EQ(Printer.Lines, (std::vector<std::string>{"a", "End#1\x01"}));
}

namespace {
// Runs scroller frames the way the title screen does.
struct TScrollerRun {
  int Shown = 0, Delay = 4, Countdown = 0;

  // Glyph primitives drawn this frame, the cursor (a filled quad) not counted.
  int Frame(TGLPrinter& printer, TRecordingRenderer& rec) {
    rec.Reset();
    printer.PenX = printer.PenStartX = -450;
    printer.SetTop(-250);
    printer.PrintScroller(Shown, Delay, TVector3{1, 1, 1}, TVector3{0, 0.5f, 0.9f}, 1, Countdown);
    return int(rec.Primitives.size()) - CountPrims(rec, TPrimitive::Quads);
  }
};
}  // namespace

TEST_F(TextPrinter, ScrollerTypesOneCharacterEveryFiveFrames) {
  Printer.SetText("IIIIII");  // each I is one primitive; S is "IIIIII" CR LF
  TScrollerRun run;
  for (int frame = 1; frame <= 60; ++frame) {
    const int drawn = run.Frame(Printer, Rec);
    const int expectedShown = std::min(1 + (frame - 1) / 5, 8);  // stops at Length(S)
    ASSERT_EQ(run.Shown, expectedShown) << "frame " << frame;
    ASSERT_EQ(drawn, std::min(expectedShown - 1, 6)) << "frame " << frame;
  }
  // The characters sit 12.5 apart from the start X on the top line.
  ASSERT_EQ(run.Frame(Printer, Rec), 6);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[0]), -450);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[5]), -450 + 5 * 12.5f);
  EXPECT_FLOAT_EQ(MaxY(Rec.Primitives[0]), -240);
}

TEST_F(TextPrinter, ScrollerCursorBlinksThreeFramesInFive) {
  Printer.SetText("I\rI\r");
  TScrollerRun run;
  std::string pattern;
  for (int frame = 0; frame < 10; ++frame) {
    run.Frame(Printer, Rec);
    const auto quads = Rec.Find(TPrimitive::Quads);
    pattern += quads.empty() ? '.' : '#';
    if (!quads.empty()) {
      EXPECT_EQ(quads[0]->Colour.R, 1);
      EXPECT_FLOAT_EQ(MidX(*quads[0]), Printer.PenX - 12.5f);  // at the pen, which then moves on
    }
  }
  EXPECT_EQ(pattern, "..###..###");
}

TEST_F(TextPrinter, ScrollerScrollsAfterTheFifthLineBreak) {
  Printer.SetText("I\rII\rIII\rI\rI\rI\rI\r");
  // S: lines of 1, 2, 3, 1, 1 characters, each + CR LF: the fifth CR is
  // character 3 + 4 + 5 + 3 + 2 = 17.
  TScrollerRun run;
  run.Shown = 20;
  run.Countdown = 1000;  // no typing during this test
  const int drawn = run.Frame(Printer, Rec);
  ASSERT_EQ(drawn, 8);       // the five lines' letters, nothing after the break
  EXPECT_EQ(run.Shown, 19);  // less the first line's length
  ASSERT_EQ(Printer.Lines.size(), 6u);
  EXPECT_EQ(Printer.Lines.front(), "II");
  EXPECT_EQ(Printer.LineCounter, 0);
  EXPECT_FLOAT_EQ(Printer.PenY, -250 - 5 * 50);  // the pen waits on the sixth line
  // Lines are 50 apart, downwards.
  EXPECT_FLOAT_EQ(MaxY(Rec.Primitives[1]), -240 - 50);
  EXPECT_FLOAT_EQ(MaxY(Rec.Primitives[7]), -240 - 200);

  // The next frame shows the text moved up by one line.
  const int next = run.Frame(Printer, Rec);
  ASSERT_GE(next, 2);
  EXPECT_FLOAT_EQ(MaxY(Rec.Primitives[0]), -240);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[1]), -450 + 12.5f);  // "II" is now the top line
  EXPECT_EQ(next, 8);                                      // II, III, I, I, I: the fifth break comes again and scrolls
  EXPECT_EQ(Printer.Lines.front(), "III");
}

TEST_F(TextPrinter, ScrollerRestartsAtTheEndMarker) {
  Printer.SetText("II\rI\x01\r");
  Printer.Lines.erase(Printer.Lines.begin());  // as if it had scrolled
  TScrollerRun run;
  run.Shown = 10;
  run.Countdown = 1000;
  const int drawn = run.Frame(Printer, Rec);
  ASSERT_EQ(drawn, 1);  // the I before the marker
  EXPECT_EQ(run.Shown, 1);
  EXPECT_EQ(Printer.Lines, (std::vector<std::string>{"II", "I\x01"}));
  EXPECT_FLOAT_EQ(Printer.PenY, -250);
  EXPECT_FLOAT_EQ(Printer.PenX, -450 + 12.5f);  // back at the start, then past the cursor

  // From there the text types from its first character again.
  run.Countdown = 0;
  ASSERT_EQ(run.Frame(Printer, Rec), 1);
  EXPECT_EQ(run.Shown, 2);
  EXPECT_FLOAT_EQ(MidX(Rec.Primitives[0]), -450);
  EXPECT_FLOAT_EQ(MaxY(Rec.Primitives[0]), -240);
}

TEST_F(TextPrinter, ScrollerWithNoTextOnlyBlinks) {
  TScrollerRun run;
  for (int frame = 0; frame < 5; ++frame) EXPECT_EQ(run.Frame(Printer, Rec), 0);
  EXPECT_EQ(run.Shown, 0);
  EXPECT_EQ(Rec.StackDepth(), 0);
}
