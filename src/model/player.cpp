#include "model/player.h"

#include "model/fake_game.h"
#include "model/game_list.h"
#include "model/info.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/side.h"

namespace ludomark {

void TPlayer32::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kPlayer;
}

int32_t TPlayer32::Renumber() {
  Number = Owner != nullptr ? Owner->Players().PositionOf(this) : 0;
  return Number;
}

bool TPlayer32::CanDelete() {
  if (Owner == nullptr) return true;
  bool used = false;
  // Tables and plain information sets are not examined: their player is derived.
  Owner->Nodes().ForEach([&](TGameObject32* e) {
    if (e->TypeCode == kNode && static_cast<TNode32*>(e)->Player.get() == this) used = true;
  });
  Owner->Infos().ForEach([&](TGameObject32* e) {
    if (e->TypeCode == kSide && static_cast<TSide32*>(e)->Player.get() == this) used = true;
  });
  Owner->Payoffs().ForEach([&](TGameObject32* e) {
    if (static_cast<TGameValue*>(e)->Player.get() == this) used = true;
  });
  return !used;
}

}  // namespace ludomark
