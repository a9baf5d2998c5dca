#pragma once

#include <cstdint>
#include <vector>

#include "document/game_form.h"

namespace ludomark {

// Tolerances of the evaluation.
constexpr double kBestReplyTolerance = 1e-8;
constexpr double kPlayedThreshold = 1e-12;
constexpr double kInitialMaximum = -1e150;

// Creates the working matrices and vectors for the game's current lists (dropping old ones and
// all profiles) and gives the nodes their root weights.
void AllocateWork(TGameForm32& game);
// The Newton iteration's matrices (sensitivities, Jacobian), made on first use.
void EnsureNewtonWork(TGameForm32& game);
// The bytes of the working data of a run on the audited game; with `newton`, those of the
// Newton iteration too (every method but pure equilibria).
std::uint64_t WorkBytes(TGameForm32& game, bool newton = true);
// Evaluations through the dense inverse of I - T instead of by components (for the tests that
// compare the two); taken when the working data is made.
void UseDenseEvaluation(bool on);
// r := r (I - T)^-1 for the current profile (after Evaluate): the reach of every node, by node
// (entry 0 is node 1), from the starting weights r. With `starts`, r is zero but at those
// entries, and only what play reaches from them is visited.
void ReachFrom(TGameForm32& game, std::vector<double>& r, const std::vector<int>* starts = nullptr);
// Singleton-set nodes get belief 1 and root weight 10^(240 - 8 level); others weight 0.
void InitNodeWeights(TGameForm32& game);
// For the current choice probabilities: node values through (I - T)^-1, beliefs, move and
// choice values, best replies. False when I - T is singular, a value overflows, or a set of a
// player has no best choice. With all false, temporary sets keep their best choices.
bool Evaluate(TGameForm32& game, bool all);
// Step one of the evaluation: I - T in the left half of the reach matrix.
void BuildReachMatrix(TGameForm32& game);
// Every choice played with probability 1e-12 or more is within 1e-8 of the best at its set.
bool IsEquilibrium(TGameForm32& game);
// Marked choices get probability 1, the others 0.
void SetPureProbabilities(TGameForm32& game);
// Scales each player's set to probabilities summing to 1; false when a set sums below 1e-12.
bool Normalize(TGameForm32& game);
// Drops the working data and every stored profile.
void FreeWork(TGameForm32& game);

}  // namespace ludomark
