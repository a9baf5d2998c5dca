#include "audit/audit.h"

#include "model/move.h"
#include "model/table.h"

namespace ludomark {

bool Audit(TGameForm32& game, const std::atomic<bool>* stop, bool degreeLimit) {
  auto stopped = [stop] { return stop != nullptr && stop->load(); };
  game.Findings().FreeByType(kEveryType);
  game.Nodes().ForEach([](TGameObject32* e) {
    if (e->TypeCode != kTable) return;
    auto* table = As<TTable32>(e);
    if (table->SideCount() >= 2) table->Expand();
  });
  ComputeLevels(game);
  if (stopped()) return false;
  const bool hasRoot = FindRoot(game) != nullptr;
  const bool connected = hasRoot && CheckConnected(game);
  const bool setsOk = CheckInformationSets(game);
  if (stopped()) return false;
  ComputeInfoLevels(game);
  RebuildChoices(game);
  game.Renumber();
  RebuildPayoffLists(game);
  if (stopped()) return false;
  const bool choicesOk = CheckChoices(game);
  const bool degreesOk = CheckDegrees(game, degreeLimit);
  const bool payoffsOk = CheckPayoffs(game);
  const bool chanceOk = CheckChance(game);
  const bool formOk = CheckForm(game);
  const bool discountsOk = CheckDiscounts(game);
  const bool endsOk = CheckPlayEnds(game);
  if (connected) NoteUnreached(game);
  if (stopped()) return false;
  ComputeBounds(game, stop);
  return hasRoot && connected && setsOk && choicesOk && degreesOk && payoffsOk && chanceOk &&
         formOk && discountsOk && endsOk && !stopped();
}

}  // namespace ludomark
