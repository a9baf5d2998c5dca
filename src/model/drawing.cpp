#include "model/drawing.h"

#include <cmath>

#include "model/colors.h"
#include "model/game_object.h"
#include "model/move.h"
#include "model/node.h"
#include "model/settings.h"
#include "model/type_codes.h"

namespace ludomark {

void DashedLine(TCanvas& canvas, TPoint a, TPoint b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  const int32_t n = RoundHalfEven(std::sqrt(dx * dx + dy * dy) / 50);
  if (n <= 0) return;
  const int32_t sx = RoundHalfEven(dx / (2 * n + 1));
  const int32_t sy = RoundHalfEven(dy / (2 * n + 1));
  for (int32_t c = 1; c <= n; ++c) {
    canvas.MoveTo(a.X + (2 * c - 1) * sx, a.Y + (2 * c - 1) * sy);
    canvas.LineTo(a.X + 2 * c * sx, a.Y + 2 * c * sy);
  }
}

void PlayerFigure(TCanvas& canvas, int32_t x, int32_t y, int32_t color) {
  canvas.SetPenColor(color);
  canvas.SetBrushColor(color);
  canvas.SetPenWidth(ToScreen(1));
  canvas.Ellipse(ToScreen(x - 4), ToScreen(y - 4), ToScreen(x + 4), ToScreen(y + 4));
  auto line = [&](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    canvas.MoveTo(ToScreen(x1), ToScreen(y1));
    canvas.LineTo(ToScreen(x2), ToScreen(y2));
  };
  line(x, y, x, y + 12);
  line(x, y + 12, x + 5, y + 17);
  line(x, y + 12, x - 5, y + 17);
  line(x - 6, y + 5, x + 6, y + 5);
}

void FillTriangle(TCanvas& canvas, const std::array<TPoint, 3>& points) {
  std::array<TPoint, 3> scaled{};
  for (std::size_t i = 0; i < points.size(); ++i) {
    scaled[i] = TPoint{ToScreen(points[i].X), ToScreen(points[i].Y)};
  }
  canvas.FillPolygon(scaled);
}

void NodeDisc(TCanvas& canvas, const TNode32& node, bool filled) {
  canvas.SetPenWidth(1);
  canvas.SetBrushColor(filled ? node.Color : kWhite);
  canvas.Ellipse(ToScreen(node.X - 10), ToScreen(node.Y - 10), ToScreen(node.X + 10),
                 ToScreen(node.Y + 10));
}

void DrawCurve(TCanvas& canvas, const TMove32& move, bool solid) {
  const auto& points = move.Curve;
  canvas.MoveTo(ToScreen(points[0].X), ToScreen(points[0].Y));
  if (!solid) canvas.SetPenColor(kWhite);
  for (std::size_t i = 1; i < points.size(); ++i) {
    const TPoint p{ToScreen(points[i].X), ToScreen(points[i].Y)};
    // Erasing paints over the segments that end at even points only.
    if (solid || i % 2 == 0) {
      canvas.LineTo(p.X, p.Y);
    } else {
      canvas.MoveTo(p.X, p.Y);
    }
  }
}

bool DrawLabel(TCanvas& canvas, TGameObject32& element) {
  if (element.Temporary && !DebugMode) return false;
  canvas.SetBrushColor(kWhite);
  canvas.SetFontColor(element.Color);
  canvas.SetFontSize(ToScreen(8));
  if (element.TypeCode != kInfo) {
    const auto characters = static_cast<int32_t>(element.Name.size());
    canvas.TextOut(ToScreen(element.X - characters), ToScreen(element.Y - 24), element.Name);
  }
  canvas.SetPenColor(element.Color);
  canvas.SetBrushColor(element.Color);
  return true;
}

void DrawGrid(TCanvas& canvas) {
  canvas.SetBrushColor(kWhite);
  canvas.SetPenWidth(ToScreen(1));
  canvas.SetPenColor(kGrey);
  canvas.SetPenStyle(TPenStyle::Dotted);
  for (int32_t i = 1; i <= 99; ++i) {
    canvas.MoveTo(ToScreen(20 * i), 1);
    canvas.LineTo(ToScreen(20 * i), ToScreen(2000));
  }
  for (int32_t i = 1; i <= 99; ++i) {
    canvas.MoveTo(1, ToScreen(20 * i));
    canvas.LineTo(ToScreen(2000), ToScreen(20 * i));
  }
  canvas.SetPenStyle(TPenStyle::Solid);
}

}  // namespace ludomark
