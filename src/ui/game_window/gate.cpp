#include "ui/game_window/gate.h"

namespace ludomark {

TAnswer Ask(TDeed deed, const TGateState& state) {
  const bool solving = state.RunOnGame || state.Status == StatusSolving;
  const bool solved = state.Status == StatusSolved || state.Status == StatusSolvedSaved;
  const auto yesIf = [](bool yes) { return yes ? TAnswer::Yes : TAnswer::No; };
  switch (deed) {
    case TDeed::View:
      return TAnswer::Yes;
    case TDeed::RunSettings:
      return yesIf(!state.RunBusy);
    case TDeed::Edit:
      if (solving) return TAnswer::No;
      return solved ? TAnswer::Solved : TAnswer::Yes;
    case TDeed::Move:
    case TDeed::Save:
    case TDeed::Close:
      return yesIf(!solving);
    case TDeed::Solve:
      return yesIf(!solving && !solved && !state.RunBusy);
    case TDeed::UseSolutions:
    case TDeed::DropSolutions:
      return yesIf(!solving && solved);
  }
  return TAnswer::No;
}

}  // namespace ludomark
