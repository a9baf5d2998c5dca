#pragma once

namespace ludomark {

// Most logit paths have reached their end by lambda 1e6 (lambda in units of the game's largest
// payoff): the progress of a run is the share of that way covered, in log lambda.
constexpr double kTracingNominalEnd = 6;
// A path still short of an equilibrium here ends without one.
constexpr double kTracingLastLambda = 1e10;

class TGameForm32;

double TracingFraction(double lambda);
// Beliefs follow play from the start alone (every other node's root weight 0), as along a
// traced path; before the run's index is built.
void ReachFromTheStartOnly(TGameForm32& game);

}  // namespace ludomark
