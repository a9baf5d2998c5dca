#include "ui/view/qt_canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>

namespace ludomark {

namespace {
// The font files of the picture's texts, where the DejaVu package puts them: loaded into the
// application, the texts have the project's own metrics whatever the system's font setup
// makes of the family name. A machine without them falls back to that family name.
bool LoadDrawingFont() {
  for (const char* file : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                           "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"}) {
    QFontDatabase::addApplicationFont(QString::fromUtf8(file));
  }
  return true;
}
}  // namespace

QColor ToQColor(int32_t color) {
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TQtCanvas::TQtCanvas(QPainter& painter) : painter_(painter) {
  static const bool loaded = LoadDrawingFont();
  (void)loaded;
  font_ = QFont(QStringLiteral("DejaVu Sans"));
  font_.setPointSize(8);
  ApplyPen();
  painter_.setBrush(QBrush(brushColor_));
}

void TQtCanvas::ApplyPen() {
  QPen pen(penColor_);
  pen.setWidth(penWidth_);
  pen.setStyle(penStyle_);
  painter_.setPen(pen);
}

void TQtCanvas::SetPenColor(int32_t color) {
  penColor_ = ToQColor(color);
  ApplyPen();
}

void TQtCanvas::SetPenWidth(int32_t pixels) {
  penWidth_ = pixels;
  ApplyPen();
}

void TQtCanvas::SetPenStyle(TPenStyle style) {
  penStyle_ = style == TPenStyle::Dotted ? Qt::DotLine : Qt::SolidLine;
  ApplyPen();
}

void TQtCanvas::SetBrushColor(int32_t color) {
  brushColor_ = ToQColor(color);
  painter_.setBrush(QBrush(brushColor_));
}

void TQtCanvas::SetFontColor(int32_t color) {
  fontColor_ = ToQColor(color);
}

void TQtCanvas::SetFontSize(int32_t points) {
  const int size = points > 0 ? points : 1;
  if (size == font_.pointSize()) return;
  font_.setPointSize(size);
  fontChanged_ = true;
}

void TQtCanvas::SetFontStyle(TFontStyle style) {
  const bool bold = style == TFontStyle::Bold;
  if (bold == font_.bold()) return;
  font_.setBold(bold);
  fontChanged_ = true;
}

void TQtCanvas::MoveTo(int32_t x, int32_t y) {
  at_ = QPoint(x, y);
}

void TQtCanvas::LineTo(int32_t x, int32_t y) {
  painter_.drawLine(at_, QPoint(x, y));
  at_ = QPoint(x, y);
}

namespace {

// Qt outlines a rectangle of width w over w + 1 pixels; the canvas box covers right - left
// pixels, so the rectangle handed to Qt is one pixel narrower and shorter.
QRect OutlineBox(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return QRect(left, top, std::max(right - left - 1, 0), std::max(bottom - top - 1, 0));
}

}  // namespace

void TQtCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  painter_.drawEllipse(OutlineBox(left, top, right, bottom));
}

void TQtCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  painter_.drawRect(OutlineBox(left, top, right, bottom));
}

void TQtCanvas::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                          int32_t cornerWidth, int32_t cornerHeight) {
  painter_.drawRoundedRect(OutlineBox(left, top, right, bottom), cornerWidth / 2.0,
                           cornerHeight / 2.0);
}

void TQtCanvas::FillPolygon(const std::array<TPoint, 3>& points) {
  QPolygon polygon;
  for (const TPoint& p : points) polygon << QPoint(p.X, p.Y);
  painter_.drawPolygon(polygon);
}

void TQtCanvas::UseFont() {
  if (!fontChanged_ && metrics_) return;
  painter_.setFont(font_);
  metrics_.emplace(font_);
  fontChanged_ = false;
}

TPoint TQtCanvas::TextExtent(const std::string& text) {
  UseFont();
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return TPoint{metrics_->horizontalAdvance(s), metrics_->height()};
}

void TQtCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  if (text.empty()) return;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  UseFont();
  const QRect box(x, y, metrics_->horizontalAdvance(s), metrics_->height());
  painter_.fillRect(box, brushColor_);
  painter_.setPen(fontColor_);
  painter_.drawText(QPoint(x, y + metrics_->ascent()), s);
  ApplyPen();
}

void TQtCanvas::ShiftOrigin(int32_t dx, int32_t dy) {
  painter_.translate(dx, dy);
}

}  // namespace ludomark
