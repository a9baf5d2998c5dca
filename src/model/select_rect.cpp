#include "model/select_rect.h"

#include "model/colors.h"
#include "model/drawing.h"
#include "model/settings.h"

namespace ludomark {

void TSelectRect::InitDefaults() {
  TGameObject32::InitDefaults();
  W = 0;
  H = 0;
  Temporary = true;
  TypeCode = kSelectRect;
}

void TSelectRect::SetExtent(int32_t px, int32_t py) {
  W = px - X;
  H = py - Y;
}

TRect TSelectRect::NormalRect() const {
  return TRect{Min(X, X + W), Min(Y, Y + H), Max(X, X + W), Max(Y, Y + H)};
}

TRect TSelectRect::RedrawRect(int32_t x, int32_t y, bool /*withLinks*/) {
  const TRect r{Min(x, x + W), Min(y, y + H), Max(x, x + W), Max(y, y + H)};
  return TRect{ToScreen(r.Left) - 80, ToScreen(r.Top) - 80, ToScreen(r.Right) + 80,
               ToScreen(r.Bottom) + 80};
}

void TSelectRect::Draw(TCanvas& canvas) {
  if (Temporary && !DebugMode) return;  // hidden by the window
  canvas.SetBrushColor(kWhite);
  canvas.SetPenColor(kBlack);
  canvas.SetPenStyle(TPenStyle::Dotted);
  canvas.MoveTo(ToScreen(X), ToScreen(Y));
  canvas.LineTo(ToScreen(X + W), ToScreen(Y));
  canvas.LineTo(ToScreen(X + W), ToScreen(Y + H));
  canvas.LineTo(ToScreen(X), ToScreen(Y + H));
  canvas.LineTo(ToScreen(X), ToScreen(Y));
  canvas.SetPenStyle(TPenStyle::Solid);
}

}  // namespace ludomark
