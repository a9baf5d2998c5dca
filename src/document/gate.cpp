#include "document/gate.h"

#include "document/game_form.h"

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
      if (solving || state.ReadOnly) return TAnswer::No;
      return solved ? TAnswer::Solved : TAnswer::Yes;
    case TDeed::Move:
      return yesIf(!solving && !state.ReadOnly);
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

TGateState GateOf(const TGameForm32& game, bool anyRun) {
  const bool onGame = game.RunWorking() || game.Status() == StatusSolving;
  return TGateState{game.Status(), onGame, anyRun || onGame, game.ReadOnly};
}

}  // namespace ludomark
