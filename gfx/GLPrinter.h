#pragma once
// Stroke-font text drawn with lines: the HUD, the title, floating points,
// pickup labels, messages, and the title screen's typewriter scroller.
#include <string>
#include <string_view>
#include <vector>

#include "gfx/PdxLib3DTypes.h"

class TGLPrinter {
 public:
  TGLPrinter();

  void PrintNumber(int value, const TVector3& pos, const TVector3& rotation, const TVector3& scale,
                   const TColor4& colour) const;
  void PrintText(std::string_view text, const TVector3& pos, const TVector3& rotation, const TVector3& scale,
                 const TColor4& colour) const;
  void PrintAt(int lineWidth, const TVector3& colour, float x, float y, const TVector3& scale,
               std::string_view text) const;
  void PrintHud(int lineWidth, const TVector3& colour, float x, float y, std::string_view text) const;
  void SetText(std::string_view text);
  void SetTop(float y);
  // The typewriter's frame: AdvanceScroller types, scrolls and blinks, and
  // keeps where each character shown lands; DrawScroller draws them.
  void AdvanceScroller(int& shown, int& delay, const TVector3& scale, const TVector3& colour, int lineWidth,
                       int& countdown);
  void DrawScroller() const;
  // Both at once.
  void PrintScroller(int& shown, int& delay, const TVector3& scale, const TVector3& colour, int lineWidth,
                     int& countdown);
  // One glyph at the origin in the current colour and line width.
  static void DrawGlyph(unsigned char ch);

  int CursorBlink = 5;
  int CursorBlinkPeriod = 5;
  std::string FullText;
  std::vector<std::string> Lines;
  int LineCounter = 0;
  float PenY = 0;
  float PenStartY = 0;
  float PenX = 0;
  float PenStartX = 0;
  int LinesPerPage = 4;

 private:
  struct TPlacedGlyph {
    unsigned char Ch;
    float X, Y;
  };
  // The scroller's last frame: every glyph shown (the cursor block last).
  std::vector<TPlacedGlyph> ScrollerGlyphs;
  TVector3 ScrollerScale{1, 1, 1};
  TVector3 ScrollerColour{1, 1, 1};
  int ScrollerLineWidth = 1;
};
