#pragma once

#include "model/profile_base.h"
#include "model/vector.h"

namespace ludomark {

// One evaluated pure strategy profile: which choices it uses and the value of its choice at
// each information set, both by identity number.
class TProfile : public TProfileBase {
 public:
  TProfile(int choices, int infos, TFakeGame* owner);

  TBoolVect Used;
  TVector InfoValues;

  void InitDefaults() override;
  bool Uses(int choiceNumber) const override { return Used.Get(choiceNumber); }
  double InfoValue(int infoNumber) const override { return InfoValues.Get(infoNumber); }
};

}  // namespace ludomark
