#pragma once

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "model/matrix.h"
#include "model/reach_system.h"
#include "model/vector.h"

namespace ludomark {

class TChoice32;
class TInfo32;
class TMove32;
class TNode32;
class TPayoff32;

// The shape of the game as the solver's inner loops read it, taken once per run: which moves
// each choice of a player has, with their nodes and payoffs by number, and which nodes share
// sets. Values (probabilities, payoffs, discounts) are read through the elements.
struct TSolverIndex {
  struct Move {
    TMove32* Element = nullptr;
    int From = 0;        // node number
    int To = 0;          // node number, 0 when the move ends the game
    int FromPlayer = 0;  // player number of the From node, 0 for chance
    int Target = -1;     // its (mover, To) pair in Targets; -1 when it has none
  };
  struct Choice {
    TChoice32* Element = nullptr;
    int First = 0;  // its moves: Moves[First] to Moves[First + Count - 1]
    int Count = 0;
  };
  struct SharedNode {
    int Node = 0;
    int Set = 0;          // information set number
    int FirstMember = 0;  // the set's members: Members[FirstMember] on
    int MemberCount = 0;
    int Slot = 0;  // its set's place in SharedSets
  };
  // A payoff as the evaluation reads it: on a move (or cell) that leaves a node, to a player.
  struct Reward {
    TPayoff32* Element = nullptr;
    TMove32* Move = nullptr;
    TChoice32* Choice = nullptr;  // the move's choice; nothing on a chance move
    int Player = 0;               // player number
    int From = 0;                 // node number
    bool Chance = false;          // the move leaves a chance node
    bool Mover = false;           // the payoff is the mover's own
  };
  std::vector<Reward> Rewards;  // in Payoffs order
  // A move between two nodes, as the transitions read it, by the choices in Strategies order.
  struct Transition {
    TMove32* Move = nullptr;
    TChoice32* Choice = nullptr;
    int From = 0;
    int To = 0;
  };
  std::vector<Transition> Transitions;
  bool AnySharedSet = false;    // some information set is not a singleton
  std::vector<Choice> Choices;  // choices of players, in Strategies order
  std::vector<Move> Moves;
  std::vector<TPayoff32*> Payoffs;      // players per move, in Moves order; nullptr for none
  std::vector<SharedNode> SharedNodes;  // nodes of sets that are not singletons, in list order
  std::vector<int> Members;
  std::vector<int> SharedSets;  // the first SharedNodes entry of each set, by slot
  // The values the sensitivities read: each (player, node) pair of a mover and the node its
  // move leads to, once.
  std::vector<std::pair<int, int>> Targets;  // by player, then node
  // Player p's targets are Targets[PlayerTargets[p - 1]] up to PlayerTargets[p].
  std::vector<int> PlayerTargets;
  // Moves by what they read, as lists in one array each: TargetMoves[TargetStart[t]] up to
  // TargetStart[t + 1] lead to target t; FromMoves[FromStart[node]] up to FromStart[node + 1]
  // leave the node. ChoiceOf[k] is the position in Choices of the choice of move k.
  std::vector<int> TargetStart, TargetMoves, FromStart, FromMoves, ChoiceOf;
  std::vector<int> PositionOf;  // by choice number: its position in Choices, -1 for none
  // The positions in Choices of the choices with moves at the nodes of each shared set:
  // SetChoices[SetChoiceStart[slot]] up to SetChoiceStart[slot + 1].
  std::vector<int> SetChoiceStart, SetChoices;
  // The sets of players in list order, each with its choices in list order:
  // SetChoiceList[First] up to SetChoiceList[First + Count - 1].
  struct PlayerSet {
    TInfo32* Element = nullptr;
    int First = 0;
    int Count = 0;
  };
  std::vector<PlayerSet> PlayerSets;
  std::vector<TChoice32*> SetChoiceList;
  // The moves that leave a player's node, in list order, as the move values read them.
  struct DecisionMove {
    TMove32* Element = nullptr;
    int Player = 0;  // the mover's number
    int To = 0;      // node number, 0 when the move ends the game
  };
  std::vector<DecisionMove> DecisionMoves;
  // Reach: the nodes of singleton sets with a weight, every set with its members' numbers
  // (InfoMembers[InfoFirst[i]] up to InfoFirst[i + 1] for the i-th set in list order), and the
  // nodes of sets of several nodes with their set's number.
  std::vector<TNode32*> WeightedNodes;
  // When some nodes are out of reach of play from the root (SplitReach), the reach of a node
  // whose set play from the root reaches (ReachTier, by node number) counts only the weighted
  // nodes that play reaches and the artificial ones (StartWeightedNodes); beliefs there follow
  // play from the start and no part of the game it never enters.
  bool SplitReach = false;
  std::vector<char> ReachTier;
  std::vector<TNode32*> StartWeightedNodes;
  std::vector<int> InfoNumbers, InfoFirst, InfoMembers;
  std::vector<std::pair<TNode32*, int>> BeliefNodes;
  // What solutions are compared on: the choices of players that are not temporary, and the
  // nodes of players that are not temporary, in list order.
  std::vector<TChoice32*> ShownChoices;
  std::vector<TNode32*> ShownNodes;
  int Players = 0;
  bool Built = false;
};

// What the sensitivities read of one move of a choice in one step.
struct TMoveTerms {
  int From = 0;
  int Target = -1;      // as in TSolverIndex::Move
  bool Valid = false;   // From is a node of the game
  bool Shared = false;  // From belongs to a set of several nodes
  double Expected = 0;  // the move's value to its mover
  double Weight = 0;    // belief at From times the move's discount or probability
};

// The solver's working numbers for one run, indexed by element numbers.
struct TSolverWork {
  // I - T of the profile, solved by components; built from the index on first use.
  TReachSystem Reach;
  bool ReachBuilt = false;
  std::vector<double> ReachWeights;  // by transition of the index
  std::vector<double> ReachVector;   // scratch: one solve's right-hand side and result
  std::vector<double> ReachVector2;  // scratch: a second one, for the tier of the start
  std::vector<int> ReachStarts;      // scratch: where a solve's right-hand side is not zero
  // The dense evaluation kept to check the one by components: I - T on the left, its inverse
  // on the right; only made when asked for (UseDenseEvaluation).
  std::unique_ptr<TMatrix> ReachInverse;
  std::unique_ptr<TMatrix> Rewards;     // players x nodes
  std::unique_ptr<TMatrix> NodeValues;  // players x nodes
  // The Newton iteration's: made on first use (EnsureNewtonWork), a run for pure equilibria
  // does without them.
  int Choices = 0;  // the lists' sizes when the work was made
  int Infos = 0;
  std::unique_ptr<TMatrix> Sensitivity;  // choices x choices
  std::unique_ptr<TMatrix> Jacobian;     // Newton system over the active choices
  std::unique_ptr<TVector> Residual;
  std::unique_ptr<TVector> NodeReach;
  std::unique_ptr<TVector> InfoReach;
  // The unit payoffs are measured in (PayoffScale): every value of the run is in it, and
  // solutions multiply their values back.
  double PayoffScale = 1;
  // By node number: the belief a node keeps while play does not reach its set (the end of a
  // traced path); empty when beliefs at such sets are 0.
  std::vector<double> HeldBeliefs;
  // Scratch space of the evaluation, kept so that evaluations do not allocate.
  std::vector<int> PayingNodes;
  std::vector<double> ReachSums;
  std::vector<double> StartReachSums;    // by node, the reach from StartWeightedNodes
  std::vector<double> ReachFromChoice;   // sensitivity: reach through one choice's moves
  std::vector<double> ValueChange;       // sensitivity: by slot of the targets read
  std::vector<double> BeliefChange;      // sensitivity: by node
  std::vector<int> ReadPlayers;          // sensitivity: the players with targets read
  std::vector<char> TargetRead;          // sensitivity: by target, some row reads its change
  std::vector<int> ReadTargets;          // sensitivity: by slot, the target read
  std::vector<int> TargetSlot;           // sensitivity: by target, its slot (the last: unread)
  std::vector<int> ReadStart;            // sensitivity: where each player's slots start
  std::vector<double> TargetReach;       // sensitivity: by node and slot, the inverse's entry
  std::vector<int> SharedColumns;        // sensitivity: columns of the nodes of shared sets
  std::vector<TMoveTerms> MoveTerms;     // sensitivity: by move of the index
  std::vector<char> SharedNode;          // sensitivity: by node, in a set of several nodes
  std::vector<char> Affected;            // sensitivity: by choice, its derivative may be nonzero
  std::vector<char> NeededRows;          // Newton system: by choice, its sensitivities are read
  std::vector<double> ZeroRow;           // Newton system: the row of a choice outside it
  std::vector<double> Residuals;         // Newton step: the residual, in the system's order
  std::vector<int> RowPositions;         // sensitivity: the positions of the rows computed
  bool BeliefsUnchanged = true;          // sensitivity: every belief change, share and g is +0
  std::vector<char> SetReached;          // sensitivity: by shared set, D's moves reach a member
  std::vector<double> SetShares;         // sensitivity: by shared set, its members' g over reach
  std::vector<double> NodeShares;        // sensitivity: by shared node, its reach over its set's
  std::vector<TChoice32*> Listed;        // the choices last put in the game's work list
  std::vector<TChoice32*> Active;        // the Newton system's choices, in WorkList order
  std::vector<TChoice32*> RangeChoices;  // pruning test: the set's live choices
  std::vector<int> RangeExcluded;        // pruning test: choices outside the supports so far
  TSolverIndex Index;
  // The run's stop flag: a long inversion ends when it is set.
  const std::atomic<bool>* Stop = nullptr;
};

}  // namespace ludomark
