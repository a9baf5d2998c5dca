// Builds a small game through the document and prints what its lists hold.
#include <iostream>
#include <memory>

#include "document/game_form.h"
#include "model/move.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"
#include "model/table_edit.h"

using namespace ludomark;

namespace {

TPlayer32* AddPlayer(TGameType32& game, const char* name) {
  auto* player = NewElement<TPlayer32>(&game);
  player->SetName(name);
  game.AddObject(player);
  return player;
}

void AddSide(TGameType32& game, TTable32& table, TPlayer32& player, const char* name,
             std::initializer_list<const char*> strategies) {
  std::unique_ptr<TSide32> scratch = MakeScratchSide(nullptr, table);
  scratch->SetName(name);
  scratch->Player = &player;
  for (const char* s : strategies) {
    auto* strategy = NewElement<TStrat32>(&game);
    strategy->SetName(s);
    strategy->Info = scratch.get();
    scratch->AddChoice(strategy);
  }
  ApplySideEdit(nullptr, *scratch, table);
}

void PrintList(const char* title, TGameList& list) {
  std::cout << title << " (" << list.LiveCount() << "):";
  list.ForEach([](TGameObject32* e) { std::cout << " [" << e->Describe(2) << "]"; });
  std::cout << "\n";
}

}  // namespace

int main() {
  TGameType32 game;
  TPlayer32* ann = AddPlayer(game, "Ann");
  TPlayer32* bob = AddPlayer(game, "Bob");

  auto* start = NewElement<TNode32>(&game);
  start->SetName("Start");
  start->SetPlayer(ann);
  game.AddObject(start);

  auto* chance = NewElement<TNode32>(&game);
  chance->SetName("Luck");
  chance->SetPosition(300, 100);
  game.AddObject(chance);

  auto* table = NewElement<TTable32>(&game);
  table->SetPosition(100, 300);
  game.AddObject(table);
  AddSide(game, *table, *ann, "Rows", {"Up", "Down"});
  AddSide(game, *table, *bob, "Cols", {"Left", "Right"});

  auto addMove = [&](const char* name, TNode32* from, TNode32* to, double value) {
    auto* move = NewElement<TMove32>(&game);
    move->SetName(name);
    move->From = from;
    move->To = to;
    move->Value = value;
    game.AddObject(move);
    move->Refresh();
    return move;
  };
  addMove("Play", start, table, 1.0);
  addMove("Gamble", start, chance, 1.0);
  for (const char* name : {"Heads", "Tails"}) {
    TMove32* move = addMove(name, chance, nullptr, 0.5);
    for (TPlayer32* player : {ann, bob}) {
      auto* payoff = NewElement<TPayoff32>(&game);
      payoff->Move = move;
      payoff->Player = player;
      payoff->Value = player == ann ? 1 : -1;
      game.AddObject(payoff);
    }
  }
  game.Renumber();

  std::cout << "Ludomark demo game, status " << game.Status() << "\n";
  PrintList("Players", game.Players());
  PrintList("Nodes", game.Nodes());
  PrintList("Moves", game.Moves());
  PrintList("Infos", game.Infos());
  PrintList("Strategies", game.Strategies());
  PrintList("Payoffs", game.Payoffs());
  std::cout << "Table " << table->Width << " x " << table->Height << ", "
            << table->Cells.LiveCount() << " cells\n";
  return 0;
}
