#pragma once

#include <vector>

#include "document/game_form.h"
#include "model/solution.h"
#include "solver/solution_group.h"

namespace ludomark {

// Thresholds of recording and grouping.
constexpr double kSnapZero = 1e-8;  // values this small are stored as 0
constexpr double kDuplicateDistance = 1e-5;
constexpr double kPlayedInGroup = 1e-8;
// The parameter every solution a run records carries, whatever stage met it.
constexpr int kSolutionParam = 20;

// Records the current assessment (after a successful evaluation) as a solution of the kind;
// answers the solution, or nothing when it duplicates one already found.
TSolution32* RecordSolution(TGameForm32& game, int kind, int param);
// Copies the last evaluation into the solution (tiny values as 0) and rebuilds its values.
void Snapshot(TGameForm32& game, TSolution32& s);
// Largest difference of a choice probability or a belief.
double SolutionDistance(TGameForm32& game, const TSolution32& s, const TSolution32& t);
bool IsDuplicate(TGameForm32& game, TSolution32& s);
TSolutionGroup* NewGroup(TGameForm32& game, const TSolution32& s);
TSolutionGroup* GroupOf(TGameForm32& game, TSolution32& s);
bool Fits(TGameForm32& game, const TSolution32& s, const TSolutionGroup& g, bool exact);
// Pushes the members of the solution's groups (every group when s is nothing) along the
// segments between them, as far as they stay equilibria.
void ExtendGroups(TGameForm32& game, TSolution32* s);
bool ExtendPair(TGameForm32& game, TSolution32& s, const TSolution32& t);
bool TryPoint(TGameForm32& game, TSolution32& s, const TSolution32& t, double lambda);
void MergeDuplicates(TGameForm32& game);
// Groups, names and orders the solutions.
void Organize(TGameForm32& game);
void NameSolution(TGameForm32& game, TSolution32& s);
// Names the solution by the groups it is a member of, by its own group when only one.
void NameSolutionIn(TGameForm32& game, TSolution32& s, TSolutionGroup* own);
// Lists the solutions group by group, and makes names that several share unique.
void ListInGroupOrder(TGameForm32& game);
// Records the current assessment for a method that groups its solutions itself: no
// grouping, extension or merging (nothing when it duplicates a solution already found).
TSolution32* RecordUngroupedSolution(TGameForm32& game, int kind, int param);
// Gives the solution the fractions of its probabilities, one per choice in list order ("" for
// none).
void KeepFractions(TGameForm32& game, TSolution32& s, const std::vector<std::string>& texts);
// Makes each list a group, in order, as a method that knows its groups found them: a group's
// pattern is the choices best in all its members; names and order follow the groups.
void GroupAs(TGameForm32& game, const std::vector<std::vector<TSolution32*>>& groups);
void DeleteSolution(TGameForm32& game, TSolution32* s);

// Appends a line to the solver log.
void LogLine(TGameForm32& game, const std::string& text);

}  // namespace ludomark
