#include "support/game_builder.h"

#include <memory>
#include <vector>

#include "model/table_edit.h"

namespace ludomark::testing {

TPlayer32* GameBuilder::Player(const std::string& name, int32_t color) {
  auto* player = NewElement<TPlayer32>(&game_);
  player->SetName(name);
  player->Color = color;
  game_.AddObject(player);
  return player;
}

TNode32* GameBuilder::Node(const std::string& name, TPlayer32* player, int32_t x, int32_t y) {
  auto* node = NewElement<TNode32>(&game_);
  node->SetName(name);
  node->SetPlayer(player);
  node->SetPosition(x, y);
  game_.AddObject(node);
  return node;
}

TMove32* GameBuilder::Move(const std::string& name, TNode32* from, TNode32* to, double value) {
  auto* move = NewElement<TMove32>(&game_);
  move->SetName(name);
  move->From = from;
  move->To = to;
  move->Value = value;
  game_.AddObject(move);
  move->Refresh();
  return move;
}

TPayoff32* GameBuilder::Payoff(TGameObject32* move, TPlayer32* player, double value) {
  auto* payoff = NewElement<TPayoff32>(&game_);
  payoff->Move = move;
  payoff->Player = player;
  payoff->Value = value;
  game_.AddObject(payoff);
  return payoff;
}

TInfo32* GameBuilder::InfoSet(const std::string& name, std::initializer_list<TNode32*> members) {
  auto* info = NewElement<TInfo32>(&game_);
  info->SetName(name);
  game_.AddObject(info);
  for (TNode32* node : members) node->SetInfo(info);
  info->Relink();
  return info;
}

TTable32* GameBuilder::Table(const std::string& name, int32_t x, int32_t y) {
  auto* table = NewElement<TTable32>(&game_);
  table->SetName(name);
  table->SetPosition(x, y);
  game_.AddObject(table);
  return table;
}

TSide32* GameBuilder::Side(TTable32* table, TPlayer32* player, const std::string& name,
                           std::initializer_list<std::string> strategies) {
  std::unique_ptr<TSide32> scratch = MakeScratchSide(nullptr, *table);
  scratch->SetName(name);
  scratch->Player = player;
  for (const std::string& s : strategies) {
    auto* strategy = NewElement<TStrat32>(&game_);
    strategy->SetName(s);
    strategy->Info = scratch.get();
    scratch->AddChoice(strategy);
  }
  if (!ApplySideEdit(nullptr, *scratch, *table)) return nullptr;
  return table->SideAt(table->SideCount() - 1);
}

TSide32* GameBuilder::SideWithCount(TTable32* table, TPlayer32* player, const std::string& name,
                                    int count) {
  std::unique_ptr<TSide32> scratch = MakeScratchSide(nullptr, *table);
  scratch->SetName(name);
  scratch->Player = player;
  for (int i = 1; i <= count; ++i) {
    auto* strategy = NewElement<TStrat32>(&game_);
    strategy->SetName(name + std::to_string(i));
    strategy->Info = scratch.get();
    scratch->AddChoice(strategy);
  }
  if (!ApplySideEdit(nullptr, *scratch, *table)) return nullptr;
  return table->SideAt(table->SideCount() - 1);
}

TCell32* CellOf(TTable32* table, std::initializer_list<std::string> strategies) {
  TCell32* found = nullptr;
  const std::vector<std::string> wanted(strategies);
  table->Cells.ForEach([&](TGameObject32* e) {
    auto* cell = static_cast<TCell32*>(e);
    bool all = true;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      TStrat32* s = cell->StrategyOf(table->SideAt(static_cast<int>(i)));
      if (s == nullptr || s->Name != wanted[i]) all = false;
    }
    if (all) found = cell;
  });
  return found;
}

std::string StrategyNames(TCell32* cell) {
  return cell->NameFromStrategies();
}

}  // namespace ludomark::testing
