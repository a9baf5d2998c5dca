#pragma once

#include <vector>

#include "document/game_form.h"
#include "solver/path_tracer.h"

namespace ludomark {

class TChoice32;

// The logit path of the agent form. Every information set of a player (every side of a table)
// is an agent whose choices' log-probabilities differ by lambda times the differences of their
// values, given the beliefs; the values are divided by the game's payoff scale, so that lambda
// means the same for a game and the game scaled. A point holds the log-probability of every
// choice of a player, in the order of the run's sets, and lambda last: the path is where the
// residual is zero, a curve through the uniform profile at lambda 0.
class TLogitPath : public TPathSystem {
 public:
  // Needs the game's working data (the run's evaluation).
  explicit TLogitPath(TGameForm32& game);

  int Unknowns() const override { return static_cast<int>(choices_.size()) + 1; }
  int Equations() const { return static_cast<int>(choices_.size()); }
  // The uniform profile at lambda 0.
  std::vector<double> Start() const;
  // Gives the choices the point's probabilities and evaluates the game there; false when the
  // evaluation fails.
  bool Evaluate(const std::vector<double>& point) override;
  // At the point last evaluated: the residual, one entry per equation.
  void Residual(const std::vector<double>& point, std::vector<double>& residual) const override;
  // At the point last evaluated: the derivatives of the residual, Equations() rows of
  // Unknowns() entries, row by row.
  void Jacobian(const std::vector<double>& point, std::vector<double>& jacobian) override;

  const std::vector<TChoice32*>& Choices() const { return choices_; }
  double Scale() const { return scale_; }
  // Where each set's choices start in the point; one more entry closes the last set.
  const std::vector<int>& SetStarts() const { return setStart_; }

 private:
  TGameForm32& game_;
  std::vector<TChoice32*> choices_;
  std::vector<int> setStart_;
  double scale_ = 1;  // the largest payoff in absolute value (1 when every payoff is 0)
};

}  // namespace ludomark
