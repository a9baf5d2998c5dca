#pragma once

#include <atomic>

#include "document/game_form.h"

namespace ludomark {

class TInfo32;

// Evaluates the current pure profile and stores it; false (nothing stored) when the
// evaluation fails.
bool RecordProfile(TGameForm32& game);
// Removes choices worse than every alternative in every stored profile, until none is left.
// Ends early, between passes, once the stop flag is set.
void Eliminate(TGameForm32& game, const std::atomic<bool>* stop = nullptr);
bool EliminationPass(TGameForm32& game);
// Drops the profiles that use an eliminated choice.
void PurgeProfiles(TGameForm32& game);
// The range of the values of each choice of the set over the stored profiles that use it and
// agree with the supports fixed so far at the other marked sets (choice by choice, the same as
// TChoice32::UpdateRange, in one pass over the profiles).
void UpdateRanges(TGameForm32& game, TInfo32& info);
// Support mode: whether a chosen choice of the set is dominated given the supports fixed so far.
bool SupportPruned(TGameForm32& game, TInfo32& info);

}  // namespace ludomark
