// Checks of where play goes: that it can end from every node, that discounts are factors a
// game can use, and which nodes play from the start never reaches.
#include <cmath>
#include <deque>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "audit/audit.h"
#include "audit/leaving_moves.h"
#include "model/move.h"
#include "model/node.h"
#include "model/player.h"

namespace ludomark {

namespace {

// Every node from which some node of `from` can be reached along moves, `from` included.
std::unordered_set<const TNode32*> ReachingAny(const std::vector<const TNode32*>& from,
                                               TGameForm32& game) {
  std::unordered_map<const TNode32*, std::vector<const TNode32*>> entering;
  game.Moves().ForEachAs<TMove32>([&](TMove32* move) {
    if (move->From.get() != nullptr && move->To.get() != nullptr) {
      entering[move->To.get()].push_back(move->From.get());
    }
  });
  std::unordered_set<const TNode32*> reached(from.begin(), from.end());
  std::deque<const TNode32*> open(from.begin(), from.end());
  while (!open.empty()) {
    const TNode32* node = open.front();
    open.pop_front();
    for (const TNode32* before : entering[node]) {
      if (reached.insert(before).second) open.push_back(before);
    }
  }
  return reached;
}

}  // namespace

bool CheckDiscounts(TGameForm32& game) {
  bool ok = true;
  game.Moves().ForEachAs<TMove32>([&](TMove32* move) {
    const TNode32* from = move->From.get();
    // A chance move's value is its probability, checked with the node's others.
    if (move->Temporary || from == nullptr || from->Player.get() == nullptr) return;
    if (move->Value > 0 && move->Value <= 1) return;
    ok = false;
    game.ReportFinding("Wrong discount at " + move->Describe(kShortText));
  });
  return ok;
}

bool CheckPlayEnds(TGameForm32& game) {
  // Play can end at a node that reaches a final move, a node without moves, a discounted
  // move or a chance node whose probabilities leave some weight unplaced. From any other
  // node every profile keeps the whole weight of play going round forever, and no value
  // exists.
  const LeavingMoves leaving = GatherLeavingMoves(game);
  std::vector<const TNode32*> ends;
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    const auto it = leaving.find(node);
    if (it == leaving.end()) {
      ends.push_back(node);
      return;
    }
    double sum = 0;
    bool leaks = false;
    for (const TMove32* move : it->second) {
      sum += std::fabs(move->Value);
      if (move->To.get() == nullptr) leaks = true;
      if (node->Player.get() != nullptr && move->Value != 1) leaks = true;
    }
    if (node->Player.get() == nullptr && sum < 1) leaks = true;
    if (leaks) ends.push_back(node);
  });
  const std::unordered_set<const TNode32*> ending = ReachingAny(ends, game);
  bool ok = true;
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (node->Temporary || ending.contains(node)) return;
    ok = false;
    game.ReportFinding("Endless play at " + node->Describe(kShortText));
  });
  return ok;
}

std::unordered_set<const TNode32*> ReachedFromTheRoot(TGameForm32& game) {
  const TNode32* root = game.Root();
  if (root == nullptr) return {};
  const LeavingMoves leaving = GatherLeavingMoves(game);
  std::unordered_set<const TNode32*> reached{root};
  std::deque<const TNode32*> open{root};
  while (!open.empty()) {
    const auto it = leaving.find(open.front());
    open.pop_front();
    if (it == leaving.end()) continue;
    for (const TMove32* move : it->second) {
      const TNode32* to = move->To.get();
      if (to != nullptr && reached.insert(to).second) open.push_back(to);
    }
  }
  return reached;
}

void NoteUnreached(TGameForm32& game) {
  if (game.Root() == nullptr) return;
  const std::unordered_set<const TNode32*> reached = ReachedFromTheRoot(game);
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (!node->Temporary && !reached.contains(node)) {
      game.ReportFinding("Not reached from the start at " + node->Describe(kShortText));
    }
  });
}

}  // namespace ludomark
