#pragma once

#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/cell.h"
#include "model/game_list.h"
#include "model/node.h"

namespace ludomark {

class TSide32;
class TStrat32;

// A strategic-form table standing as a node of the game. It owns its sides (also in Infos),
// its cells (also in Moves) and a scratch cell used while cells are enumerated or matched.
class TTable32 : public TNode32 {
 public:
  // Whether the point lies in the table's box (its border included).
  bool InBox(int32_t x, int32_t y) const {
    return X <= x && x <= X + Width && Y <= y && y <= Y + Height;
  }
  int32_t RowHeight = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  std::unique_ptr<TCell32> CurrentCell;
  TGameList Sides{/*owning=*/true};
  TGameList Cells{/*owning=*/true};

  ~TTable32() override;

  void CopyTo(TGameObject32& dest) override;
  void InitDefaults() override;
  std::string Describe(int mode) override;
  TRect RedrawRect(int32_t x, int32_t y, bool withLinks) override;
  void Refresh() override;
  void Draw(TCanvas& canvas) override;

  int SideCount() { return Sides.LiveCount(); }
  TSide32* SideAt(int index);  // 0-based, nothing when out of range
  // The side after `side`; the first side when `side` is nothing; nothing after the last.
  TSide32* NextSide(const TSide32* side);

  // Drops cells that lack a strategy of some side and creates the missing ones, new cells in
  // lexicographic order of strategy positions (last side fastest) after the old ones.
  void RebuildCells();
  // Turns the table into a tree of temporary nodes and moves whose last level is the cells.
  void Expand();
  void RemoveSide(TSide32* side);
  void EnterCells();
  void WithdrawCells();
  // Every cell replaces each strategy of the side by that strategy's copy link (dropping it when
  // the link is empty), keeping the other sides' strategies and the order.
  void RemapCells(TInfo32& side);
  // Whether some player owns no side of the table yet.
  bool HasPlayerWithoutSide();

 private:
  void CreateMissingCells(int sideIndex, std::set<std::vector<const TStrat32*>>& present);
  // The cell's strategy of each side in side order (nothing where it has none or several).
  std::vector<const TStrat32*> StrategiesOf(TCell32& cell);
  using CellsByStrategies = std::unordered_map<std::string, TCell32*>;
  // A cell's strategy of each side, in side order, as one key.
  std::string StrategiesKey(TCell32& cell);
  void ExpandFrom(TSide32* side, TNode32* node, const CellsByStrategies& cells);
};

}  // namespace ludomark
