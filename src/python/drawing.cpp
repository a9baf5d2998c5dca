#include <pybind11/stl.h>

#include "gamefile/file_error.h"
#include "model/solution.h"
#include "python/game_state.h"
#include "ui/view/picture.h"

namespace ludomark::python {
namespace {

// The solution in the game as it is now: a solution of an earlier run (or of another game)
// has nothing to stand on.
TSolution32* StoredSolution(const GamePtr& game, const py::object& solution) {
  if (solution.is_none()) return nullptr;
  std::string name;
  if (py::isinstance<Solution>(solution)) {
    const auto& s = solution.cast<const Solution&>();
    if (s.Game != game || s.Changes != game->Changes)
      throw py::value_error("the solution is not one of this game as it is now: solve it again");
    name = s.Report.Name;
  } else {
    name = Arg<std::string>(solution, "the solution", "a Solution or a solution's name");
  }
  TSolution32* found = nullptr;
  game->Game.Solutions().ForEachAs<TSolution32>([&](TSolution32* s) {
    if (found == nullptr && s->Name == name) found = s;
  });
  if (found == nullptr) throw py::value_error("the game holds no solution named '" + name + "'");
  return found;
}

py::object Draw(const GamePtr& game, const std::optional<std::string>& path,
                const py::object& solution, double zoom, bool grid, bool trim) {
  if (!(zoom >= 0.8 && zoom <= 1.6)) throw py::value_error("the zoom must lie between 0.8 and 1.6");
  if (path) CheckPath(*path);
  if (path && !IsPictureFile(*path))
    Raise(ModuleErrors().FileError, "pictures are written as .png, .bmp or .svg: " + *path);
  game->LayOut();
  TSolution32* drawn = StoredSolution(game, solution);
  const TPictureOptions options{zoom, grid, trim};
  try {
    if (path) {
      WritePicture(game->Game, drawn, *path, options);
      return py::none();
    }
    return py::str(PictureBytes(game->Game, drawn, "svg", options));
  } catch (const TFileError& e) {
    Raise(ModuleErrors().FileError, e.what());
  }
}

}  // namespace

void BindDrawing(py::class_<GameState, GamePtr>& game, py::class_<Solution>& solution) {
  game.def("draw", &Draw, py::arg("path") = py::none(), py::kw_only(),
           py::arg("solution") = py::none(), py::arg("zoom") = 1.0, py::arg("grid") = false,
           py::arg("trim") = true,
           "Draws the game (with a solution of its last run over it, given as the solution or "
           "its name) into a .png, .bmp or .svg file, or returns the SVG text without a path.")
      .def("_repr_svg_", [](const GamePtr& g) {
        return Draw(g, std::nullopt, py::none(), /*zoom=*/1.0, /*grid=*/false, /*trim=*/true);
      });
  solution.def("_repr_svg_", [](const Solution& s) {
    return Draw(s.Game, std::nullopt, py::cast(s), /*zoom=*/1.0, /*grid=*/false, /*trim=*/true);
  });
  game.attr("can_draw") = true;
}

}  // namespace ludomark::python
