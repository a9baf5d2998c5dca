#pragma once

#include <atomic>
#include <unordered_set>

#include "document/game_form.h"

namespace ludomark {

// Checks the game and derives what the solver works on: table expansion, levels and root,
// information-set membership, artificial predecessors, choices, numbers, payoff lists, payoff
// bounds and eliminated choices. Every problem becomes a finding; never stops early. True when
// every check passed.
// With a stop flag, the audit also ends between its steps once the flag is set (answering
// false); the caller then drops what it derived. Without `degreeLimit` (for methods that do
// not enumerate), a node of more than 12 moves is noted and does not fail the audit.
bool Audit(TGameForm32& game, const std::atomic<bool>* stop = nullptr, bool degreeLimit = true);

// The steps of the audit, in their order of use.
void ComputeLevels(TGameForm32& game);
TNode32* FindRoot(TGameForm32& game);
bool CheckConnected(TGameForm32& game);
bool CheckInformationSets(TGameForm32& game);
void ComputeInfoLevels(TGameForm32& game);
void RebuildChoices(TGameForm32& game);
// Every move's list of the payoffs that name it, in Payoffs order.
void RebuildPayoffLists(TGameForm32& game);
bool CheckChoices(TGameForm32& game);
bool CheckDegrees(TGameForm32& game, bool limit = true);
bool CheckPayoffs(TGameForm32& game);
bool CheckChance(TGameForm32& game);
// Flaws that would otherwise pass and leave the solver without a solution: a player's node
// that no move leaves, a move that leaves no node, two moves of one name at a node, a set
// whose nodes belong to different players, a table of fewer than two sides or a side without
// strategies.
bool CheckForm(TGameForm32& game);
// A decision move whose discount is not above 0 and at most 1 ("Wrong discount at ").
bool CheckDiscounts(TGameForm32& game);
// A node from which play can never end, whatever the players do ("Endless play at "): a
// chance node whose moves all lead back to it, a cycle without discount that play cannot
// leave.
bool CheckPlayEnds(TGameForm32& game);
// The nodes that play from the root can reach along moves (none without a root).
std::unordered_set<const TNode32*> ReachedFromTheRoot(TGameForm32& game);
// A finding that does not fail the game for every node that play from the root never reaches
// ("Not reached from the start at "): it plays no part in the solutions.
void NoteUnreached(TGameForm32& game);
// A stop (when given) ends the rounds of eliminations early; the audit then fails as stopped.
void ComputeBounds(TGameForm32& game, const std::atomic<bool>* stop = nullptr);

}  // namespace ludomark
