// The stroke font, one case per character with its strokes as constants, so a
// glyph costs a handful of immediate-mode vertices and nothing else.
#include "gfx/GlyphFont.h"

#include <initializer_list>

#include "gfx/Renderer.h"

namespace {
struct TGlyphPoint {
  signed char X, Y;
};

void Stroke(TPrimitive prim, std::initializer_list<TGlyphPoint> points) {
  TRenderer& gl = GL();
  gl.Begin(prim);
  for (const TGlyphPoint& p : points) gl.Vertex(p.X, p.Y, 0);
  gl.End();
}

// Separate line segments, two points each.
void Segments(std::initializer_list<TGlyphPoint> points) { Stroke(TPrimitive::Lines, points); }
// One connected line through the points in order.
void Strip(std::initializer_list<TGlyphPoint> points) { Stroke(TPrimitive::LineStrip, points); }
// A closed line through the points.
void Loop(std::initializer_list<TGlyphPoint> points) { Stroke(TPrimitive::LineLoop, points); }
void Points(std::initializer_list<TGlyphPoint> points) { Stroke(TPrimitive::Points, points); }
void FilledQuad(std::initializer_list<TGlyphPoint> points) { Stroke(TPrimitive::Quads, points); }
}  // namespace

void DrawStrokeGlyph(unsigned char ch) {
  switch (ch) {
    case 0:  // block cursor: opaque white whatever the caller's colour
      GL().Color(1, 1, 1, 1);
      FilledQuad({{5, 10}, {-5, 10}, {-5, -10}, {5, -10}});
      break;
    case 33:  // '!'
      Segments({{0, 10}, {0, -6}, {0, -8}, {0, -10}});
      break;
    case 34:  // '"'
      Segments({{-2, 10}, {-2, 8}, {2, 10}, {2, 8}});
      break;
    case 35:  // '#'
      Segments({{-2, 10}, {-2, -10}, {2, 10}, {2, -10}, {-5, 2}, {5, 2}, {-5, -2}, {5, -2}});
      break;
    case 36:  // '$'
      Strip({{5, 8}, {-5, 8}, {-5, 0}, {5, 0}, {5, -8}, {-5, -8}});
      Segments({{-2, 10}, {-2, -10}, {2, 10}, {2, -10}});
      break;
    case 37:  // '%'
      Segments({{5, 10}, {-5, -10}});
      GL().PointSize(2);  // the dots would vanish at one pixel
      Points({{-4, 8}, {4, -8}});
      GL().PointSize(1);
      break;
    case 38:  // '&'
      Strip({{2, 0}, {2, 10}, {-2, 10}, {-2, 0}});
      Loop({{3, -9}, {3, 0}, {-3, 0}, {-3, -9}});
      Strip({{5, -8}, {3, -9}, {5, -10}});
      break;
    case 39:  // "'"
      Strip({{0, 10}, {0, 6}});
      break;
    case 40:  // '('
      Strip({{-2, 10}, {-4, 6}, {-4, -6}, {-2, -10}});
      break;
    case 41:  // ')'
      Strip({{2, 10}, {4, 6}, {4, -6}, {2, -10}});
      break;
    case 42:  // '*'
      Segments({{-5, 10}, {5, -10}, {-5, -10}, {5, 10}, {-5, 0}, {5, 0}, {0, 10}, {0, -10}});
      break;
    case 43:  // '+'
      Segments({{-5, 0}, {5, 0}, {0, 8}, {0, -8}});
      break;
    case 44:  // ','
      Segments({{0, -8}, {-3, -14}});
      break;
    case 45:  // '-'
      Segments({{-5, 0}, {5, 0}});
      break;
    case 46:  // '.'
      Segments({{0, -8}, {0, -10}});
      break;
    case 47:  // '/'
      Segments({{5, 10}, {-5, -10}});
      break;
    case 48:  // '0'
      Segments({{5, 10}, {-5, -10}});
      Loop({{5, -10}, {5, 10}, {-5, 10}, {-5, -10}});
      break;
    case 49:  // '1'
      Segments({{0, 10}, {-3, 10}, {0, 10}, {0, -10}, {3, -10}, {-3, -10}});
      break;
    case 50:  // '2'
      Strip({{5, -10}, {-5, -10}, {-5, 0}, {5, 0}, {5, 10}, {-3, 10}, {-3, 6}});
      break;
    case 51:  // '3'
      Strip({{-5, -10}, {5, -10}, {5, 0}, {0, 0}});
      Strip({{5, 0}, {5, 10}, {-5, 10}});
      break;
    case 52:  // '4'
      Strip({{-5, 10}, {-5, 0}, {5, 0}});
      Segments({{5, 10}, {5, -10}});
      break;
    case 53:  // '5'
      Strip({{-5, -10}, {5, -10}, {5, 0}, {-5, 0}, {-5, 10}, {5, 10}});
      break;
    case 54:  // '6'
      Strip({{-5, 10}, {-5, -10}, {5, -10}, {5, 0}, {-5, 0}});
      break;
    case 55:  // '7'
      Strip({{5, -10}, {5, 10}, {-5, 10}});
      break;
    case 56:  // '8'
      Loop({{5, 0}, {5, 10}, {-5, 10}, {-5, 0}});
      Strip({{-5, 0}, {-5, -10}, {5, -10}, {5, 0}});
      break;
    case 57:  // '9'
      Strip({{5, -10}, {5, 10}, {-5, 10}, {-5, 0}, {5, 0}});
      break;
    case 58:  // ':'
      Segments({{0, -6}, {0, -8}, {0, 8}, {0, 6}});
      break;
    case 59:  // ';'
      Segments({{-2, -10}, {0, -8}, {0, 2}, {0, 0}});
      break;
    case 60:  // '<'
      Strip({{0, 10}, {-5, 0}, {5, -10}});
      break;
    case 61:  // '='
      Segments({{-5, 2}, {5, 2}, {-5, -2}, {5, -2}});
      break;
    case 62:  // '>'
      Strip({{0, -10}, {5, 0}, {0, 10}});
      break;
    case 63:  // '?'
      Strip({{-5, -2}, {-5, 0}, {5, 0}, {5, 10}, {-5, 10}});
      Segments({{-5, -8}, {-5, -10}});
      break;
    case 64:  // '@'
      Strip({{0, 0}, {-2, 0}, {-2, -2}, {5, -2}, {5, 10}, {-5, 10}, {-5, -10}, {5, -10}});
      break;
    case 65:  // 'A'
      Strip({{5, -10}, {5, 10}, {-5, 10}, {-5, -10}});
      Segments({{-5, 0}, {5, 0}});
      break;
    case 66:  // 'B'
      Strip({{2, 0}, {2, 10}, {-5, 10}, {-5, 0}});
      Loop({{5, -10}, {5, 0}, {-5, 0}, {-5, -10}});
      break;
    case 67:  // 'C'
      Strip({{5, 10}, {-5, 10}, {-5, -10}, {5, -10}});
      break;
    case 68:  // 'D'
      Loop({{5, -10}, {4, 10}, {-5, 10}, {-5, -10}});
      break;
    case 69:  // 'E'
      Strip({{5, 10}, {-5, 10}, {-5, -10}, {5, -10}});
      Segments({{-5, 0}, {5, 0}});
      break;
    case 70:  // 'F'
      Strip({{5, 10}, {-5, 10}, {-5, -10}});
      Segments({{-5, 0}, {4, 0}});
      break;
    case 71:  // 'G'
      Strip({{5, 10}, {-5, 10}, {-5, -10}, {5, -10}, {5, 0}, {0, 0}});
      break;
    case 72:  // 'H'
      Segments({{5, -10}, {5, 10}, {-5, 10}, {-5, -10}, {-5, 0}, {5, 0}});
      break;
    case 73:  // 'I'
      Segments({{3, 10}, {-3, 10}, {0, 10}, {0, -10}, {3, -10}, {-3, -10}});
      break;
    case 74:  // 'J'
      Strip({{-5, 0}, {-5, -10}, {4, -10}, {5, 10}, {-5, 10}});
      break;
    case 75:  // 'K'
      Strip({{5, -10}, {5, 0}, {-5, 0}, {-5, -10}});
      Segments({{-5, 10}, {-5, 0}, {4, 10}, {4, 0}});
      break;
    case 76:  // 'L'
      Strip({{-5, 10}, {-5, -10}, {5, -10}});
      break;
    case 77:  // 'M'
      Strip({{5, -10}, {5, 10}, {0, 0}, {-5, 10}, {-5, -10}});
      break;
    case 78:  // 'N'
      Strip({{5, 10}, {5, -10}, {-5, 10}, {-5, -10}});
      break;
    case 79:  // 'O'
      Loop({{5, -10}, {5, 10}, {-5, 10}, {-5, -10}});
      break;
    case 80:  // 'P'
      Loop({{-5, 0}, {5, 0}, {5, 10}, {-5, 10}, {-5, -10}});
      break;
    case 81:  // 'Q'
      Loop({{5, -10}, {5, 10}, {-5, 10}, {-5, -10}});
      Strip({{5, -10}, {2, -4}});
      break;
    case 82:  // 'R'
      Strip({{5, -10}, {5, 0}, {-5, 0}, {-5, -10}});
      Strip({{4, 0}, {4, 10}, {-5, 10}, {-5, 0}});
      break;
    case 83:  // 'S'
      Strip({{5, 10}, {-5, 10}, {-5, 0}, {5, 0}, {5, -10}, {-5, -10}});
      break;
    case 84:  // 'T'
      Segments({{5, 10}, {-5, 10}, {0, 10}, {0, -10}});
      break;
    case 85:  // 'U'
      Strip({{-5, 10}, {-5, -10}, {5, -10}, {5, 10}});
      break;
    case 86:  // 'V'
      Strip({{-5, 10}, {0, -10}, {5, 10}});
      break;
    case 87:  // 'W'
      Strip({{-5, 10}, {-2, -10}, {0, 0}, {2, -10}, {5, 10}});
      break;
    case 88:  // 'X'
      Segments({{-5, 10}, {5, -10}, {-5, -10}, {5, 10}});
      break;
    case 89:  // 'Y'
      Strip({{-5, 10}, {0, 0}, {5, 10}});
      Segments({{0, 0}, {0, -10}});
      break;
    case 90:  // 'Z'
      Strip({{5, -10}, {-5, -10}, {5, 10}, {-5, 10}});
      break;
    case 91:  // '['
      Strip({{-2, 10}, {-5, 10}, {-5, -10}, {-2, -10}});
      break;
    case 92:  // '\\'
      Strip({{-5, 10}, {5, -10}});
      break;
    case 93:  // ']'
      Strip({{2, 10}, {5, 10}, {5, -10}, {2, -10}});
      break;
    case 94:  // '^'
      Strip({{4, 6}, {0, 10}, {-4, 6}});
      break;
    case 95:  // '_'
      Segments({{4, -10}, {-4, -10}});
      break;
    case 96:  // '`'
      Segments({{-5, 10}, {-2, 6}});
      break;
    case 97:  // 'a'
      Strip({{5, -2}, {-5, -2}, {-5, -10}, {5, -10}, {5, 4}, {-5, 4}});
      break;
    case 98:  // 'b'
      Strip({{-5, 8}, {-5, -10}, {5, -10}, {5, 0}, {-5, 0}});
      break;
    case 99:  // 'c'
      Strip({{5, 4}, {-5, 4}, {-5, -10}, {5, -10}});
      break;
    case 100:  // 'd'
      Strip({{5, 0}, {-5, 0}, {-5, -10}, {5, -10}, {5, 8}});
      break;
    case 101:  // 'e'
      Strip({{-5, -2}, {5, -2}, {5, 5}, {-5, 5}, {-5, -10}, {5, -10}});
      break;
    case 102:  // 'f'
      Strip({{4, 6}, {-2, 6}, {-2, -10}});
      Segments({{4, 0}, {-4, 0}});
      break;
    case 103:  // 'g'
      Strip({{5, -2}, {-5, -2}, {-5, 5}, {5, 5}, {5, -10}, {-5, -10}});
      break;
    case 104:  // 'h'
      Strip({{5, -10}, {5, -2}, {-5, -2}});
      Segments({{-5, 4}, {-5, -10}});
      break;
    case 105:  // 'i'
      Segments({{0, 4}, {0, -10}});
      break;
    case 106:  // 'j'
      Strip({{-5, -8}, {-5, -10}, {5, -10}, {5, 4}, {-2, 4}});
      break;
    case 107:  // 'k'
      Strip({{5, 4}, {-5, 0}, {5, -10}});
      Segments({{-5, 4}, {-5, -10}});
      break;
    case 108:  // 'l'
      Strip({{0, 8}, {0, -10}, {4, -10}});
      break;
    case 109:  // 'm'
      Strip({{5, -10}, {5, 4}, {-5, 4}, {-5, -10}});
      Segments({{0, 4}, {0, -10}});
      break;
    case 110:  // 'n'
      Strip({{5, -10}, {5, 4}, {-5, 4}, {-5, -10}});
      break;
    case 111:  // 'o'
      Loop({{5, -10}, {5, 4}, {-5, 4}, {-5, -10}});
      break;
    case 112:  // 'p'
      Strip({{-5, -2}, {5, -2}, {5, 4}, {-5, 4}, {-5, -14}});
      break;
    case 113:  // 'q'
      Strip({{5, -10}, {5, 4}, {-5, 4}, {-5, -10}, {5, -10}, {0, -2}});
      break;
    case 114:  // 'r'
      Strip({{5, 4}, {-5, 4}, {-5, -10}});
      break;
    case 115:  // 's'
      Strip({{5, 4}, {-5, 4}, {-5, -2}, {5, -2}, {5, -10}, {-5, -10}});
      break;
    case 116:  // 't'
      Strip({{-4, 8}, {-4, -10}, {4, -10}});
      Segments({{4, 0}, {-4, 0}});
      break;
    case 117:  // 'u'
      Strip({{-5, 4}, {-5, -10}, {5, -10}, {5, 4}});
      break;
    case 118:  // 'v'
      Strip({{-5, 4}, {0, -10}, {5, 4}});
      break;
    case 119:  // 'w'
      Strip({{-5, 4}, {-2, -10}, {0, 0}, {2, -10}, {5, 4}});
      break;
    case 120:  // 'x'
      Segments({{-5, 4}, {5, -10}});
      Segments({{5, 4}, {-5, -10}});
      break;
    case 121:  // 'y'
      Strip({{-5, 4}, {0, -2}, {5, 4}});
      Segments({{0, -2}, {0, -10}});
      break;
    case 122:  // 'z'
      Strip({{-5, 4}, {5, 4}, {-5, -10}, {5, -10}});
      break;
    case 123:  // '{'
      Strip({{-2, 10}, {-2, 4}, {-5, 0}, {-2, -4}, {-2, -10}});
      break;
    case 124:  // '|'
      Segments({{0, 10}, {0, -10}});
      break;
    case 125:  // '}'
      Strip({{2, 10}, {2, 4}, {5, 0}, {2, -4}, {2, -10}});
      break;
    case 126:  // '~'
      Strip({{5, 10}, {2, 8}, {0, 10}, {-2, 8}, {-5, 10}});
      break;
    default:  // space, control codes and 127 and above: nothing to draw
      break;
  }
}
