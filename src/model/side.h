#pragma once

#include "model/info.h"

namespace ludomark {

class TTable32;
class TStrat32;

// One player's dimension of a table: an information set whose choices are its strategies,
// which it owns.
class TSide32 : public TInfo32 {
 public:
  int32_t LabelX = 0;
  Ref<TTable32> Table;
  int32_t PlayerNumber = 0;
  int32_t TableNumber = 0;
  Ref<TStrat32> CurrentStrategy;  // sides at index 2 and above: the slice shown

  TSide32();
  ~TSide32() override;

  void CopyTo(TGameObject32& dest) override;
  void InitDefaults() override;
  bool HitTest(int32_t x, int32_t y) override;
  std::string Describe(int mode) override;
  void ParseLine(const std::string& line) override;
  void Refresh() override;
  void Draw(TCanvas& canvas) override;

  // Position in the table's sides, -1 without table.
  int Index() const;
  int StrategyCount() { return Choices.LiveCount(); }
  TStrat32* StrategyAt(int index);  // 0-based
  // After loading: player and table by their stored numbers; joins the table's sides.
  void RelinkToTable();
  // Shows the slice of another strategy of a further side.
  void ShowStrategy(TStrat32* strategy);
  // Appends its strategies to the document's list when missing / takes them out of it.
  void EnterStrategies();
  void WithdrawStrategies();
  // Frees every cell of its table that holds one of its strategies.
  void FreeCellsOfStrategies();
};

}  // namespace ludomark
