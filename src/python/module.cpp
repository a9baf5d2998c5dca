#include <pybind11/pybind11.h>

#include "python/game_state.h"
#include "solver/solve_method.h"

namespace ludomark::python {
namespace {

py::object NewException(py::module_& m, const char* name, py::handle bases, const char* doc) {
  const std::string full = std::string("ludomark.") + name;
  py::object kind = py::reinterpret_steal<py::object>(
      PyErr_NewExceptionWithDoc(full.c_str(), doc, bases.ptr(), nullptr));
  if (!kind) throw py::error_already_set();
  m.attr(name) = kind;
  return kind;
}

void BindErrors(py::module_& m) {
  Errors& errors = ModuleErrors();
  errors.Error = NewException(m, "Error", PyExc_Exception, "Every error the module raises.");
  errors.FileError =
      NewException(m, "FileError", py::make_tuple(errors.Error, py::handle(PyExc_OSError)),
                   "A game file or picture that cannot be read or written.");
  errors.FlawedGameError =
      NewException(m, "FlawedGameError", errors.Error,
                   "A game the audit finds flawed; `findings` lists what it found.");
  errors.AuditNote =
      NewException(m, "AuditNote", PyExc_UserWarning,
                   "What the audit notes without failing the game (a part play never reaches).");
}

}  // namespace
}  // namespace ludomark::python

PYBIND11_MODULE(_core, m) {
  namespace lp = ludomark::python;
  m.doc() =
      "The compiled core of ludomark: games in extensive and strategic form, read, built, "
      "audited, solved and drawn.";
  lp::BindErrors(m);
  lp::BindElements(m);
  pybind11::class_<lp::GameState, lp::GamePtr> game(m, "Game",
                                                    "A game: players, nodes, moves, tables.");
  game.def(pybind11::init([](const std::string& name) {
             auto state = std::make_shared<lp::GameState>();
             state->Game.Header().Name = name;
             return state;
           }),
           pybind11::arg("name") = "", "An empty game of that name.");
  pybind11::class_<lp::Solution> solution = lp::BindSolution(m);
  lp::BindReading(game);
  lp::BindBuilding(game);
  lp::BindSolving(game);
  lp::BindDrawing(game, solution);
  pybind11::list methods;
  for (const ludomark::TSolveMethod* method : ludomark::SolveMethods())
    methods.append(method->Name);
  m.attr("METHODS") = pybind11::tuple(methods);
}
