// Payoff bounds of moves, nodes and choices, and the elimination of choices that are worse
// than every alternative whatever happens after them.
//
// Bounds flow from the ends of the game towards its start: a move's bounds are known once its
// target's are, a node's once all its moves' are. Instead of sweeping every move and node until
// nothing changes, each node is computed when its last move becomes known, in that order, and
// after an elimination only what depends on the eliminated moves is computed again. The result
// is the fixed point the sweeps reach: eliminations only ever narrow bounds and make further
// eliminations possible, so their order does not matter.
#include <algorithm>
#include <atomic>
#include <functional>
#include <queue>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "audit/audit.h"
#include "audit/payoff_scale.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"

namespace ludomark {

namespace {

constexpr double kOpen = 1e150;

class BoundsRun {
 public:
  BoundsRun(TGameForm32& game, const std::atomic<bool>* stop) : game_(game), stop_(stop) {
    // Only the bounds of players who move are ever read, so only theirs are kept: a game of
    // many players and few nodes needs no table of every player at every node.
    std::unordered_map<const TGameObject32*, int> player;
    game.Nodes().ForEach([&](TGameObject32* e) {
      index_[e] = static_cast<int>(nodes_.size());
      nodes_.push_back(As<TNode32>(e));
      TGameObject32* owner = As<TNode32>(e)->Player.get();
      if (owner != nullptr && player.emplace(owner, static_cast<int>(player.size())).second) {
        ++players_;
      }
    });
    game.Moves().ForEach([&](TGameObject32* e) { moves_.push_back(As<TMove32>(e)); });
    const std::size_t k = players_;
    const double unit = PayoffScale(game);
    mover_.assign(moves_.size(), -1);
    leaving_.resize(nodes_.size());
    entering_.resize(nodes_.size());
    from_.assign(moves_.size(), -1);
    to_.assign(moves_.size(), -1);
    gain_.assign(moves_.size() * k, 0.0);
    moveUp_.assign(moves_.size() * k, -kOpen);
    moveLow_.assign(moves_.size() * k, kOpen);
    nodeUp_.assign(nodes_.size() * k, -kOpen);
    nodeLow_.assign(nodes_.size() * k, kOpen);
    for (std::size_t m = 0; m < moves_.size(); ++m) {
      TMove32* move = moves_[m];
      from_[m] = IndexOf(move->From.get());
      to_[m] = IndexOf(move->To.get());
      if (from_[m] >= 0)
        leaving_[static_cast<std::size_t>(from_[m])].push_back(static_cast<int>(m));
      if (to_[m] >= 0) entering_[static_cast<std::size_t>(to_[m])].push_back(static_cast<int>(m));
      if (move->From.get() != nullptr && move->From->Player.get() != nullptr) {
        mover_[m] = player[move->From->Player.get()];
      }
      // A move's own payoff for each player; the last one listed counts, as a lookup finds it.
      // In the solver's unit, so that neither huge payoffs nor the open bounds overflow.
      const bool chance = move->From.get() != nullptr && move->From->Player.get() == nullptr;
      move->PayoffList.ForEachAs<TPayoff32>([&](TPayoff32* payoff) {
        auto it = player.find(payoff->Player.get());
        if (it == player.end()) return;
        const double value = payoff->Value / unit;
        gain_[m * k + static_cast<std::size_t>(it->second)] = chance ? value * move->Value : value;
      });
    }
    pending_.assign(nodes_.size(), 0);
    order_.assign(nodes_.size(), -1);
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
      pending_[n] = static_cast<int>(leaving_[n].size());
      if (TGameObject32* set = nodes_[n]->Info.get(); set != nullptr) ++unknownMembers_[set];
    }
  }

  void Run() {
    if (moves_.empty()) return;
    // Moves that end the game are known at once; nodes follow as their moves become known.
    for (std::size_t m = 0; m < moves_.size(); ++m) {
      if (to_[m] < 0) ComputeMove(static_cast<int>(m));
    }
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
      if (pending_[n] == 0 && order_[n] < 0) ready_.push_back(static_cast<int>(n));
    }
    Settle();
    for (std::size_t m = 0; m < moves_.size(); ++m) CopyMoverBounds(static_cast<int>(m));
    std::vector<TInfo32*> sets;
    game_.Infos().ForEach([&](TGameObject32* e) { sets.push_back(As<TInfo32>(e)); });
    // Every set first; then only the sets whose choices' bounds changed, or lost a choice.
    bool everySet = true;
    for (;;) {
      std::vector<TChoice32*> eliminated;
      for (TInfo32* set : sets) {
        if (everySet || dirty_.count(set) != 0) Dominance(*set, eliminated);
      }
      everySet = false;
      dirty_.clear();
      if (eliminated.empty() || (stop_ != nullptr && stop_->load())) break;
      for (TChoice32* choice : eliminated) {
        choice->Eliminated = true;
        dirty_.insert(choice->Info.get());
        choice->ChoiceMoves.ForEach([&](TGameObject32* e) { SettleMove(As<TMove32>(e)); });
      }
      Settle();
    }
    // The flags as the last look at every set leaves them.
    std::vector<TChoice32*> none;
    for (TInfo32* set : sets) Dominance(*set, none);
  }

 private:
  int IndexOf(const TGameObject32* node) const {
    auto it = index_.find(node);
    return it != index_.end() ? it->second : -1;
  }

  // A move's bounds for every player from its payoff and its target's bounds.
  bool ComputeMove(int m) {
    const std::size_t k = players_;
    TMove32* move = moves_[static_cast<std::size_t>(m)];
    bool changed = !move->Done;
    for (std::size_t p = 0; p < k; ++p) {
      const std::size_t at = static_cast<std::size_t>(m) * k + p;
      double up = gain_[at];
      double low = gain_[at];
      if (to_[static_cast<std::size_t>(m)] >= 0) {
        const std::size_t target =
            static_cast<std::size_t>(to_[static_cast<std::size_t>(m)]) * k + p;
        up = move->Value * nodeUp_[target] + gain_[at];
        low = move->Value * nodeLow_[target] + gain_[at];
      }
      changed = changed || up != moveUp_[at] || low != moveLow_[at];
      moveUp_[at] = up;
      moveLow_[at] = low;
    }
    if (!move->Done) {
      move->Done = true;
      if (from_[static_cast<std::size_t>(m)] >= 0) Leaves(from_[static_cast<std::size_t>(m)]);
    }
    return changed;
  }

  // One more of the node's moves is known (or settled).
  void Leaves(int n) {
    if (--pending_[static_cast<std::size_t>(n)] == 0 && order_[static_cast<std::size_t>(n)] < 0) {
      ready_.push_back(n);
    }
  }

  void SettleMove(TMove32* move) {
    const bool wasDone = move->Done;
    move->SetSettled(/*value=*/true);
    const int n = IndexOf(move->From.get());
    if (n < 0) return;
    if (!wasDone) Leaves(n);
    if (order_[static_cast<std::size_t>(n)] >= 0)
      again_.push({order_[static_cast<std::size_t>(n)], n});
  }

  // A node's bounds: the best and worst of its open moves at a decision, their sums at chance.
  bool ComputeNode(int n) {
    const std::size_t k = players_;
    TNode32* node = nodes_[static_cast<std::size_t>(n)];
    const bool chance = node->Player.get() == nullptr;
    bool changed = false;
    for (std::size_t p = 0; p < k; ++p) {
      double up = chance ? 0.0 : -kOpen;
      double low = chance ? 0.0 : kOpen;
      for (int m : leaving_[static_cast<std::size_t>(n)]) {
        const std::size_t at = static_cast<std::size_t>(m) * k + p;
        if (chance) {
          up += moveUp_[at];
          low += moveLow_[at];
        } else if (!moves_[static_cast<std::size_t>(m)]->Settled) {
          up = std::max(up, moveUp_[at]);
          low = std::min(low, moveLow_[at]);
        }
      }
      const std::size_t at = static_cast<std::size_t>(n) * k + p;
      changed = changed || up != nodeUp_[at] || low != nodeLow_[at];
      nodeUp_[at] = up;
      nodeLow_[at] = low;
    }
    node->Done = true;
    return changed;
  }

  // Computes the nodes that became ready and those to compute again, targets before the
  // moves that reach them, and passes every change on to the moves that enter a node.
  void Settle() {
    for (;;) {
      int n = -1;
      if (!ready_.empty()) {
        n = ready_.back();
        ready_.pop_back();
        order_[static_cast<std::size_t>(n)] = next_++;
      } else if (!again_.empty()) {
        n = again_.top().second;
        again_.pop();
      } else {
        return;
      }
      const bool first = nodes_[static_cast<std::size_t>(n)]->Done == false;
      if (!ComputeNode(n) && !first) continue;
      if (first) DominateOnceKnown(n);
      for (int m : entering_[static_cast<std::size_t>(n)]) {
        TMove32* move = moves_[static_cast<std::size_t>(m)];
        if (move->Settled || !ComputeMove(m)) continue;
        CopyMoverBounds(m);
        const int from = from_[static_cast<std::size_t>(m)];
        if (from >= 0 && order_[static_cast<std::size_t>(from)] >= 0) {
          again_.push({order_[static_cast<std::size_t>(from)], from});
        }
      }
    }
  }

  // Once every member of the node's set is known, the set's dominated choices go before the
  // node's bounds travel on: a chain of such eliminations (backward induction) then costs one
  // pass instead of one pass per link. Later narrowing is left to the rounds in Run.
  void DominateOnceKnown(int n) {
    TNode32* node = nodes_[static_cast<std::size_t>(n)];
    auto* set = As<TInfo32>(node->Info.get());
    if (set == nullptr || --unknownMembers_[set] != 0 || set->Player.get() == nullptr) return;
    set->Members.ForEach([&](TGameObject32* member) {
      const int at = IndexOf(member);
      if (at < 0) return;
      for (int m : leaving_[static_cast<std::size_t>(at)]) CopyMoverBounds(m);
    });
    std::vector<TChoice32*> eliminated;
    Dominance(*set, eliminated);
    if (eliminated.empty()) return;
    for (TChoice32* choice : eliminated) {
      choice->Eliminated = true;
      dirty_.insert(set);
      choice->ChoiceMoves.ForEach([&](TGameObject32* e) { SettleMove(As<TMove32>(e)); });
    }
    ComputeNode(n);
  }

  // The move's bounds for the player who makes it, and its set to look at again.
  void CopyMoverBounds(int m) {
    const int mover = mover_[static_cast<std::size_t>(m)];
    if (mover < 0) return;
    TMove32* move = moves_[static_cast<std::size_t>(m)];
    const std::size_t at = static_cast<std::size_t>(m) * players_ + static_cast<std::size_t>(mover);
    move->UpperBound = moveUp_[at];
    move->LowerBound = moveLow_[at];
    if (move->Choice.get() != nullptr) dirty_.insert(move->Choice->Info.get());
  }

  // Choice bounds from their moves, and the choices of the set that every alternative beats.
  static void Dominance(TInfo32& set, std::vector<TChoice32*>& eliminated) {
    set.Choices.ForEach([](TGameObject32* e) { As<TChoice32>(e)->BoundsFromMoves(); });
    set.Done = true;
    if (set.Player.get() == nullptr) return;
    std::vector<TChoice32*> live;
    set.Choices.ForEachAs<TChoice32>([&](TChoice32* choice) {
      if (choice->Eliminated) return;
      choice->EliminationRequest = false;
      if (!choice->Done) set.Done = false;
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
      if (anyOther && allBetter) {
        c->EliminationRequest = true;
        eliminated.push_back(c);
      }
    }
  }

  TGameForm32& game_;
  const std::atomic<bool>* stop_;
  std::size_t players_ = 0;  // players who move, numbered by their first node
  std::vector<TNode32*> nodes_;
  std::vector<TMove32*> moves_;
  std::vector<int> mover_;  // per move: the number of the player who makes it, or -1
  std::unordered_map<const TGameObject32*, int> index_;
  std::vector<std::vector<int>> leaving_;
  std::vector<std::vector<int>> entering_;
  std::vector<int> from_;
  std::vector<int> to_;
  std::vector<double> gain_;
  std::vector<double> moveUp_;
  std::vector<double> moveLow_;
  std::vector<double> nodeUp_;
  std::vector<double> nodeLow_;
  std::vector<int> pending_;  // leaving moves neither known nor settled
  std::vector<int> order_;    // when the node became known: targets come first
  int next_ = 0;
  std::vector<int> ready_;
  std::priority_queue<std::pair<int, int>, std::vector<std::pair<int, int>>, std::greater<>> again_;
  std::unordered_set<const TInfo32*> dirty_;
  std::unordered_map<const TGameObject32*, int> unknownMembers_;  // per set: members not yet known
};

}  // namespace

void ComputeBounds(TGameForm32& game, const std::atomic<bool>* stop) {
  for (TGameList* list : {&game.Moves(), &game.Nodes(), &game.Strategies(), &game.Infos()}) {
    list->ForEach([](TGameObject32* e) {
      e->Done = false;
      e->Settled = false;
    });
  }
  BoundsRun(game, stop).Run();
  game.BoundBits().FreeByType(kEveryType);
}

}  // namespace ludomark
