#include "python/game_state.h"

#include <stdexcept>

#include "gamefile/game_file.h"
#include "gamefile/precise_numbers.h"
#include "gamefile/tree_layout.h"
#include "model/node.h"

namespace ludomark::python {

void GameState::BeginEdit() {
  if (Solving()) throw std::runtime_error("the game is being solved");
  if (Solved || !Game.Solutions().Empty()) Game.ResetDerived();
  Solved = false;
  Game.SetStatus(StatusEdited);
  ++Changes;
}

bool GameState::Holds(const TGameObject32* element) {
  if (Solving()) throw std::runtime_error("the game is being solved");
  if (liveAt_ != Changes) {
    live_.clear();
    for (TGameList* list : {&Game.Players(), &Game.Nodes(), &Game.Moves(), &Game.Infos(),
                            &Game.Payoffs(), &Game.Strategies()}) {
      list->ForEach([&](TGameObject32* e) { live_.insert(e); });
    }
    liveAt_ = Changes;
  }
  return live_.count(element) != 0;
}

void GameState::LayOut() {
  if (!NeedsLayout) return;
  LayOutTree(Game, [&](const TGameObject32* e) { return Placed.count(e) != 0; });
  NeedsLayout = false;
}

std::unique_ptr<TGameType32> GameState::FreshCopy() {
  LayOut();
  auto copy = std::make_unique<TGameType32>();
  ReadPreciseGameText(PreciseGameText(Game), *copy);
  copy->Header().Name = Game.Header().Name;
  return copy;
}

TGameType32& GameState::Plain(std::unique_ptr<TGameType32>& copy) {
  LayOut();
  if (!Solved && Game.Solutions().Empty()) return Game;
  copy = FreshCopy();
  return *copy;
}

std::string GameState::Name() {
  return Game.Header().Name;
}

Errors& ModuleErrors() {
  static Errors errors;
  return errors;
}

std::vector<py::str> Texts(const std::vector<std::string>& texts) {
  std::vector<py::str> out;
  out.reserve(texts.size());
  for (const std::string& t : texts) out.push_back(Text(t));
  return out;
}

void Raise(const py::object& kind, const std::string& message) {
  PyErr_SetString(kind.ptr(), session::AsUtf8(message).c_str());
  throw py::error_already_set();
}

void RaiseFlawed(const std::vector<std::string>& findings) {
  std::string message = "the game is flawed";
  for (const std::string& f : findings) message += "\n" + f;
  py::object error = ModuleErrors().FlawedGameError(Text(message));
  py::object list = py::cast(Texts(findings));
  if (PyObject_SetAttrString(error.ptr(), "findings", list.ptr()) != 0)
    throw py::error_already_set();
  PyErr_SetObject(ModuleErrors().FlawedGameError.ptr(), error.ptr());
  throw py::error_already_set();
}

void WarnNotes(const std::vector<std::string>& notes) {
  for (const std::string& note : notes) {
    if (PyErr_WarnEx(ModuleErrors().AuditNote.ptr(), session::AsUtf8(note).c_str(), 2) != 0)
      throw py::error_already_set();
  }
}

std::vector<std::string> FindingTexts(TGameForm32& game) {
  std::vector<std::string> texts;
  game.Findings().ForEach([&](TGameObject32* e) { texts.push_back(e->Name); });
  return texts;
}

TGameObject32* Live(const Element& e) {
  if (e.Target == nullptr || !e.Game->Holds(e.Target)) {
    Raise(ModuleErrors().Error, "the element is no longer part of the game");
  }
  return e.Target;
}

void CheckPath(const std::string& path) {
  if (path.find('\0') != std::string::npos) {
    Raise(ModuleErrors().FileError, "Cannot open the file: its name holds a NUL character");
  }
}

void CheckSameGame(const GamePtr& game, const Element& e, const char* what) {
  if (e.Game != game) throw py::value_error(std::string(what) + " belongs to another game");
}

py::object NodeHandle(const GamePtr& game, TNode32* node) {
  if (node == nullptr) return py::none();
  if (node->TypeCode == kTable) return py::cast(Table{{{game, node}}});
  return py::cast(Node{{game, node}});
}

}  // namespace ludomark::python
