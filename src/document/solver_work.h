#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "model/matrix.h"
#include "model/vector.h"

namespace ludomark {

class TChoice32;
class TMove32;
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
  };
  std::vector<Choice> Choices;  // choices of players, in Strategies order
  std::vector<Move> Moves;
  std::vector<TPayoff32*> Payoffs;      // players per move, in Moves order; nullptr for none
  std::vector<SharedNode> SharedNodes;  // nodes of sets that are not singletons, in list order
  std::vector<int> Members;
  int Players = 0;
  bool Built = false;
};

// The solver's working numbers for one run, indexed by element numbers.
struct TSolverWork {
  std::unique_ptr<TMatrix> ReachInverse;  // I - T on the left, its inverse on the right
  std::unique_ptr<TMatrix> Rewards;       // players x nodes
  std::unique_ptr<TMatrix> NodeValues;    // players x nodes
  std::unique_ptr<TMatrix> Sensitivity;   // choices x choices
  std::unique_ptr<TMatrix> Jacobian;      // Newton system over the active choices
  std::unique_ptr<TVector> Residual;
  std::unique_ptr<TVector> NodeReach;
  std::unique_ptr<TVector> InfoReach;
  // Scratch space of the evaluation, kept so that evaluations do not allocate.
  std::vector<int> PayingNodes;
  std::vector<double> ReachSums;
  std::vector<double> ReachFromChoice;  // sensitivity: reach through one choice's moves
  std::vector<double> ValueChange;      // sensitivity: players x nodes
  std::vector<double> BeliefChange;     // sensitivity: by node
  std::vector<TGameObject32*> Choices;  // choices of players, in Strategies order
  std::vector<TChoice32*> Active;       // the Newton system's choices, in WorkList order
  TSolverIndex Index;
  // The run's stop flag: a long inversion ends when it is set.
  const std::atomic<bool>* Stop = nullptr;
};

}  // namespace ludomark
