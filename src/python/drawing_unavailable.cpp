#include "python/game_state.h"

namespace ludomark::python {

// A build without the desktop layer has no pictures: drawing says so instead.
void BindDrawing(py::class_<GameState, GamePtr>& game, py::class_<Solution>& /*solution*/) {
  game.def(
      "draw",
      [](const GamePtr&, const py::args&, const py::kwargs&) {
        Raise(ModuleErrors().Error,
              "this build draws no pictures (it was built without the desktop layer; configure "
              "with -DLUDOMARK_DESKTOP=ON to draw)");
      },
      "Unavailable: this build has no desktop layer.");
  game.attr("can_draw") = false;
}

}  // namespace ludomark::python
