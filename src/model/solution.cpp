#include "model/solution.h"

#include "model/fake_game.h"
#include "model/fixed_fields.h"

namespace ludomark {

namespace {
int CountOf(TFakeGame* owner, TGameList& (TFakeGame::*list)()) {
  return owner != nullptr ? (owner->*list)().LiveCount() : 0;
}
}  // namespace

TSolution32::TSolution32(TFakeGame* owner)
    : Beliefs(CountOf(owner, &TFakeGame::Nodes), owner),
      Probabilities(CountOf(owner, &TFakeGame::Strategies), owner),
      Expectations(CountOf(owner, &TFakeGame::Strategies), owner),
      Regrets(CountOf(owner, &TFakeGame::Strategies), owner),
      BestSet(CountOf(owner, &TFakeGame::Strategies), owner),
      Values(owner, /*augmented=*/false, CountOf(owner, &TFakeGame::Nodes),
             CountOf(owner, &TFakeGame::Players)) {
  Owner = owner;
}

TSolution32* NewSolution(TFakeGame* owner) {
  auto* solution = new TSolution32(owner);
  solution->InitDefaults();
  solution->Owner = owner;
  return solution;
}

void TSolution32::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kSolution;
  FoundCount = 1;
  SolutionFlags = kShowProbabilities | kShowBeliefs | kShowExpected;
}

int32_t TSolution32::Renumber() {
  Number = Owner != nullptr ? Owner->NumberIn(Owner->Solutions(), this) : 0;
  return Number;
}

std::string TSolution32::Describe(int mode) {
  if (mode == kSolverStepsMode || mode == kStoredTextMode) return TGameObject32::Describe(mode);
  TGameObject32::Describe(mode);
  // The two integers follow in every mode: in their columns of the file line, or straight
  // after the name in listings.
  AppendColumn(Text, std::to_string(Kind), 56);
  AppendColumn(Text, std::to_string(Param), 64);
  return Text;
}

void TSolution32::ParseLine(const std::string& line) {
  TGameObject32::ParseLine(line);
  Kind = ParseIntField(FieldAt(line, 49, 8));
  Param = ParseIntField(FieldAt(line, 57, 8));
}

}  // namespace ludomark
