#pragma once

#include <functional>
#include <string>
#include <vector>

#include "document/game_form.h"

namespace ludomark::testing {

// The games committed under examples/, built through the document. The committed files are
// what WriteGameFile makes of these.
struct ExampleGame {
  std::string FileName;
  std::function<void(TGameType32&)> Build;
};

const std::vector<ExampleGame>& ExampleGames();

}  // namespace ludomark::testing
