#pragma once

#include <string>
#include <vector>

#include "model/canvas.h"

namespace ludomark::testing {

// Keeps every primitive it is asked to draw, with the pen, brush and font in force, so that
// tests can read a picture without a toolkit.
class RecordingCanvas : public TCanvas {
 public:
  struct Shape {
    std::string Kind;  // "line", "ellipse", "rect", "roundrect", "polygon", "text"
    std::vector<int32_t> At;
    std::string Text;
    int32_t Pen = 0;
    int32_t PenWidth = 1;
    TPenStyle Style = TPenStyle::Solid;
    int32_t Brush = 0;
    int32_t Font = 0;
    int32_t FontSize = 0;
  };

  void SetPenColor(int32_t color) override { pen_ = color; }
  void SetPenWidth(int32_t pixels) override { penWidth_ = pixels; }
  void SetPenStyle(TPenStyle style) override { style_ = style; }
  void SetBrushColor(int32_t color) override { brush_ = color; }
  void SetFontColor(int32_t color) override { font_ = color; }
  void SetFontSize(int32_t points) override { fontSize_ = points; }
  void SetFontStyle(TFontStyle) override {}
  void MoveTo(int32_t x, int32_t y) override {
    x_ = x;
    y_ = y;
  }
  void LineTo(int32_t x, int32_t y) override {
    Add("line", {x_, y_, x, y});
    MoveTo(x, y);
  }
  void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override {
    Add("ellipse", {l, t, r, b});
  }
  void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override { Add("rect", {l, t, r, b}); }
  void RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t w, int32_t h) override {
    Add("roundrect", {l, t, r, b, w, h});
  }
  void FillPolygon(const std::array<TPoint, 3>& p) override {
    Add("polygon", {p[0].X, p[0].Y, p[1].X, p[1].Y, p[2].X, p[2].Y});
  }
  void TextOut(int32_t x, int32_t y, const std::string& text) override {
    Add("text", {x, y}).Text = text;
  }
  void ShiftOrigin(int32_t dx, int32_t dy) override { Add("origin", {dx, dy}); }
  TPoint TextExtent(const std::string& text) override {
    return EstimatedTextExtent(text, fontSize_);
  }

  std::vector<Shape> Shapes;

  // The shapes of one kind, in drawing order.
  std::vector<Shape> Of(const std::string& kind) const {
    std::vector<Shape> found;
    for (const Shape& s : Shapes) {
      if (s.Kind == kind) found.push_back(s);
    }
    return found;
  }
  bool HasText(const std::string& text) const {
    for (const Shape& s : Shapes) {
      if (s.Kind == "text" && s.Text == text) return true;
    }
    return false;
  }

 private:
  Shape& Add(const std::string& kind, std::vector<int32_t> at) {
    Shapes.push_back({kind, std::move(at), "", pen_, penWidth_, style_, brush_, font_, fontSize_});
    return Shapes.back();
  }

  int32_t x_ = 0;
  int32_t y_ = 0;
  int32_t pen_ = 0;
  int32_t penWidth_ = 1;
  TPenStyle style_ = TPenStyle::Solid;
  int32_t brush_ = 0;
  int32_t font_ = 0;
  int32_t fontSize_ = 0;
};

}  // namespace ludomark::testing
