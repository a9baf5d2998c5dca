// The damped Newton iteration towards a mixed equilibrium from a support or a random point.
#include <algorithm>
#include <cmath>

#include "model/choice.h"
#include "model/info.h"
#include "model/node.h"
#include "model/number_format.h"
#include "model/player.h"
#include "model/random.h"
#include "model/settings.h"
#include "solver/evaluation.h"
#include "solver/newton.h"
#include "solver/solutions.h"
#include "solver/solve_run.h"

namespace ludomark {

namespace {
// The constants of the iteration.
constexpr int kFacetHitsTolerated = 4;  // the fifth shortened step ends the iteration
constexpr double kStartStep = 1;        // the first step, and the step after a good one
constexpr double kStartSqrNorm = 1;     // the norm the first step is compared with
constexpr double kSlowRatio = 5;  // e^(2 Step) x SqrNorm / PrevSqrNorm at which the step shrinks
constexpr double kShrink = 0.75;
constexpr double kMinimumStep = 0.01;
constexpr double kUnknownFacetStep = 0.12345;  // when the facet's quotient cannot be computed
constexpr double kSupportThreshold = 1e-12;    // Sampling: a choice below leaves the support

std::string ChoiceLabel(TChoice32* c) {
  return c->Name + "@" + c->Info->FirstMemberName();
}
}  // namespace

bool TSolveRun::SetStartPoint(bool random) {
  Game->Infos().ForEachAs<TInfo32>([&](TInfo32* info) {
    if (!HasPlayer(info)) return;
    info->Choices.ForEachAs<TChoice32>([&](TChoice32* choice) {
      // Nothing of the iteration before: a Newton system found singular keeps the directions
      // it has, and old ones would move choices outside this support, so that what a support
      // gives would depend on the supports met before it (and on how a run is shared).
      choice->Direction = 0;
      if (!choice->Mark) {
        choice->SetProbability(0);
      } else {
        choice->SetProbability(random ? SharedRandom().Next() : 1.0);
      }
    });
  });
  return Normalize(*Game);
}

void TSolveRun::SkipStartPoint() {
  // The draws SetStartPoint would take with every choice marked, so that the next sample
  // starts where it does in a run that takes every sample.
  Game->Infos().ForEachAs<TInfo32>([&](TInfo32* info) {
    if (!HasPlayer(info)) return;
    info->Choices.ForEach([&](TGameObject32* c) {
      if (c->Mark) SharedRandom().Next();
    });
  });
}

void TSolveRun::AdaptStep() {
  auto& game = static_cast<TGameType32&>(*Game);
  if (PrevSqrNorm == 0) return;
  CVTest = std::exp(2 * Step) * game.SqrNorm / PrevSqrNorm;
  if (!std::isfinite(CVTest)) CVTest = kSlowRatio;
  Step = CVTest >= kSlowRatio ? Step * kShrink : kStartStep;
  if (Step <= kMinimumStep) Step = kMinimumStep;
}

void TSolveRun::ClipStep() {
  FacetHit = false;
  Game->Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (!(c->Probability + Step * c->Direction < 0) || !c->Mark) return;
    FacetHit = true;
    const double quotient = -c->Probability / c->Direction;
    Step = std::isfinite(quotient) ? std::min(quotient, Step) : kUnknownFacetStep;
  });
}

void TSolveRun::DropVanished() {
  Game->Strategies().ForEachAs<TChoice32>(
      [&](TChoice32* c) { c->Mark = c->Probability + Step * c->Direction >= kSupportThreshold; });
}

void TSolveRun::TakeStep(bool random) {
  ClipStep();
  if (random) DropVanished();
  Game->Strategies().ForEachAs<TChoice32>(
      [&](TChoice32* c) { c->SetProbability(c->Probability + Step * c->Direction); });
  Normalize(*Game);
}

void TSolveRun::Iterate(bool random) {
  auto& game = static_cast<TGameType32&>(*Game);
  if (DebugMode) {
    Log("**************** Iteration # " + std::to_string(Iterations) + " Hit facet # " +
        std::to_string(FacetStops) + "**********************");
  }
  if (!SetStartPoint(random) || !Evaluate(game, /*all=*/true)) return;
  Step = kStartStep;
  PrevSqrNorm = kStartSqrNorm;
  // A singular first system keeps the norm it finds: it must be this start's, not the last
  // iteration's, or the step lengths would depend on the supports met before.
  game.SqrNorm = PrevSqrNorm;
  int hits = 0;
  for (int n = 1;; ++n) {
    if (Stopped) break;  // Abort or an interrupt: within one step
    bool stop = false;
    if (DebugMode) LogState(n, hits);
    if (IsEquilibrium(game)) {
      MetEquilibrium(kFoundMixed);
      stop = true;
    } else {
      NewtonDirection(game);
      if (n == 1) {
        StartNorm = game.SqrNorm;
        if (DebugMode) Log("Start norm = " + FormatGeneral(StartNorm, 8));
      } else {
        AdaptStep();
      }
      TakeStep(random);
      if (FacetHit && ++hits > kFacetHitsTolerated) {
        stop = true;
        if (DebugMode) FacetStops += 1;
      }
      PrevSqrNorm = game.SqrNorm;
      if (!Evaluate(game, /*all=*/true)) stop = true;
      if (n >= MaxSteps) {
        if (DebugMode) Log("Too many steps");
        stop = true;
      }
    }
    if (DebugMode) {
      LogDirections();
      Log(" Speed = " + FormatGeneral(game.Speed, 16) + " Step = " + FormatGeneral(Step, 8) +
          " SqrNorm = " + FormatGeneral(game.SqrNorm, 8) +
          " CVTest = " + FormatGeneral(CVTest, 16));
    }
    if (stop) break;
  }
}

void TSolveRun::LogState(int n, int hits) {
  std::string reach;
  Game->Nodes().ForEach([&](TGameObject32* e) {
    const double r = Game->Work != nullptr ? Game->Work->NodeReach->Get(e->Number) : 0.0;
    reach += " fr(" + e->Name + ")= " + FormatGeneral(r, 8);
  });
  Log(reach);
  std::string beliefs;
  Game->Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (node->Player.get() == nullptr || node->Temporary) return;
    beliefs += " b(" + node->Name + ")= " + FormatGeneral(node->Belief, 8);
  });
  Log(beliefs);
  std::string activity = "Activity: ";
  std::string probabilities;
  Game->Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (c->Info.get() == nullptr) return;
    if (c->Mark) activity += ChoiceLabel(c) + ", ";
    if (HasPlayer(c->Info.get())) {
      probabilities += " p(" + ChoiceLabel(c) + ")= " + FormatGeneral(c->Probability, 8);
    }
  });
  Log(activity);
  Log(probabilities);
  Log("Iter # =" + std::to_string(n) + " HitFacet# = " + std::to_string(hits));
}

void TSolveRun::LogDirections() {
  std::string line;
  Game->Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (HasPlayer(c->Info.get()))
      line += " dr(" + ChoiceLabel(c) + ")= " + FormatGeneral(c->Direction, 8);
  });
  Log(line);
}

}  // namespace ludomark
