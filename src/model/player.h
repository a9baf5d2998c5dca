#pragma once

#include "model/game_object.h"

namespace ludomark {

// A player: a name, where its figure stands, and its colour. Chance has no player object.
class TPlayer32 : public TGameObject32 {
 public:
  void InitDefaults() override;
  int32_t Renumber() override;
  bool CanDelete() override;
  std::string Describe(int mode) override;
  void Draw(TCanvas& canvas) override;
  void ParseLine(const std::string& line) override;
};

}  // namespace ludomark
