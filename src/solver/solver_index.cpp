#include "solver/solver_index.h"

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"

namespace ludomark {

const TSolverIndex& SolverIndex(TGameForm32& game) {
  TSolverIndex& index = game.Work->Index;
  if (index.Built) return index;
  index = TSolverIndex{};
  std::vector<TPlayer32*> players;
  game.Players().ForEachAs<TPlayer32>([&](TPlayer32* p) { players.push_back(p); });
  index.Players = static_cast<int>(players.size());
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (!c->HasPlayer()) return;
    TSolverIndex::Choice choice{c, static_cast<int>(index.Moves.size()), 0};
    c->ChoiceMoves.ForEachAs<TMove32>([&](TMove32* m) {
      if (m->From.get() == nullptr) return;
      TPlayer32* mover = m->From->Player.get();
      index.Moves.push_back({m, m->From->Number, m->To.get() != nullptr ? m->To->Number : 0,
                             mover != nullptr ? mover->Number : 0});
      for (TPlayer32* p : players) index.Payoffs.push_back(m->FindPayoff(p));
      ++choice.Count;
    });
    index.Choices.push_back(choice);
  });
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    TInfo32* set = node->Info.get();
    if (set == nullptr || set->Singleton) return;
    TSolverIndex::SharedNode shared{node->Number, set->Number,
                                    static_cast<int>(index.Members.size()), 0};
    set->Members.ForEach([&](TGameObject32* member) {
      index.Members.push_back(member->Number);
      ++shared.MemberCount;
    });
    index.SharedNodes.push_back(shared);
  });
  index.Built = true;
  return index;
}

}  // namespace ludomark
