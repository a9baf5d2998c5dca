// Payoff bounds of moves, nodes and choices, and the elimination of choices that are worse
// than every alternative whatever happens after them.
#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "audit/audit.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/solution_bit.h"

namespace ludomark {

namespace {

constexpr double kOpen = 1e150;

// The bound bits of the audit, found by element, player and kind; a bit is only found once
// its element's bounds are known (Done).
class BoundBook {
 public:
  explicit BoundBook(TGameForm32& game) : game_(game) {}

  TSolutionBit* Find(TGameObject32* element, TPlayer32* player, bool upper) {
    if (!element->Done) return nullptr;
    auto it = bits_.find({element, player, upper});
    return it != bits_.end() ? it->second : nullptr;
  }
  double Read(TGameObject32* element, TPlayer32* player, bool upper) {
    TSolutionBit* bit = Find(element, player, upper);
    return bit != nullptr ? bit->Value : (upper ? -kOpen : kOpen);
  }
  TSolutionBit* FindOrCreate(TGameObject32* element, TPlayer32* player, bool upper) {
    if (TSolutionBit* bit = Find(element, player, upper)) return bit;
    TSolutionBit* bit = NewSolutionBit(&game_, upper ? kUpperBoundBit : kLowerBoundBit, element,
                                       player, upper ? -kOpen : kOpen);
    game_.BoundBits().Add(bit);
    bits_[{element, player, upper}] = bit;
    return bit;
  }

 private:
  TGameForm32& game_;
  std::map<std::tuple<TGameObject32*, TPlayer32*, bool>, TSolutionBit*> bits_;
};

bool SettledOrDone(const TGameObject32* e) {
  return e->Settled || e->Done;
}

}  // namespace

void ComputeBounds(TGameForm32& game) {
  for (TGameList* list : {&game.Moves(), &game.Nodes(), &game.Strategies(), &game.Infos()}) {
    list->ForEach([](TGameObject32* e) {
      e->Done = false;
      e->Settled = false;
    });
  }
  std::vector<TPlayer32*> players;
  game.Players().ForEach([&](TGameObject32* p) { players.push_back(static_cast<TPlayer32*>(p)); });
  std::vector<TMove32*> moves;
  game.Moves().ForEach([&](TGameObject32* m) { moves.push_back(static_cast<TMove32*>(m)); });
  std::vector<TNode32*> nodes;
  game.Nodes().ForEach([&](TGameObject32* n) { nodes.push_back(static_cast<TNode32*>(n)); });
  std::map<TNode32*, std::vector<TMove32*>> leaving;
  for (TMove32* m : moves) {
    if (m->From.get() != nullptr) leaving[m->From.get()].push_back(m);
  }
  BoundBook book(game);

  bool change = true;
  while (change && !moves.empty()) {
    for (std::size_t sweep = 0; sweep < moves.size(); ++sweep) {
      for (TMove32* m : moves) {
        if (m->Settled || (m->To.get() != nullptr && !m->To->Done)) continue;
        const bool chance = m->From.get() != nullptr && m->From->Player.get() == nullptr;
        m->RebuildPayoffList();
        for (TPlayer32* p : players) {
          TPayoff32* payoff = m->FindPayoff(p);
          double gain = payoff != nullptr ? payoff->Value : 0.0;
          if (chance) gain *= m->Value;
          for (bool upper : {true, false}) {
            double value = gain;
            if (m->To.get() != nullptr) {
              if (TSolutionBit* next = book.Find(m->To.get(), p, upper)) {
                value = m->Value * next->Value + gain;
              }
            }
            book.FindOrCreate(m, p, upper)->Value = value;
          }
        }
        m->Done = true;
      }
      bool nodesChanged = false;
      for (TNode32* n : nodes) {
        const std::vector<TMove32*>& out = leaving[n];
        const bool ready = n->Done || std::all_of(out.begin(), out.end(), SettledOrDone);
        if (!ready) continue;
        const bool chance = n->Player.get() == nullptr;
        for (TPlayer32* p : players) {
          double upper = chance ? 0.0 : -kOpen;
          double lower = chance ? 0.0 : kOpen;
          for (TMove32* m : out) {
            if (chance) {
              upper += book.Read(m, p, true);
              lower += book.Read(m, p, false);
            } else if (!m->Settled) {
              upper = std::max(upper, book.Read(m, p, true));
              lower = std::min(lower, book.Read(m, p, false));
            }
          }
          TSolutionBit* up = book.FindOrCreate(n, p, true);
          TSolutionBit* low = book.FindOrCreate(n, p, false);
          if (up->Value != upper || low->Value != lower) nodesChanged = true;
          up->Value = upper;
          low->Value = lower;
        }
        n->Done = true;
      }
      if (!nodesChanged) break;
    }

    for (TMove32* m : moves) {
      if (m->From.get() == nullptr || m->From->Player.get() == nullptr) continue;
      TPlayer32* mover = m->From->Player.get();
      m->UpperBound = book.FindOrCreate(m, mover, true)->Value;
      m->LowerBound = book.FindOrCreate(m, mover, false)->Value;
    }
    game.Strategies().ForEach(
        [](TGameObject32* e) { static_cast<TChoice32*>(e)->BoundsFromMoves(); });

    game.Infos().ForEach([](TGameObject32* e) {
      auto* set = static_cast<TInfo32*>(e);
      set->Done = true;
      if (set->Player.get() == nullptr) return;
      std::vector<TChoice32*> live;
      set->Choices.ForEach([&](TGameObject32* c) {
        auto* choice = static_cast<TChoice32*>(c);
        if (choice->Eliminated) return;
        choice->EliminationRequest = false;
        if (!choice->Done) set->Done = false;
        live.push_back(choice);
      });
      for (TChoice32* c : live) {
        if (!c->Done) continue;
        bool anyOther = false;
        bool allBetter = true;
        for (TChoice32* d : live) {
          if (d == c || !d->Done) continue;
          anyOther = true;
          if (!(d->LowerBound > c->UpperBound)) allBetter = false;
        }
        if (anyOther && allBetter) c->EliminationRequest = true;
      }
    });

    change = false;
    game.Strategies().ForEach([&](TGameObject32* e) {
      auto* choice = static_cast<TChoice32*>(e);
      if (!choice->EliminationRequest || choice->Eliminated) return;
      choice->Eliminated = true;
      choice->ChoiceMoves.ForEach([](TGameObject32* m) { m->SetSettled(true); });
      change = true;
    });
  }
  game.BoundBits().FreeByType(0);
}

}  // namespace ludomark
