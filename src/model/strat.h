#pragma once

#include "model/choice.h"

namespace ludomark {

class TSide32;

// A strategy of a table side: made by the user, saved, owned by its side.
class TStrat32 : public TChoice32 {
 public:
  int32_t SideNumber = 0;

  void InitDefaults() override;
  std::string Describe(int mode) override;
  void ParseLine(const std::string& line) override;
  bool Relink() override;
  void Refresh() override;
  void Draw(TCanvas& canvas) override;

  TSide32* Side() const;
};

}  // namespace ludomark
