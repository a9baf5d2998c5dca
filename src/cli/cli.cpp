#include "cli/cli.h"

#include <charconv>
#include <ostream>

#include "cli/commands.h"
#include "gamefile/atomic_file.h"
#include "gamefile/exchange_file.h"
#include "session/load_game.h"
#include "solver/solve_method.h"

namespace ludomark::cli {

namespace {

constexpr const char* kUsage = "usage: ludomark-cli <command> [options] FILE.lmx";

void PrintHelp(std::ostream& out) {
  out << kUsage << "\n\n"
      << "Commands:\n"
      << "  list FILE.lmx    read the game and print every element, by kind\n"
      << "  audit FILE.lmx   check the game: its elements when it passes, its flaws when not\n"
      << "  solve FILE.lmx [--method pure|mixed|tracing|sampling|lemke] [--json] [--save]\n"
      << "                 [--debug] [--force]\n"
      << "                   audit and solve the game and print every solution found:\n"
      << "                   choice probabilities and values, beliefs, node values\n"
      << "      --method     pure: pure equilibria only; mixed (default): also mixed ones;\n"
      << "                   sampling: mixed equilibria from 200 random starting points;\n"
      << "                   tracing: one equilibrium, fast on large games, at the end of\n"
      << "                   the logit path from the uniform profile; lemke: one equilibrium\n"
      << "                   of a two-player game without cycles, by pivoting on its\n"
      << "                   sequence form\n"
      << "      --json       print one JSON object instead of text\n"
      << "      --save       save the game and append the solutions to its file\n"
      << "      --debug      trace the solver and print its log after the solutions\n"
      << "      --force      run pure or mixed even where the estimate of their work says\n"
      << "                   they would not finish\n"
      << "      --jobs K     solve on K threads (default: one per core); the result is the\n"
      << "                   same as on one\n"
      << "      --progress   show the stage and the percentage on standard error even when\n"
      << "                   it is not a terminal (a log, a script that waits for a stage)\n"
      << "                   Ctrl+C stops a run; the solutions found so far are printed,\n"
      << "                   the exit code is 130 and --save saves nothing\n"
      << "  solve FILE.lmx --shard I/N --out PART.lmx [--method ...]\n"
      << "                   runs the I-th of N shares of the run (on any machine) and writes\n"
      << "                   the game, the solutions it found and what a merge needs\n"
      << "  merge FILE.lmx PART.lmx... [--json] [--save]\n"
      << "                   merges the parts of all N shards: prints (or saves) exactly what\n"
      << "                   one run prints; refuses missing, cut, unfinished or foreign parts\n"
      << "  draw FILE.lmx --out PICTURE.png|svg|bmp [--solution NAME] [--zoom Z] [--grid]\n"
      << "       [--trim] [--debug]\n"
      << "                   writes the picture of the game, with a solution stored in the\n"
      << "                   file drawn over it; zoom 0.8 to 1.6 (default 1); --trim cuts\n"
      << "                   the picture to what is drawn\n"
      << "  import GAME.efg|GAME.nfg --out GAME.lmx\n"
      << "                   reads a game of the exchange formats and writes it as a game\n"
      << "                   file, laid out; list, audit, solve and draw read them too\n"
      << "  export GAME.lmx --out GAME.efg|GAME.nfg\n"
      << "                   writes a tree game as .efg, or a game of one table as .nfg\n"
      << "  help             show this text (also --help, -h)\n\n"
      << "FILE.lmx may be - for a game file's lines on standard input (nothing is saved\n"
      << "back there).\n\n"
      << "Exit codes: 0 done, 1 the game is flawed, 2 bad command line or unreadable file,\n"
      << "3 no solution found.\n";
}

constexpr int kMaxJobs = 1024;

bool ParseCount(const std::string& text, int& value) {
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  return res.ec == std::errc() && res.ptr == text.data() + text.size() && value >= 1;
}

bool ParseShard(const std::string& text, int& index, int& count) {
  const std::size_t slash = text.find('/');
  return slash != std::string::npos && ParseCount(text.substr(0, slash), index) &&
         ParseCount(text.substr(slash + 1), count) && index <= count && count <= 1000000;
}

// Why --save could not write the game file, "" when it could.
std::string SaveRefusal(const std::string& path) {
  if (path == session::kStandardInput) return "--save cannot write the game back to standard input";
  return WhyNotReplaceable(path);
}

int FileRefusal(std::ostream& err, const std::string& why) {
  err << "ludomark-cli: " << why << "\n";
  return kExitUsage;
}

int UsageError(std::ostream& err, const std::string& problem) {
  err << "ludomark-cli: " << problem << "\n" << kUsage << "\n";
  return kExitUsage;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool showProgress) {
  if (args.empty()) return UsageError(err, "no command given");
  const std::string& command = args[0];
  if (command == "help" || command == "--help" || command == "-h") {
    PrintHelp(out);
    return kExitOk;
  }
  if (command == "draw") {
    DrawOptions options;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
      const std::string& arg = args[i];
      const bool hasValue = i + 1 < args.size();
      if (arg == "--out" || arg == "--solution" || arg == "--zoom") {
        if (!hasValue) return UsageError(err, arg + " needs a value");
        const std::string& value = args[++i];
        if (arg == "--out") options.Out = value;
        if (arg == "--solution") options.Solution = value;
        if (arg == "--zoom") {
          const auto res = std::from_chars(value.data(), value.data() + value.size(), options.Zoom);
          if (res.ec != std::errc() || res.ptr != value.data() + value.size()) {
            return UsageError(err, "--zoom needs a number from 0.8 to 1.6");
          }
        }
      } else if (arg == "--grid") {
        options.Grid = true;
      } else if (arg == "--trim") {
        options.Trim = true;
      } else if (arg == "--debug") {
        options.Debug = true;
      } else if (arg.size() > 1 && arg[0] == '-') {
        return UsageError(err, "unknown option '" + arg + "' for draw");
      } else {
        files.push_back(arg);
      }
    }
    if (files.size() != 1) return UsageError(err, "draw takes exactly one game file");
    if (options.Out.empty()) return UsageError(err, "draw needs --out PICTURE.png|svg|bmp");
    options.Path = files[0];
    return DrawCommand(options, err);
  }
  if (command == "import" || command == "export") {
    std::string in;
    std::string to;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--out") {
        if (i + 1 >= args.size()) return UsageError(err, "--out needs a file name");
        to = args[++i];
      } else if (args[i].size() > 1 && args[i][0] == '-') {
        return UsageError(err, "unknown option '" + args[i] + "' for " + command);
      } else if (in.empty()) {
        in = args[i];
      } else {
        return UsageError(err, command + " takes exactly one game file");
      }
    }
    if (in.empty() || to.empty()) return UsageError(err, command + " needs a game file and --out");
    return command == "import" ? ImportCommand(in, to, err) : ExportCommand(in, to, err);
  }
  if (command == "merge") {
    MergeOptions options;
    for (std::size_t i = 1; i < args.size(); ++i) {
      const std::string& arg = args[i];
      if (arg == "--json") {
        options.Json = true;
      } else if (arg == "--save") {
        options.Save = true;
      } else if (arg.size() > 1 && arg[0] == '-') {
        return UsageError(err, "unknown option '" + arg + "' for merge");
      } else if (options.Path.empty()) {
        options.Path = arg;
      } else {
        options.Parts.push_back(arg);
      }
    }
    if (options.Parts.empty()) return UsageError(err, "merge needs the game file and its parts");
    if (options.Save && IsExchangeFile(options.Path)) {
      return UsageError(err, "--save writes a game file: import '" + options.Path + "' first");
    }
    if (options.Save && !SaveRefusal(options.Path).empty()) {
      return FileRefusal(err, SaveRefusal(options.Path));
    }
    options.ShowProgress = showProgress;
    return MergeCommand(options, out, err);
  }
  if (command == "list" || command == "audit" || command == "solve") {
    SolveOptions options;
    std::vector<std::string> files;
    bool forceProgress = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
      const std::string& arg = args[i];
      if (arg == "--help" || arg == "-h") {
        PrintHelp(out);
        return kExitOk;
      }
      if (command == "solve" && (arg == "--method" || arg.rfind("--method=", 0) == 0)) {
        std::string value;
        if (arg == "--method") {
          if (i + 1 >= args.size()) return UsageError(err, "--method needs " + MethodNameList());
          value = args[++i];
        } else {
          value = arg.substr(9);
        }
        const TSolveMethod* method = FindMethod(value);
        if (method == nullptr) {
          return UsageError(err, "unknown method '" + value + "' (" + MethodNameList() + ")");
        }
        options.Method = method->Code;
        continue;
      }
      if (command == "solve" && arg == "--json") {
        options.Json = true;
        continue;
      }
      if (command == "solve" && arg == "--save") {
        options.Save = true;
        continue;
      }
      if (command == "solve" && arg == "--debug") {
        options.Debug = true;
        continue;
      }
      if (command == "solve" && arg == "--force") {
        options.Force = true;
        continue;
      }
      if (command == "solve" && arg == "--progress") {
        forceProgress = true;
        continue;
      }
      if (command == "solve" && (arg == "--jobs" || arg == "--shard" || arg == "--out")) {
        if (i + 1 >= args.size()) return UsageError(err, arg + " needs a value");
        const std::string& value = args[++i];
        if (arg == "--out") {
          options.Out = value;
        } else if (arg == "--jobs") {
          if (!ParseCount(value, options.Jobs) || options.Jobs > kMaxJobs) {
            return UsageError(
                err, "--jobs needs a number of threads from 1 to " + std::to_string(kMaxJobs));
          }
        } else if (!ParseShard(value, options.ShardIndex, options.ShardCount)) {
          return UsageError(err, "--shard needs I/N, the part I (1 to N) of N parts");
        }
        continue;
      }
      if (arg.size() > 1 && arg[0] == '-') {
        std::string problem = "unknown option '";
        problem.append(arg).append("' for ").append(command);
        return UsageError(err, problem);
      }
      files.push_back(arg);
    }
    if (files.size() != 1) return UsageError(err, command + " takes exactly one game file");
    if (command == "list") return ListCommand(files[0], out, err);
    if (command == "audit") return AuditCommand(files[0], out, err);
    options.Path = files[0];
    if (options.ShardCount > 0) {
      if (options.Out.empty()) return UsageError(err, "--shard needs --out PART.lmx");
      if (options.Method == kSolveTracing) {
        return UsageError(err, "tracing follows one path, which has no shares: solve it whole");
      }
      if (options.Save || options.Json || options.Debug || options.Jobs > 0) {
        return UsageError(err,
                          "--shard writes its part only: --save, --json, --debug and --jobs "
                          "belong to the merge or to a whole run");
      }
    } else if (!options.Out.empty()) {
      return UsageError(err, "--out is where a shard writes its part: give --shard I/N too");
    }
    if (options.Save && IsExchangeFile(options.Path)) {
      // The solutions go into a game file; writing one over the .efg or .nfg would destroy it.
      return UsageError(err, "--save writes a game file: import '" + options.Path + "' first");
    }
    // A save that would be refused is refused before the work, not after it.
    if (options.Save && !SaveRefusal(options.Path).empty()) {
      return FileRefusal(err, SaveRefusal(options.Path));
    }
    options.ShowProgress = showProgress || forceProgress;
    return SolveCommand(options, out, err);
  }
  return UsageError(err, "unknown command '" + command + "'");
}

}  // namespace ludomark::cli
