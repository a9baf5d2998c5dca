// The choice, degree, payoff and chance checks, and the rebuilding of choices.
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "audit/audit.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/number_format.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/table.h"

namespace ludomark {

void RebuildChoices(TGameForm32& game) {
  game.Moves().ForEach([](TGameObject32* e) {
    auto* move = static_cast<TMove32*>(e);
    if (move->Choice.get() != nullptr && move->Choice->TypeCode == kChoice) move->Choice = nullptr;
  });
  game.Strategies().FreeByType(kChoice);
  game.Moves().ForEach([](TGameObject32* e) { static_cast<TMove32*>(e)->AttachChoice(); });
}

bool CheckChoices(TGameForm32& game) {
  bool ok = true;
  game.Strategies().ForEach([&](TGameObject32* e) {
    auto* choice = static_cast<TChoice32*>(e);
    if (choice->Info.get() == nullptr) return;
    bool everywhere = true;
    choice->Info->Members.ForEach([&](TGameObject32* member) {
      bool found = false;
      game.Moves().ForEach([&](TGameObject32* m) {
        auto* move = static_cast<TMove32*>(m);
        if (move->From.get() == member && move->Name == choice->Name) found = true;
      });
      if (!found) everywhere = false;
    });
    if (everywhere) return;
    ok = false;
    game.ReportFinding("Move mismatch at " + choice->Describe(7));
  });
  return ok;
}

bool CheckDegrees(TGameForm32& game) {
  bool ok = true;
  game.Nodes().ForEach([&](TGameObject32* e) {
    auto* node = static_cast<TNode32*>(e);
    const int count = node->OutDegree();
    if (count > 12) {
      ok = false;
      game.ReportFinding("Too many moves at " + node->Describe(7));
    }
    if (node->Info.get() != nullptr && count != node->Info->MoveCount()) {
      ok = false;
      game.ReportFinding("Wrong degree at " + node->Describe(7));
    }
  });
  return ok;
}

bool CheckPayoffs(TGameForm32& game) {
  bool ok = true;
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* move = static_cast<TMove32*>(e);
    if (move->To.get() != nullptr || !move->LacksPayoff()) return;
    ok = false;
    game.ReportFinding("Payoff missing at " + move->Describe(7));
  });
  game.Payoffs().ForEach([&](TGameObject32* e) {
    auto* payoff = static_cast<TPayoff32*>(e);
    if (payoff->Move.get() != nullptr) return;
    ok = false;
    game.ReportFinding("Payoff " + FormatGeneral(payoff->Value, 15) + " is unattached.");
  });
  return ok;
}

bool CheckChance(TGameForm32& game) {
  bool ok = true;
  game.Nodes().ForEach([&](TGameObject32* e) {
    auto* node = static_cast<TNode32*>(e);
    if (node->ChanceSumValid()) return;
    ok = false;
    game.ReportFinding("Wrong chance probabilities at " + node->Describe(7));
  });
  return ok;
}

bool CheckForm(TGameForm32& game) {
  bool ok = true;
  auto flaw = [&](const std::string& text) {
    ok = false;
    game.ReportFinding(text);
  };
  std::unordered_map<const TNode32*, std::vector<TMove32*>> leaving;
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* move = static_cast<TMove32*>(e);
    if (move->From.get() != nullptr) {
      leaving[move->From.get()].push_back(move);
    } else if (move->TypeCode == kMove) {
      flaw("No origin at " + move->Describe(7));
    }
  });
  game.Nodes().ForEach([&](TGameObject32* e) {
    auto* node = static_cast<TNode32*>(e);
    const std::vector<TMove32*>& moves = leaving[node];
    // A temporary node without moves comes of a flaw of its table, reported there.
    if (moves.empty() && node->Player.get() != nullptr && !node->Temporary) {
      flaw("No move at " + node->Describe(7));
    }
    for (std::size_t i = 0; i < moves.size(); ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        if (moves[j]->Name == moves[i]->Name) {
          flaw("Duplicate move at " + moves[i]->Describe(7));
          break;
        }
      }
    }
    if (node->TypeCode == kTable && static_cast<TTable32*>(node)->SideCount() < 2) {
      flaw("Too few sides at " + node->Describe(7));
    }
  });
  game.Infos().ForEach([&](TGameObject32* e) {
    auto* set = static_cast<TInfo32*>(e);
    if (set->TypeCode == kSide && set->Choices.Empty()) {
      flaw("No strategies at " + set->Describe(7));
    }
    bool mixed = false;
    set->Members.ForEach([&](TGameObject32* m) {
      if (static_cast<TNode32*>(m)->Player.get() != set->Player.get()) mixed = true;
    });
    if (mixed) flaw("Mixed owners at " + set->Describe(7));
  });
  return ok;
}

}  // namespace ludomark
