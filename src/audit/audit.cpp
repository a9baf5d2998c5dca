#include "audit/audit.h"

#include "model/move.h"
#include "model/table.h"

namespace ludomark {

bool Audit(TGameForm32& game) {
  game.Findings().FreeByType(0);
  game.Nodes().ForEach([](TGameObject32* e) {
    if (e->TypeCode != kTable) return;
    auto* table = static_cast<TTable32*>(e);
    if (table->SideCount() >= 2) table->Expand();
  });
  ComputeLevels(game);
  const bool hasRoot = FindRoot(game) != nullptr;
  const bool connected = hasRoot && CheckConnected(game);
  const bool setsOk = CheckInformationSets(game);
  ComputeInfoLevels(game);
  RebuildChoices(game);
  game.Renumber();
  game.Moves().ForEach([](TGameObject32* m) { static_cast<TMove32*>(m)->RebuildPayoffList(); });
  const bool choicesOk = CheckChoices(game);
  const bool degreesOk = CheckDegrees(game);
  const bool payoffsOk = CheckPayoffs(game);
  const bool chanceOk = CheckChance(game);
  const bool formOk = CheckForm(game);
  ComputeBounds(game);
  return hasRoot && connected && setsOk && choicesOk && degreesOk && payoffsOk && chanceOk &&
         formOk;
}

}  // namespace ludomark
