#include "model/drawing.h"

#include <algorithm>
#include <cmath>

#include "model/colors.h"
#include "model/fake_game.h"
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

void DashedArc(TCanvas& canvas, TPoint a, TPoint b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length <= 0) return;
  // The control point of a quadratic curve, below the middle (screen y grows downwards); the
  // curve's height is half the control point's distance.
  const double height = std::clamp(length / 4, 30.0, 150.0);
  const double nx = -dy / length;
  const double ny = dx / length;
  const double side = ny >= 0 ? 1.0 : -1.0;
  const double cx = (a.X + b.X) / 2.0 + side * nx * 2 * height;
  const double cy = (a.Y + b.Y) / 2.0 + side * ny * 2 * height;
  auto at = [&](double t) {
    const double u = 1 - t;
    return TPoint{ToScreen(u * u * a.X + 2 * u * t * cx + t * t * b.X),
                  ToScreen(u * u * a.Y + 2 * u * t * cy + t * t * b.Y)};
  };
  // Pieces as DashedLine makes them: 2n + 1 of them, the odd ones drawn, n one per 50 pixels.
  const double pixels = ToScreen(length + 2 * height);
  const int32_t n = std::max<int32_t>(1, RoundHalfEven(pixels / 50));
  const int32_t pieces = 2 * n + 1;
  constexpr int kChordsPerPiece = 4;
  for (int32_t piece = 1; piece < pieces; piece += 2) {
    const TPoint start = at(static_cast<double>(piece) / pieces);
    canvas.MoveTo(start.X, start.Y);
    for (int k = 1; k <= kChordsPerPiece; ++k) {
      const TPoint p = at((piece + static_cast<double>(k) / kChordsPerPiece) / pieces);
      canvas.LineTo(p.X, p.Y);
    }
  }
}

bool PassesANode(TFakeGame& game, TPoint a, TPoint b, const TGameObject32* end1,
                 const TGameObject32* end2) {
  constexpr double kNodeReach = 14;  // a node's disc (radius 10) and a little room
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  const double squared = dx * dx + dy * dy;
  if (squared <= 0) return false;
  bool passes = false;
  game.Nodes().ForEach([&](TGameObject32* node) {
    if (passes || node == end1 || node == end2 || node->Temporary) return;
    const double t = ((node->X - a.X) * dx + (node->Y - a.Y) * dy) / squared;
    if (t <= 0 || t >= 1) return;
    const double ex = a.X + t * dx - node->X;
    const double ey = a.Y + t * dy - node->Y;
    passes = ex * ex + ey * ey <= kNodeReach * kNodeReach;
  });
  return passes;
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
