#include "support/derive.h"

#include <deque>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/table.h"

namespace ludomark::testing {

TNode32* DeriveForSolver(TGameType32& game) {
  game.Nodes().ForEach([](TGameObject32* n) {
    if (n->TypeCode == kTable) static_cast<TTable32*>(n)->Expand();
  });
  game.Nodes().ForEach([](TGameObject32* n) {
    if (n->TypeCode == kNode) static_cast<TNode32*>(n)->EnsureInfo();
  });
  game.Infos().ForEach([](TGameObject32* i) { i->Relink(); });

  TNode32* root = nullptr;
  game.Nodes().ForEach([&](TGameObject32* n) {
    if (root == nullptr && !static_cast<TNode32*>(n)->HasIncomingMove()) {
      root = static_cast<TNode32*>(n);
    }
  });
  // Breadth-first levels from the root.
  game.Nodes().ForEach([](TGameObject32* n) { n->Level = -1; });
  std::deque<TNode32*> queue;
  if (root != nullptr) {
    root->Level = 0;
    queue.push_back(root);
  }
  while (!queue.empty()) {
    TNode32* node = queue.front();
    queue.pop_front();
    game.Moves().ForEach([&](TGameObject32* m) {
      auto* move = static_cast<TMove32*>(m);
      if (move->From.get() != node || move->To.get() == nullptr || move->To->Level >= 0) return;
      move->To->Level = node->Level + 1;
      queue.push_back(move->To.get());
    });
  }
  game.Nodes().ForEach([](TGameObject32* n) {
    if (n->Level < 0) n->Level = 0;
  });

  game.Moves().ForEach([](TGameObject32* m) { static_cast<TMove32*>(m)->AttachChoice(); });
  game.Renumber();
  game.Moves().ForEach([](TGameObject32* m) { static_cast<TMove32*>(m)->RebuildPayoffList(); });
  game.SetRoot(root);
  return root;
}

void SetChoiceProbability(TGameType32& game, const std::string& choiceName, double p) {
  game.Strategies().ForEach([&](TGameObject32* e) {
    auto* choice = static_cast<TChoice32*>(e);
    if (choice->Name != choiceName || choice->Info.get() == nullptr) return;
    const int others = choice->Info->Choices.LiveCount() - 1;
    choice->Info->Choices.ForEach([&](TGameObject32* c) {
      static_cast<TChoice32*>(c)->SetProbability(c == choice ? p
                                                             : (others > 0 ? (1 - p) / others : 0));
    });
  });
}

}  // namespace ludomark::testing
