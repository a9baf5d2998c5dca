#include "solver/sensitivity.h"

#include <algorithm>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "solver/evaluation.h"
#include "solver/solver_index.h"

namespace ludomark {

namespace {

constexpr double kNoReach = 1e-150;  // a set reached less than this has no beliefs to change

// What every column reads, taken once per call: the targets the rows read, with the inverse's
// entries they need gathered into rows by node, and what the derivatives read of each move.
struct TReads {
  int Nodes = 0;
  int Count = 0;  // targets read; slot Count of the changes stays zero
};

TReads PrepareReads(TGameForm32& game, const std::vector<char>* rows) {
  TSolverWork& work = *game.Work;
  const TSolverIndex& index = SolverIndex(game);
  const int n = work.NodeReach->Count();

  // The targets the rows read, in the index's order (so by player): player p's are slots
  // ReadStart[p - 1] up to ReadStart[p]. The others read the zero slot.
  std::vector<char>& read = work.TargetRead;
  read.assign(index.Targets.size(), rows == nullptr ? 1 : 0);
  for (std::size_t position = 0; rows != nullptr && position < index.Choices.size(); ++position) {
    if ((*rows)[position] == 0) continue;
    const TSolverIndex::Choice& c = index.Choices[position];
    for (int k = c.First; k < c.First + c.Count; ++k) {
      const int t = index.Moves[static_cast<std::size_t>(k)].Target;
      if (t >= 0) read[static_cast<std::size_t>(t)] = 1;
    }
  }
  std::vector<int>& readTargets = work.ReadTargets;
  std::vector<int>& slotOf = work.TargetSlot;
  readTargets.clear();
  slotOf.assign(index.Targets.size(), 0);
  work.ReadStart.assign(static_cast<std::size_t>(index.Players) + 1, 0);
  for (int p = 1; p <= index.Players; ++p) {
    for (int t = index.PlayerTargets[static_cast<std::size_t>(p - 1)];
         t < index.PlayerTargets[static_cast<std::size_t>(p)]; ++t) {
      if (read[static_cast<std::size_t>(t)] == 0) continue;
      slotOf[static_cast<std::size_t>(t)] = static_cast<int>(readTargets.size());
      readTargets.push_back(t);
    }
    work.ReadStart[static_cast<std::size_t>(p)] = static_cast<int>(readTargets.size());
  }
  // The players whose values are read: the others' gains are never used.
  const int players = std::min(index.Players, work.NodeValues->Capacity());
  work.ReadPlayers.clear();
  for (int p = 1; p <= players; ++p) {
    if (work.ReadStart[static_cast<std::size_t>(p)] >
        work.ReadStart[static_cast<std::size_t>(p - 1)])
      work.ReadPlayers.push_back(p);
  }
  TReads reads{n, static_cast<int>(readTargets.size())};
  for (std::size_t t = 0; t < index.Targets.size(); ++t) {
    if (read[t] == 0) slotOf[t] = reads.Count;
  }
  // TargetReach(node, slot) = inv(target's node, node), one row per node, so that a move adds
  // its terms to a run of slots that lies together; a target outside the game reads zeros.
  const std::size_t slots = static_cast<std::size_t>(reads.Count);
  work.TargetReach.assign(static_cast<std::size_t>(n) * slots, 0.0);
  std::vector<double>& row = work.ReachVector;
  std::vector<int>& start = work.ReachStarts;
  for (std::size_t j = 0; j < slots; ++j) {
    const int x = index.Targets[static_cast<std::size_t>(readTargets[j])].second;
    if (x < 1 || x > n) continue;
    row.assign(static_cast<std::size_t>(n), 0.0);
    row[static_cast<std::size_t>(x - 1)] = 1;
    start.assign(1, x - 1);
    ReachFrom(game, row, &start);
    for (int node = 0; node < n; ++node)
      work.TargetReach[static_cast<std::size_t>(node) * slots + j] =
          row[static_cast<std::size_t>(node)];
  }
  work.SharedColumns.clear();
  work.SharedNode.assign(static_cast<std::size_t>(n) + 1, 0);
  for (const TSolverIndex::SharedNode& node : index.SharedNodes) {
    if (node.Node < 1 || node.Node > n) continue;
    work.SharedColumns.push_back(node.Node - 1);
    work.SharedNode[static_cast<std::size_t>(node.Node)] = 1;
  }
  // The rows computed, and what their derivatives read of each of their moves.
  std::vector<int>& rowList = work.RowPositions;
  rowList.clear();
  for (std::size_t position = 0; position < index.Choices.size(); ++position) {
    if (rows == nullptr || (*rows)[position] != 0) rowList.push_back(static_cast<int>(position));
  }
  std::vector<TMoveTerms>& terms = work.MoveTerms;
  terms.resize(index.Moves.size());
  for (const int position : rowList) {
    const TSolverIndex::Choice& c = index.Choices[static_cast<std::size_t>(position)];
    for (int k = c.First; k < c.First + c.Count; ++k) {
      const TSolverIndex::Move& m = index.Moves[static_cast<std::size_t>(k)];
      TMoveTerms& t = terms[static_cast<std::size_t>(k)];
      t.Valid = m.From >= 1 && m.From <= n;
      t.From = m.From;
      t.Target = m.Target >= 0 ? slotOf[static_cast<std::size_t>(m.Target)] : -1;
      t.Shared = t.Valid && work.SharedNode[static_cast<std::size_t>(m.From)] != 0;
      t.Expected = m.Element->Expected;
      t.Weight = m.Target >= 0 ? m.Element->From->Belief * m.Element->Value : 0.0;
    }
  }
  work.NodeShares.assign(index.SharedNodes.size(), 0.0);
  for (std::size_t i = 0; i < index.SharedNodes.size(); ++i) {
    const TSolverIndex::SharedNode& shared = index.SharedNodes[i];
    const double total = work.InfoReach->Get(shared.Set);
    work.NodeShares[i] = total < kNoReach ? 0.0 : work.NodeReach->Get(shared.Node) / total;
  }
  return reads;
}

// The change of the beliefs at the nodes of shared sets, through g(N), the reach through D's
// moves, summed where beliefs read it. Each move adds its terms to every such node, so each
// node sums them in the order of D's moves.
void ComputeBeliefChanges(TGameForm32& game, const TSolverIndex::Choice& d, int n) {
  TSolverWork& work = *game.Work;
  const TSolverIndex& index = SolverIndex(game);
  std::vector<double>& g = work.ReachFromChoice;
  const std::vector<int>& sharedColumns = work.SharedColumns;
  // A choice whose moves lead to no node changes no belief: every change, share and g would
  // come out +0, which they already are when the column before left them so.
  bool leads = false;
  for (int k = d.First; k < d.First + d.Count; ++k) {
    const int to = index.Moves[static_cast<std::size_t>(k)].To;
    leads = leads || (to >= 1 && to <= n);
  }
  if (!leads && work.BeliefsUnchanged) return;
  work.BeliefsUnchanged = !leads;
  for (const int node : sharedColumns) g[static_cast<std::size_t>(node) + 1] = 0;
  if (sharedColumns.empty()) return;
  // g(N) = the reach of N from where D's moves lead, each weighted by the reach of its move:
  // one solve from all of them at once (two with tiers: each node's reach counts the starts
  // of its tier, see ComputeBeliefs).
  std::vector<double>& all = work.ReachVector;
  std::vector<double>& first = work.ReachVector2;
  std::vector<int>& starts = work.ReachStarts;
  starts.clear();
  all.assign(static_cast<std::size_t>(n), 0.0);
  if (index.SplitReach) first.assign(static_cast<std::size_t>(n), 0.0);
  for (int k = d.First; k < d.First + d.Count; ++k) {
    const TSolverIndex::Move& m = index.Moves[static_cast<std::size_t>(k)];
    if (m.To < 1 || m.To > n) continue;
    const auto to = static_cast<std::size_t>(m.To - 1);
    starts.push_back(m.To - 1);
    if (!index.SplitReach) {
      all[to] += work.NodeReach->Get(m.From) * m.Element->Value;
      continue;
    }
    if (m.From < 1 || m.From > n) continue;
    const auto from = static_cast<std::size_t>(m.From - 1);
    all[to] += work.ReachSums[from] * m.Element->Value;
    first[to] += work.StartReachSums[from] * m.Element->Value;
  }
  ReachFrom(game, all, &starts);
  if (index.SplitReach) ReachFrom(game, first, &starts);
  for (const int node : sharedColumns) {
    const auto at = static_cast<std::size_t>(node);
    const bool tier = index.SplitReach && index.ReachTier[at + 1] != 0;
    g[at + 1] = tier ? first[at] : all[at];
  }
  // The members' sum is the same for every node of a set: taken once per set. A set whose
  // members D does not reach keeps its beliefs: each change would come out +0.
  for (std::size_t slot = 0; slot < index.SharedSets.size(); ++slot) {
    const TSolverIndex::SharedNode& first =
        index.SharedNodes[static_cast<std::size_t>(index.SharedSets[slot])];
    const double total = work.InfoReach->Get(first.Set);
    double sum = 0;
    bool reached = false;
    for (int i = first.FirstMember; i < first.FirstMember + first.MemberCount; ++i) {
      const int member = index.Members[static_cast<std::size_t>(i)];
      if (member < 1 || member > n) continue;
      sum += g[static_cast<std::size_t>(member)];
      reached = reached || g[static_cast<std::size_t>(member)] != 0;
    }
    work.SetShares[slot] = total < kNoReach ? 0.0 : sum / total;
    work.SetReached[slot] = reached ? 1 : 0;
  }
  for (std::size_t i = 0; i < index.SharedNodes.size(); ++i) {
    const TSolverIndex::SharedNode& shared = index.SharedNodes[i];
    if (shared.Node < 1 || shared.Node > n) continue;
    double& out = work.BeliefChange[static_cast<std::size_t>(shared.Node)];
    out = 0;
    const double total = work.InfoReach->Get(shared.Set);
    if (total < kNoReach || work.SetReached[static_cast<std::size_t>(shared.Slot)] == 0) continue;
    // Reach weights run up to 1e240, so divide before multiplying; +0 divided stays +0.
    const double reached = g[static_cast<std::size_t>(shared.Node)];
    out = (reached == 0 ? 0.0 : reached / total) -
          work.NodeShares[i] * work.SetShares[static_cast<std::size_t>(shared.Slot)];
  }
}

// dV(P, X) at the targets read, by slot, from what each of D's moves brings each player (its
// payoff and the value where it leads). Each move adds its terms to its players' runs of
// slots, so each target sums them in the order of D's moves.
void ComputeValueChanges(TGameForm32& game, const TSolverIndex::Choice& d, const TReads& reads) {
  TSolverWork& work = *game.Work;
  const TSolverIndex& index = SolverIndex(game);
  const TMatrix& values = *work.NodeValues;
  std::vector<double>& dv = work.ValueChange;
  std::fill(dv.begin(), dv.end(), 0.0);
  const std::size_t slots = static_cast<std::size_t>(reads.Count);
  for (int k = d.First; k < d.First + d.Count; ++k) {
    const TSolverIndex::Move& m = index.Moves[static_cast<std::size_t>(k)];
    if (m.From < 1 || m.From > reads.Nodes) continue;
    TPayoff32* const* payoffs = index.Payoffs.data() + static_cast<std::size_t>(k) *
                                                           static_cast<std::size_t>(index.Players);
    const double* reach = work.TargetReach.data() + static_cast<std::size_t>(m.From - 1) * slots;
    for (const int p : work.ReadPlayers) {
      TPayoff32* payoff = payoffs[p - 1];
      double gain = payoff != nullptr ? payoff->Value / work.PayoffScale : 0.0;
      if (m.To != 0) gain += m.Element->Value * values.Get(p, m.To);
      if (gain == 0) continue;
      for (int j = work.ReadStart[static_cast<std::size_t>(p - 1)];
           j < work.ReadStart[static_cast<std::size_t>(p)]; ++j) {
        dv[static_cast<std::size_t>(j)] += reach[j] * gain;
      }
    }
  }
}

// Only choices with a move that reads a nonzero change can have a nonzero derivative. Marking
// more is harmless: a choice marked sums its terms, which are then all zero, to +0.
void MarkAffected(TGameForm32& game, const TReads& reads) {
  TSolverWork& work = *game.Work;
  const TSolverIndex& index = SolverIndex(game);
  std::vector<char>& affected = work.Affected;
  std::fill(affected.begin(), affected.end(), 0);
  for (int j = 0; j < reads.Count; ++j) {
    if (work.ValueChange[static_cast<std::size_t>(j)] == 0) continue;
    const auto t = static_cast<std::size_t>(work.ReadTargets[static_cast<std::size_t>(j)]);
    for (int i = index.TargetStart[t]; i < index.TargetStart[t + 1]; ++i) {
      affected[static_cast<std::size_t>(index.ChoiceOf[static_cast<std::size_t>(
          index.TargetMoves[static_cast<std::size_t>(i)])])] = 1;
    }
  }
  // A changed belief at any node of a set marks the choices of every node of the set.
  for (std::size_t slot = 0; slot < index.SharedSets.size(); ++slot) {
    const TSolverIndex::SharedNode& first =
        index.SharedNodes[static_cast<std::size_t>(index.SharedSets[slot])];
    bool changed = false;
    if (work.SetReached[slot] == 0) continue;  // its changes are all +0
    for (int i = first.FirstMember; i < first.FirstMember + first.MemberCount && !changed; ++i) {
      const int member = index.Members[static_cast<std::size_t>(i)];
      changed = member >= 1 && member <= reads.Nodes &&
                work.BeliefChange[static_cast<std::size_t>(member)] != 0;
    }
    if (!changed) continue;
    for (int i = index.SetChoiceStart[slot]; i < index.SetChoiceStart[slot + 1]; ++i)
      affected[static_cast<std::size_t>(index.SetChoices[static_cast<std::size_t>(i)])] = 1;
  }
}

}  // namespace

void ComputeSensitivities(TGameForm32& game, const std::vector<char>* rows) {
  EnsureNewtonWork(game);
  TSolverWork& work = *game.Work;
  const TSolverIndex& index = SolverIndex(game);
  const TReads reads = PrepareReads(game, rows);
  const int n = reads.Nodes;
  TMatrix& sensitivity = *work.Sensitivity;
  work.ReachFromChoice.assign(static_cast<std::size_t>(n) + 1, 0.0);
  work.BeliefChange.assign(static_cast<std::size_t>(n) + 1, 0.0);
  work.ValueChange.assign(static_cast<std::size_t>(reads.Count) + 1, 0.0);
  work.SetShares.assign(index.SharedSets.size(), 0.0);
  work.SetReached.assign(index.SharedSets.size(), 0);
  work.BeliefsUnchanged = true;  // every change is +0 so far
  work.Affected.assign(index.Choices.size(), 0);
  const std::vector<double>& dBelief = work.BeliefChange;
  const std::vector<double>& dv = work.ValueChange;
  const std::vector<TMoveTerms>& terms = work.MoveTerms;

  for (const TSolverIndex::Choice& d : index.Choices) {
    ComputeBeliefChanges(game, d, n);
    ComputeValueChanges(game, d, reads);
    MarkAffected(game, reads);
    const int column = d.Element->Number;
    for (const int row : work.RowPositions) {
      const auto position = static_cast<std::size_t>(row);
      const TSolverIndex::Choice& c = index.Choices[position];
      // Terms are added in the order of C's moves; a zero change adds nothing (the sum starts
      // at +0 and so is never -0), so nodes of singleton sets skip the belief term.
      double derivative = 0;
      if (work.Affected[position] != 0) {
        for (int k = c.First; k < c.First + c.Count; ++k) {
          const TMoveTerms& t = terms[static_cast<std::size_t>(k)];
          if (!t.Valid) continue;
          if (t.Shared) derivative += dBelief[static_cast<std::size_t>(t.From)] * t.Expected;
          if (t.Target >= 0) derivative += t.Weight * dv[static_cast<std::size_t>(t.Target)];
        }
      }
      sensitivity.Put(/*add=*/false, c.Element->Number, column, derivative);
    }
  }
}

}  // namespace ludomark
