#include <pybind11/stl.h>

#include <chrono>
#include <exception>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

#include "gamefile/game_file.h"
#include "model/settings.h"
#include "python/game_state.h"
#include "solver/parallel_solve.h"
#include "solver/solve_method.h"
#include "solver/solve_run.h"

namespace ludomark::python {
namespace {

int MethodNumber(const std::string& name) {
  const TSolveMethod* method = FindMethod(name);
  if (method == nullptr) {
    throw py::value_error("unknown method '" + name + "': " + MethodNameList());
  }
  return method->Code;
}

// Runs share program-wide state (the sampling's random numbers, the debug log): one at a time
// in a process.
std::mutex& RunLock() {
  static std::mutex lock;
  return lock;
}

std::vector<Solution> SolutionsOf(const GamePtr& game, const std::string& method) {
  std::vector<Solution> solutions;
  for (session::SolutionReport& report : session::SolutionReports(game->Game)) {
    // Made UTF-8 once here, so that every view of the solution reads as text.
    report.Name = session::AsUtf8(report.Name);
    for (session::ChoiceReport& c : report.Choices) {
      for (std::string* text : {&c.Name, &c.Set, &c.Player}) *text = session::AsUtf8(*text);
    }
    for (session::NodeReport& n : report.Nodes) {
      n.Name = session::AsUtf8(n.Name);
      if (n.Player) n.Player = session::AsUtf8(*n.Player);
      for (session::NodeValueReport& v : n.Values) v.Player = session::AsUtf8(v.Player);
    }
    solutions.push_back(Solution{std::move(report), method, game, game->Changes});
  }
  return solutions;
}

// The run is the game's state while it works, however the solve ends.
struct SolvingMark {
  explicit SolvingMark(GameState& state) : state_(state) {
    state_.Game.SetRunWorking(/*working=*/true);
  }
  ~SolvingMark() { state_.Game.SetRunWorking(/*working=*/false); }
  SolvingMark(const SolvingMark&) = delete;
  SolvingMark& operator=(const SolvingMark&) = delete;

 private:
  GameState& state_;
};

std::vector<Solution> Solve(const GamePtr& game, const std::string& method, std::optional<int> jobs,
                            bool force) {
  const int number = MethodNumber(method);
  if (jobs && *jobs < 1) throw py::value_error("jobs must be 1 or more");
  const unsigned cores = std::thread::hardware_concurrency();
  const int workers = jobs.value_or(cores == 0 ? 1 : static_cast<int>(cores));
  game->BeginEdit();  // refused during another run; the old solutions go
  game->LayOut();
  SolvingMark mark(*game);
  TSolveRun run;
  TSolveSettings settings;
  settings.Method = number;
  settings.Jobs = workers;
  settings.Force = force;
  const TGameCopier copies = CopiesOf(game->Game);
  TSolveResult result;
  std::exception_ptr failure;
  bool interrupted = false;
  std::optional<py::error_already_set> signal;
  {
    py::gil_scoped_release unlocked;
    std::unique_lock<std::mutex> lock(RunLock());
    // The run goes on its own thread, so that this one can look for Ctrl+C, which Python
    // only reports to the thread that holds the interpreter.
    std::promise<void> ended;
    std::future<void> end = ended.get_future();
    std::thread runner([&] {
      try {
        TSolveObserver quiet;
        result = SolveGame(run, game->Game, quiet, settings, copies);
      } catch (...) {
        failure = std::current_exception();
      }
      ended.set_value();
    });
    while (end.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
      py::gil_scoped_acquire locked;
      if (!interrupted && PyErr_CheckSignals() != 0) {
        signal.emplace();  // takes the pending exception (KeyboardInterrupt)
        interrupted = true;
        run.Stopped = true;
      }
    }
    runner.join();
  }
  ++game->Changes;
  if (failure || interrupted) {
    // Nothing half-made stays: the game is as it was made, without solutions.
    game->Game.ResetDerived();
    if (failure) std::rethrow_exception(failure);
    throw *signal;
  }
  switch (result.Start) {
    case TSolveRun::Start::Flawed:
      RaiseFlawed(FindingTexts(game->Game));
    case TSolveRun::Start::Refused:
      Raise(ModuleErrors().Error, run.Refusal);
    default:
      break;
  }
  WarnNotes(FindingTexts(game->Game));
  if (result.Outcome == TSolveOutcome::NoSolution && !result.Reason.empty()) {
    const std::string lead = MethodOf(number).FailureLead;
    const std::string text = lead.empty() ? result.Reason : lead + ": " + result.Reason;
    if (PyErr_WarnEx(PyExc_RuntimeWarning, text.c_str(), 1) != 0) throw py::error_already_set();
  }
  game->Solved = !game->Game.Solutions().Empty();
  game->Method = method;
  return SolutionsOf(game, method);
}

}  // namespace

void BindSolving(py::class_<GameState, GamePtr>& game) {
  // pybind11 keeps its own copy of a docstring.
  const std::string solveDoc =
      "Audits and solves the game with a method (" + MethodNameList() +
      ") on `jobs` threads (every core when not given); returns the solutions, an empty list "
      "when there is none. Raises FlawedGameError for a flawed game, and an error when the "
      "method cannot take the game or pure or mixed would not finish (`force=True` runs them "
      "anyway); Ctrl+C stops the run.";
  game.def("solve", &Solve, py::arg("method") = "mixed", py::arg("jobs") = py::none(),
           py::arg("force") = false, solveDoc.c_str())
      .def_property_readonly(
          "solutions", [](const GamePtr& g) { return SolutionsOf(g, g->Solved ? g->Method : ""); },
          "The solutions the game holds: its last run's, or those its file stored.");
}

}  // namespace ludomark::python
