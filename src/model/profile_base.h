#pragma once

#include "model/game_object.h"

namespace ludomark {

// What a choice reads of a stored pure profile: which choices it uses and the value of its
// choice at each information set, both by identity number. The solver's profile implements it.
class TProfileBase : public TGameObject32 {
 public:
  virtual bool Uses(int choiceNumber) const = 0;
  virtual double InfoValue(int infoNumber) const = 0;
};

}  // namespace ludomark
