#pragma once

#include <array>
#include <vector>

#include "solver/lemke.h"
#include "solver/sequence_form.h"

namespace ludomark {

// Each player's plan is at least one of these multiples of the plan that plays every choice alike,
// in the perturbed game whose equilibria the sequence-form method finds: every set the other player
// could lead to is reached, so that play there is a best reply too.
constexpr double kSequenceTrembles[] = {1e-7, 1e-3, 0};

// The equilibria of the two players' perturbed sequence form as a complementarity problem:
// variables x (the first player's plan above the trembles), y (the second's), then the
// values of their constraint rows, each split into a positive and a negative part.
TLcp SequenceFormLcp(const TSequenceForm& form, double tremble);

// Each player's behaviour at each of his sets, from a solution of that problem: per player,
// per sequence s >= 1, the probability of its last choice at its set (the trembles left out).
std::array<std::vector<double>, 2> BehaviourFromLcp(const TSequenceForm& form,
                                                    const std::vector<double>& z);

}  // namespace ludomark
