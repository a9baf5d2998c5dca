#include "game_generators.h"

#include <string>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/random.h"

namespace ludomark::bench {

void BuildGeneratedGame(TGameType32& game, int nodes, bool cycles) {
  TUniformRandom random(3);
  std::vector<TPlayer32*> players;
  for (const char* name : {"Ann", "Bob"}) {
    auto* p = NewElement<TPlayer32>(&game);
    p->SetName(name);
    game.AddObject(p);
    players.push_back(p);
  }
  auto addNode = [&](int index, int level) {
    auto* n = NewElement<TNode32>(&game);
    std::string name = "N";
    name += std::to_string(index);
    n->SetName(name);
    // Every third level is chance.
    if (level % 3 != 2) n->SetPlayer(players[static_cast<std::size_t>(level % 3)]);
    n->Level = level;
    game.AddObject(n);
    return n;
  };
  std::vector<TNode32*> all{addNode(0, 0)};
  for (std::size_t parent = 0; all.size() < static_cast<std::size_t>(nodes); ++parent) {
    TNode32* from = all[parent];
    for (int k = 0; k < 2 && all.size() < static_cast<std::size_t>(nodes); ++k) {
      TNode32* to = addNode(static_cast<int>(all.size()), from->Level + 1);
      auto* m = NewElement<TMove32>(&game);
      m->SetName(k == 0 ? "left" : "right");
      m->From = from;
      m->To = to;
      m->Value = from->Player.get() == nullptr ? 0.5 : 1.0;
      game.AddObject(m);
      all.push_back(to);
    }
  }
  // Leaves: two final moves (or one final and one back to an earlier node) with payoffs.
  for (TNode32* n : all) {
    if (n->OutDegree() > 0) continue;
    for (int k = 0; k < 2; ++k) {
      auto* m = NewElement<TMove32>(&game);
      m->SetName(k == 0 ? "left" : "right");
      m->From = n;
      const bool chance = n->Player.get() == nullptr;
      m->Value = chance ? 0.5 : 1.0;
      if (cycles && k == 1) {
        m->To = all[static_cast<std::size_t>(random.Next() * static_cast<double>(all.size() / 2))];
        m->Value = chance ? 0.5 : 0.9;
      }
      game.AddObject(m);
      if (m->To.get() != nullptr) continue;
      for (TPlayer32* p : players) {
        auto* pay = NewElement<TPayoff32>(&game);
        pay->Move = m;
        pay->Player = p;
        pay->Value = random.Next() * 10;
        game.AddObject(pay);
      }
    }
  }
  game.Nodes().ForEach([](TGameObject32* n) { static_cast<TNode32*>(n)->EnsureInfo(); });
  game.Infos().ForEach([](TGameObject32* i) { i->Relink(); });
  game.Moves().ForEach([](TGameObject32* m) { static_cast<TMove32*>(m)->AttachChoice(); });
  game.Renumber();
  // Mixed play everywhere, so every move carries weight.
  game.Infos().ForEach([](TGameObject32* e) {
    auto* info = static_cast<TInfo32*>(e);
    if (info->Player.get() == nullptr) return;
    const int count = info->Choices.LiveCount();
    info->Choices.ForEach(
        [&](TGameObject32* c) { static_cast<TChoice32*>(c)->SetProbability(1.0 / count); });
  });
}

}  // namespace ludomark::bench
