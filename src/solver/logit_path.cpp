#include "solver/logit_path.h"

#include <algorithm>
#include <cmath>

#include "model/choice.h"
#include "model/info.h"
#include "model/payoff.h"
#include "solver/evaluation.h"
#include "solver/sensitivity.h"
#include "solver/solver_index.h"

namespace ludomark {

TLogitPath::TLogitPath(TGameForm32& game) : game_(game) {
  const TSolverIndex& index = SolverIndex(game);
  for (const TSolverIndex::PlayerSet& set : index.PlayerSets) {
    setStart_.push_back(static_cast<int>(choices_.size()));
    for (int i = set.First; i < set.First + set.Count; ++i) {
      choices_.push_back(index.SetChoiceList[static_cast<std::size_t>(i)]);
    }
  }
  setStart_.push_back(static_cast<int>(choices_.size()));
  double largest = 0;
  game.Payoffs().ForEachAs<TPayoff32>(
      [&](TPayoff32* p) { largest = std::max(largest, std::fabs(p->Value)); });
  // In the unit the evaluation measures payoffs in.
  if (game.Work != nullptr) largest /= game.Work->PayoffScale;
  if (largest > 0 && std::isfinite(largest)) scale_ = largest;
}

std::vector<double> TLogitPath::Start() const {
  std::vector<double> point(static_cast<std::size_t>(Unknowns()), 0.0);
  for (std::size_t s = 0; s + 1 < setStart_.size(); ++s) {
    const int count = setStart_[s + 1] - setStart_[s];
    for (int c = setStart_[s]; c < setStart_[s + 1]; ++c) {
      point[static_cast<std::size_t>(c)] = -std::log(static_cast<double>(count));
    }
  }
  return point;
}

bool TLogitPath::Evaluate(const std::vector<double>& point) {
  for (std::size_t c = 0; c < choices_.size(); ++c) choices_[c]->SetProbability(std::exp(point[c]));
  return ludomark::Evaluate(game_, /*all=*/true);
}

void TLogitPath::Residual(const std::vector<double>& point, std::vector<double>& residual) const {
  residual.assign(choices_.size(), 0.0);
  const double lambda = point.back() / scale_;
  for (std::size_t s = 0; s + 1 < setStart_.size(); ++s) {
    const auto first = static_cast<std::size_t>(setStart_[s]);
    const auto end = static_cast<std::size_t>(setStart_[s + 1]);
    double sum = 0;
    for (std::size_t c = first; c < end; ++c) {
      sum += std::exp(point[c]);
      if (c == first) continue;
      residual[c] =
          point[c] - point[first] - lambda * (choices_[c]->Expected - choices_[first]->Expected);
    }
    // The set's first row says its probabilities sum to 1.
    residual[first] = sum - 1;
  }
}

void TLogitPath::Jacobian(const std::vector<double>& point, std::vector<double>& jacobian) {
  ComputeSensitivities(game_, nullptr);
  const TMatrix& sensitivity = *game_.Work->Sensitivity;
  const std::size_t m = choices_.size();
  const std::size_t width = m + 1;
  jacobian.assign(m * width, 0.0);
  const double lambda = point.back() / scale_;
  std::vector<double> probability(m);
  for (std::size_t d = 0; d < m; ++d) probability[d] = std::exp(point[d]);
  for (std::size_t s = 0; s + 1 < setStart_.size(); ++s) {
    const auto first = static_cast<std::size_t>(setStart_[s]);
    const auto end = static_cast<std::size_t>(setStart_[s + 1]);
    for (std::size_t c = first; c < end; ++c) jacobian[first * width + c] = probability[c];
    for (std::size_t c = first + 1; c < end; ++c) {
      double* row = &jacobian[c * width];
      row[c] += 1;
      row[first] -= 1;
      const int numberC = choices_[c]->Number;
      const int numberFirst = choices_[first]->Number;
      // The values change with every probability, through the beliefs and the values below.
      for (std::size_t d = 0; d < m; ++d) {
        const int numberD = choices_[d]->Number;
        const double change =
            sensitivity.Get(numberC, numberD) - sensitivity.Get(numberFirst, numberD);
        row[d] -= lambda * change * probability[d];
      }
      row[m] = -(choices_[c]->Expected - choices_[first]->Expected) / scale_;
    }
  }
}

}  // namespace ludomark
