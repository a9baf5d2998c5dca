#include "solver/solutions.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/number_format.h"
#include "model/player.h"
#include "model/settings.h"
#include "model/solution_bit.h"
#include "solver/evaluation.h"
#include "solver/found_point.h"
#include "solver/solver_index.h"

namespace ludomark {

namespace {

double Snap(double v) {
  return std::fabs(v) <= kSnapZero ? 0.0 : v;
}

// Choices of players that are not temporary: the ones solutions are compared on. A run reads
// them from its index.
template <class F>
void ForEachShownChoice(TGameForm32& game, F&& visit) {
  if (game.Work != nullptr) {
    for (TChoice32* c : SolverIndex(game).ShownChoices) visit(c);
    return;
  }
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (c->HasPlayer() && !c->Temporary) visit(c);
  });
}

// The nodes of players that are not temporary, where beliefs are compared.
template <class F>
void ForEachShownNode(TGameForm32& game, F&& visit) {
  if (game.Work != nullptr) {
    for (TNode32* node : SolverIndex(game).ShownNodes) visit(node);
    return;
  }
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (node->Player.get() != nullptr && !node->Temporary) visit(node);
  });
}

std::vector<TSolution32*> SolutionsOf(TGameForm32& game) {
  return ElementsOf<TSolution32>(game.Solutions());
}

std::vector<TSolutionGroup*> GroupsOf(TGameForm32& game) {
  return ElementsOf<TSolutionGroup>(game.Groups());
}

void NameGroups(TGameForm32& game) {
  int position = 0;
  game.Groups().ForEach([&](TGameObject32* g) { g->SetName(FormatGeneral(++position, 3)); });
}

void AddMember(TSolutionGroup& g, TSolution32* s) {
  if (!g.Members.Contains(s)) g.Members.Add(s);
}

void FreeSolution(TGameForm32& game, TSolution32* s) {
  game.Groups().ForEach([&](TGameObject32* g) { As<TSolutionGroup>(g)->Members.Remove(s); });
  game.Solutions().FreeElementOf(s);
  game.Solutions().Pack();
}

void BuildBits(TGameForm32& game, TSolution32& s) {
  s.Bits.FreeByType(kEveryType);
  auto add = [&](int kind, TGameObject32* element, TPlayer32* player, double value) {
    TSolutionBit* bit = NewSolutionBit(&game, kind, element, player, value);
    bit->Solution = &s;
    s.Bits.Add(bit);
  };
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (node->Temporary) return;
    game.Players().ForEach([&](TGameObject32* p) {
      add(kNodeValueBit, node, As<TPlayer32>(p), s.Values.Get(p->Number, node->Number));
    });
    if (node->Player.get() != nullptr && node->Info.get() != nullptr && !node->Info->Singleton &&
        node->TypeCode != kTable) {
      add(kBeliefBit, node, nullptr, s.Beliefs.Get(node->Number));
    }
  });
  game.Moves().ForEachAs<TMove32>([&](TMove32* move) {
    if (move->Temporary || move->TypeCode == kCell || move->From.get() == nullptr ||
        move->From->Player.get() == nullptr) {
      return;
    }
    const int choice = move->Choice.get() != nullptr ? move->Choice->Number : 0;
    add(kMoveProbabilityBit, move, nullptr, s.Probabilities.Get(choice));
    add(kMoveExpectedBit, move, nullptr, s.Expectations.Get(choice));
  });
  game.Strategies().ForEach([&](TGameObject32* e) {
    if (e->TypeCode != kStrategy) return;
    add(kStrategyProbabilityBit, e, nullptr, s.Probabilities.Get(e->Number));
    add(kStrategyExpectedBit, e, nullptr, s.Expectations.Get(e->Number));
  });
}

}  // namespace

void LogLine(TGameForm32& game, const std::string& text) {
  auto* line = NewElement<TBug>(&game);
  line->SetName(text);
  line->Text = text;
  game.SolverLog().Add(line);
}

namespace {

// The values of the snapshot, without the bits drawn from them.
void SnapshotValues(TGameForm32& game, TSolution32& s) {
  const TMatrix* values = game.Work != nullptr ? game.Work->NodeValues.get() : nullptr;
  // Values back in the game's own unit; regrets stay in the run's, where segments are
  // extended with its tolerances.
  const double unit = game.Work != nullptr ? game.Work->PayoffScale : 1.0;
  const int players = game.Players().LiveCount();
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (node->Player.get() != nullptr)
      s.Beliefs.Put(/*add=*/false, node->Number, Snap(node->Belief));
    for (int p = 1; p <= players; ++p) {
      const double v = values != nullptr ? values->Get(p, node->Number) : 0.0;
      s.Values.Put(/*add=*/false, p, node->Number, Snap(v) * unit);
    }
  });
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (!c->HasPlayer()) return;
    s.Probabilities.Put(/*add=*/false, c->Number, Snap(c->Probability));
    s.Expectations.Put(/*add=*/false, c->Number, Snap(c->Expected) * unit);
    s.Regrets.Put(/*add=*/false, c->Number, Snap(c->Info->BestValue - c->Expected));
    s.BestSet.Put(c->Number, c->IsBest);
  });
}

}  // namespace

void Snapshot(TGameForm32& game, TSolution32& s) {
  SnapshotValues(game, s);
  BuildBits(game, s);
}

double SolutionDistance(TGameForm32& game, const TSolution32& s, const TSolution32& t) {
  double distance = 0;
  ForEachShownChoice(game, [&](TChoice32* c) {
    distance = std::max(distance,
                        std::fabs(s.Probabilities.Get(c->Number) - t.Probabilities.Get(c->Number)));
  });
  ForEachShownNode(game, [&](TNode32* node) {
    const int n = node->Number;
    distance = std::max(distance, std::fabs(s.Beliefs.Get(n) - t.Beliefs.Get(n)));
  });
  return distance;
}

bool IsDuplicate(TGameForm32& game, TSolution32& s) {
  bool duplicate = false;
  for (TSolution32* t : SolutionsOf(game)) {
    if (t == &s || SolutionDistance(game, s, *t) >= kDuplicateDistance) continue;
    duplicate = true;
    if (DebugMode) {
      t->FoundCount += 1;
      s.FoundCount = t->FoundCount;
    }
  }
  return duplicate;
}

bool Fits(TGameForm32& game, const TSolution32& s, const TSolutionGroup& g, bool exact) {
  bool fits = true;
  ForEachShownChoice(game, [&](TChoice32* c) {
    const bool inPattern = g.Pattern.Get(c->Number);
    const bool best = s.BestSet.Get(c->Number);
    if (inPattern && !best) fits = false;
    if (exact && best && !inPattern) fits = false;
    if (!exact && s.Probabilities.Get(c->Number) > kPlayedInGroup && !inPattern) fits = false;
  });
  return fits;
}

TSolutionGroup* GroupOf(TGameForm32& game, TSolution32& s) {
  TSolutionGroup* found = nullptr;
  for (TSolutionGroup* g : GroupsOf(game)) {
    if (Fits(game, s, *g, /*exact=*/true)) {
      found = g;
      break;
    }
  }
  s.Group = found;
  return found;
}

TSolutionGroup* NewGroup(TGameForm32& game, const TSolution32& s) {
  auto* g = new TSolutionGroup(game.Strategies().LiveCount(), &game);
  ForEachShownChoice(game,
                     [&](TChoice32* c) { g->Pattern.Put(c->Number, s.BestSet.Get(c->Number)); });
  return g;
}

namespace {

// TryPoint and ExtendPair without rebuilding the drawn values: a group's extension may move a
// solution several times, and its bits are built once, from where it ends.
bool MovePoint(TGameForm32& game, TSolution32& s, const TSolution32& t, double lambda) {
  ForEachShownChoice(game, [&](TChoice32* c) {
    c->SetProbability((1 - lambda) * t.Probabilities.Get(c->Number) +
                      lambda * s.Probabilities.Get(c->Number));
  });
  if (!Normalize(game)) return false;
  if (!Evaluate(game, /*all=*/false) || !IsEquilibrium(game)) return false;
  SnapshotValues(game, s);
  return true;
}

bool ExtendPairValues(TGameForm32& game, TSolution32& s, const TSolution32& t) {
  double lambda = 1e6;
  ForEachShownChoice(game, [&](TChoice32* c) {
    const double a = s.Probabilities.Get(c->Number);
    const double b = t.Probabilities.Get(c->Number);
    if (std::fabs(a - b) <= 1e-8) return;
    if (a > b) lambda = std::min(lambda, (1 - b) / (a - b));
    if (a < b) lambda = std::min(lambda, b / (b - a));
  });
  ForEachShownChoice(game, [&](TChoice32* c) {
    const double a = s.Regrets.Get(c->Number);
    const double b = t.Regrets.Get(c->Number);
    if (a < b - 1e-16) lambda = std::min(lambda, b / (b - a));
  });
  if (!(lambda > 1 && lambda < 1e6)) return false;
  return MovePoint(game, s, t, lambda);
}

void ExtendGroup(TGameForm32& game, TSolutionGroup& g) {
  if (g.Members.LiveCount() <= 1) return;
  std::vector<TSolution32*> moved;
  for (int pass = 0; pass < 5; ++pass) {
    bool done = false;
    std::vector<TSolution32*> members;
    g.Members.ForEach([&](TGameObject32* e) { members.push_back(As<TSolution32>(e)); });
    for (TSolution32* a : members) {
      for (TSolution32* b : members) {
        if (a == b || done) continue;
        if (ExtendPairValues(game, *a, *b)) {
          done = true;
          moved.push_back(a);
        }
        if (ExtendPairValues(game, *b, *a)) {
          done = true;
          moved.push_back(b);
        }
      }
    }
    if (!done) break;
  }
  std::sort(moved.begin(), moved.end());
  moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
  for (TSolution32* s : moved) BuildBits(game, *s);
}

}  // namespace

bool TryPoint(TGameForm32& game, TSolution32& s, const TSolution32& t, double lambda) {
  if (!MovePoint(game, s, t, lambda)) return false;
  BuildBits(game, s);
  return true;
}

bool ExtendPair(TGameForm32& game, TSolution32& s, const TSolution32& t) {
  if (!ExtendPairValues(game, s, t)) return false;
  BuildBits(game, s);
  return true;
}

void ExtendGroups(TGameForm32& game, TSolution32* s) {
  for (TSolutionGroup* g : GroupsOf(game)) {
    if (s == nullptr || g->Members.Contains(s)) ExtendGroup(game, *g);
  }
}

void MergeDuplicates(TGameForm32& game) {
  for (int pass = 0; pass < 10; ++pass) {
    const std::vector<TSolution32*> all = SolutionsOf(game);
    TSolution32* drop = nullptr;
    for (TSolution32* s : all) {
      for (TSolution32* t : all) {
        if (t != s && SolutionDistance(game, *s, *t) <= kDuplicateDistance) drop = t;
      }
      if (drop != nullptr) break;
    }
    if (drop == nullptr) return;
    FreeSolution(game, drop);
  }
}

void NameSolution(TGameForm32& game, TSolution32& s) {
  NameSolutionIn(game, s, GroupOf(game, s));
}

void NameSolutionIn(TGameForm32& game, TSolution32& s, TSolutionGroup* own) {
  int groups = 0;
  game.Groups().ForEach([&](TGameObject32* g) {
    if (As<TSolutionGroup>(g)->Members.Contains(&s)) ++groups;
  });
  const char* prefix = groups >= 2             ? "C"
                       : s.Kind == kFoundPure  ? "P"
                       : s.Kind == kFoundMixed ? "M"
                                               : "S";
  std::string name(prefix);
  if (groups >= 2) {
    game.Groups().ForEach([&](TGameObject32* g) {
      if (As<TSolutionGroup>(g)->Members.Contains(&s)) name.append(" ").append(g->Name);
    });
  } else if (own != nullptr) {
    name.append(" ").append(own->Name).append(".");
    name.append(FormatGeneral(own->Members.PositionOf(&s), 3));
  }
  if (DebugMode) name.append("[").append(std::to_string(s.FoundCount)).append("]");
  s.SetName(name);
}

void Organize(TGameForm32& game) {
  for (TSolution32* s : SolutionsOf(game)) {
    if (GroupOf(game, *s) == nullptr) {
      game.Groups().Add(NewGroup(game, *s));
      NameGroups(game);
    }
  }
  for (int pass = 0; pass < 10; ++pass) {
    std::vector<TGameObject32*> used;
    for (TSolution32* s : SolutionsOf(game)) used.push_back(GroupOf(game, *s));
    TSolutionGroup* unused = nullptr;
    for (TSolutionGroup* g : GroupsOf(game)) {
      if (std::find(used.begin(), used.end(), g) == used.end()) unused = g;
    }
    if (unused == nullptr) break;
    game.Groups().FreeElementOf(unused);
    game.Groups().Pack();
  }
  NameGroups(game);
  for (TSolution32* s : SolutionsOf(game)) {
    for (TSolutionGroup* g : GroupsOf(game)) {
      if (Fits(game, *s, *g, /*exact=*/false)) AddMember(*g, s);
    }
  }
  for (TSolution32* s : SolutionsOf(game)) NameSolution(game, *s);
  ListInGroupOrder(game);
}

void ListInGroupOrder(TGameForm32& game) {
  // Group order; a solution in no group keeps its place at the end rather than being lost.
  const std::vector<TSolution32*> before = SolutionsOf(game);
  game.Solutions().Clear();
  for (TSolutionGroup* g : GroupsOf(game)) {
    g->Members.ForEach([&](TGameObject32* s) {
      if (!game.Solutions().Contains(s)) game.Solutions().Add(s);
    });
  }
  for (TSolution32* s : before) {
    if (!game.Solutions().Contains(s)) game.Solutions().Add(s);
  }
  // Solutions that fit the same groups would share a "C" name: in list order, the second
  // and later ones take " (2)", " (3)"..., so that a name picks out one solution.
  std::map<std::string, int> seen;
  for (TSolution32* s : SolutionsOf(game)) {
    const int count = ++seen[s->Name];
    if (count > 1) s->SetName(s->Name + " (" + std::to_string(count) + ")");
  }
}

namespace {

// Whether the game's point lies within the duplicate distance of a solution kept, as its
// snapshot would: most points met are, and need no snapshot at all.
bool MetBefore(TGameForm32& game) {
  bool met = false;
  game.Solutions().ForEachAs<TSolution32>([&](TSolution32* t) {
    if (met) return;
    double distance = 0;
    ForEachShownChoice(game, [&](TChoice32* c) {
      distance =
          std::max(distance, std::fabs(Snap(c->Probability) - t->Probabilities.Get(c->Number)));
    });
    ForEachShownNode(game, [&](TNode32* node) {
      distance = std::max(distance, std::fabs(Snap(node->Belief) - t->Beliefs.Get(node->Number)));
    });
    met = distance < kDuplicateDistance;
  });
  return met;
}

}  // namespace

TSolution32* RecordSolution(TGameForm32& game, int kind, int param) {
  // A log counts every meeting, so it takes the full path.
  if (!DebugMode && MetBefore(game)) return nullptr;
  TSolution32* s = NewSolution(&game);
  s->Kind = kind;
  s->Param = param;
  // Most points met are found before: their bits are built only once they are kept.
  SnapshotValues(game, *s);
  if (IsDuplicate(game, *s)) {
    if (DebugMode) {
      std::string line = ">>>>>>>>>>>>>>>>>>>>>> Duplicate solution";
      line.append(std::to_string(s->FoundCount)).append(" <<<<<<<<<<<<<<<<<");
      LogLine(game, line);
    }
    FreeElement(s);
    return nullptr;
  }
  BuildBits(game, *s);
  game.Solutions().Add(s);
  if (GroupOf(game, *s) == nullptr) {
    TSolutionGroup* g = NewGroup(game, *s);
    game.Groups().Add(g);
    NameGroups(game);
    for (TSolution32* t : SolutionsOf(game)) {
      if (Fits(game, *t, *g, /*exact=*/false)) AddMember(*g, t);
    }
  }
  for (TSolutionGroup* g : GroupsOf(game)) {
    if (Fits(game, *s, *g, /*exact=*/false)) AddMember(*g, s);
  }
  Ref<TSolution32> watch = s;  // the merge may remove it
  ExtendGroups(game, s);
  MergeDuplicates(game);
  Organize(game);
  if (DebugMode) LogLine(game, ">>>>>>>>>>>>>>>>>>>>>> New solution <<<<<<<<<<<<<<<<<");
  return watch.get();
}

TSolution32* RecordUngroupedSolution(TGameForm32& game, int kind, int param) {
  TSolution32* s = NewSolution(&game);
  s->Kind = kind;
  s->Param = param;
  SnapshotValues(game, *s);
  if (IsDuplicate(game, *s)) {
    FreeElement(s);
    return nullptr;
  }
  BuildBits(game, *s);
  game.Solutions().Add(s);
  return s;
}

void KeepFractions(TGameForm32& game, TSolution32& s, const std::vector<std::string>& texts) {
  std::size_t i = 0;
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (i >= texts.size()) return;
    const auto at = static_cast<std::size_t>(c->Number);
    if (s.ExactProbabilities.size() <= at) s.ExactProbabilities.resize(at + 1);
    s.ExactProbabilities[at] = texts[i++];
  });
}

void GroupAs(TGameForm32& game, const std::vector<std::vector<TSolution32*>>& groups) {
  game.Groups().FreeByType(kEveryType);
  for (const std::vector<TSolution32*>& members : groups) {
    if (members.empty()) continue;
    auto* g = new TSolutionGroup(game.Strategies().LiveCount(), &game);
    ForEachShownChoice(game, [&](TChoice32* c) {
      bool everywhere = true;
      for (const TSolution32* s : members) everywhere = everywhere && s->BestSet.Get(c->Number);
      g->Pattern.Put(c->Number, everywhere);
    });
    for (TSolution32* s : members) AddMember(*g, s);
    game.Groups().Add(g);
  }
  NameGroups(game);
  for (TSolution32* s : SolutionsOf(game)) {
    TSolutionGroup* own = nullptr;
    for (TSolutionGroup* g : GroupsOf(game)) {
      if (own == nullptr && g->Members.Contains(s)) own = g;
    }
    s->Group = own;
    NameSolutionIn(game, *s, own);
  }
  ListInGroupOrder(game);
}

void DeleteSolution(TGameForm32& game, TSolution32* s) {
  if (s == nullptr || !game.Solutions().Contains(s)) return;
  FreeSolution(game, s);
  if (game.Solutions().Empty()) game.ResetDerived();
}

}  // namespace ludomark
