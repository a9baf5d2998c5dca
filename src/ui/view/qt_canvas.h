#pragma once

#include <QFontMetrics>
#include <QPainter>
#include <optional>

#include "model/canvas.h"

namespace ludomark {

// The canvas on a QPainter: the one place where drawing meets Qt. Texts sit on an opaque box
// in the brush colour, with their top-left corner at the point given.
class TQtCanvas : public TCanvas {
 public:
  explicit TQtCanvas(QPainter& painter);

  void SetPenColor(int32_t color) override;
  void SetPenWidth(int32_t pixels) override;
  void SetPenStyle(TPenStyle style) override;
  void SetBrushColor(int32_t color) override;
  void SetFontColor(int32_t color) override;
  void SetFontSize(int32_t points) override;
  void SetFontStyle(TFontStyle style) override;
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t cornerWidth,
                 int32_t cornerHeight) override;
  void FillPolygon(const std::array<TPoint, 3>& points) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;
  void ShiftOrigin(int32_t dx, int32_t dy) override;
  TPoint TextExtent(const std::string& text) override;

 private:
  void ApplyPen();
  void UseFont();

  QPainter& painter_;
  QColor penColor_{Qt::black};
  int penWidth_ = 1;
  Qt::PenStyle penStyle_ = Qt::SolidLine;
  QColor brushColor_{Qt::white};
  QColor fontColor_{Qt::black};
  QFont font_;
  // The painter's font and its metrics follow font_ lazily: texts come in runs of one font.
  bool fontChanged_ = true;
  std::optional<QFontMetrics> metrics_;
  QPoint at_;
};

// A colour of the model (0x00BBGGRR) as Qt's.
QColor ToQColor(int32_t color);

}  // namespace ludomark
