#include "solver/solution_group.h"

namespace ludomark {

TSolutionGroup::TSolutionGroup(int choices, TFakeGame* owner) : Pattern(choices, owner) {
  InitDefaults();
  Owner = owner;
}

void TSolutionGroup::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kGroup;
}

}  // namespace ludomark
