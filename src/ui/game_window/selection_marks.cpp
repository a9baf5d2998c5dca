#include "ui/game_window/selection_marks.h"

#include <cmath>

#include "model/geometry.h"
#include "model/info.h"
#include "model/move.h"
#include "model/table.h"
#include "model/type_codes.h"

namespace ludomark {

namespace {

// How far the halo reaches beyond what the element draws, in model units.
constexpr int32_t kHalo = 12;
// The width of the band under a move or along a set, in model units.
constexpr int32_t kBand = 14;

void Band(TCanvas& canvas, TPoint from, TPoint to) {
  canvas.MoveTo(ToScreen(from.X), ToScreen(from.Y));
  canvas.LineTo(ToScreen(to.X), ToScreen(to.Y));
}

}  // namespace

void DrawSelectionMarks(TCanvas& canvas, TGameList& selection) {
  canvas.SetPenColor(kSelectionColor);
  canvas.SetBrushColor(kSelectionColor);
  canvas.SetPenStyle(TPenStyle::Solid);
  selection.ForEach([&](TGameObject32* e) {
    switch (e->TypeCode) {
      case kNode: {
        canvas.SetPenWidth(1);
        const int32_t r = 10 + kHalo;  // a node's disc has a radius of 10
        canvas.Ellipse(ToScreen(e->X - r), ToScreen(e->Y - r), ToScreen(e->X + r),
                       ToScreen(e->Y + r));
        break;
      }
      case kTable: {
        auto* table = As<TTable32>(e);
        canvas.SetPenWidth(1);
        canvas.RoundRect(ToScreen(e->X - kHalo), ToScreen(e->Y - kHalo),
                         ToScreen(e->X + table->Width + kHalo),
                         ToScreen(e->Y + table->Height + kHalo), ToScreen(20), ToScreen(20));
        break;
      }
      case kMove: {
        const auto& curve = As<TMove32>(e)->Curve;
        canvas.SetPenWidth(ToScreen(kBand));
        for (std::size_t i = 1; i < curve.size(); ++i) Band(canvas, curve[i - 1], curve[i]);
        break;
      }
      case kInfo: {
        TGameObject32* previous = nullptr;
        canvas.SetPenWidth(ToScreen(kBand));
        As<TInfo32>(e)->Members.ForEach([&](TGameObject32* member) {
          if (previous != nullptr) {
            Band(canvas, TPoint{previous->X, previous->Y}, TPoint{member->X, member->Y});
          }
          previous = member;
        });
        break;
      }
      default:
        break;
    }
  });
  canvas.SetPenWidth(1);
}

void DrawFocusMark(TCanvas& canvas, TGameObject32& element) {
  canvas.SetPenColor(0);
  canvas.SetPenWidth(ToScreen(3));
  canvas.SetPenStyle(TPenStyle::Dotted);
  const int32_t x = element.X;
  const int32_t y = element.Y;
  if (element.TypeCode == kTable) {
    auto& table = *As<TTable32>(&element);
    const int32_t corners[][2] = {{x - kHalo, y - kHalo},
                                  {x + table.Width + kHalo, y - kHalo},
                                  {x + table.Width + kHalo, y + table.Height + kHalo},
                                  {x - kHalo, y + table.Height + kHalo},
                                  {x - kHalo, y - kHalo}};
    canvas.MoveTo(ToScreen(corners[0][0]), ToScreen(corners[0][1]));
    for (const auto& corner : corners) canvas.LineTo(ToScreen(corner[0]), ToScreen(corner[1]));
  } else {
    // A ring of short chords: the canvas fills ellipses, and the disc must stay visible.
    const int32_t r = 10 + kHalo;
    constexpr int kChords = 16;
    for (int i = 0; i <= kChords; ++i) {
      const double angle = 2 * 3.14159265358979 * i / kChords;
      const int32_t px = ToScreen(x + r * std::cos(angle));
      const int32_t py = ToScreen(y + r * std::sin(angle));
      if (i == 0) {
        canvas.MoveTo(px, py);
      } else {
        canvas.LineTo(px, py);
      }
    }
  }
  canvas.SetPenStyle(TPenStyle::Solid);
  canvas.SetPenWidth(1);
}

}  // namespace ludomark
