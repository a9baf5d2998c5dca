#include "solver/profile.h"

namespace ludomark {

TProfile::TProfile(int choices, int infos, TFakeGame* owner)
    : Used(choices, owner), InfoValues(infos, owner) {
  InitDefaults();
  Owner = owner;
}

void TProfile::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kProfile;
}

}  // namespace ludomark
