#include "model/obstacles.h"

#include <algorithm>
#include <cmath>

namespace ludomark {

namespace {

constexpr int32_t kCell = 64;  // pixels of a grid cell

TRect Normal(const TRect& r) {
  return TRect{Min(r.Left, r.Right), Min(r.Top, r.Bottom), Max(r.Left, r.Right),
               Max(r.Top, r.Bottom)};
}

bool Overlap(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

std::int64_t Key(int32_t cx, int32_t cy) {
  return (static_cast<std::int64_t>(cx) << 32) ^ static_cast<std::uint32_t>(cy);
}

int32_t CellOf(int32_t v) {
  return v >= 0 ? v / kCell : -((-v + kCell - 1) / kCell);
}

// Whether the segment from a to b comes within `reach` of the box (Liang-Barsky clipping of the
// segment against the box grown by the reach).
bool SegmentMeetsBox(TPoint a, TPoint b, double reach, const TRect& box) {
  const double left = box.Left - reach;
  const double right = box.Right + reach;
  const double top = box.Top - reach;
  const double bottom = box.Bottom + reach;
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  double t0 = 0;
  double t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.X - left, right - a.X, a.Y - top, bottom - a.Y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  return true;
}

}  // namespace

void TObstacles::Index(std::uint32_t item) {
  const TRect& r = items_[item].Bounds;
  for (int32_t cx = CellOf(r.Left); cx <= CellOf(r.Right); ++cx) {
    for (int32_t cy = CellOf(r.Top); cy <= CellOf(r.Bottom); ++cy)
      cells_[Key(cx, cy)].push_back(item);
  }
}

void TObstacles::AddBox(const TRect& box) {
  Item item;
  item.Bounds = Normal(box);
  items_.push_back(item);
  Index(static_cast<std::uint32_t>(items_.size() - 1));
}

void TObstacles::AddSegment(TPoint a, TPoint b, int32_t width) {
  Item item;
  item.Segment = true;
  item.A = a;
  item.B = b;
  item.HalfWidth = std::max(width, 1) / 2.0;
  const auto reach = static_cast<int32_t>(std::ceil(item.HalfWidth));
  item.Bounds = TRect{Min(a.X, b.X) - reach, Min(a.Y, b.Y) - reach, Max(a.X, b.X) + reach,
                      Max(a.Y, b.Y) + reach};
  items_.push_back(item);
  Index(static_cast<std::uint32_t>(items_.size() - 1));
}

bool TObstacles::Hits(const TRect& given) const {
  const TRect box = Normal(given);
  for (int32_t cx = CellOf(box.Left); cx <= CellOf(box.Right); ++cx) {
    for (int32_t cy = CellOf(box.Top); cy <= CellOf(box.Bottom); ++cy) {
      const auto found = cells_.find(Key(cx, cy));
      if (found == cells_.end()) continue;
      for (const std::uint32_t index : found->second) {
        const Item& item = items_[index];
        if (!Overlap(item.Bounds, box)) continue;
        if (!item.Segment || SegmentMeetsBox(item.A, item.B, item.HalfWidth, box)) return true;
      }
    }
  }
  return false;
}

void TObstacleCanvas::SetPenWidth(int32_t pixels) {
  penWidth_ = pixels;
  canvas_.SetPenWidth(pixels);
}

void TObstacleCanvas::MoveTo(int32_t x, int32_t y) {
  at_ = TPoint{x, y};
  canvas_.MoveTo(x, y);
}

void TObstacleCanvas::LineTo(int32_t x, int32_t y) {
  const TPoint to{x, y};
  obstacles_.AddSegment(TPoint{at_.X + origin_.X, at_.Y + origin_.Y},
                        TPoint{to.X + origin_.X, to.Y + origin_.Y}, penWidth_);
  at_ = to;
  canvas_.LineTo(x, y);
}

void TObstacleCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  obstacles_.AddBox(
      TRect{left + origin_.X, top + origin_.Y, right + origin_.X, bottom + origin_.Y});
  canvas_.Ellipse(left, top, right, bottom);
}

void TObstacleCanvas::Outline(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const TPoint corners[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  for (int i = 0; i < 4; ++i) {
    const TPoint a = corners[i];
    const TPoint b = corners[(i + 1) % 4];
    obstacles_.AddSegment(TPoint{a.X + origin_.X, a.Y + origin_.Y},
                          TPoint{b.X + origin_.X, b.Y + origin_.Y}, penWidth_);
  }
}

void TObstacleCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Outline(left, top, right, bottom);
  canvas_.Rectangle(left, top, right, bottom);
}

void TObstacleCanvas::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                int32_t cornerWidth, int32_t cornerHeight) {
  // A box's inside is room for its cells' texts: only its border is in the way.
  Outline(left, top, right, bottom);
  canvas_.RoundRect(left, top, right, bottom, cornerWidth, cornerHeight);
}

void TObstacleCanvas::FillPolygon(const std::array<TPoint, 3>& points) {
  TRect box{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const TPoint& p : points) box = UnionRect(box, TRect{p.X, p.Y, p.X, p.Y});
  obstacles_.AddBox(TRect{box.Left + origin_.X, box.Top + origin_.Y, box.Right + origin_.X,
                          box.Bottom + origin_.Y});
  canvas_.FillPolygon(points);
}

void TObstacleCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  if (!text.empty()) {
    const TPoint size = canvas_.TextExtent(text);
    obstacles_.AddBox(
        TRect{x + origin_.X, y + origin_.Y, x + origin_.X + size.X, y + origin_.Y + size.Y});
  }
  canvas_.TextOut(x, y, text);
}

void TObstacleCanvas::ShiftOrigin(int32_t dx, int32_t dy) {
  origin_.X += dx;
  origin_.Y += dy;
  canvas_.ShiftOrigin(dx, dy);
}

}  // namespace ludomark
