#pragma once

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "document/game_form.h"
#include "document/gate.h"
#include "session/solution_report.h"

namespace ludomark::python {

namespace py = pybind11;

// A game as the module holds it. Elements handed to the script point into it and keep it alive;
// the script never deletes elements, so they stay valid as long as the game does.
struct GameState {
  TGameType32 Game;
  // Nodes and moves the script gave a position; the others are laid out before the game is
  // drawn, written, listed or solved.
  std::unordered_set<const TGameObject32*> Placed;
  bool NeedsLayout = false;
  // Bumped by every edit and every run: a solution belongs to the game of its own count.
  int Changes = 0;
  bool Solved = false;  // the last run left its derived elements (and solutions) in the game
  // Whether a run works on the game, as the gate sees it.
  bool Solving() const { return GateOf(Game).RunOnGame; }
  std::string Method;  // of the last run

 private:
  std::unordered_set<const TGameObject32*> live_;  // the elements of the lists at liveAt_
  int liveAt_ = -1;

 public:
  // Before an edit: refused during a run; drops what the last run derived, its solutions too.
  void BeginEdit();
  // Whether the element is still one of the game's: the audit frees information sets of one
  // node, and a handle must never reach what is gone. Refused during a run, which changes
  // the lists.
  bool Holds(const TGameObject32* element);
  void LayOut();
  // A new document holding the game as the script made it, without anything derived.
  std::unique_ptr<TGameType32> FreshCopy();
  // The game without anything derived: itself when it holds nothing derived, else a fresh copy
  // (kept in `copy`). A copy goes through the file's fixed fields, so it is taken only when
  // needed: the document itself is what the command line reads.
  TGameType32& Plain(std::unique_ptr<TGameType32>& copy);
  // The game's name (its title in exchange files and pictures).
  std::string Name();
};

using GamePtr = std::shared_ptr<GameState>;

// An element of a game, as the script holds it.
struct Element {
  GamePtr Game;
  TGameObject32* Target = nullptr;
};
struct Player : Element {};
struct Node : Element {};
struct Table : Node {};
struct Move : Element {};
struct Cell : Move {};
struct InfoSet : Element {};

// A solution as plain data, with the game it was found in (to draw it over that game).
struct Solution {
  session::SolutionReport Report;
  std::string Method;
  GamePtr Game;
  int Changes = 0;  // the game's count when it was found
};

// Text for Python: the model's bytes as UTF-8 (see session::AsUtf8).
inline py::str Text(const std::string& text) {
  return py::str(session::AsUtf8(text));
}
std::vector<py::str> Texts(const std::vector<std::string>& texts);

// The module's exceptions (ludomark.Error and its kinds).
struct Errors {
  py::object Error;
  py::object FileError;
  py::object FlawedGameError;
  py::object AuditNote;
};
Errors& ModuleErrors();
// Raises the exception with the message (and, for a flawed game, its findings).
[[noreturn]] void Raise(const py::object& kind, const std::string& message);
[[noreturn]] void RaiseFlawed(const std::vector<std::string>& findings);
// Each finding that does not fail the game, as a warning of kind ludomark.AuditNote.
void WarnNotes(const std::vector<std::string>& notes);
std::vector<std::string> FindingTexts(TGameForm32& game);

// Parts of the module, each adding its classes and functions.
void BindElements(py::module_& m);
void BindBuilding(py::class_<GameState, GamePtr>& game);
void BindReading(py::class_<GameState, GamePtr>& game);
void BindDrawing(py::class_<GameState, GamePtr>& game, py::class_<Solution>& solution);
void BindSolving(py::class_<GameState, GamePtr>& game);
py::class_<Solution> BindSolution(py::module_& m);

// The element the handle points at; ludomark.Error when it has left the game.
TGameObject32* Live(const Element& e);
// The element the handle points at, of the class asked for.
template <class T>
T* Target(const Element& e) {
  return static_cast<T*>(Live(e));
}
// The argument as the C++ type, or a TypeError naming the argument and what it should be.
template <class T>
T Arg(py::handle value, const char* name, const char* expected) {
  try {
    return value.cast<T>();
  } catch (const py::cast_error&) {
    throw py::type_error(std::string(name) + " must be " + expected + ", not " +
                         std::string(py::str(py::type::handle_of(value).attr("__name__"))));
  }
}
// A path for the file system: a NUL character would cut it short, naming another file.
void CheckPath(const std::string& path);
// An element of another game (or of none) is refused with a ValueError naming it.
void CheckSameGame(const GamePtr& game, const Element& e, const char* what);
// A player given as its handle or its name; a ValueError when the game has none such.
TPlayer32* PlayerOf(const GamePtr& game, py::handle player);
// Sets the payoffs of a move or cell from a mapping of players (handles or names) to numbers,
// replacing a player's payoff already there.
void SetPayoffs(const GamePtr& game, TMove32* move, const py::dict& payoffs);
// A handle of the right Python class for a node or a table.
py::object NodeHandle(const GamePtr& game, TNode32* node);

}  // namespace ludomark::python
