// The choice, degree, payoff and chance checks, and the rebuilding of choices.
#include <cmath>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "audit/audit.h"
#include "audit/leaving_moves.h"
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
  game.Moves().ForEachAs<TMove32>([](TMove32* move) {
    if (move->Choice.get() != nullptr && move->Choice->TypeCode == kChoice) move->Choice = nullptr;
  });
  game.Strategies().FreeByType(kChoice);
  game.Moves().ForEach([](TGameObject32* e) { As<TMove32>(e)->AttachChoice(); });
}

void RebuildPayoffLists(TGameForm32& game) {
  // One walk of the payoffs fills every list, in Payoffs order, as each move's own walk would.
  game.Moves().ForEach([](TGameObject32* m) { As<TMove32>(m)->PayoffList.Clear(); });
  game.Payoffs().ForEach([](TGameObject32* e) {
    TGameObject32* target = As<TPayoff32>(e)->Move.get();
    if (target != nullptr && (target->TypeCode == kMove || target->TypeCode == kCell)) {
      As<TMove32>(target)->PayoffList.Add(e);
    }
  });
}

bool CheckChoices(TGameForm32& game) {
  bool ok = true;
  const LeavingMoves leaving = GatherLeavingMoves(game);
  // The names of each member's moves, gathered once: a side of a large table has as many
  // strategies as each of its members has moves.
  std::unordered_map<const TGameObject32*, std::unordered_set<std::string_view>> names;
  const auto namesAt = [&](TGameObject32* member) -> const std::unordered_set<std::string_view>& {
    auto [it, fresh] = names.try_emplace(member);
    if (fresh) {
      auto moves = leaving.find(As<TNode32>(member));
      if (moves != leaving.end()) {
        for (TMove32* move : moves->second) it->second.insert(move->Name);
      }
    }
    return it->second;
  };
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* choice) {
    if (choice->Info.get() == nullptr) return;
    bool everywhere = true;
    choice->Info->Members.ForEach([&](TGameObject32* member) {
      if (!namesAt(member).contains(choice->Name)) everywhere = false;
    });
    if (everywhere) return;
    ok = false;
    game.ReportFinding("Move mismatch at " + choice->Describe(kShortText));
  });
  return ok;
}

// The most moves a node may have for the methods that enumerate profiles or supports.
constexpr int kMaxMoves = 12;

bool CheckDegrees(TGameForm32& game, bool limit) {
  bool ok = true;
  const LeavingMoves leaving = GatherLeavingMoves(game);
  auto degree = [&](const TNode32* node) {
    auto it = leaving.find(node);
    return it != leaving.end() ? static_cast<int>(it->second.size()) : 0;
  };
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    const int count = degree(node);
    if (count > kMaxMoves && limit) {
      ok = false;
      game.ReportFinding("Too many moves at " + node->Describe(kShortText));
    } else if (count > kMaxMoves) {
      game.ReportFinding("Too many moves for Pure, Mixed and Sampling at " +
                         node->Describe(kShortText));
    }
    // A set's degree is its first member's (0 without members).
    if (node->Info.get() != nullptr && count != degree(node->Info->FirstMember())) {
      ok = false;
      game.ReportFinding("Wrong degree at " + node->Describe(kShortText));
    }
  });
  return ok;
}

bool CheckPayoffs(TGameForm32& game) {
  bool ok = true;
  // Players by number, and for each the last move found paying them, so that a move's check
  // costs its own payoffs rather than its payoffs times the players.
  std::unordered_map<const TGameObject32*, std::size_t> player;
  game.Players().ForEach([&](TGameObject32* p) { player.emplace(p, player.size()); });
  std::vector<const TMove32*> paidBy(player.size(), nullptr);
  game.Moves().ForEachAs<TMove32>([&](TMove32* move) {
    if (move->To.get() != nullptr) return;
    std::size_t paid = 0;
    move->PayoffList.ForEach([&](TGameObject32* p) {
      auto it = player.find(As<TPayoff32>(p)->Player.get());
      if (it == player.end() || paidBy[it->second] == move) return;
      paidBy[it->second] = move;
      ++paid;
    });
    if (paid == player.size()) return;
    ok = false;
    game.ReportFinding("Payoff missing at " + move->Describe(kShortText));
  });
  game.Payoffs().ForEachAs<TPayoff32>([&](TPayoff32* payoff) {
    if (payoff->Move.get() != nullptr) return;
    ok = false;
    game.ReportFinding("Payoff " + FormatGeneral(payoff->Value, 15) + " is unattached.");
  });
  return ok;
}

bool CheckChance(TGameForm32& game) {
  bool ok = true;
  LeavingMoves leaving = GatherLeavingMoves(game);
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (node->ChanceSumValid(leaving[node])) return;
    ok = false;
    game.ReportFinding("Wrong chance probabilities at " + node->Describe(kShortText));
  });
  return ok;
}

bool CheckForm(TGameForm32& game) {
  bool ok = true;
  auto flaw = [&](const std::string& text) {
    ok = false;
    game.ReportFinding(text);
  };
  LeavingMoves leaving = GatherLeavingMoves(game);
  game.Moves().ForEachAs<TMove32>([&](TMove32* move) {
    if (move->From.get() == nullptr && move->TypeCode == kMove) {
      flaw("No origin at " + move->Describe(kShortText));
    }
  });
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    const std::vector<TMove32*>& moves = leaving[node];
    // A temporary node without moves comes of a flaw of its table, reported there.
    if (moves.empty() && node->Player.get() != nullptr && !node->Temporary) {
      flaw("No move at " + node->Describe(kShortText));
    }
    std::unordered_set<std::string> names;
    for (TMove32* move : moves) {
      if (!names.insert(move->Name).second) flaw("Duplicate move at " + move->Describe(kShortText));
    }
    if (node->TypeCode == kTable && As<TTable32>(node)->SideCount() < 2) {
      flaw("Too few sides at " + node->Describe(kShortText));
    }
  });
  game.Infos().ForEachAs<TInfo32>([&](TInfo32* set) {
    if (set->TypeCode == kSide && set->Choices.Empty()) {
      flaw("No strategies at " + set->Describe(kShortText));
    }
    bool mixed = false;
    set->Members.ForEach([&](TGameObject32* m) {
      if (As<TNode32>(m)->Player.get() != set->Player.get()) mixed = true;
    });
    if (mixed) flaw("Mixed owners at " + set->Describe(kShortText));
  });
  return ok;
}

}  // namespace ludomark
