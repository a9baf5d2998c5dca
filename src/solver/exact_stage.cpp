// The exact method's stage: the extreme equilibria found by vertex enumeration become the
// game's solutions, with their probabilities as fractions, grouped into components.
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "solver/evaluation.h"
#include "solver/exact_equilibria.h"
#include "solver/exact_number.h"
#include "solver/found_point.h"
#include "solver/solutions.h"
#include "solver/solve_run.h"

namespace ludomark {

namespace {

// Behaviour from the plans: a choice's share of the plan of the sequence that leads to its
// set. Where the own plan does not reach a set, its choices start equal (and the best reply
// takes over when that is not best).
std::map<TChoice32*, mpq_class> PlayPlans(const TExactForm& form, const TExactPoint& point) {
  std::map<TChoice32*, mpq_class> exact;
  for (std::size_t p = 0; p < 2; ++p) {
    const TSequenceSide& side = form.Sides[p];
    const std::vector<mpq_class>& plan = point.Plans[p];
    for (int r = 1; r < side.Rows(); ++r) {
      const std::vector<int>& children = side.SetChildren[static_cast<std::size_t>(r)];
      const mpq_class& reach =
          plan[static_cast<std::size_t>(side.SetParent[static_cast<std::size_t>(r)])];
      for (int c : children) {
        const mpq_class q = reach > 0 ? mpq_class(plan[static_cast<std::size_t>(c)] / reach)
                                      : mpq_class(1, static_cast<unsigned long>(children.size()));
        TChoice32* choice = side.Choices[static_cast<std::size_t>(c) - 1];
        choice->SetProbability(q.get_d());
        choice->Mark = q > 0;
        exact[choice] = q;
      }
    }
  }
  return exact;
}

bool AllPure(const std::map<TChoice32*, mpq_class>& exact) {
  return std::all_of(exact.begin(), exact.end(), [](const auto& e) {
    return e.first->Probability == 0 || e.first->Probability == 1;
  });
}

// The fractions a solution keeps, in list order: the plan's, or the best reply's 0 and 1
// where it took over.
std::vector<std::string> Fractions(TGameForm32& game,
                                   const std::map<TChoice32*, mpq_class>& exact) {
  std::vector<std::string> texts;
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* choice) {
    const auto it = exact.find(choice);
    if (it == exact.end()) {
      texts.emplace_back();
      return;
    }
    constexpr double kSameShare = 1e-9;
    const bool same = std::fabs(it->second.get_d() - choice->Probability) <= kSameShare;
    texts.push_back(
        FractionText(same ? it->second : mpq_class(choice->Probability >= 0.5 ? 1 : 0)));
  });
  return texts;
}

}  // namespace

void TSolveRun::SolveExactly() {
  if (Stopped) return;
  Caption("Building the sequence form...");
  stage_ = kFoundExploring;
  key_ = 0;
  Failure.clear();
  NoteLeaf();
  TExactForm form;
  if (std::string why = BuildExactForm(*Game, form); !why.empty()) {
    Failure = why;
    Log("Exact: " + why);
    return;
  }
  Caption("Enumerating vertices...");
  const double bound = std::max(1.0, Log10VertexBound(form));
  long long bases = 0;
  constexpr long long kBasesPerReport = 4;
  const auto tick = [&] {
    if (++bases % kBasesPerReport != 0) return;
    // The count to come is known only as a bound, so the bar moves on a scale of its powers.
    Progress = std::min(0.95, std::log10(static_cast<double>(bases)) / (bound + 1));
    ShowProgress();
  };
  const TExactEquilibria found = FindExtremeEquilibria(form, Stopped, tick);
  Log("Exact: " + std::to_string(found.Vertices[0]) + " vertices, " +
      std::to_string(found.FacesSearched) + " faces searched (" +
      std::to_string(found.Vertices[1]) + " vertices), " + std::to_string(found.Points.size()) +
      " extreme equilibria in " + std::to_string(found.Components.size()) + " components");
  if (found.End == TEnumerationEnd::Empty) {
    Failure = "a player's best-reply polyhedron has no vertex";
    return;
  }
  std::vector<std::vector<int>> groupsOf(found.Points.size());
  for (std::size_t g = 0; g < found.Components.size(); ++g) {
    for (int i : found.Components[g]) {
      groupsOf[static_cast<std::size_t>(i)].push_back(static_cast<int>(g));
    }
  }
  std::vector<TSolution32*> recorded(found.Points.size(), nullptr);
  int dropped = 0;
  for (std::size_t i = 0; i < found.Points.size(); ++i) {
    const auto exact = PlayPlans(form, found.Points[i]);
    BestRepliesOffThePath();
    if (!Normalize(*Game) || !Evaluate(*Game, /*all=*/true) || !IsEquilibrium(*Game)) {
      ++dropped;
      continue;
    }
    const int kind = AllPure(exact) ? kFoundPure : kFoundMixed;
    const std::vector<std::string> fractions = Fractions(*Game, exact);
    if (Found != nullptr) {
      // A worker's points are recorded by the run that merges them.
      TFoundPoint point = CapturePoint(stage_, kind, i);
      point.Exact = fractions;
      point.Groups = groupsOf[i];
      Found->push_back(std::move(point));
    }
    if (!RecordsSolutions) continue;
    TSolution32* s = RecordUngroupedSolution(*Game, kind, kSolutionParam);
    if (s == nullptr) continue;
    KeepFractions(*Game, *s, fractions);
    recorded[i] = s;
  }
  if (dropped > 0) {
    // Sets the other player's plan does not reach, where the plan asks for what is not best.
    Log("Exact: " + std::to_string(dropped) +
        " extreme equilibria of the sequence form play other than best where play does not "
        "reach; left out");
  }
  if (RecordsSolutions) {
    std::vector<std::vector<TSolution32*>> groups;
    for (const std::vector<int>& component : found.Components) {
      std::vector<TSolution32*> members;
      for (int i : component) {
        if (TSolution32* s = recorded[static_cast<std::size_t>(i)]) members.push_back(s);
      }
      if (!members.empty()) groups.push_back(std::move(members));
    }
    GroupAs(*Game, groups);
    if (Observer != nullptr) Observer->SolutionsChanged();
  }
  Progress = 1;
  ShowProgress();
}

}  // namespace ludomark
