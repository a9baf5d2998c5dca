#include "model/table_edit.h"

#include <exception>
#include <new>

#include "model/fake_game.h"
#include "model/player.h"
#include "model/side.h"
#include "model/status_code.h"
#include "model/table.h"

namespace ludomark {

namespace {
constexpr const char* kInvalidTableOperation = "Invalid table operation";

// The one failure a table operation may meet through no fault of the program; in the
// sanitizer build any other stops the run.
bool IsOutOfMemory(const std::exception& error) {
  return dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
}
}  // namespace

std::unique_ptr<TSide32> MakeScratchSide(TSide32* side, TTable32& table) {
  std::unique_ptr<TSide32> scratch(NewElement<TSide32>(table.Owner));
  if (side != nullptr) side->CopyTo(*scratch);
  scratch->Table = &table;
  return scratch;
}

bool CanAddSide(TTable32& table) {
  if (table.HasPlayerWithoutSide()) return true;
  if (table.Owner != nullptr) table.Owner->Messages().Warning("Need additional players");
  return false;
}

bool ApplySideEdit(TSide32* side, TSide32& scratch, TTable32& table) {
  TFakeGame* game = table.Owner;
  if (game == nullptr) return false;
  if (scratch.StrategyCount() == 0 || scratch.Player.get() == nullptr) {
    game->Messages().Warning("No Owner or Choices defined");
    return false;
  }
  try {
    if (side == nullptr) {
      side = NewElement<TSide32>(game);
      table.Sides.Add(side);
      game->AddObject(side);
    }
    side->WithdrawStrategies();
    table.RemapCells(*side);  // cells now hold the scratch strategies
    scratch.CopyTo(*side);
    side->Table = &table;
    table.RemapCells(scratch);  // and now the side's new ones
    side->EnterStrategies();
    table.WithdrawCells();
    table.RebuildCells();
    table.EnterCells();
    game->SetStatus(StatusEdited);
    table.Refresh();
  } catch (const std::exception& error) {
    LUDOMARK_DCHECK(IsOutOfMemory(error));
    game->Messages().Warning(kInvalidTableOperation);
    return false;
  }
  return true;
}

bool DeleteSide(TTable32& table, TSide32& side) {
  TFakeGame* game = table.Owner;
  if (game == nullptr) return false;
  try {
    table.RemoveSide(&side);
    table.RebuildCells();
    table.Refresh();
    game->SetStatus(StatusEdited);
  } catch (const std::exception& error) {
    LUDOMARK_DCHECK(IsOutOfMemory(error));
    game->Messages().Warning(kInvalidTableOperation);
    return false;
  }
  return true;
}

}  // namespace ludomark
