#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/geometry.h"

namespace ludomark {

enum class TPenStyle { Solid, Dotted };
enum class TFontStyle { Regular, Bold };

// The drawing surface the elements draw on: an integer pixel grid, pen widths in pixels, font
// sizes in points, colours as 0x00BBGGRR. Implemented by the desktop's painter, by picture
// export and by the tests' recording canvas; nothing here knows a toolkit.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual void SetPenColor(int32_t color) = 0;
  virtual void SetPenWidth(int32_t pixels) = 0;
  virtual void SetPenStyle(TPenStyle style) = 0;
  virtual void SetBrushColor(int32_t color) = 0;  // the brush is always solid
  virtual void SetFontColor(int32_t color) = 0;
  virtual void SetFontSize(int32_t points) = 0;
  virtual void SetFontStyle(TFontStyle style) = 0;
  virtual void MoveTo(int32_t x, int32_t y) = 0;
  virtual void LineTo(int32_t x, int32_t y) = 0;  // in the pen, from the current point
  // Outlined in the pen and filled with the brush, inside the box from (left, top) to
  // (right, bottom).
  virtual void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  virtual void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  virtual void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                         int32_t cornerWidth, int32_t cornerHeight) = 0;
  virtual void FillPolygon(const std::array<TPoint, 3>& points) = 0;
  // The text with its top-left corner at the point, over an opaque box in the brush colour.
  virtual void TextOut(int32_t x, int32_t y, const std::string& text) = 0;
  // Moves the origin: later coordinates are drawn shifted by (dx, dy).
  virtual void ShiftOrigin(int32_t dx, int32_t dy) = 0;
  // The width and height, in pixels, of the box TextOut fills for the text in the current font.
  virtual TPoint TextExtent(const std::string& text) = 0;
};

// A text's box for canvases without a font of their own: a little wider and taller than the
// desktop's font of that size, so that what they find free is free on screen too.
TPoint EstimatedTextExtent(const std::string& text, int32_t points);

}  // namespace ludomark
