#pragma once

#include "model/game_list.h"
#include "model/vector.h"

namespace ludomark {

// Solutions of one run that share a best-reply pattern: the best set of the solution that
// created the group, and the solutions that fit it.
class TSolutionGroup : public TGameObject32 {
 public:
  explicit TSolutionGroup(int choices = 0, TFakeGame* owner = nullptr);

  TBoolVect Pattern;
  TGameList Members;  // view of solutions

  void InitDefaults() override;
};

}  // namespace ludomark
