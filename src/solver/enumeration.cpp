// Enumeration of pure profiles (profiling) and supports (exploring) over the information sets.
#include <cmath>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/player.h"
#include "model/settings.h"
#include "solver/evaluation.h"
#include "solver/pure_profiles.h"
#include "solver/solutions.h"
#include "solver/solve_run.h"

namespace ludomark {

namespace {
void SetChoiceMarks(TInfo32& info, bool flag) {
  info.Choices.ForEach([&](TGameObject32* c) { c->Mark = flag; });
}
}  // namespace

void MarkInfos(TGameForm32& game, bool all) {
  game.Infos().ForEachAs<TInfo32>([&](TInfo32* info) {
    if (all || !HasPlayer(info)) {
      info->Mark = true;
      SetChoiceMarks(*info, /*flag=*/true);
    } else {
      info->Mark = false;
    }
  });
}

void TSolveRun::Enumerate(double weight, TInfo32* info) {
  if (info == nullptr || Stopped) return;
  if (!HasPlayer(info)) {
    Descend(weight, info);
    return;
  }
  info->Mark = true;
  SetChoiceMarks(*info, /*flag=*/false);
  if (Profiling) {
    info->Choices.ForEach([&](TGameObject32* c) {
      if (Stopped || As<TChoice32>(c)->Eliminated) return;
      SetChoiceMarks(*info, /*flag=*/false);
      c->Mark = true;
      Descend(weight, info);
    });
  } else {
    const int count = info->Choices.LiveCount();
    while (!Stopped && info->NextSubset(count)) Descend(weight, info);
  }
  info->Mark = false;
}

void TSolveRun::Descend(double weight, TInfo32* info) {
  const double leaf = LeafWeight(info, weight);
  if (!Profiling && SupportPruned(*Game, *info)) {
    AddProgress(leaf);
    return;
  }
  TInfo32* next = NextInfo(info);
  // Shards share the supports by units: the first node of each path whose subtree weighs at
  // least kUnitShare per shard of the whole (or the leaf, when the path ends first). Every
  // shard walks the few nodes above the units, so all number them alike, and each explores
  // only its own units: no support is explored twice or left out.
  const bool opensUnit = !Profiling && !inUnit_ &&
                         (next == nullptr || leaf >= kUnitShare * static_cast<double>(ShardCount));
  if (opensUnit) {
    unit_ = unitNumber_++;
    leafNumber_ = 0;
    if (!OwnsLeaf(unit_)) {
      AddProgress(leaf);
      return;
    }
    inUnit_ = true;
  }
  if (next == nullptr) {
    AddProgress(leaf);
    EvaluateLeaf();
  } else {
    Enumerate(leaf, next);
  }
  if (opensUnit) inUnit_ = false;
}

TInfo32* TSolveRun::NextInfo(TInfo32* info) {
  TInfo32* candidate = nullptr;
  info->Choices.ForEach([&](TGameObject32* c) {
    As<TChoice32>(c)->ChoiceMoves.ForEach([&](TGameObject32* m) {
      TNode32* to = As<TMove32>(m)->To.get();
      if (to != nullptr && to->Info.get() != nullptr && !to->Info->Mark) candidate = to->Info.get();
    });
  });
  if (candidate != nullptr) return candidate;
  Game->Infos().ForEach([&](TGameObject32* e) {
    if (!e->Mark) candidate = As<TInfo32>(e);
  });
  return candidate;
}

double TSolveRun::LeafWeight(TInfo32* info, double weight) {
  if (!HasPlayer(info)) return weight;
  const int count = info->Choices.LiveCount();
  if (Profiling) return weight * count;
  switch (Method()) {
    case kSolvePure:
      return weight * count;
    case kSolveMixed:
      // The number of non-empty supports, 2^count - 1, held in a double so that sets with
      // more than 31 strategies do not overflow the count.
      return weight * (std::ldexp(1.0, count) - 1.0);
    case kSolveSampling:
      return 100;
    default:
      return weight;
  }
}

bool TSolveRun::OwnsLeaf(uint64_t number) const {
  return ShardCount <= 1 ||
         number % static_cast<uint64_t>(ShardCount) == static_cast<uint64_t>(ShardIndex - 1);
}

void TSolveRun::EvaluateLeaf() {
  if (Stopped) return;
  if (Profiling) {
    key_ = leafNumber_++;
    NoteLeaf();
    RecordProfileLeaf();
    return;
  }
  // Units before leaves, so the keys of all shards sort as one run meets its leaves.
  key_ = (unit_ << 32) | (leafNumber_++ & 0xFFFFFFFFULL);
  NoteLeaf();
  Iterations += 1;
  if (Method() == kSolveMixed) Iterate(/*random=*/false);
}

void TSolveRun::RecordProfileLeaf() {
  if (DebugMode) Game->SolverLog().FreeByType(kEveryType);
  SetPureProbabilities(*Game);
  if (!RecordProfile(*Game)) return;
  if (!IsEquilibrium(*Game)) return;
  MetEquilibrium(kFoundPure);
}

void TSolveRun::NoteLeaf() {
  hasLast_ = true;
  lastStage_ = stage_;
  lastKey_ = key_;
}

void TSolveRun::MetEquilibrium(int kind) {
  if (Found != nullptr) Found->push_back(CapturePoint(stage_, kind, key_));
  if (!RecordsSolutions) return;
  RecordSolution(*Game, kind, kSolutionParam);
  if (Observer != nullptr) Observer->SolutionsChanged();
}

}  // namespace ludomark
