#include "support/solving.h"

#include "gamefile/game_file.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/node.h"
#include "model/player.h"
#include "model/settings.h"
#include "model/solution.h"

namespace ludomark::testing {

bool SolveExample(const std::string& fileName, int method, TGameType32& game,
                  RecordingObserver* observer) {
  if (!ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/" + fileName, game)) return false;
  SolveMethod = method;
  RecordingObserver quiet;
  TSolveRun run;
  const TSolveRun::Start start = run.Solve(game, observer != nullptr ? *observer : quiet);
  SolveMethod = kSolveMixed;
  return start == TSolveRun::Start::Ran;
}

ChoiceValue ChoiceIn(TGameType32& game, const TSolution32& s, const std::string& choice,
                     const std::string& set) {
  ChoiceValue value;
  game.Strategies().ForEach([&](TGameObject32* e) {
    auto* c = static_cast<TChoice32*>(e);
    TInfo32* info = c->Info.get();
    if (c->Name != choice || info == nullptr) return;
    const std::string setName = info->TypeCode == kSide ? info->Name : info->FirstMemberName();
    if (setName != set) return;
    value.Probability = s.Probabilities.Get(c->Number);
    value.Expected = s.Expectations.Get(c->Number);
    value.Best = s.BestSet.Get(c->Number);
  });
  return value;
}

double NodeValueIn(TGameType32& game, const TSolution32& s, const std::string& node,
                   const std::string& player) {
  int n = 0;
  int p = 0;
  game.Nodes().ForEach([&](TGameObject32* e) {
    if (e->Name == node) n = e->Number;
  });
  game.Players().ForEach([&](TGameObject32* e) {
    if (e->Name == player) p = e->Number;
  });
  return s.Values.Get(p, n);
}

double BeliefIn(TGameType32& game, const TSolution32& s, const std::string& node) {
  int n = 0;
  game.Nodes().ForEach([&](TGameObject32* e) {
    if (e->Name == node) n = e->Number;
  });
  return s.Beliefs.Get(n);
}

std::vector<std::string> SolutionNames(TGameType32& game) {
  std::vector<std::string> names;
  game.Solutions().ForEach([&](TGameObject32* e) { names.push_back(e->Name); });
  return names;
}

}  // namespace ludomark::testing
