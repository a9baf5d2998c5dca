#pragma once

#include <vector>

#include "model/move.h"

namespace ludomark {

class TTable32;
class TSide32;
class TStrat32;

// One entry of a table: the outcome of one strategy per side. It is a move of the game: final
// with payoffs, or leading on to a further node.
class TCell32 : public TMove32 {
 public:
  int32_t CellX = 0;
  int32_t CellY = 0;
  int32_t SliceOffset = 0;
  Ref<TTable32> Table;
  int32_t TableNumber = 0;
  TGameList CellStrategies;          // view, one strategy per side
  std::vector<int32_t> StrategySet;  // strategy numbers read from a file, ascending, unique

  ~TCell32() override;

  void CopyTo(TGameObject32& dest) override;
  void InitDefaults() override;
  bool HitTest(int32_t x, int32_t y) override;
  std::string Describe(int mode) override;
  void ParseLine(const std::string& line) override;
  void Refresh() override;
  void Draw(TCanvas& canvas) override;

  TStrat32* StrategyOf(const TSide32* side);
  void PutStrategy(TStrat32* strategy);
  bool IsComplete();
  bool Matches(TCell32& other);
  void SetTable(TTable32* table) { Table = table; }
  void AddStrategyNumber(int32_t number);
  // The strategies' names joined by single blanks.
  std::string NameFromStrategies();
  // After loading: table and strategies by their stored numbers; marks itself for removal
  // when they do not make a cell of that table.
  void RelinkToTable();
};

}  // namespace ludomark
