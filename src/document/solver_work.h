#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "model/matrix.h"
#include "model/vector.h"

namespace ludomark {

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
  // The run's stop flag: a long inversion ends when it is set.
  const std::atomic<bool>* Stop = nullptr;
};

}  // namespace ludomark
