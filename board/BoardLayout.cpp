#include "board/BoardLayout.h"

#include <cstdio>

#include "gfx/GLPrinter.h"

namespace {
// The band between the top of the picture (y 536) and the game's name (y 282).
constexpr float HeaderY = 505;
constexpr float FirstRowY = 470;
constexpr float RowStep = 32;
constexpr float ColumnX[2] = {-500, 30};
constexpr float VerdictY = -195;
constexpr std::size_t RowsPerColumn = 5;
}  // namespace

void DrawBoardView(const TBoardView& view, const TGLPrinter& printer) {
  if (!view.Shown) return;
  const TVector3 one{1, 1, 1};
  const TVector3 heading{0, 0.8f, 1}, row{0.7f, 0.7f, 0.9f}, picked{1, 1, 0};
  printer.PrintAt(1, heading, ColumnX[0], HeaderY, one, view.Rows.empty() ? "this week: no scores yet" : "this week");
  char text[64];
  if (view.PlayerRank > 0) {
    std::snprintf(text, sizeof text, "your rank: %d", view.PlayerRank);
    printer.PrintAt(1, heading, 300, HeaderY, one, text);
  }
  if (!view.Note.empty()) printer.PrintAt(1, picked, -340, HeaderY, one, view.Note);
  for (std::size_t i = 0; i < view.Rows.size() && i < TBoardView::MaxRows; ++i) {
    const TBoardViewRow& r = view.Rows[i];
    const bool chosen = int(i) == view.Chosen;
    std::snprintf(text, sizeof text, "%c%2d %-12s %8lld", chosen ? '>' : ' ', r.Rank, r.Name.c_str(),
                  static_cast<long long>(r.Score));
    const float x = ColumnX[i / RowsPerColumn], y = FirstRowY - RowStep * float(i % RowsPerColumn);
    printer.PrintAt(chosen ? 2 : 1, chosen ? picked : row, x, y, one, text);
  }
  if (!view.Verdict.empty()) printer.PrintAt(1, TVector3{1, 0.6f, 0.2f}, -300, VerdictY, one, view.Verdict);
}
