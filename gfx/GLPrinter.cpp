#include "gfx/GLPrinter.h"

#include <cstdio>

#include "gfx/GlyphFont.h"
#include "gfx/Renderer.h"

namespace {
constexpr float kAdvance = 12.5f;   // from one character to the next at scale 1
constexpr float kLineSpacing = 50;  // scroller lines, downwards
constexpr char kEndMarker = 1;      // closes the scroller text: start again
constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;
constexpr int kLineBreakLength = 2;  // every scroller line is followed by CR LF

// One character with its own matrix: placed, turned about its centre, scaled.
void DrawCharAt(unsigned char ch, float x, float y, float z, float rotation, const TVector3& scale) {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(x, y, z);
  if (rotation != 0) gl.Rotate(rotation, 0, 0, 1);
  gl.Scale(scale.X, scale.Y, scale.Z);
  DrawStrokeGlyph(ch);
  gl.PopMatrix();
}

// Walks the scroller text as if its lines were joined with CR LF after each,
// without building the joined string: the title calls this every frame.
class TJoinedLines {
 public:
  explicit TJoinedLines(const std::vector<std::string>& lines) : Lines(lines) {}

  static int Length(const std::vector<std::string>& lines) {
    int total = 0;
    for (const std::string& line : lines) total += int(line.size()) + kLineBreakLength;
    return total;
  }

  // The next character; only called while characters remain.
  char Next() {
    const std::string& line = Lines[LineIndex];
    char ch;
    if (Offset < line.size())
      ch = line[Offset];
    else
      ch = Offset == line.size() ? kCarriageReturn : kLineFeed;
    if (++Offset == line.size() + kLineBreakLength) {
      ++LineIndex;
      Offset = 0;
    }
    return ch;
  }

 private:
  const std::vector<std::string>& Lines;
  std::size_t LineIndex = 0;
  std::size_t Offset = 0;
};
}  // namespace

// Room for a full page of the scroller, so that the title never allocates.
TGLPrinter::TGLPrinter() { ScrollerGlyphs.reserve(512); }

void TGLPrinter::DrawGlyph(unsigned char ch) { DrawStrokeGlyph(ch); }

void TGLPrinter::PrintNumber(int value, const TVector3& pos, const TVector3& rotation, const TVector3& scale,
                             const TColor4& colour) const {
  char digits[16];  // "-2147483648" and its terminator fit
  const int length = std::snprintf(digits, sizeof digits, "%d", value);
  PrintText(std::string_view(digits, length > 0 ? std::size_t(length) : 0), pos, rotation, scale, colour);
}

void TGLPrinter::PrintText(std::string_view text, const TVector3& pos, const TVector3& rotation, const TVector3& scale,
                           const TColor4& colour) const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.LineWidth(2);
  gl.Color(colour.R, colour.G, colour.B, colour.A);
  // The advance ignores the scale: big floating points overlap on purpose.
  for (std::size_t k = 0; k < text.size(); ++k)
    DrawCharAt(static_cast<unsigned char>(text[k]), pos.X + kAdvance * float(k), pos.Y, pos.Z, rotation.X, scale);
  gl.PopMatrix();
}

void TGLPrinter::PrintAt(int lineWidth, const TVector3& colour, float x, float y, const TVector3& scale,
                         std::string_view text) const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.LineWidth(float(lineWidth));
  gl.Color(colour.X, colour.Y, colour.Z, 1);
  for (std::size_t k = 0; k < text.size(); ++k)
    DrawCharAt(static_cast<unsigned char>(text[k]), x + kAdvance * scale.X * float(k), y, 0, 0, scale);
  gl.PopMatrix();
}

void TGLPrinter::PrintHud(int lineWidth, const TVector3& colour, float x, float y, std::string_view text) const {
  PrintAt(lineWidth, colour, x, y, TVector3{1, 1, 1}, text);
}

void TGLPrinter::SetText(std::string_view text) {
  FullText.assign(text);
  Lines.clear();
  LineCounter = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != kCarriageReturn) continue;
    Lines.emplace_back(text.substr(start, i - start));
    start = i + 1;
  }
  if (start < text.size()) Lines.emplace_back(text.substr(start));
}

void TGLPrinter::SetTop(float y) {
  PenY = y;
  PenStartY = y;
}

void TGLPrinter::PrintScroller(int& shown, int& delay, const TVector3& scale, const TVector3& colour, int lineWidth,
                               int& countdown) {
  AdvanceScroller(shown, delay, scale, colour, lineWidth, countdown);
  DrawScroller();
}

void TGLPrinter::DrawScroller() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.LineWidth(float(ScrollerLineWidth));
  gl.Color(ScrollerColour.X, ScrollerColour.Y, ScrollerColour.Z, 1);
  for (const TPlacedGlyph& g : ScrollerGlyphs) DrawCharAt(g.Ch, g.X, g.Y, 0, 0, ScrollerScale);
  gl.PopMatrix();
}

void TGLPrinter::AdvanceScroller(int& shown, int& delay, const TVector3& scale, const TVector3& colour, int lineWidth,
                                 int& countdown) {
  // Typewriter: one more character each time the countdown runs out.
  int length = TJoinedLines::Length(Lines);
  if (length > shown) {
    --countdown;
    if (countdown < 0) {
      countdown = delay;
      ++shown;
    }
  }

  LineCounter = 0;
  ScrollerGlyphs.clear();
  ScrollerScale = scale;
  ScrollerColour = colour;
  ScrollerLineWidth = lineWidth;

  // Characters 1 .. shown - 1 of the joined text are on screen. The loop only
  // changes the lines (restart, scroll) as its last act, so one walk serves.
  TJoinedLines text(Lines);
  for (int i = 1; i < shown && i <= length; ++i) {
    const char ch = text.Next();
    if (ch == kEndMarker) {
      shown = 1;
      PenX = PenStartX;
      SetTop(PenStartY);
      // SetText replaces Lines, which FullText may not alias: copy it first.
      const std::string full = FullText;
      SetText(full);
      break;
    }
    if (ch == kLineFeed) continue;
    if (ch == kCarriageReturn) {
      PenX = PenStartX;
      SetTop(PenY - kLineSpacing);
      ++LineCounter;
      if (LineCounter > LinesPerPage) {
        // The page is full: the top line scrolls away and the text moves up.
        LineCounter = 0;
        if (!Lines.empty()) {
          shown -= int(Lines.front().size());
          Lines.erase(Lines.begin());
        }
        break;
      }
      continue;
    }
    ScrollerGlyphs.push_back({static_cast<unsigned char>(ch), PenX, PenY});
    PenX += kAdvance * scale.X;
  }

  // Block cursor, showing in three frames of every CursorBlinkPeriod.
  --CursorBlink;
  if (CursorBlink <= CursorBlinkPeriod / 2) {
    if (CursorBlink == 0) CursorBlink = CursorBlinkPeriod;
    ScrollerGlyphs.push_back({0, PenX, PenY});
  }
  PenX += kAdvance * scale.X;
}
