#pragma once

#include <initializer_list>
#include <string>

#include "document/game_form.h"
#include "model/cell.h"
#include "model/info.h"
#include "model/move.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"

namespace ludomark::testing {

// Builds games through the document, the way the edit commands do.
class GameBuilder {
 public:
  explicit GameBuilder(TGameType32& game) : game_(game) {}

  TPlayer32* Player(const std::string& name, int32_t color = 0);
  TNode32* Node(const std::string& name, TPlayer32* player, int32_t x = 100, int32_t y = 100);
  TMove32* Move(const std::string& name, TNode32* from, TNode32* to, double value = 1.0);
  TPayoff32* Payoff(TGameObject32* move, TPlayer32* player, double value);
  TInfo32* InfoSet(const std::string& name, std::initializer_list<TNode32*> members);
  TTable32* Table(const std::string& name, int32_t x = 300, int32_t y = 300);
  // Adds a side through the side edit, as the Add Side command does.
  TSide32* Side(TTable32* table, TPlayer32* player, const std::string& name,
                std::initializer_list<std::string> strategies);
  TSide32* SideWithCount(TTable32* table, TPlayer32* player, const std::string& name, int count);

 private:
  TGameType32& game_;
};

// The cell of a table holding the given strategy names, one per side in side order.
TCell32* CellOf(TTable32* table, std::initializer_list<std::string> strategies);
// The names of the strategies of a cell in its list order.
std::string StrategyNames(TCell32* cell);

}  // namespace ludomark::testing
