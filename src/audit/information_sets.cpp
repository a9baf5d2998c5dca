// Information sets: membership, artificial predecessors, single-member sets, successors.
#include <unordered_map>
#include <vector>

#include "audit/audit.h"
#include "audit/leaving_moves.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/player.h"

namespace ludomark {

namespace {

// Whether some node of the game leads into the set: every path from it ends by entering the
// set, without a move that ends the game and without a cycle; or it is a chance node with a
// move into the set (chance alone then carries play into the set).
//
// A node passes exactly when nothing it can reach fails, so the nodes that pass are closed
// under following moves. Among them, one that moves into the set moves straight into it; and
// if none does, their paths never meet the set, which leaves only paths ending at nodes
// without moves. So it is enough to look at a node without moves anywhere, and otherwise at
// the nodes that move straight into the set, each looked at once.
class SetEntry {
 public:
  SetEntry(TGameForm32& game, const LeavingMoves& leaving) : leaving_(leaving) {
    game.Nodes().ForEach([&](TGameObject32* e) {
      if (leaving.find(As<TNode32>(e)) == leaving.end()) anyWithoutMoves_ = true;
    });
  }

  bool SomeNodeLeadsInto(TInfo32* set, const std::vector<TNode32*>& enteringFrom) {
    if (anyWithoutMoves_) return true;
    state_.clear();
    for (TNode32* from : enteringFrom) {
      if (from->Player.get() == nullptr || AllPathsEnter(from, set)) return true;
    }
    return false;
  }

 private:
  enum State : char { kOnPath = 1, kPasses = 2, kFails = 3 };

  // Depth-first along the moves, stopping at the set's members; a move that ends the game or
  // meets the current path fails.
  bool AllPathsEnter(TNode32* start, TInfo32* set) {
    struct Frame {
      TNode32* node;
      std::size_t edge;
    };
    static const std::vector<TMove32*> kNone;
    auto movesOf = [&](TNode32* n) -> const std::vector<TMove32*>& {
      auto it = leaving_.find(n);
      return it != leaving_.end() ? it->second : kNone;
    };
    std::vector<Frame> stack{{start, 0}};
    state_[start] = kOnPath;
    bool failed = false;
    while (!stack.empty()) {
      Frame& top = stack.back();
      const std::vector<TMove32*>& moves = movesOf(top.node);
      if (failed || top.edge == moves.size()) {
        state_[top.node] = failed ? kFails : kPasses;
        stack.pop_back();
        continue;
      }
      TNode32* to = moves[top.edge++]->To.get();
      if (to == nullptr) {
        failed = true;
        continue;
      }
      if (to->Info.get() == set) continue;
      auto it = state_.find(to);
      if (it == state_.end()) {
        state_[to] = kOnPath;
        stack.push_back({to, 0});
      } else if (it->second != kPasses) {
        failed = true;  // on the path (a cycle) or known to fail
      }
    }
    return !failed;
  }

  const LeavingMoves& leaving_;
  bool anyWithoutMoves_ = false;
  std::unordered_map<const TNode32*, State> state_;
};

}  // namespace

bool CheckInformationSets(TGameForm32& game) {
  bool ok = true;
  for (TInfo32* set : game.RelinkEveryInfo()) {
    ok = false;
    game.ReportFinding("Unreachable node at " + set->Describe(kShortText));
  }
  game.PurgeInfos(/*keepSingle=*/true);

  // The artificial nodes made below move only into their own set, never into another.
  const LeavingMoves leaving = GatherLeavingMoves(game);
  std::unordered_map<const TInfo32*, std::vector<TNode32*>> enteringFrom;
  game.Moves().ForEachAs<TMove32>([&](TMove32* m) {
    if (m->From.get() != nullptr && m->To.get() != nullptr && m->To->Info.get() != nullptr) {
      enteringFrom[m->To->Info.get()].push_back(m->From.get());
    }
  });
  SetEntry entry(game, leaving);
  game.Infos().ForEach([&](TGameObject32* e) {
    if (e->TypeCode != kInfo) return;
    auto* set = As<TInfo32>(e);
    if (set->Members.LiveCount() < 2) return;
    if (!entry.SomeNodeLeadsInto(set, enteringFrom[set])) set->ArtificialNode();
  });

  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (node->TypeCode != kNode || node->Info.get() != nullptr) return;
    node->EnsureInfo();
    node->Info->Temporary = node->Temporary;
    node->Info->Derived = true;
  });

  // A temporary set's successor: where the last move (in Moves order) leaving a member goes.
  std::unordered_map<const TNode32*, std::pair<int, TMove32*>> lastLeaving;
  int position = 0;
  game.Moves().ForEachAs<TMove32>([&](TMove32* move) {
    if (move->From.get() != nullptr) lastLeaving[move->From.get()] = {position, move};
    ++position;
  });
  game.Infos().ForEachAs<TInfo32>([&](TInfo32* set) {
    if (!set->Temporary) return;
    std::pair<int, TMove32*> last{-1, nullptr};
    set->Members.ForEach([&](TGameObject32* member) {
      auto it = lastLeaving.find(As<TNode32>(member));
      if (it != lastLeaving.end() && it->second.first > last.first) last = it->second;
    });
    if (last.second != nullptr && last.second->To.get() != nullptr) {
      set->SuccessorSet = last.second->To->Info.get();
    }
  });
  return ok;
}

}  // namespace ludomark
