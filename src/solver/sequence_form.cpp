#include "solver/sequence_form.h"

#include "audit/payoff_scale.h"
#include "solver/sequence_form_builder.h"

namespace ludomark {

std::string BuildSequenceForm(TGameForm32& game, TSequenceForm& form) {
  return BuildSequenceFormOf(
      game, form, [](const TGameObject32* /*holder*/, double value) { return value; },
      PayoffScale(game));
}

}  // namespace ludomark
