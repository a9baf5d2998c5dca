#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/canvas.h"
#include "model/geometry.h"

namespace ludomark {

// What a picture has drawn where, in pixels: the boxes of texts and shapes and the pieces of
// lines, so that a label can be put where it covers none of them.
class TObstacles {
 public:
  void AddBox(const TRect& box);
  void AddSegment(TPoint a, TPoint b, int32_t width);
  // Whether the box touches anything added.
  bool Hits(const TRect& box) const;

 private:
  struct Item {
    TRect Bounds;
    bool Segment = false;
    TPoint A, B;
    double HalfWidth = 0;
  };
  void Index(std::uint32_t item);

  std::vector<Item> items_;
  // Items by the cells of a coarse grid their bounds touch.
  std::unordered_map<std::int64_t, std::vector<std::uint32_t>> cells_;
};

// Draws on another canvas and notes in the obstacles every text, shape and line it draws there.
class TObstacleCanvas : public TCanvas {
 public:
  TObstacleCanvas(TCanvas& canvas, TObstacles& obstacles)
      : canvas_(canvas), obstacles_(obstacles) {}

  void SetPenColor(int32_t color) override { canvas_.SetPenColor(color); }
  void SetPenWidth(int32_t pixels) override;
  void SetPenStyle(TPenStyle style) override { canvas_.SetPenStyle(style); }
  void SetBrushColor(int32_t color) override { canvas_.SetBrushColor(color); }
  void SetFontColor(int32_t color) override { canvas_.SetFontColor(color); }
  void SetFontSize(int32_t points) override { canvas_.SetFontSize(points); }
  void SetFontStyle(TFontStyle style) override { canvas_.SetFontStyle(style); }
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t cornerWidth,
                 int32_t cornerHeight) override;
  void FillPolygon(const std::array<TPoint, 3>& points) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;
  void ShiftOrigin(int32_t dx, int32_t dy) override;
  TPoint TextExtent(const std::string& text) override { return canvas_.TextExtent(text); }

 private:
  void Outline(int32_t left, int32_t top, int32_t right, int32_t bottom);

  TCanvas& canvas_;
  TObstacles& obstacles_;
  TPoint at_;
  TPoint origin_;
  int32_t penWidth_ = 1;
};

}  // namespace ludomark
