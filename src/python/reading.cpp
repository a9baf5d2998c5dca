#include <pybind11/stl.h>

#include <filesystem>
#include <sstream>

#include "audit/audit.h"
#include "gamefile/exchange_file.h"
#include "gamefile/exchange_writer.h"
#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "gamefile/listing.h"
#include "gamefile/precise_numbers.h"
#include "python/game_state.h"
#include "session/load_game.h"

namespace ludomark::python {
namespace {

// The command line's message without its program prefix and line end.
std::string Message(const std::string& said) {
  std::string text = said;
  const std::string prefix = "ludomark-cli: ";
  if (text.rfind(prefix, 0) == 0) text.erase(0, prefix.size());
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

GamePtr Read(const std::string& path) {
  CheckPath(path);
  auto state = std::make_shared<GameState>();
  std::ostringstream err;
  bool loaded = false;
  {
    py::gil_scoped_release unlocked;  // a large file takes a while: other threads go on
    loaded = session::LoadGame(path, state->Game, err);
  }
  if (!loaded) Raise(ModuleErrors().FileError, Message(err.str()));
  if (state->Game.Header().Name.empty())
    state->Game.Header().Name = std::filesystem::path(path).stem().string();
  return state;
}

void Write(const GamePtr& game, const std::string& path, bool solutions) {
  CheckPath(path);
  game->LayOut();
  const std::string ext = std::filesystem::path(path).extension().string();
  try {
    if (IsExchangeFile(path)) {
      // From a copy: the exchange writers expect a game without a run's derived elements.
      std::unique_ptr<TGameType32> copy = game->FreshCopy();
      WriteExchangeFile(path, *copy);
    } else if (ext == ".lmx") {
      WriteGameFile(path, game->Game, solutions && !game->Game.Solutions().Empty());
      // A game file keeps six digits: what a number loses on the way is said.
      for (const std::string& note : RoundedNumbers(game->Game)) {
        if (PyErr_WarnEx(PyExc_UserWarning, session::AsUtf8(note).c_str(), 1) != 0) {
          throw py::error_already_set();
        }
      }
    } else {
      Raise(ModuleErrors().FileError, "games are written as .lmx, .efg or .nfg: " + path);
    }
  } catch (const TFileError& e) {
    Raise(ModuleErrors().FileError, e.what());
  }
}

py::str Listing(const GamePtr& game) {
  std::unique_ptr<TGameType32> copy;
  std::string text;
  for (const std::string& line : BuildListing(game->Plain(copy), kSolvableListMode))
    text += line + "\n";
  return Text(text);
}

// The findings that fail the game (none when it passes); those that do not are warnings.
std::vector<py::str> AuditGame(const GamePtr& game) {
  if (game->Solving()) throw std::runtime_error("the game is being solved");
  std::unique_ptr<TGameType32> copy;
  TGameType32& audited = game->Plain(copy);
  const int status = audited.Status();
  const bool passed = Audit(audited);
  std::vector<std::string> findings = FindingTexts(audited);
  // What the audit derived goes; the game is as it was made.
  audited.ResetDerived();
  audited.ForceStatus(status);
  // The audit may free elements (sets of one node): handles are checked anew.
  ++game->Changes;
  if (passed) {
    WarnNotes(findings);
    return {};
  }
  // An empty game fails without a finding; the list alone would not say why.
  if (findings.empty()) findings.push_back("the game has no nodes");
  return Texts(findings);
}

}  // namespace

void BindReading(py::class_<GameState, GamePtr>& game) {
  game.def_static("read", &Read, py::arg("path"),
                  "Reads a game file (.lmx) or an exchange file (.efg, .nfg); a stored run's "
                  "solutions come with it.")
      .def("write", &Write, py::arg("path"), py::kw_only(), py::arg("solutions") = false,
           "Writes the game as the extension asks (.lmx, .efg, .nfg), whole or not at all; a "
           ".lmx file takes the last run's solutions too when asked.")
      .def("listing", &Listing, "The text listing of every element of the game.")
      .def("audit", &AuditGame,
           "The audit's findings that fail the game, empty when it passes. What it notes "
           "without failing the game comes as warnings (ludomark.AuditNote).");
}

}  // namespace ludomark::python
