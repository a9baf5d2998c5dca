// Information sets: membership, artificial predecessors, single-member sets, successors.
#include <unordered_map>
#include <vector>

#include "audit/audit.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/player.h"

namespace ludomark {

namespace {

// Whether every path from `start` enters the set (stopping at its members) without a dead end
// or a cycle, or reaches it through chance alone. Paths are tried one by one; the budget bounds
// the work on graphs with very many paths, after which the test counts as failed.
bool LeadsInto(TNode32* start, TInfo32* set,
               const std::unordered_map<const TNode32*, std::vector<TMove32*>>& leaving) {
  struct Frame {
    TNode32* node;
    bool chanceSoFar;
    std::size_t edge;
  };
  std::vector<TNode32*> path;
  std::vector<Frame> stack;
  auto onPath = [&](TNode32* n) {
    for (TNode32* p : path) {
      if (p == n) return true;
    }
    return false;
  };
  long long budget = 2000000;
  stack.push_back({start, start->Player.get() == nullptr, 0});
  path.push_back(start);
  bool failed = false;
  static const std::vector<TMove32*> kNone;
  while (!stack.empty()) {
    Frame& top = stack.back();
    auto it = leaving.find(top.node);
    const std::vector<TMove32*>& moves = it != leaving.end() ? it->second : kNone;
    if (top.edge == moves.size()) {
      stack.pop_back();
      path.pop_back();
      continue;
    }
    if (--budget < 0) return false;
    TMove32* m = moves[top.edge++];
    TNode32* to = m->To.get();
    if (to == nullptr) {
      failed = true;
      continue;
    }
    if (to->Info.get() == set) {
      if (top.chanceSoFar) return true;
      continue;
    }
    if (onPath(to)) {
      failed = true;
      continue;
    }
    const bool chance = top.chanceSoFar && to->Player.get() == nullptr;
    stack.push_back({to, chance, 0});
    path.push_back(to);
  }
  return !failed;
}

}  // namespace

bool CheckInformationSets(TGameForm32& game) {
  bool ok = true;
  game.Infos().ForEach([&](TGameObject32* e) {
    if (!e->Relink()) {
      ok = false;
      game.ReportFinding("Unreachable node at " + e->Describe(7));
    }
  });
  game.PurgeInfos(true);

  std::unordered_map<const TNode32*, std::vector<TMove32*>> leaving;
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* m = static_cast<TMove32*>(e);
    if (m->From.get() != nullptr) leaving[m->From.get()].push_back(m);
  });
  game.Infos().ForEach([&](TGameObject32* e) {
    if (e->TypeCode != kInfo) return;
    auto* set = static_cast<TInfo32*>(e);
    if (set->Members.LiveCount() < 2) return;
    bool passes = false;
    game.Nodes().ForEach([&](TGameObject32* n) {
      if (!passes && LeadsInto(static_cast<TNode32*>(n), set, leaving)) passes = true;
    });
    if (passes) return;
    TNode32* art = set->ArtificialNode();
    // Its moves lead only into the set; later tests may start from it.
    game.Moves().ForEach([&](TGameObject32* m) {
      auto* move = static_cast<TMove32*>(m);
      if (move->From.get() == art) leaving[art].push_back(move);
    });
  });

  game.Nodes().ForEach([&](TGameObject32* e) {
    auto* node = static_cast<TNode32*>(e);
    if (node->TypeCode != kNode || node->Info.get() != nullptr) return;
    node->EnsureInfo();
    node->Info->Temporary = node->Temporary;
    node->Info->Derived = true;
  });

  game.Infos().ForEach([&](TGameObject32* e) {
    auto* set = static_cast<TInfo32*>(e);
    if (!set->Temporary) return;
    TMove32* last = nullptr;
    game.Moves().ForEach([&](TGameObject32* m) {
      auto* move = static_cast<TMove32*>(m);
      if (move->From.get() != nullptr && set->Members.Contains(move->From.get())) last = move;
    });
    if (last != nullptr && last->To.get() != nullptr) set->SuccessorSet = last->To->Info.get();
  });
  return ok;
}

}  // namespace ludomark
