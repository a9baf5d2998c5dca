#pragma once

#include "model/game_object.h"

namespace ludomark {

// The rubber-band rectangle: its origin is (X, Y), its extent (W, H) may be negative.
class TSelectRect : public TGameObject32 {
 public:
  int32_t W = 0;
  int32_t H = 0;

  void InitDefaults() override;
  TRect RedrawRect(int32_t x, int32_t y, bool withLinks) override;
  void Draw(TCanvas& canvas) override;

  void SetExtent(int32_t px, int32_t py);
  TRect NormalRect() const;
};

}  // namespace ludomark
