#pragma once

// The builder of a sequence form, for any kind of number: Num is built from a model number by
// a function given the element that holds it (a move's probability or discount, a payoff).
#include <cstdint>
#include <unordered_map>

#include "audit/leaving_moves.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "solver/sequence_form.h"

namespace ludomark {

namespace sequence_form_detail {

constexpr long long kPathBudget = 20000000;  // moves walked over all paths from the root
constexpr int kUnknownParent = -2;

template <typename Num, typename NumberOf>
class FormBuilder {
 public:
  FormBuilder(TGameForm32& game, TSequenceFormOf<Num>& form, NumberOf numberOf, Num unit)
      : game_(game), form_(form), numberOf_(numberOf), unit_(unit) {}

  std::string Build() {
    TNode32* root = game_.Root();
    if (root == nullptr) return "the game has no start";
    if (std::string why = NumberSequences(); !why.empty()) return why;
    leaving_ = GatherLeavingMoves(game_);
    onPath_.assign(static_cast<std::size_t>(game_.Nodes().LiveCount()) + 1, 0);
    if (std::string why = Walk(root); !why.empty()) return why;
    // A set play from the start never meets has no payoffs; any parent keeps its plan valid.
    for (TSequenceSide& side : form_.Sides) {
      for (std::size_t row = 1; row < side.SetParent.size(); ++row) {
        if (side.SetParent[row] == kUnknownParent) SetParentOf(side, static_cast<int>(row), 0);
      }
    }
    return "";
  }

 private:
  // The players who have sets, in Infos order, and one sequence per choice of theirs.
  std::string NumberSequences() {
    std::vector<TPlayer32*> players;
    std::string why;
    game_.Infos().ForEachAs<TInfo32>([&](TInfo32* set) {
      // The audit's artificial sets (a node that leads to a set's members, for the weights
      // of the starts) are no part of play from the start.
      if (!HasPlayer(set) || set->Temporary) return;
      int at = 0;
      while (at < static_cast<int>(players.size()) &&
             players[static_cast<std::size_t>(at)] != set->Player.get()) {
        ++at;
      }
      if (at == static_cast<int>(players.size())) players.push_back(set->Player.get());
      if (at > 1) return;
      TSequenceSide& side = form_.Sides[static_cast<std::size_t>(at)];
      rowOf_[set] = static_cast<int>(side.SetParent.size());
      side.Sets.push_back(set);
      side.SetParent.push_back(kUnknownParent);
      side.SetChildren.emplace_back();
      set->Choices.ForEachAs<TChoice32>([&](TChoice32* choice) {
        sequenceOf_[choice] = side.Sequences();
        side.SetChildren.back().push_back(side.Sequences());
        side.Parent.push_back(kUnknownParent);
        side.Choices.push_back(choice);
      });
    });
    if (players.size() > 2) {
      return "it takes games of two players, and this one has " + std::to_string(players.size());
    }
    for (std::size_t p = 0; p < players.size(); ++p) {
      form_.Sides[p].Player = players[p];
      playerIndex_[players[p]] = static_cast<int>(p);
    }
    return why;
  }

  static void SetParentOf(TSequenceSide& side, int row, int parent) {
    side.SetParent[static_cast<std::size_t>(row)] = parent;
    for (int child : side.SetChildren[static_cast<std::size_t>(row)]) {
      side.Parent[static_cast<std::size_t>(child)] = parent;
    }
  }

  void Add(const std::array<int, 2>& s, const Num& a, const Num& b, const Num& mass) {
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(s[0])) << 32) |
                              static_cast<std::uint32_t>(s[1]);
    auto [it, fresh] = entryOf_.emplace(key, form_.Entries.size());
    if (fresh) form_.Entries.push_back({s[0], s[1], Num(0), Num(0), Num(0)});
    typename TSequenceFormOf<Num>::Entry& e = form_.Entries[it->second];
    e.A += a;
    e.B += b;
    e.Mass += mass;
  }

  // Every path from the start, with the sequences that lead along it.
  std::string Walk(TNode32* root) {
    struct Frame {
      TNode32* node;
      std::array<int, 2> s;
      Num weight;  // discounts and chance probabilities so far
      Num mass;    // chance probabilities so far
      std::size_t next;
    };
    std::vector<Frame> stack;
    long long budget = kPathBudget;
    auto enter = [&](TNode32* node, std::array<int, 2> s, const Num& weight,
                     const Num& mass) -> std::string {
      if (onPath_[static_cast<std::size_t>(node->Number)]) return "the game has a cycle";
      if (--budget < 0) return "the game has too many paths";
      onPath_[static_cast<std::size_t>(node->Number)] = 1;
      if (node->Player.get() != nullptr) {
        if (std::string why = Recall(node, s); !why.empty()) return why;
      } else {
        // Chance that ends play nowhere: the rest of its probability.
        Num sum(0);
        for (TMove32* m : leaving_[node]) sum += numberOf_(m, m->Value);
        if (sum < Num(1)) Add(s, Num(0), Num(0), mass * (Num(1) - sum));
      }
      stack.push_back({node, s, weight, mass, 0});
      return "";
    };
    if (std::string why = enter(root, {0, 0}, Num(1), Num(1)); !why.empty()) return why;
    while (!stack.empty()) {
      Frame& top = stack.back();
      const std::vector<TMove32*>& moves = leaving_[top.node];
      if (top.next == moves.size()) {
        onPath_[static_cast<std::size_t>(top.node->Number)] = 0;
        stack.pop_back();
        continue;
      }
      TMove32* move = moves[top.next++];
      std::array<int, 2> s = top.s;
      const bool chance = top.node->Player.get() == nullptr;
      if (!chance) {
        auto player = playerIndex_.find(top.node->Player.get());
        auto sequence = sequenceOf_.find(move->Choice.get());
        if (player == playerIndex_.end() || sequence == sequenceOf_.end()) continue;
        s[static_cast<std::size_t>(player->second)] = sequence->second;
      }
      const Num value = numberOf_(move, move->Value);
      const Num probability = chance ? value : Num(1);
      const Num along = top.weight * probability;
      move->PayoffList.ForEachAs<TPayoff32>([&](TPayoff32* payoff) {
        auto player = playerIndex_.find(payoff->Player.get());
        if (player == playerIndex_.end()) return;
        const Num paid = numberOf_(payoff, payoff->Value) / unit_ * along;
        Add(s, player->second == 0 ? paid : Num(0), player->second == 1 ? paid : Num(0), Num(0));
      });
      if (move->To.get() == nullptr) {
        Add(s, Num(0), Num(0), top.mass * probability);
        continue;
      }
      const Num weight = top.weight * value;
      const Num mass = top.mass * probability;
      if (std::string why = enter(move->To.get(), s, weight, mass); !why.empty()) return why;
    }
    return "";
  }

  // A player who remembers what he did reaches each of his sets by one sequence of his own.
  std::string Recall(TNode32* node, const std::array<int, 2>& s) {
    auto player = playerIndex_.find(node->Player.get());
    auto row = rowOf_.find(node->Info.get());
    if (player == playerIndex_.end() || row == rowOf_.end()) return "";
    TSequenceSide& side = form_.Sides[static_cast<std::size_t>(player->second)];
    const int own = s[static_cast<std::size_t>(player->second)];
    const int known = side.SetParent[static_cast<std::size_t>(row->second)];
    if (known == kUnknownParent) {
      SetParentOf(side, row->second, own);
    } else if (known != own) {
      return node->Player->Name + " forgets what he did before " + node->Info->Name +
             " (imperfect recall)";
    }
    return "";
  }

  TGameForm32& game_;
  TSequenceFormOf<Num>& form_;
  NumberOf numberOf_;
  Num unit_;
  LeavingMoves leaving_;
  std::vector<char> onPath_;
  std::unordered_map<const TGameObject32*, int> playerIndex_;
  std::unordered_map<const TGameObject32*, int> sequenceOf_;
  std::unordered_map<const TGameObject32*, int> rowOf_;
  std::unordered_map<std::uint64_t, std::size_t> entryOf_;
};

}  // namespace sequence_form_detail

template <typename Num, typename NumberOf>
std::string BuildSequenceFormOf(TGameForm32& game, TSequenceFormOf<Num>& form, NumberOf numberOf,
                                Num unit) {
  form = TSequenceFormOf<Num>{};
  for (TSequenceSide& side : form.Sides) {
    side.Parent = {-1};
    side.SetParent = {-1};
    side.SetChildren = {{0}};
  }
  return sequence_form_detail::FormBuilder<Num, NumberOf>(game, form, numberOf, unit).Build();
}

}  // namespace ludomark
