#include "game_generators.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/random.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"
#include "model/table_edit.h"

namespace ludomark::bench {

void BuildGeneratedGame(TGameType32& game, int nodes, bool cycles) {
  TUniformRandom random(3);
  std::vector<TPlayer32*> players;
  for (const char* name : {"Ann", "Bob"}) {
    auto* p = NewElement<TPlayer32>(&game);
    p->SetName(name);
    game.AddObject(p);
    players.push_back(p);
  }
  auto addNode = [&](int index, int level) {
    auto* n = NewElement<TNode32>(&game);
    std::string name = "N";
    name += std::to_string(index);
    n->SetName(name);
    // Every third level is chance.
    if (level % 3 != 2) n->SetPlayer(players[static_cast<std::size_t>(level % 3)]);
    n->Level = level;
    game.AddObject(n);
    return n;
  };
  std::vector<TNode32*> all{addNode(0, 0)};
  for (std::size_t parent = 0; all.size() < static_cast<std::size_t>(nodes); ++parent) {
    TNode32* from = all[parent];
    for (int k = 0; k < 2 && all.size() < static_cast<std::size_t>(nodes); ++k) {
      TNode32* to = addNode(static_cast<int>(all.size()), from->Level + 1);
      auto* m = NewElement<TMove32>(&game);
      m->SetName(k == 0 ? "left" : "right");
      m->From = from;
      m->To = to;
      m->Value = from->Player.get() == nullptr ? 0.5 : 1.0;
      game.AddObject(m);
      all.push_back(to);
    }
  }
  // Leaves: two final moves (or one final and one back to an earlier node) with payoffs.
  for (TNode32* n : all) {
    if (n->OutDegree() > 0) continue;
    for (int k = 0; k < 2; ++k) {
      auto* m = NewElement<TMove32>(&game);
      m->SetName(k == 0 ? "left" : "right");
      m->From = n;
      const bool chance = n->Player.get() == nullptr;
      m->Value = chance ? 0.5 : 1.0;
      if (cycles && k == 1) {
        const std::size_t earlier = all.size() / 2;  // back into the first half of the tree
        m->To = all[static_cast<std::size_t>(random.Next() * static_cast<double>(earlier))];
        m->Value = chance ? 0.5 : 0.9;
      }
      game.AddObject(m);
      if (m->To.get() != nullptr) continue;
      for (TPlayer32* p : players) {
        auto* pay = NewElement<TPayoff32>(&game);
        pay->Move = m;
        pay->Player = p;
        pay->Value = random.Next() * 10;
        game.AddObject(pay);
      }
    }
  }
  game.Nodes().ForEach([](TGameObject32* n) { static_cast<TNode32*>(n)->EnsureInfo(); });
  game.Infos().ForEach([](TGameObject32* i) { i->Relink(); });
  game.Moves().ForEach([](TGameObject32* m) { static_cast<TMove32*>(m)->AttachChoice(); });
  game.Renumber();
  // Mixed play everywhere, so every move carries weight.
  game.Infos().ForEach([](TGameObject32* e) {
    auto* info = static_cast<TInfo32*>(e);
    if (info->Player.get() == nullptr) return;
    const int count = info->Choices.LiveCount();
    info->Choices.ForEach(
        [&](TGameObject32* c) { static_cast<TChoice32*>(c)->SetProbability(1.0 / count); });
  });
}

namespace {

std::string Named(const char* prefix, int index) {
  std::string name = prefix;
  name += std::to_string(index);
  return name;
}

TPlayer32* AddPlayer(TGameType32& game, const std::string& name) {
  auto* p = NewElement<TPlayer32>(&game);
  p->SetName(name);
  game.AddObject(p);
  return p;
}

TNode32* AddNode(TGameType32& game, int index, TPlayer32* player) {
  auto* n = NewElement<TNode32>(&game);
  n->SetName(Named("N", index));
  n->SetPlayer(player);
  game.AddObject(n);
  return n;
}

TMove32* AddMove(TGameType32& game, const std::string& name, TNode32* from, TNode32* to,
                 double value) {
  auto* m = NewElement<TMove32>(&game);
  m->SetName(name);
  m->From = from;
  m->To = to;
  m->Value = value;
  game.AddObject(m);
  return m;
}

void PayEveryone(TGameType32& game, TMove32* move, TUniformRandom& random, bool real = false) {
  game.Players().ForEach([&](TGameObject32* p) {
    auto* pay = NewElement<TPayoff32>(&game);
    pay->Move = move;
    pay->Player = static_cast<TPlayer32*>(p);
    pay->Value = real ? random.Next() * 10 : static_cast<int>(random.Next() * 10);
    game.AddObject(pay);
  });
}

}  // namespace

void BuildChain(TGameType32& game, int nodes, int players, bool realPayoffs) {
  TUniformRandom random(5);
  std::vector<TPlayer32*> all;
  all.reserve(static_cast<std::size_t>(players));
  for (int i = 0; i < players; ++i) all.push_back(AddPlayer(game, Named("P", i)));
  TNode32* previous = nullptr;
  for (int i = 0; i < nodes; ++i) {
    TNode32* node = AddNode(game, i, all[static_cast<std::size_t>(i % std::min(players, nodes))]);
    if (previous != nullptr) AddMove(game, "go", previous, node, 1.0);
    PayEveryone(game, AddMove(game, "stop", node, nullptr, 1.0), random, realPayoffs);
    previous = node;
  }
  PayEveryone(game, AddMove(game, "go", previous, nullptr, 1.0), random, realPayoffs);
}

void BuildWideTree(TGameType32& game, int nodes, int fanOut) {
  TUniformRandom random(6);
  std::vector<TPlayer32*> players{AddPlayer(game, "Ann"), AddPlayer(game, "Bob")};
  std::vector<TNode32*> level{AddNode(game, 0, players[0])};
  std::vector<TNode32*> leaves;
  int count = 1;
  for (int depth = 1; count < nodes; ++depth) {
    std::vector<TNode32*> next;
    TPlayer32* owner = depth % 3 == 2 ? nullptr : players[static_cast<std::size_t>(depth % 3)];
    TInfo32* set = nullptr;
    for (TNode32* from : level) {
      if (count >= nodes) leaves.push_back(from);
      for (int k = 0; k < fanOut && count < nodes; ++k) {
        TNode32* to = AddNode(game, count++, owner);
        const double value = from->Player.get() == nullptr ? 1.0 / fanOut : 1.0;
        AddMove(game, Named("m", k), from, to, value);
        if (owner != nullptr) {
          if (set == nullptr || set->Members.LiveCount() == 4) {
            set = NewElement<TInfo32>(&game);
            game.AddObject(set);
          }
          to->SetInfo(set);
          set->Members.Add(to);
        }
        next.push_back(to);
      }
    }
    level = next;
  }
  leaves.insert(leaves.end(), level.begin(), level.end());
  // Leaves end the game with payoffs, as many moves as any node has.
  for (TNode32* n : leaves) {
    const double value = n->Player.get() == nullptr ? 1.0 / fanOut : 1.0;
    for (int k = 0; k < fanOut; ++k) {
      PayEveryone(game, AddMove(game, Named("m", k), n, nullptr, value), random);
    }
  }
  game.Infos().ForEach([](TGameObject32* e) { static_cast<TInfo32*>(e)->Members.Clear(); });
}

void BuildPoker(TGameType32& game, int rounds) {
  TPlayer32* ann = AddPlayer(game, "Ann");
  TPlayer32* bob = AddPlayer(game, "Bob");
  int count = 0;
  std::vector<TNode32*> level{AddNode(game, count++, nullptr)};
  for (int r = 1; r < rounds; ++r) {
    std::vector<TNode32*> next;
    for (TNode32* from : level) {
      for (int k = 0; k < 2; ++k) {
        next.push_back(AddNode(game, count++, nullptr));
        AddMove(game, Named("c", k), from, next.back(), 0.5);
      }
    }
    level = next;
  }
  const auto pay = [&](TMove32* move, double toAnn) {
    for (TPlayer32* player : {ann, bob}) {
      auto* payoff = NewElement<TPayoff32>(&game);
      payoff->Move = move;
      payoff->Player = player;
      payoff->Value = player == ann ? toAnn : -toAnn;
      game.AddObject(payoff);
    }
  };
  TInfo32* pair = nullptr;
  int card = 0;
  for (TNode32* from : level) {
    for (int k = 0; k < 2; ++k, ++card) {
      const double high = card % 2 == 1 ? 1 : -1;
      TNode32* hand = AddNode(game, count++, ann);
      AddMove(game, Named("c", k), from, hand, 0.5);
      pay(AddMove(game, "Check", hand, nullptr, 1.0), high);
      TNode32* bet = AddNode(game, count++, bob);
      AddMove(game, "Bet", hand, bet, 1.0);
      if (card % 2 == 0) {
        pair = NewElement<TInfo32>(&game);
        game.AddObject(pair);
      }
      bet->SetInfo(pair);
      pair->Members.Add(bet);
      pay(AddMove(game, "Fold", bet, nullptr, 1.0), 1);
      pay(AddMove(game, "Call", bet, nullptr, 1.0), 2 * high);
    }
  }
  game.Infos().ForEach([](TGameObject32* e) { static_cast<TInfo32*>(e)->Members.Clear(); });
}

void BuildThreePlayerTable(TGameType32& game, int strategies, uint64_t seed) {
  TUniformRandom random(seed);
  auto* table = NewElement<TTable32>(&game);
  game.AddObject(table);
  for (const char* name : {"Ann", "Bob", "Cy"}) {
    auto* player = NewElement<TPlayer32>(&game);
    player->SetName(name);
    game.AddObject(player);
    std::unique_ptr<TSide32> scratch = MakeScratchSide(nullptr, *table);
    scratch->Player = player;
    for (int i = 1; i <= strategies; ++i) {
      auto* s = NewElement<TStrat32>(&game);
      std::string strategy = name;
      strategy += std::to_string(i);
      s->SetName(strategy);
      s->Info = scratch.get();
      scratch->AddChoice(s);
    }
    ApplySideEdit(nullptr, *scratch, *table);
  }
  table->Cells.ForEach([&](TGameObject32* cell) {
    game.Players().ForEach([&](TGameObject32* p) {
      auto* pay = NewElement<TPayoff32>(&game);
      pay->Move = cell;
      pay->Player = static_cast<TPlayer32*>(p);
      pay->Value = static_cast<int>(random.Next() * 10);
      game.AddObject(pay);
    });
  });
}

void BuildPerfectTree(TGameType32& game, int nodes) {
  TUniformRandom random(7);
  std::vector<TPlayer32*> players{AddPlayer(game, "Ann"), AddPlayer(game, "Bob")};
  // Levels of Ann, Bob and chance in turn, two moves from every node.
  std::vector<std::pair<TNode32*, int>> all{{AddNode(game, 0, players[0]), 0}};
  std::size_t inner = 0;  // nodes before this one have moves on
  for (std::size_t parent = 0; all.size() < static_cast<std::size_t>(nodes); ++parent) {
    const auto [from, depth] = all[parent];
    inner = parent + 1;
    TPlayer32* owner =
        (depth + 1) % 3 == 2 ? nullptr : players[static_cast<std::size_t>((depth + 1) % 3)];
    for (int k = 0; k < 2 && all.size() < static_cast<std::size_t>(nodes); ++k) {
      TNode32* to = AddNode(game, static_cast<int>(all.size()), owner);
      AddMove(game, Named("m", k), from, to, from->Player.get() == nullptr ? 0.5 : 1.0);
      all.emplace_back(to, depth + 1);
    }
  }
  for (std::size_t i = inner; i < all.size(); ++i) {
    TNode32* node = all[i].first;
    const double value = node->Player.get() == nullptr ? 0.5 : 1.0;
    for (int k = 0; k < 2; ++k) {
      PayEveryone(game, AddMove(game, Named("end", k), node, nullptr, value), random,
                  /*real=*/true);
    }
  }
}

}  // namespace ludomark::bench
